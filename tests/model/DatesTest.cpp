#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "model/Dates.h"

namespace movik {
namespace {

void ExpectDate(const CivilDate& d, int year, int month, int day) {
    EXPECT_EQ(d.year, year);
    EXPECT_EQ(d.month, month);
    EXPECT_EQ(d.day, day);
}

TEST(DatesTest, DayZeroIsThirtiethOfDecember1899) {
    EXPECT_EQ(DayNumber(1899, 12, 30), 0);
    ExpectDate(CivilFromDayNumber(0), 1899, 12, 30);
    ExpectDate(CivilFromDayNumber(1), 1899, 12, 31);
    ExpectDate(CivilFromDayNumber(-1), 1899, 12, 29);
}

TEST(DatesTest, KnownDayNumbers) {
    EXPECT_EQ(DayNumber(1900, 1, 1), 2);
    EXPECT_EQ(DayNumber(1900, 3, 1), 61);  // 1900 is not a leap year
    EXPECT_EQ(DayNumber(2000, 2, 29), 36585);
    EXPECT_EQ(DayNumber(2025, 1, 1), 45658);
    EXPECT_EQ(DayNumber(1, 1, 1), -693593);
    EXPECT_EQ(DayNumber(9999, 12, 31), 2958465);
}

TEST(DatesTest, RoundTripOverEveryDayOfTheShownRange) {
    CivilDate previous = CivilFromDayNumber(-693594 + 1);
    ExpectDate(previous, 1, 1, 1);
    for (int n = -693593 + 1; n <= 2958465; ++n) {
        const CivilDate d = CivilFromDayNumber(n);
        ASSERT_EQ(DayNumber(d.year, d.month, d.day), n);
        // Consecutive days: either the next day of the month or the first of the next month.
        const bool nextDay =
            d.year == previous.year && d.month == previous.month && d.day == previous.day + 1;
        const bool nextMonth =
            d.day == 1 && ((d.year == previous.year && d.month == previous.month + 1) ||
                           (d.year == previous.year + 1 && d.month == 1 && previous.month == 12));
        ASSERT_TRUE(nextDay || nextMonth) << n;
        previous = d;
    }
    ExpectDate(previous, 9999, 12, 31);
}

TEST(DatesTest, LeapDays) {
    ExpectDate(CivilFromDayNumber(DayNumber(2000, 2, 29)), 2000, 2, 29);
    ExpectDate(CivilFromDayNumber(DayNumber(2024, 2, 29)), 2024, 2, 29);
    EXPECT_EQ(DayNumber(2024, 3, 1) - DayNumber(2024, 2, 28), 2);
    EXPECT_EQ(DayNumber(2100, 3, 1) - DayNumber(2100, 2, 28), 1);
    EXPECT_EQ(DayNumber(2000, 3, 1) - DayNumber(2000, 2, 28), 2);
}

TEST(DatesTest, FractionIsATimeOfTheSameDay) {
    ExpectDate(CivilFromDayNumber(36585.75), 2000, 2, 29);
    ExpectDate(CivilFromDayNumber(-1.5), 1899, 12, 29);
}

TEST(DatesTest, AbsurdDayNumbersGiveDayZero) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    for (double bad : {std::nan(""), kInf, -kInf, 1e300, -1e300, 2958466.0, -693594.0, 1e18}) {
        ExpectDate(CivilFromDayNumber(bad), 1899, 12, 30);
    }
    EXPECT_EQ(FormatShortDate(std::nan(""), "dd.MM.yyyy"), "30.12.1899");
}

struct YearBackCase {
    CivilDate from;
    CivilDate to;
};

class OneYearBackTest : public ::testing::TestWithParam<YearBackCase> {};

TEST_P(OneYearBackTest, SameDayAYearEarlier) {
    const YearBackCase& c = GetParam();
    const double back = OneYearBack(DayNumber(c.from.year, c.from.month, c.from.day));
    EXPECT_EQ(back, DayNumber(c.to.year, c.to.month, c.to.day));
}

INSTANTIATE_TEST_SUITE_P(Dates, OneYearBackTest,
                         ::testing::Values(YearBackCase{{2024, 2, 29}, {2023, 2, 28}},
                                           YearBackCase{{2000, 2, 29}, {1999, 2, 28}},
                                           YearBackCase{{2025, 2, 28}, {2024, 2, 28}},
                                           YearBackCase{{2025, 3, 1}, {2024, 3, 1}},
                                           YearBackCase{{2025, 12, 31}, {2024, 12, 31}},
                                           YearBackCase{{2025, 1, 1}, {2024, 1, 1}},
                                           YearBackCase{{1900, 1, 1}, {1899, 1, 1}}));

struct PatternCase {
    std::string_view pattern;
    CivilDate date;
    std::string_view expected;
};

class FormatShortDateTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(FormatShortDateTest, Formats) {
    const PatternCase& c = GetParam();
    EXPECT_EQ(FormatShortDate(DayNumber(c.date.year, c.date.month, c.date.day), c.pattern),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatShortDateTest,
    ::testing::Values(
        // The short date formats of hr_HR, en_US and C.
        PatternCase{"dd. MM. yyyy.", {2000, 2, 29}, "29. 02. 2000."},
        PatternCase{"M/d/yy", {2000, 2, 29}, "2/29/00"},
        PatternCase{"d MMM yyyy", {2000, 2, 29}, "29 Feb 2000"},
        PatternCase{"dd.MM.yyyy", {2025, 1, 5}, "05.01.2025"},
        PatternCase{"d.M.yyyy", {2025, 1, 5}, "5.1.2025"},
        PatternCase{"yy-MM-dd", {2009, 11, 3}, "09-11-03"}, PatternCase{"yyyy", {5, 6, 7}, "0005"},
        PatternCase{"MMM", {2025, 12, 1}, "Dec"}, PatternCase{"MMMM", {2025, 9, 1}, "September"},
        PatternCase{"ddd dddd", {2000, 2, 29}, "Tue Tuesday"},
        // Quoted text is literal; '' is a quote inside and outside quotes.
        PatternCase{"d 'dd MM' M", {2000, 2, 29}, "29 dd MM 2"},
        PatternCase{"yyyy''MM", {2000, 2, 29}, "2000'02"},
        PatternCase{"'d''M'", {2000, 2, 29}, "d'M"}, PatternCase{"'open", {2000, 2, 29}, "open"},
        // A single y is literal; three give the two-digit year and a literal y.
        PatternCase{"y", {2000, 2, 29}, "y"}, PatternCase{"yyy", {2000, 2, 29}, "00y"},
        PatternCase{"", {2000, 2, 29}, ""},
        PatternCase{"dd/MM/yyyy h", {1999, 12, 31}, "31/12/1999 h"}));

}  // namespace
TEST(WithFourDigitYear, WidensOnlyATwoDigitYear) {
    const std::pair<const char*, const char*> cases[] = {
        {"M/d/yy", "M/d/yyyy"},           {"dd.MM.yyyy", "dd.MM.yyyy"},
        {"dd. MM. yy.", "dd. MM. yyyy."}, {"d 'yy' yy", "d 'yy' yyyy"},
        {"yy-MM-dd", "yyyy-MM-dd"},       {"d.M.y", "d.M.y"},
    };
    for (const auto& [pattern, widened] : cases) {
        EXPECT_EQ(WithFourDigitYear(pattern), widened) << pattern;
    }
    EXPECT_EQ(FormatShortDate(DayNumber(2022, 12, 31), WithFourDigitYear("M/d/yy")), "12/31/2022");
}

struct PeriodCase {
    const char* pattern;
    const char* text;
};

class PeriodTextCase : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(PeriodTextCase, JoinsTheTwoDatesWithAnEnDash) {
    EXPECT_EQ(PeriodText(DayNumber(2024, 1, 1), DayNumber(2024, 12, 31), GetParam().pattern),
              GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, PeriodTextCase,
    ::testing::Values(PeriodCase{"dd.MM.yyyy", "01.01.2024 – 31.12.2024"},
                      PeriodCase{"dd. MM. yyyy.", "01. 01. 2024. – 31. 12. 2024."},
                      PeriodCase{"M/d/yy", "1/1/24 – 12/31/24"},
                      PeriodCase{kCroatianDatePattern.data(), "01.01.2024. – 31.12.2024."}));

}  // namespace movik
