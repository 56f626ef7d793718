// Number display by pattern and reading amount texts back.

#include "model/NumberFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace movik {
namespace {

RegionalSettings Rs(std::string thousands, std::string decimal) {
    RegionalSettings rs;
    rs.thousandsSeparator = std::move(thousands);
    rs.decimalSeparator = std::move(decimal);
    return rs;
}

const RegionalSettings kUs = Rs(",", ".");
const RegionalSettings kHr = Rs(".", ",");
const RegionalSettings kFr = Rs("\xE2\x80\xAF", ",");  // narrow no-break space, decimal comma

// Expected texts are written with "," for thousands and "." for the decimal point; this maps
// them to another convention.
std::string Localize(const std::string& us, const RegionalSettings& rs) {
    std::string out;
    for (char c : us) {
        if (c == ',') {
            out += rs.thousandsSeparator;
        } else if (c == '.') {
            out += rs.decimalSeparator;
        } else {
            out += c;
        }
    }
    return out;
}

struct FormatCase {
    double value;
    const char* pattern;
    const char* expected;  // with "," thousands and "." decimal
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << "FormatNumber(" << c.value << ", \"" << c.pattern << "\") -> \"" << c.expected << "\"";
}

class FormatTable : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTable, UnderEverySeparatorConvention) {
    const FormatCase& c = GetParam();
    for (const RegionalSettings& rs : {kUs, kHr, kFr}) {
        EXPECT_EQ(FormatNumber(c.value, c.pattern, rs), Localize(c.expected, rs))
            << "thousands \"" << rs.thousandsSeparator << "\" decimal \"" << rs.decimalSeparator
            << "\"";
    }
}

// Amounts.
INSTANTIATE_TEST_SUITE_P(
    Amount, FormatTable,
    ::testing::Values(
        FormatCase{0, "#,##0.00", "0.00"}, FormatCase{-0.0, "#,##0.00", "0.00"},
        FormatCase{0.005, "#,##0.00", "0.01"}, FormatCase{-0.005, "#,##0.00", "-0.01"},
        FormatCase{0.004, "#,##0.00", "0.00"}, FormatCase{-0.004, "#,##0.00", "0.00"},
        FormatCase{0.125, "#,##0.00", "0.13"}, FormatCase{2.675, "#,##0.00", "2.68"},
        FormatCase{1.005, "#,##0.00", "1.01"}, FormatCase{0.1 + 0.2, "#,##0.00", "0.30"},
        FormatCase{1e15, "#,##0.00", "1,000,000,000,000,000.00"},
        FormatCase{999.995, "#,##0.00", "1,000.00"}, FormatCase{-999.995, "#,##0.00", "-1,000.00"},
        FormatCase{1234567.891, "#,##0.00", "1,234,567.89"},
        FormatCase{-1234567.891, "#,##0.00", "-1,234,567.89"},
        FormatCase{999, "#,##0.00", "999.00"}, FormatCase{1000, "#,##0.00", "1,000.00"},
        FormatCase{123456, "#,##0.00", "123,456.00"}, FormatCase{-100, "#,##0.00", "-100.00"},
        FormatCase{9999999.995, "#,##0.00", "10,000,000.00"}));

// Shares and row numbers.
INSTANTIATE_TEST_SUITE_P(
    ShareAndRow, FormatTable,
    ::testing::Values(FormatCase{0, "0.00%", "0.00%"}, FormatCase{25, "0.00%", "25.00%"},
                      FormatCase{12.5, "0.00%", "12.50%"}, FormatCase{0.005, "0.00%", "0.01%"},
                      FormatCase{-0.005, "0.00%", "-0.01%"}, FormatCase{-0.004, "0.00%", "0.00%"},
                      FormatCase{0.125, "0.00%", "0.13%"}, FormatCase{2.675, "0.00%", "2.68%"},
                      FormatCase{-12.345, "0.00%", "-12.35%"},
                      FormatCase{999.995, "0.00%", "1000.00%"},
                      FormatCase{1234567.891, "0.00%", "1234567.89%"},
                      FormatCase{1e15, "0.00%", "1000000000000000.00%"}, FormatCase{0, "##0", "0"},
                      FormatCase{1, "##0", "1"}, FormatCase{88, "##0", "88"},
                      FormatCase{1234, "##0", "1234"}, FormatCase{0.5, "##0", "1"},
                      FormatCase{-0.4, "##0", "0"}, FormatCase{-7, "##0", "-7"},
                      FormatCase{0.125, "0.00", "0.13"}, FormatCase{2.675, "0.00", "2.68"},
                      FormatCase{1.005, "0.00", "1.01"}));

