#include <gtest/gtest.h>

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
// not know gives nothing, so the caller decides between an error and the C settings.
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
                                           NamedLocaleCase{"C", true, ",", "."},
                                           NamedLocaleCase{"C.UTF-8", true, ",", "."},
                                           NamedLocaleCase{"POSIX", true, ",", "."},
                                           NamedLocaleCase{"", true, ",", "."},
                                           NamedLocaleCase{"xx_NOWHERE.UTF-8", false, "", ""},
                                           NamedLocaleCase{"klingon", false, "", ""}));

TEST(RegionalFromLocale, ShortDateFormatIsTheLocales) {
    EXPECT_EQ(movik::RegionalFromLocaleName("en_US")->shortDateFormat, "M/d/yy");
}

}  // namespace
