// The Croatian plural of counted nouns.

#include "model/CroatianPlural.h"

#include <gtest/gtest.h>

#include <climits>

namespace movik {
namespace {

struct Counted {
    long long n;
    const char* text;
};

class CroatianPluralCase : public ::testing::TestWithParam<Counted> {};

TEST_P(CroatianPluralCase, TakesTheFormOfItsLastDigits) {
    const Counted& c = GetParam();
    EXPECT_EQ(CountText(c.n, "dokument", "dokumenta", "dokumenata"), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, CroatianPluralCase,
    ::testing::Values(Counted{0, "0 dokumenata"}, Counted{1, "1 dokument"},
                      Counted{2, "2 dokumenta"}, Counted{4, "4 dokumenta"},
                      Counted{5, "5 dokumenata"}, Counted{10, "10 dokumenata"},
                      Counted{11, "11 dokumenata"}, Counted{12, "12 dokumenata"},
                      Counted{14, "14 dokumenata"}, Counted{21, "21 dokument"},
                      Counted{22, "22 dokumenta"}, Counted{25, "25 dokumenata"},
                      Counted{101, "101 dokument"}, Counted{111, "111 dokumenata"},
                      Counted{112, "112 dokumenata"}, Counted{123, "123 dokumenta"},
                      Counted{1001, "1001 dokument"}, Counted{-1, "-1 dokument"},
                      Counted{-13, "-13 dokumenata"}, Counted{-22, "-22 dokumenta"}));

TEST(CroatianPlural, TheExtremesHaveAForm) {
    // 9223372036854775807 ends in 07, -9223372036854775808 in 08.
    EXPECT_EQ(CroatianPlural(LLONG_MAX, "a", "b", "c"), "c");
    EXPECT_EQ(CroatianPlural(LLONG_MIN, "a", "b", "c"), "c");
    EXPECT_EQ(CroatianPlural(LLONG_MAX - 5, "a", "b", "c"), "b");
}

}  // namespace
}  // namespace movik