// Indicator formats.
INSTANTIATE_TEST_SUITE_P(
    Indicator, FormatTable,
    ::testing::Values(
        FormatCase{0, "#,##0", "0"}, FormatCase{91.5, "#,##0", "92"},
        FormatCase{91.25, "#,##0", "91"}, FormatCase{500.0 * 365 * 0.5 / 950, "#,##0", "96"},
        FormatCase{250.0 * 365 * 0.5 / 950, "#,##0", "48"}, FormatCase{-0.4, "#,##0", "0"},
        FormatCase{0.5, "#,##0", "1"}, FormatCase{-0.5, "#,##0", "-1"},
        FormatCase{-1234567.891, "#,##0", "-1,234,568"},
        FormatCase{1e15, "#,##0", "1,000,000,000,000,000"}, FormatCase{0, "#,##0;", "0"},
        FormatCase{-91.25, "#,##0;", "-91"}, FormatCase{1234.5, "#,##0;", "1,235"},
        FormatCase{-0.004, "#,##0;", "0"}, FormatCase{999.995, "#,##0;", "1,000"},
        FormatCase{0, "#,##0.00%", "0.00%"}, FormatCase{800, "#,##0.00%", "800.00%"},
        FormatCase{2.5, "#,##0.00%", "2.50%"}, FormatCase{12345.678, "#,##0.00%", "12,345.68%"},
        FormatCase{-5, "#,##0.00%", "-5.00%"}, FormatCase{-0.004, "#,##0.00%", "0.00%"},
        FormatCase{0, "#,###.##", ""}, FormatCase{0.004, "#,###.##", ""},
        FormatCase{-0.004, "#,###.##", ""}, FormatCase{0.005, "#,###.##", ".01"},
        FormatCase{0.05, "#,###.##", ".05"}, FormatCase{2, "#,###.##", "2"},
        FormatCase{2.5, "#,###.##", "2.5"}, FormatCase{-2.5, "#,###.##", "-2.5"},
        FormatCase{2.001, "#,###.##", "2"}, FormatCase{0.999, "#,###.##", "1"},
        FormatCase{999.995, "#,###.##", "1,000"}, FormatCase{1234.5, "#,###.##", "1,234.5"},
        FormatCase{1234567.891, "#,###.##", "1,234,567.89"}, FormatCase{0, "#.##", ""},
        FormatCase{-0.004, "#.##", ""}, FormatCase{0.125, "#.##", ".13"},
        FormatCase{1234.5, "#.##", "1234.5"}, FormatCase{0, "#,##0.00", "0.00"}));

// The share count: a negative section of its own, and 0 shows as 0.
INSTANTIATE_TEST_SUITE_P(
    ShareCount, FormatTable,
    ::testing::Values(FormatCase{1234567, ",0;-,0", "1,234,567"}, FormatCase{0, ",0;-,0", "0"},
                      FormatCase{-1234567, ",0;-,0", "-1,234,567"},
                      FormatCase{9999999999.0, ",0;-,0", "9,999,999,999"},
                      FormatCase{-0.4, ",0;-,0", "0"}, FormatCase{0.5, ",0;-,0", "1"},
                      FormatCase{999, ",0;-,0", "999"}, FormatCase{1000, ",0;-,0", "1,000"}));

