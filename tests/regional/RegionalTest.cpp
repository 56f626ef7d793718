#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "regional/Regional.h"

namespace {

struct NamedLocaleCase {
    const char* name;
    bool known;
    const char* thousands;
    const char* decimal;
};

class RegionalFromName : public ::testing::TestWithParam<NamedLocaleCase> {};

// Environment names carry an encoding or modifier the settings do not depend on; a name Qt does
// not know gives nothing, so the caller decides between an error and the Croatian settings; a
// plain name (C, POSIX, none) gives the Croatian settings.
TEST_P(RegionalFromName, SeparatorsOfTheNamedLocale) {
    const NamedLocaleCase& c = GetParam();
    const std::optional<movik::RegionalSettings> rs = movik::RegionalFromLocaleName(c.name);
    ASSERT_EQ(rs.has_value(), c.known);
    if (c.known) {
        EXPECT_EQ(rs->thousandsSeparator, c.thousands);
        EXPECT_EQ(rs->decimalSeparator, c.decimal);
    }
}

INSTANTIATE_TEST_SUITE_P(Names, RegionalFromName,
                         ::testing::Values(NamedLocaleCase{"hr_HR.UTF-8", true, ".", ","},
                                           NamedLocaleCase{"hr_HR", true, ".", ","},
                                           NamedLocaleCase{"en_US.UTF-8", true, ",", "."},
                                           NamedLocaleCase{"de_DE@euro", true, ".", ","},
                                           NamedLocaleCase{"C", true, ".", ","},
                                           NamedLocaleCase{"C.UTF-8", true, ".", ","},
                                           NamedLocaleCase{"POSIX", true, ".", ","},
                                           NamedLocaleCase{"", true, ".", ","},
                                           NamedLocaleCase{"xx_NOWHERE.UTF-8", false, "", ""},
                                           NamedLocaleCase{"klingon", false, "", ""}));

TEST(RegionalFromLocale, ShortDateFormatIsTheLocales) {
    EXPECT_EQ(movik::RegionalFromLocaleName("en_US")->shortDateFormat, "M/d/yy");
}

struct EnvironmentCase {
    const char* name;
    std::map<std::string, std::string> env;
    const char* decimal;
    const char* dateFormat;
};

class RegionalFromEnvironment : public ::testing::TestWithParam<EnvironmentCase> {};

// Numbers from LC_NUMERIC, dates from LC_TIME, LC_ALL over both and LANG under both; an empty
// variable counts as unset.
TEST_P(RegionalFromEnvironment, NumbersAndDatesEachFromTheirVariable) {
    const EnvironmentCase& c = GetParam();
    const movik::LocaleNames names =
        movik::LocaleNamesFromEnvironment([&c](const char* var) -> const char* {
            const auto found = c.env.find(var);
            return found == c.env.end() ? nullptr : found->second.c_str();
        });
    const movik::RegionalSettings rs = movik::RegionalFromNames(names);
    EXPECT_EQ(rs.decimalSeparator, c.decimal);
    EXPECT_EQ(rs.shortDateFormat, c.dateFormat);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, RegionalFromEnvironment,
    ::testing::Values(
        EnvironmentCase{"LangWithCroatianTime",
                        {{"LANG", "en_US.UTF-8"}, {"LC_TIME", "hr_HR.UTF-8"}},
                        ".",
                        "dd. MM. yyyy."},
        EnvironmentCase{"NumericOverLang",
                        {{"LANG", "en_US.UTF-8"}, {"LC_NUMERIC", "hr_HR.UTF-8"}},
                        ",",
                        "M/d/yy"},
        EnvironmentCase{"AllOverEverything",
                        {{"LC_ALL", "en_US.UTF-8"}, {"LC_NUMERIC", "hr_HR"}, {"LC_TIME", "hr_HR"}},
                        ".",
                        "M/d/yy"},
        EnvironmentCase{"EmptyAllIsUnset", {{"LC_ALL", ""}, {"LANG", "en_US"}}, ".", "M/d/yy"},
        EnvironmentCase{"PlainC", {{"LC_ALL", "C.UTF-8"}}, ",", "dd. MM. yyyy."},
        EnvironmentCase{"Nothing", {}, ",", "dd. MM. yyyy."}),
    [](const ::testing::TestParamInfo<EnvironmentCase>& info) {
        return std::string(info.param.name);
    });

}  // namespace