// Less common pattern features.
INSTANTIATE_TEST_SUITE_P(
    PatternFeatures, FormatTable,
    ::testing::Values(FormatCase{5, "0.00 kn", "5.00 kn"}, FormatCase{-5, "kn 0", "-kn 5"},
                      FormatCase{-5, "0;(0)", "(5)"}, FormatCase{-5, "0;(0);nula", "(5)"},
                      FormatCase{0, "0;(0);nula", "nula"}, FormatCase{-0.2, "0;(0);nula", "nula"},
                      FormatCase{7, "0;(0);nula", "7"}, FormatCase{5, "0000", "0005"},
                      FormatCase{0.5, "#.00", ".50"}, FormatCase{1.5, "0.0#", "1.5"},
                      FormatCase{1.25, "0.0#", "1.25"}, FormatCase{1, "0.0#", "1.0"},
                      FormatCase{1234, "00-00", "12-34"}, FormatCase{123456, "00-00", "1234-56"},
                      FormatCase{1.5, "", "1.5"}, FormatCase{-1.5, "", "-1.5"},
                      FormatCase{3, "abc", "abc"}, FormatCase{12.34, "0.", "12"}));

TEST(FormatNumber, NonFiniteValuesGiveShortTexts) {
    const double inf = std::numeric_limits<double>::infinity();
    for (const char* pattern : {"#,##0.00", "0.00%", "#.##", ",0;-,0"}) {
        EXPECT_EQ(FormatNumber(std::nan(""), pattern, kUs), "NaN");
        EXPECT_EQ(FormatNumber(inf, pattern, kUs), "INF");
        EXPECT_EQ(FormatNumber(-inf, pattern, kUs), "-INF");
    }
}

TEST(FormatNumber, HugeValuesPrintEveryIntegerDigit) {
    const std::string t = FormatNumber(1e300, "#,##0.00", kUs);
    std::size_t digits = 0;
    std::size_t commas = 0;
    for (char c : t) {
        digits += (c >= '0' && c <= '9') ? 1 : 0;
        commas += c == ',' ? 1 : 0;
    }
    EXPECT_EQ(digits, 301u + 2u);
    EXPECT_EQ(commas, 100u);
    EXPECT_EQ(t.substr(0, 6), "1,000,");
    EXPECT_EQ(t.substr(t.size() - 7), ",000.00");
    std::string grouped = "-1,500";
    for (int g = 0; g < 19; ++g) {
        grouped += ",000";
    }
    EXPECT_EQ(FormatNumber(-1.5e60, "#,##0.00", kUs), grouped + ".00");

    const std::string max = FormatNumber(std::numeric_limits<double>::max(), "0", kUs);
    EXPECT_EQ(max.size(), 309u);
    EXPECT_EQ(max.substr(0, 16), "1797693134862320");
    EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::max(), "0", kUs).size(), 310u);
}

TEST(FormatNumber, TinyValuesRoundToZero) {
    EXPECT_EQ(FormatNumber(1e-300, "#,##0.00", kUs), "0.00");
    EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::denorm_min(), "#,##0.00", kUs), "0.00");
    EXPECT_EQ(FormatNumber(-1e-300, "#.##", kUs), "");
}

TEST(FormatNumber, ManyPatternsInTurnStayCorrect) {
    // More patterns than the parsed-pattern cache holds, used over and over.
    std::vector<std::string> patterns;
    for (int i = 0; i < 24; ++i) {
        patterns.push_back("0." + std::string(static_cast<std::size_t>(i % 6), '0') + " x" +
                           std::string(1, static_cast<char>('a' + i)));
    }
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 24; ++i) {
            std::string expected = "2";
            if (i % 6 > 0) {
                expected += "." + std::string(static_cast<std::size_t>(i % 6), '0');
            }
            expected += " x" + std::string(1, static_cast<char>('a' + i));
            EXPECT_EQ(FormatNumber(2, patterns[static_cast<std::size_t>(i)], kUs), expected);
        }
    }
}

// Several threads format at once (reports and batch work run off the window's thread), each
// cycling through more patterns than a cache holds: every text stays right.
TEST(FormatNumber, SeveralThreadsAtOnceStayCorrect) {
    constexpr int kThreads = 4;
    constexpr int kPatterns = 24;
    std::vector<std::string> patterns;
    for (int i = 0; i < kPatterns; ++i) {
        patterns.push_back("#,##0." + std::string(static_cast<std::size_t>(i % 4), '0') + " y" +
                           std::string(1, static_cast<char>('a' + i)));
    }
    std::array<int, kThreads> wrong{};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const double value = 1000.0 * (t + 1);  // "1.000", "2.000", ... under hr_HR
            for (int round = 0; round < 200; ++round) {
                for (int i = 0; i < kPatterns; ++i) {
                    std::string expected = std::to_string(t + 1) + ".000";
                    if (i % 4 > 0) {
                        expected += "," + std::string(static_cast<std::size_t>(i % 4), '0');
                    }
                    expected += " y" + std::string(1, static_cast<char>('a' + i));
                    if (FormatNumber(value, patterns[static_cast<std::size_t>(i)], kHr) !=
                        expected) {
                        ++wrong[static_cast<std::size_t>(t)];
                    }
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, (std::array<int, kThreads>{}));
}

TEST(FormatNumber, MultiByteSeparators) {
    const RegionalSettings rs = Rs("\xC2\xA0", "\xE2\x80\xA4");
    EXPECT_EQ(FormatNumber(1234567.891, "#,##0.00", rs),
              "1\xC2\xA0"
              "234\xC2\xA0"
              "567\xE2\x80\xA4"
              "89");
}

// A plain reference for "0" followed by d decimals: the value printed with 15 significant digits
// by the C library, then rounded half away from zero on that decimal text.
std::string Reference(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    std::string digits;
    for (const char* p = buf; *p != 'e'; ++p) {
        if (*p != '.') {
            digits += *p;
        }
    }
    const int exp10 = std::atoi(std::strchr(buf, 'e') + 1);
    // Exact decimal text: integer digits and fraction digits.
    std::string intPart;
    std::string frac;
    const int point = exp10 + 1;
    if (point <= 0) {
        intPart = "0";
        frac = std::string(static_cast<std::size_t>(-point), '0') + digits;
    } else if (point >= 15) {
        intPart = digits + std::string(static_cast<std::size_t>(point - 15), '0');
    } else {
        intPart = digits.substr(0, static_cast<std::size_t>(point));
        frac = digits.substr(static_cast<std::size_t>(point));
    }
    frac.resize(std::max(frac.size(), static_cast<std::size_t>(decimals) + 1), '0');
    const bool up = frac[static_cast<std::size_t>(decimals)] >= '5';
    std::string kept = intPart + frac.substr(0, static_cast<std::size_t>(decimals));
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') {
            kept[static_cast<std::size_t>(i--)] = '0';
        }
        if (i < 0) {
            kept.insert(kept.begin(), '1');
        } else {
            ++kept[static_cast<std::size_t>(i)];
        }
    }
    std::string ip = kept.substr(0, kept.size() - static_cast<std::size_t>(decimals));
    const std::string fp = kept.substr(kept.size() - static_cast<std::size_t>(decimals));
    ip.erase(0, std::min(ip.find_first_not_of('0'), ip.size() - 1));
    const bool zero = ip == "0" && fp.find_first_not_of('0') == std::string::npos;
    std::string out = (v < 0 && !zero) ? "-" : "";
    out += ip;
    if (decimals > 0) {
        out += "." + fp;
    }
    return out;
}

TEST(FormatNumber, AgreesWithThePrintedDecimalValue) {
    const RegionalSettings plain = Rs("", ".");
    const char* patterns[] = {"0", "0.0", "0.00", "0.000", "0.000000", "0.0000000000"};
    std::vector<double> values = {0.5,
                                  1.5,
                                  2.5,
                                  0.125,
                                  2.675,
                                  1.005,
                                  123456789012345.5,
                                  123456789012344.5,
                                  999999999999999.5,
                                  999999999999999.4,
                                  99999999999999.95,
                                  1e15,
                                  std::nextafter(1e15, 0.0),
                                  1e-8,
                                  std::nextafter(1e-8, 0.0),
                                  std::nextafter(1e-8, 1.0),
                                  0.1 + 0.2,
                                  1e14,
                                  std::nextafter(1e14, 0.0),
                                  0.95,
                                  0.995,
                                  9.995,
                                  4.35,
                                  1234.5};
    for (int k = -10; k <= 17; ++k) {
        const double p = std::pow(10.0, k);
        values.push_back(p);
        values.push_back(std::nextafter(p, 0.0));
        values.push_back(std::nextafter(p, 1e300));
        values.push_back(p * 0.5);
        values.push_back(p * 0.95);
        values.push_back(p * 9.5);
    }
    std::mt19937_64 gen(15);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-10, 17);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(mantissa(gen) * std::pow(10.0, exponent(gen)));
    }
    std::uniform_int_distribution<std::int64_t> thousandths(0, 10'000'000'000LL);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(static_cast<double>(thousandths(gen)) / 1000.0);
    }
    for (const double v : values) {
        for (int d = 0; d < 6; ++d) {
            const int decimals =
                static_cast<int>(std::string_view(patterns[d]).size()) - (d == 0 ? 1 : 2);
            ASSERT_EQ(FormatNumber(v, patterns[d], plain), Reference(v, decimals))
                << std::hexfloat << v << " " << patterns[d];
            ASSERT_EQ(FormatNumber(-v, patterns[d], plain), Reference(-v, decimals))
                << std::hexfloat << -v << " " << patterns[d];
        }
    }
}

// Texts read back.
struct ParseCase {
    const char* text;
    const char* thousands;
    const char* decimal;
    bool acceptable;  // IsAmountText
    double amount;    // AmountFromText
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << "\"" << c.text << "\" with thousands \"" << c.thousands << "\" decimal \"" << c.decimal
        << "\"";
}

class ParseTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTable, AcceptsAndConverts) {
    const ParseCase& c = GetParam();
    const RegionalSettings rs = Rs(c.thousands, c.decimal);
    EXPECT_EQ(IsAmountText(c.text, rs), c.acceptable);
    EXPECT_EQ(AmountFromText(c.text, rs), c.amount);
}

INSTANTIATE_TEST_SUITE_P(
    PointDecimal, ParseTable,
    ::testing::Values(
        ParseCase{"", ",", ".", true, 0}, ParseCase{"1234.5", ",", ".", true, 1234.5},
        ParseCase{"1,234.5", ",", ".", true, 1234.5}, ParseCase{"1,2,3,4", ",", ".", false, 0},
        ParseCase{"-1,234,567.89", ",", ".", true, -1234567.89}, ParseCase{"-", ",", ".", false, 0},
        ParseCase{"+", ",", ".", false, 0}, ParseCase{".", ",", ".", false, 0},
        ParseCase{"-.5", ",", ".", true, -0.5}, ParseCase{"5.", ",", ".", true, 5},
        ParseCase{"+5", ",", ".", true, 5}, ParseCase{"  12  ", ",", ".", true, 12},
        ParseCase{"1 2", ",", ".", false, 0}, ParseCase{"- 5", ",", ".", false, 0},
        ParseCase{"--5", ",", ".", false, 0}, ParseCase{"12%", ",", ".", false, 12},
        ParseCase{"25.00%", ",", ".", false, 25}, ParseCase{"%", ",", ".", false, 0},
        ParseCase{"1.5e2%", ",", ".", false, 150}, ParseCase{"1e3", ",", ".", true, 1000},
        ParseCase{"1E+3", ",", ".", true, 1000}, ParseCase{"1e-3", ",", ".", true, 0.001},
        ParseCase{"1e", ",", ".", false, 0}, ParseCase{"e5", ",", ".", false, 0},
        ParseCase{"1.2.3", ",", ".", false, 0}, ParseCase{"abc", ",", ".", false, 0},
        ParseCase{"12a", ",", ".", false, 0}, ParseCase{"0x10", ",", ".", false, 0},
        ParseCase{"inf", ",", ".", false, 0}, ParseCase{"nan", ",", ".", false, 0},
        ParseCase{"infinity", ",", ".", false, 0}, ParseCase{"1e400", ",", ".", false, 0},
        ParseCase{"-1e400", ",", ".", false, 0}, ParseCase{"1e-400", ",", ".", true, 0},
        ParseCase{"1e99999999999999999999", ",", ".", false, 0},
        ParseCase{"0e99999999999999999999", ",", ".", true, 0},
        ParseCase{"1e-99999999999999999999", ",", ".", true, 0},
        ParseCase{"1.7976931348623157e308", ",", ".", true, 1.7976931348623157e308},
        ParseCase{"1.7976931348623159e308", ",", ".", false, 0},
        ParseCase{"0.1", ",", ".", true, 0.1}, ParseCase{"2.675", ",", ".", true, 2.675},
        ParseCase{"9007199254740993", ",", ".", true, 9007199254740992.0},
        ParseCase{"1234,5", ",", ".", false, 0}, ParseCase{"1'234.5", "'", ".", true, 1234.5},
        ParseCase{"1,234.5", "", ".", false, 0}, ParseCase{"\t5", ",", ".", false, 0}));

INSTANTIATE_TEST_SUITE_P(CommaDecimal, ParseTable,
                         ::testing::Values(ParseCase{"1234.5", ".", ",", false, 0},
                                           ParseCase{"1234,5", ".", ",", true, 1234.5},
                                           ParseCase{"1.234,50", ".", ",", true, 1234.5},
                                           ParseCase{"-1.234.567,89", ".", ",", true, -1234567.89},
                                           ParseCase{"1,234.5", ".", ",", false, 0},
                                           ParseCase{"1,2,3", ".", ",", false, 0},
                                           ParseCase{"-", ".", ",", false, 0},
                                           ParseCase{",5", ".", ",", true, 0.5},
                                           ParseCase{"25,00%", ".", ",", false, 25},
                                           ParseCase{"1,5E2", ".", ",", true, 150}));

// A space-like thousands separator drops all three space-like characters.
INSTANTIATE_TEST_SUITE_P(SpaceThousands, ParseTable,
                         ::testing::Values(ParseCase{"1 234,5", " ", ",", true, 1234.5},
                                           ParseCase{"1\xC2\xA0"
                                                     "234,5",
                                                     " ", ",", true, 1234.5},
                                           ParseCase{"1\xE2\x80\xAF"
                                                     "234,5",
                                                     " ", ",", true, 1234.5},
                                           ParseCase{"1 234\xC2\xA0"
                                                     "567,89",
                                                     "\xE2\x80\xAF", ",", true, 1234567.89},
                                           ParseCase{"1\xE2\x80\xAF"
                                                     "234,5",
                                                     "\xC2\xA0", ",", true, 1234.5},
                                           ParseCase{"1.5", " ", ",", false, 0},
                                           // Blanks group digits in every convention.
                                           ParseCase{"1 234.5", ",", ".", true, 1234.5},
                                           ParseCase{"1\xC2\xA0"
                                                     "234.5",
                                                     "'", ".", true, 1234.5}));

// Group separators are read only at their group positions; anywhere else the text is refused,
// never read as another amount.
INSTANTIATE_TEST_SUITE_P(
    GroupPositions, ParseTable,
    ::testing::Values(
        ParseCase{"1.234,56", ".", ",", true, 1234.56},
        ParseCase{"1.234.567", ".", ",", true, 1234567},
        ParseCase{"-12.345.678,9", ".", ",", true, -12345678.9},
        ParseCase{"1 234,56", ".", ",", true, 1234.56},
        ParseCase{"1,234.56", ",", ".", true, 1234.56},
        ParseCase{"1,234,567", ",", ".", true, 1234567}, ParseCase{"1,234", ".", ",", true, 1.234},
        ParseCase{"12.34,5", ".", ",", false, 0}, ParseCase{"1.2345", ".", ",", false, 0},
        ParseCase{"1234.567", ".", ",", false, 0}, ParseCase{".234", ".", ",", false, 0},
        ParseCase{"1.", ".", ",", false, 0}, ParseCase{"0.123", ".", ",", false, 0},
        ParseCase{"1.234 567", ".", ",", false, 0}, ParseCase{"1,234.5,6", ",", ".", false, 0},
        ParseCase{"1,234.567,8", ",", ".", false, 0}, ParseCase{"118,000.00", ".", ",", false, 0},
        ParseCase{"2,150,000.00", ".", ",", false, 0}));

TEST(AmountFromText, HugeDigitStrings) {
    const std::string big = "1" + std::string(400, '0');
    EXPECT_FALSE(IsAmountText(big, kUs));
    EXPECT_EQ(AmountFromText(big, kUs), 0);
    const std::string small = "0." + std::string(400, '0') + "1";
    EXPECT_TRUE(IsAmountText(small, kUs));
    EXPECT_EQ(AmountFromText(small, kUs), 0);
    const std::string longExact = "0.1" + std::string(300, '0');
    EXPECT_EQ(AmountFromText(longExact, kUs), 0.1);
}

TEST(AmountFromText, ShortAndLongDigitStringsAreCorrectlyRounded) {
    // Up to 15 digits take a direct path, longer ones the general conversion; both must give the
    // double nearest to the decimal text, as strtod does.
    std::mt19937_64 rng(2026);
    const RegionalSettings rs{".", ",", "dd.MM.yyyy"};
    for (int i = 0; i < 20000; ++i) {
        const int digits = 1 + static_cast<int>(rng() % 18);
        const int decimals = static_cast<int>(rng() % (digits + 1));
        std::string c;
        for (int d = 0; d < digits; ++d) {
            c += static_cast<char>('0' + rng() % 10);
        }
        std::string local = c;
        if (decimals > 0) {
            c.insert(c.size() - static_cast<std::size_t>(decimals), ".");
            local.insert(local.size() - static_cast<std::size_t>(decimals), ",");
        }
        if (rng() % 2 == 0) {
            c.insert(0, "-");
            local.insert(0, "-");
        }
        const double expected = std::strtod(c.c_str(), nullptr);
        EXPECT_EQ(AmountFromText(local, rs), expected == 0 ? 0.0 : expected) << local;
    }
}

TEST(AmountFromText, NegativeZeroReadsAsZero) {
    const double z = AmountFromText("-0", kUs);
    EXPECT_EQ(z, 0);
    EXPECT_FALSE(std::signbit(z));
}

// FormatNumber then AmountFromText gives back the amount rounded to two decimals.
TEST(FormatAndRead, TwoDecimalAmountsRoundTrip) {
    std::mt19937_64 gen(20250101);
    std::uniform_int_distribution<std::int64_t> cents(-100'000'000'000'000LL,
                                                      100'000'000'000'000LL);
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t k = i < 10000 ? cents(gen) / 1'000'000 : cents(gen);
        const double v = static_cast<double>(k) / 100.0;
        for (const RegionalSettings& rs : {kUs, kHr, kFr}) {
            const std::string t = FormatNumber(v, "#,##0.00", rs);
            ASSERT_TRUE(IsAmountText(t, rs)) << t;
            ASSERT_EQ(AmountFromText(t, rs), v) << t;
        }
    }
}

TEST(FormatAndRead, SixDecimalAmountsRoundHalfAwayFromZero) {
    // v = k / 10^6 reads as exactly k millionths, so the expected cents follow from k alone.
    std::mt19937_64 gen(7);
    std::uniform_int_distribution<std::int64_t> dist(-1'000'000'000'000LL, 1'000'000'000'000LL);
    for (int i = 0; i < 20000; ++i) {
        std::int64_t k = dist(gen);
        if (i % 4 == 0) {
            k = k / 10000 * 10000 + (k < 0 ? -5000 : 5000);  // an exact tie
        }
        const double v = static_cast<double>(k) / 1e6;
        const std::int64_t mag = k < 0 ? -k : k;
        std::int64_t c = (mag + 5000) / 10000;
        if (k < 0) {
            c = -c;
        }
        const double expected = static_cast<double>(c) / 100.0;
        for (const RegionalSettings& rs : {kUs, kHr}) {
            const std::string t = FormatNumber(v, "#,##0.00", rs);
            ASSERT_EQ(AmountFromText(t, rs), expected) << k << " -> " << t;
        }
    }
}

}  // namespace
}  // namespace movik
