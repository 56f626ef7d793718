#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ModelTestSupport.h"
#include "model/Calculations.h"
#include "model/Dates.h"
#include "model/Document.h"

namespace movik {
namespace {

class CalcTest : public ::testing::Test {
  protected:
    void SetUp() override { test::ResetDocument(d); }

    TStavkaBilanca& B(int n) { return d.Bilanca.row(n); }
    TStavkaRacun& R(int n) { return d.Racun.row(n); }
    double CF(int n) { return d.CFInd.row(n).Iznos; }
    double FCF(int n) { return d.CFFree.row(n).Iznos; }
    double Pok(int n) { return d.Pok.row(n).Iznos; }

    std::unique_ptr<TDokument> owner = std::make_unique<TDokument>();
    TDokument& d = *owner;
};

// ---------------------------------------------------------------- balance sheet

using BilancaCalcTest = CalcTest;

TEST_F(BilancaCalcTest, SubscribedCapitalOnly) {
    B(1).IznosTekuca = 100;
    B(58).IznosTekuca = 100;
    CalcBilanca(d);
    EXPECT_EQ(B(55).IznosTekuca, 100);
    EXPECT_EQ(B(87).IznosTekuca, 100);
    EXPECT_EQ(B(57).IznosTekuca, 100);
    const std::set<int> full = {1, 55, 57, 58, 87};
    for (int n = 1; n <= kBilancaRows; ++n) {
        EXPECT_EQ(B(n).UdioTekuca, full.count(n) ? 100 : 0) << "row " << n;
        EXPECT_EQ(B(n).UdioPrethodna, 0) << "row " << n;
    }
}

TEST_F(BilancaCalcTest, LossesAreSubtractedFromEquity) {
    B(58).IznosTekuca = 500;
    B(65).IznosTekuca = 200;
    CalcBilanca(d);
    EXPECT_EQ(B(57).IznosTekuca, 300);
    EXPECT_EQ(B(87).IznosTekuca, 300);
    EXPECT_EQ(B(55).IznosTekuca, 0);
    for (int n = 1; n <= kBilancaRows; ++n) {
        EXPECT_EQ(B(n).UdioTekuca, 0) << "row " << n;
    }
    B(63).IznosTekuca = 50;
    CalcBilanca(d);
    EXPECT_EQ(B(57).IznosTekuca, 250);
}

TEST_F(BilancaCalcTest, OffBalanceRowsEnterNoTotal) {
    B(52).IznosPrethodna = 400;
    B(58).IznosPrethodna = 400;
    B(56).IznosPrethodna = 100;
    B(88).IznosPrethodna = 300;
    CalcBilanca(d);
    EXPECT_EQ(B(55).IznosPrethodna, 400);
    EXPECT_EQ(B(87).IznosPrethodna, 400);
    EXPECT_EQ(B(56).UdioPrethodna, 25);
    EXPECT_EQ(B(88).UdioPrethodna, 75);
}

TEST_F(BilancaCalcTest, LiabilitiesAreSharesOfTotalAssets) {
    B(52).IznosTekuca = 200;
    B(80).IznosTekuca = 150;
    CalcBilanca(d);
    EXPECT_EQ(B(55).IznosTekuca, 200);
    EXPECT_EQ(B(87).IznosTekuca, 150);
    EXPECT_EQ(B(87).UdioTekuca, 75);
    EXPECT_EQ(B(75).UdioTekuca, 75);
    EXPECT_EQ(B(80).UdioTekuca, 75);
    EXPECT_EQ(B(55).UdioTekuca, 100);
}

TEST_F(BilancaCalcTest, YearsAreIndependent) {
    B(4).IznosTekuca = 30;
    B(10).IznosTekuca = 70;
    CalcBilanca(d);
    EXPECT_EQ(B(2).IznosTekuca, 100);
    EXPECT_EQ(B(2).IznosPrethodna, 0);
    EXPECT_EQ(B(4).UdioTekuca, 30);
    EXPECT_EQ(B(10).UdioTekuca, 70);
    EXPECT_EQ(B(4).UdioPrethodna, 0);

    B(4).IznosPrethodna = 10;
    B(4).IznosTekuca = 0;
    B(10).IznosTekuca = 0;
    CalcBilanca(d);
    EXPECT_EQ(B(4).UdioPrethodna, 100);
    EXPECT_EQ(B(4).UdioTekuca, 0);
}

TEST_F(BilancaCalcTest, ZeroTotalClearsStaleShares) {
    B(52).IznosTekuca = 100;
    B(52).IznosPrethodna = 100;
    CalcBilanca(d);
    ASSERT_EQ(B(52).UdioTekuca, 100);
    B(52).IznosTekuca = 0;
    B(58).IznosTekuca = 100;  // a year with no assets but with other amounts
    CalcBilanca(d);
    for (int n = 1; n <= kBilancaRows; ++n) {
        EXPECT_EQ(B(n).UdioTekuca, 0) << "row " << n;
    }
    EXPECT_EQ(B(52).UdioPrethodna, 100);  // the other year keeps its computed shares
}

TEST_F(BilancaCalcTest, ComputedRowsAreOverwritten) {
    for (int n = 1; n <= kBilancaRows; ++n) {
        if (TemplateRow(Statement::Bilanca, n).Izracunata) {
            B(n).IznosPrethodna = 999;
            B(n).IznosTekuca = -999;
        }
    }
    CalcBilanca(d);
    for (const auto& r : d.Bilanca.rows) {
        EXPECT_EQ(r.IznosPrethodna, 0);
        EXPECT_EQ(r.IznosTekuca, 0);
    }
}

// Each total against the flat sum of the input rows below it, one input row at a time.
TEST_F(BilancaCalcTest, EveryInputReachesItsTotals) {
    struct Group {
        int total;
        int from;
        int to;
    };
    const Group groups[] = {{3, 4, 8},    {9, 10, 17},  {18, 19, 26}, {27, 28, 30}, {2, 4, 30},
                            {32, 33, 37}, {38, 39, 44}, {45, 46, 51}, {31, 33, 52}, {55, 1, 54},
                            {57, 58, 65}, {67, 68, 74}, {75, 76, 85}, {87, 57, 86}};
    for (const int input : test::InputRows(Statement::Bilanca)) {
        test::ResetDocument(d);
        B(input).IznosPrethodna = 7;
        B(input).IznosTekuca = 3;
        CalcBilanca(d);
        for (const Group& g : groups) {
            const bool inside = input >= g.from && input <= g.to;
            const double sign = (input == 63 || input == 65) ? -1 : 1;
            EXPECT_EQ(B(g.total).IznosPrethodna, inside ? 7 * sign : 0)
                << "input " << input << " total " << g.total;
            EXPECT_EQ(B(g.total).IznosTekuca, inside ? 3 * sign : 0)
                << "input " << input << " total " << g.total;
        }
    }
}

TEST_F(BilancaCalcTest, RunningTwiceGivesTheSameTable) {
    for (const int n : test::InputRows(Statement::Bilanca)) {
        B(n).IznosPrethodna = n * 1.25;
        B(n).IznosTekuca = n * 2.5 - 40;
    }
    CalcBilanca(d);
    const BilancaTable once = d.Bilanca;
    CalcBilanca(d);
    for (int n = 1; n <= kBilancaRows; ++n) {
        EXPECT_EQ(d.Bilanca.row(n).IznosTekuca, once.row(n).IznosTekuca);
        EXPECT_EQ(d.Bilanca.row(n).UdioTekuca, once.row(n).UdioTekuca);
        EXPECT_EQ(d.Bilanca.row(n).UdioPrethodna, once.row(n).UdioPrethodna);
    }
}

// ---------------------------------------------------------------- income statement

using RacunCalcTest = CalcTest;

TEST_F(RacunCalcTest, SalesMaterialsAndTax) {
    R(2).Iznos = 1000;
    R(12).Iznos = 400;
    R(43).Iznos = 100;
    CalcRacun(d);
    for (int n : {1, 36, 40}) {
        EXPECT_EQ(R(n).Iznos, 1000) << n;
    }
    for (int n : {11, 10, 7, 37, 41}) {
        EXPECT_EQ(R(n).Iznos, 400) << n;
    }
    EXPECT_EQ(R(42).Iznos, 600);
    EXPECT_EQ(R(45).Iznos, 500);

    const std::set<int> full = {1, 2, 36, 40, 7, 10, 11, 12, 37, 41, 42};
    for (int n = 1; n <= kRacunRows; ++n) {
        if (n == 43) {
            EXPECT_DOUBLE_EQ(R(n).Udio, 100.0 / 6);
        } else if (n == 45) {
            EXPECT_DOUBLE_EQ(R(n).Udio, 500.0 / 6);
        } else {
            EXPECT_EQ(R(n).Udio, full.count(n) ? 100 : 0) << "row " << n;
        }
    }
}

TEST_F(RacunCalcTest, InventoryChangesCorrectOperatingExpenses) {
    R(12).Iznos = 400;
    R(8).Iznos = 50;
    CalcRacun(d);
    EXPECT_EQ(R(10).Iznos, 400);
    EXPECT_EQ(R(7).Iznos, 350);
    R(8).Iznos = 0;
    R(9).Iznos = 30;
    CalcRacun(d);
    EXPECT_EQ(R(7).Iznos, 430);
}

TEST_F(RacunCalcTest, Loss) {
    R(38).Iznos = 100;
    R(39).Iznos = 300;
    CalcRacun(d);
    EXPECT_EQ(R(40).Iznos, 100);
    EXPECT_EQ(R(41).Iznos, 300);
    EXPECT_EQ(R(42).Iznos, -200);
    EXPECT_EQ(R(45).Iznos, -200);
    EXPECT_EQ(R(45).Udio, 100);
    EXPECT_EQ(R(42).Udio, 100);
}

TEST_F(RacunCalcTest, NegativeResultGivesOppositeSignShares) {
    R(2).Iznos = 100;
    R(12).Iznos = 300;
    R(43).Iznos = 50;
    CalcRacun(d);
    EXPECT_EQ(R(42).Iznos, -200);
    EXPECT_EQ(R(43).Udio, -25);
    EXPECT_EQ(R(45).Udio, 125);
}

TEST_F(RacunCalcTest, EmptyStatement) {
    CalcRacun(d);
    for (int n = 1; n <= kRacunRows; ++n) {
        EXPECT_EQ(R(n).Iznos, 0);
        EXPECT_EQ(R(n).Udio, (n >= 40 && n <= 42) ? 100 : 0) << "row " << n;
    }
}

TEST_F(RacunCalcTest, ZeroBaseClearsStaleShares) {
    R(2).Iznos = 1000;
    R(12).Iznos = 400;
    R(43).Iznos = 100;
    CalcRacun(d);
    ASSERT_NE(R(45).Udio, 0);
    // Revenue equals expenses: the result before tax is exactly 0.
    R(12).Iznos = 1000;
    CalcRacun(d);
    EXPECT_EQ(R(42).Iznos, 0);
    EXPECT_EQ(R(43).Udio, 0);
    EXPECT_EQ(R(44).Udio, 0);
    EXPECT_EQ(R(45).Udio, 0);
    EXPECT_EQ(R(2).Udio, 100);
    // No revenue at all.
    R(2).Iznos = 0;
    CalcRacun(d);
    for (int n : {1, 2, 26, 36, 38}) {
        EXPECT_EQ(R(n).Udio, 0) << n;
    }
    EXPECT_EQ(R(12).Udio, 100);
    EXPECT_EQ(R(40).Udio, 100);
}

TEST_F(RacunCalcTest, EveryRowBelongsToOneShareGroup) {
    // Every input 1: each row's share is then its amount over the group's base.
    for (const int n : test::InputRows(Statement::Racun)) {
        R(n).Iznos = 1;
    }
    for (int n = 1; n <= kRacunRows; ++n) {
        R(n).Udio = -12345;
    }
    CalcRacun(d);
    for (int n = 1; n <= kRacunRows; ++n) {
        EXPECT_NE(R(n).Udio, -12345) << "row " << n << " got no share";
    }
    EXPECT_DOUBLE_EQ(R(38).Udio, 100 / R(40).Iznos);
    EXPECT_DOUBLE_EQ(R(39).Udio, 100 / R(41).Iznos);
    EXPECT_DOUBLE_EQ(R(44).Udio, 100 / R(42).Iznos);
}

// The result after tax against the flat sum of every input with its sign.
TEST_F(RacunCalcTest, ResultIsRevenueLessExpenses) {
    const std::set<int> revenue = {2, 3, 4, 5, 6, 8, 27, 28, 29, 30, 31, 32, 38};
    for (const int input : test::InputRows(Statement::Racun)) {
        test::ResetDocument(d);
        R(input).Iznos = 10;
        CalcRacun(d);
        EXPECT_EQ(R(45).Iznos, revenue.count(input) ? 10 : -10) << "input " << input;
    }
    test::ResetDocument(d);
    R(20).Iznos = 3;
    R(21).Iznos = 4;
    R(22).Iznos = 5;
    CalcRacun(d);
    EXPECT_EQ(R(19).Iznos, 7);
    EXPECT_EQ(R(18).Iznos, 12);
}

// ---------------------------------------------------------------- indirect cash flow

using CFIndCalcTest = CalcTest;

TEST_F(CFIndCalcTest, NewDocumentGivesZeros) {
    for (auto& r : d.CFInd.rows) {
        r.Iznos = 5;
    }
    RecalculateAll(d);
    for (int n = 1; n <= kCFIndRows; ++n) {
        EXPECT_EQ(CF(n), 0) << n;
    }
}

TEST_F(CFIndCalcTest, CashOnly) {
    B(52).IznosPrethodna = 100;
    B(52).IznosTekuca = 150;
    RecalculateAll(d);
    EXPECT_EQ(CF(29), 100);
    EXPECT_EQ(CF(30), 150);
    EXPECT_EQ(CF(31), 50);
    for (int n = 1; n <= 28; ++n) {
        EXPECT_EQ(CF(n), 0) << n;
    }
    EXPECT_EQ(CF(28) - CF(31), -50);
}

TEST_F(CFIndCalcTest, ProfitOnly) {
    R(2).Iznos = 40;
    B(64).IznosTekuca = 40;
    B(52).IznosTekuca = 40;
    EXPECT_EQ(RecalculateAll(d), "");
    EXPECT_EQ(CF(1), 40);
    EXPECT_EQ(CF(3), 40);
    EXPECT_EQ(CF(10), 40);
    EXPECT_EQ(CF(18), 0);
    EXPECT_EQ(CF(27), 0);
    EXPECT_EQ(CF(28), 40);
    EXPECT_EQ(CF(29), 0);
    EXPECT_EQ(CF(30), 40);
    EXPECT_EQ(CF(31), 40);
}

TEST_F(CFIndCalcTest, OwnSharesBoughtBack) {
    B(25).IznosTekuca = 10;
    RecalculateAll(d);
    EXPECT_EQ(B(18).IznosTekuca, 10);
    EXPECT_EQ(CF(17), -10);
    EXPECT_EQ(CF(13), 0);
    B(25).IznosTekuca = 0;
    B(50).IznosTekuca = 10;
    RecalculateAll(d);
    EXPECT_EQ(CF(17), -10);
    EXPECT_EQ(CF(15), 0);
}

TEST_F(CFIndCalcTest, DepreciationIsTakenByPosition) {
    R(20).Iznos = 3;  // intangible
    R(21).Iznos = 5;  // tangible
    R(23).Iznos = 100;
    RecalculateAll(d);
    EXPECT_EQ(CF(2), 8);
    EXPECT_EQ(CF(11), -3);
    EXPECT_EQ(CF(12), -5);
}

// Where one more unit of a balance sheet input (current year) lands in each cash flow statement:
// the detail row that must show it with its sign, every other detail row staying 0. A unit more
// in the previous year lands in the same row with the opposite sign.
struct Landing {
    int bilancaRow;
    int cfIndRow;  // 0: no detail row of the indirect statement
    int cfIndSign;
    int cfFreeRow;  // 0: no detail row of the free cash flow statement
    int cfFreeSign;
};

std::vector<Landing> Landings() {
    std::vector<Landing> all;
    const auto add = [&all](int from, int to, int ind, int indSign, int fre, int freSign) {
        for (int n = from; n <= to; ++n) {
            all.push_back({n, ind, indSign, fre, freSign});
        }
    };
    add(1, 1, 18, -1, 20, -1);
    add(4, 8, 11, -1, 15, 1);
    add(10, 17, 12, -1, 15, 1);
    add(19, 24, 13, -1, 15, 1);
    add(25, 25, 17, -1, 15, 1);
    add(26, 26, 13, -1, 15, 1);
    add(28, 30, 14, -1, 15, 1);
    add(33, 37, 4, -1, 8, 1);
    add(39, 39, 5, -1, 9, 1);
    add(40, 40, 5, -1, 7, 1);
    add(41, 44, 5, -1, 9, 1);
    add(46, 49, 15, -1, 9, 1);
    add(50, 50, 17, -1, 9, 1);
    add(51, 51, 15, -1, 9, 1);
    add(52, 52, 0, 0, 6, 1);
    add(53, 53, 6, -1, 10, 1);
    add(54, 54, 18, -1, 23, -1);
    add(56, 56, 0, 0, 0, 0);
    add(58, 61, 18, 1, 20, 1);
    add(62, 62, 18, 1, 23, 1);
    add(63, 63, 18, -1, 23, -1);
    add(64, 64, 18, 1, 23, 1);
    add(65, 65, 18, -1, 23, -1);
    add(66, 66, 9, 1, 17, 1);
    add(68, 68, 19, 1, 24, 1);
    add(69, 69, 20, 1, 24, 1);
    add(70, 70, 21, 1, 24, 1);
    add(71, 74, 22, 1, 24, 1);
    add(76, 76, 23, 1, 25, 1);
    add(77, 77, 24, 1, 26, 1);
    add(78, 78, 25, 1, 26, 1);
    add(79, 79, 7, 1, 12, 1);
    add(80, 80, 7, 1, 11, 1);
    add(81, 83, 7, 1, 12, 1);
    add(84, 84, 26, 1, 27, 1);
    add(85, 85, 7, 1, 12, 1);
    add(86, 86, 8, 1, 13, 1);
    add(88, 88, 0, 0, 0, 0);
    return all;
}

class CashFlowLandingTest : public ::testing::TestWithParam<Landing> {};

TEST_P(CashFlowLandingTest, OneUnitLandsInOneDetailRow) {
    // Detail rows: everything but the totals, and (indirect) but the cash rows 29 to 31.
    const std::set<int> indDetails = {1,  2,  4,  5,  6,  7,  8,  9,  11, 12, 13, 14,
                                      15, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26};
    const std::set<int> freeDetails = {1,  2,  3,  6,  7,  8,  9,  10, 11, 12, 13,
                                       15, 16, 17, 20, 22, 23, 24, 25, 26, 27};
    const Landing& c = GetParam();
    auto doc = std::make_unique<TDokument>();
    for (const int yearSign : {1, -1}) {
        test::ResetDocument(*doc);
        if (yearSign > 0) {
            doc->Bilanca.row(c.bilancaRow).IznosTekuca = 1;
        } else {
            doc->Bilanca.row(c.bilancaRow).IznosPrethodna = 1;
        }
        RecalculateAll(*doc);
        for (const int n : indDetails) {
            const double expected = n == c.cfIndRow ? c.cfIndSign * yearSign : 0;
            EXPECT_EQ(doc->CFInd.row(n).Iznos, expected) << "indirect row " << n;
        }
        for (const int n : freeDetails) {
            const double expected = n == c.cfFreeRow ? c.cfFreeSign * yearSign : 0;
            EXPECT_EQ(doc->CFFree.row(n).Iznos, expected) << "free row " << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BilancaInputs, CashFlowLandingTest, ::testing::ValuesIn(Landings()),
                         [](const ::testing::TestParamInfo<Landing>& info) {
                             return "B" + std::to_string(info.param.bilancaRow);
                         });

TEST(CashFlowLandingTest, CoversEveryBilancaInput) {
    std::vector<int> covered;
    for (const Landing& l : Landings()) {
        covered.push_back(l.bilancaRow);
    }
    EXPECT_EQ(covered, test::InputRows(Statement::Bilanca));
}

// ---------------------------------------------------------------- free cash flow

using CFFreeCalcTest = CalcTest;

TEST_F(CFFreeCalcTest, NewDocumentGivesZeros) {
    for (auto& r : d.CFFree.rows) {
        r.Iznos = 5;
    }
    RecalculateAll(d);
    for (int n = 1; n <= kCFFreeRows; ++n) {
        EXPECT_EQ(FCF(n), 0) << n;
    }
}

TEST_F(CFFreeCalcTest, SalesAndInterest) {
    R(2).Iznos = 50;
    R(34).Iznos = 10;
    B(64).IznosTekuca = 40;
    B(52).IznosTekuca = 40;
    EXPECT_EQ(RecalculateAll(d), "");
    EXPECT_EQ(R(33).Iznos, 10);
    EXPECT_EQ(R(42).Iznos, 40);
    EXPECT_EQ(R(45).Iznos, 40);
    EXPECT_EQ(FCF(1), 50);
    EXPECT_EQ(FCF(4), 50);
    EXPECT_EQ(FCF(6), 40);
    EXPECT_EQ(FCF(5), 40);
    EXPECT_EQ(FCF(18), 40);
    EXPECT_EQ(FCF(19), 10);
    EXPECT_EQ(FCF(21), 10);
    EXPECT_EQ(FCF(22), -10);
    EXPECT_EQ(FCF(23), 0);
    EXPECT_EQ(FCF(28), -10);
}

TEST_F(CFFreeCalcTest, TradeReceivablesIncrease) {
    R(2).Iznos = 50;
    B(64).IznosTekuca = 50;
    B(52).IznosTekuca = 50;
    RecalculateAll(d);
    const double before19 = FCF(19);
    const double before21 = FCF(21);
    const double before9 = FCF(9);
    const double before5 = FCF(5);
    const double before18 = FCF(18);
    B(40).IznosTekuca = 30;
    RecalculateAll(d);
    EXPECT_EQ(FCF(7), 30);
    EXPECT_EQ(FCF(5), before5 + 30);
    EXPECT_EQ(FCF(18), before18 + 30);
    EXPECT_EQ(FCF(19), before19 - 30);
    EXPECT_EQ(FCF(21), before21 - 30);
    EXPECT_EQ(FCF(9), before9);
}

TEST_F(CFFreeCalcTest, InvestmentBlock) {
    B(10).IznosTekuca = 100;  // fixed assets grow by 100
    R(20).Iznos = 15;         // depreciation
    B(66).IznosTekuca = 20;   // long-term provisions
    B(80).IznosTekuca = 7;    // suppliers
    B(79).IznosTekuca = 3;    // advances
    RecalculateAll(d);
    EXPECT_EQ(FCF(3), 15);
    EXPECT_EQ(FCF(15), 100);
    EXPECT_EQ(FCF(16), 15);
    EXPECT_EQ(FCF(14), 115);
    EXPECT_EQ(FCF(17), 20);
    EXPECT_EQ(FCF(11), 7);
    EXPECT_EQ(FCF(12), 3);
    EXPECT_EQ(FCF(5), -10);
    EXPECT_EQ(FCF(18), -10 + 115 - 20);
}

// ---------------------------------------------------------------- indicators

class PokCalcTest : public CalcTest {
  protected:
    void EnterWorkedExample(int year) {
        d.DatumOd = DayNumber(year, 1, 1);
        d.DatumDo = DayNumber(year, 12, 31);
        B(52).IznosPrethodna = 200;
        B(52).IznosTekuca = 300;
        B(80).IznosPrethodna = 100;
        B(80).IznosTekuca = 150;
        R(2).Iznos = 1000;
        R(12).Iznos = 950;
    }
};

TEST_F(PokCalcTest, NewDocumentGivesZeros) {
    RecalculateAll(d);
    for (int n = 1; n <= kPokRows; ++n) {
        EXPECT_EQ(Pok(n), 0) << n;
    }
}

TEST_F(PokCalcTest, WorkedExample2025) {
    EnterWorkedExample(2025);
    RecalculateAll(d);
    EXPECT_EQ(B(31).IznosPrethodna, 200);
    EXPECT_EQ(B(55).IznosTekuca, 300);
    EXPECT_EQ(B(75).IznosTekuca, 150);
    EXPECT_EQ(R(1).Iznos, 1000);
    EXPECT_EQ(R(7).Iznos, 950);
    EXPECT_EQ(R(45).Iznos, 50);

    EXPECT_EQ(Pok(2), 2);
    EXPECT_EQ(Pok(3), 2);
    EXPECT_DOUBLE_EQ(Pok(4), 500.0 * 365 * 0.5 / 950);
    EXPECT_EQ(Pok(6), 0);
    EXPECT_DOUBLE_EQ(Pok(7), 250.0 * 365 * 0.5 / 950);
    EXPECT_EQ(Pok(8), 91.25);
    EXPECT_EQ(Pok(9), 91.25);
    EXPECT_EQ(Pok(11), 5);
    EXPECT_EQ(Pok(12), 20);
    for (int n : {13, 14, 16, 17, 18, 19}) {
        EXPECT_EQ(Pok(n), 0) << n;
    }
}

TEST_F(PokCalcTest, LeapYearPeriod) {
    EnterWorkedExample(2024);
    RecalculateAll(d);
    EXPECT_EQ(Pok(8), 91.5);
    EXPECT_EQ(Pok(9), 91.5);
}

TEST_F(PokCalcTest, CapitalAndShares) {
    EnterWorkedExample(2025);
    B(58).IznosPrethodna = 2000;
    B(58).IznosTekuca = 2000;
    d.BrojDionica = 1000;
    RecalculateAll(d);
    EXPECT_EQ(Pok(19), 2);
    EXPECT_DOUBLE_EQ(Pok(14), 0.05);
    EXPECT_EQ(Pok(13), 2.5);
    EXPECT_EQ(Pok(17), 800);
}

TEST_F(PokCalcTest, InterestCoverage) {
    EnterWorkedExample(2025);
    RecalculateAll(d);
    EXPECT_EQ(Pok(18), 0);  // no financial expenses: no infinite coverage
    R(35).Iznos = 10;
    RecalculateAll(d);
    EXPECT_EQ(R(42).Iznos, 40);
    EXPECT_EQ(Pok(18), 5);
}

TEST_F(PokCalcTest, LongTermLiabilitiesAndProvisions) {
    B(52).IznosTekuca = 400;
    B(70).IznosTekuca = 60;
    B(66).IznosTekuca = 40;
    RecalculateAll(d);
    EXPECT_EQ(Pok(16), 25);
}

TEST_F(PokCalcTest, NegativeDenominatorGivesNegativeIndicator) {
    EnterWorkedExample(2025);
    R(8).Iznos = 2000;  // increase of inventories larger than the expenses
    RecalculateAll(d);
    const double denominator = R(7).Iznos - R(24).Iznos - R(23).Iznos - R(18).Iznos;
    ASSERT_LT(denominator, 0);
    EXPECT_LT(Pok(4), 0);
    EXPECT_DOUBLE_EQ(Pok(4), 500.0 * 365 * 0.5 / denominator);
}

TEST_F(PokCalcTest, LiquidityDaysLeaveOutNonCashExpenses) {
    EnterWorkedExample(2025);
    R(20).Iznos = 20;  // depreciation (in R18)
    R(23).Iznos = 50;  // value adjustment of current assets
    R(24).Iznos = 30;  // provisions
    R(25).Iznos = 7;   // other operating costs stay in
    RecalculateAll(d);
    EXPECT_EQ(R(7).Iznos, 1057);
    EXPECT_DOUBLE_EQ(Pok(4), 500.0 * 365 * 0.5 / 957);
    EXPECT_DOUBLE_EQ(Pok(7), 250.0 * 365 * 0.5 / 1057);
}

TEST_F(PokCalcTest, SalesAtHomeAndAbroad) {
    EnterWorkedExample(2025);
    B(40).IznosPrethodna = 100;
    B(40).IznosTekuca = 140;
    R(3).Iznos = 200;
    R(4).Iznos = 999;  // subsidies are no sales
    RecalculateAll(d);
    EXPECT_DOUBLE_EQ(Pok(6), 240.0 * 365 * 0.5 / 1200);
}

TEST_F(PokCalcTest, ImmediateLiquidityLeavesOutInventories) {
    B(33).IznosPrethodna = 1000;  // inventories count only for current liquidity
    B(33).IznosTekuca = 1000;
    B(40).IznosPrethodna = 10;  // receivables
    B(40).IznosTekuca = 20;
    B(48).IznosPrethodna = 40;  // securities
    B(48).IznosTekuca = 80;
    B(52).IznosPrethodna = 100;  // cash
    B(52).IznosTekuca = 150;
    B(80).IznosPrethodna = 200;
    B(80).IznosTekuca = 300;
    RecalculateAll(d);
    EXPECT_DOUBLE_EQ(Pok(3), 400.0 / 500);
    EXPECT_DOUBLE_EQ(Pok(2), 2400.0 / 500);
}

TEST_F(PokCalcTest, ReturnOnTotalAssetsUsesEveryAsset) {
    EnterWorkedExample(2025);
    B(10).IznosPrethodna = 300;  // land, a fixed asset
    B(10).IznosTekuca = 200;
    RecalculateAll(d);
    EXPECT_EQ(Pok(12), 5000.0 / 500);
    EXPECT_EQ(Pok(8), 91.25);
    EXPECT_EQ(Pok(9), 1000.0 * 365 * 0.5 / 1000);
}

// A denominator of money below half a cent is zero money: the indicator is 0 and not computable,
// as for a denominator of exactly 0. Half a cent itself, and any share count but 0, divide.
TEST_F(PokCalcTest, DenominatorBelowHalfACentIsZeroMoney) {
    struct Case {
        const char* what;
        std::function<void()> enter;
        int row;
        bool computable;
    };
    const std::vector<Case> cases = {
        {"expenses net of non-cash ones cancel to a residue",
         [this] {
             B(52).IznosTekuca = 1000;  // cash, among the current assets
             R(23).Iznos = 10000000.01;
             R(24).Iznos = 0.07;
         },
         4, false},
        {"a tiny liability",
         [this] {
             B(52).IznosTekuca = 1;
             B(80).IznosTekuca = 1e-300;
         },
         2, false},
        {"a negative residue of revenue", [this] { R(2).Iznos = -0.0049; }, 11, false},
        {"an average of total assets of half a cent",
         [this] {
             B(52).IznosTekuca = 0.01;
             R(2).Iznos = 1;
         },
         12, true},
        {"a cent of liabilities",
         [this] {
             B(52).IznosTekuca = 1;
             B(80).IznosTekuca = 0.01;
         },
         2, true},
        {"a thousandth of a share",
         [this] {
             B(58).IznosTekuca = 100;
             d.BrojDionica = 0.001;
         },
         19, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ResetDocument(d);
        d.DatumOd = DayNumber(2025, 1, 1);
        d.DatumDo = DayNumber(2025, 12, 31);
        c.enter();
        RecalculateAll(d);
        EXPECT_EQ(IndicatorsComputable(d)[static_cast<std::size_t>(c.row - 1)], c.computable);
        EXPECT_EQ(Pok(c.row) == 0, !c.computable) << Pok(c.row);
    }
    // The first case is a real residue, not a sum that happens to be exactly 0.
    test::ResetDocument(d);
    cases[0].enter();
    CalcRacun(d);
    EXPECT_NE(static_cast<long double>(R(7).Iznos) - R(24).Iznos - R(23).Iznos - R(18).Iznos, 0);
}

TEST_F(PokCalcTest, HeadingsAreNeverWritten) {
    for (int n : {1, 5, 10, 15}) {
        d.Pok.row(n).Iznos = n + 0.5;
    }
    EnterWorkedExample(2025);
    RecalculateAll(d);
    for (int n : {1, 5, 10, 15}) {
        EXPECT_EQ(Pok(n), n + 0.5);
    }
}

TEST_F(PokCalcTest, StaleIndicatorsAreReset) {
    EnterWorkedExample(2025);
    RecalculateAll(d);
    ASSERT_NE(Pok(11), 0);
    R(2).Iznos = 0;  // no operating revenue any more
    RecalculateAll(d);
    EXPECT_EQ(Pok(8), 0);
    EXPECT_EQ(Pok(9), 0);
    EXPECT_EQ(Pok(11), 0);
}

// ---------------------------------------------------------------- checks

using CheckTest = CalcTest;

TEST_F(CheckTest, NewDocumentHasNoWarning) {
    EXPECT_EQ(RecalculateAll(d), "");
}

TEST_F(CheckTest, ToleranceOfTheBalance) {
    B(52).IznosTekuca = 1000;
    B(58).IznosTekuca = 1000.005;
    EXPECT_EQ(RecalculateAll(d), "");
    B(58).IznosTekuca = 1000.02;
    EXPECT_EQ(RecalculateAll(d), kWarningBalance);
    B(58).IznosTekuca = 999.98;
    EXPECT_EQ(RecalculateAll(d), kWarningBalance);
}

TEST_F(CheckTest, PreviousYearImbalance) {
    B(52).IznosPrethodna = 1000;
    B(58).IznosPrethodna = 900;
    EXPECT_EQ(RecalculateAll(d), kWarningBalance);
}

TEST_F(CheckTest, BalanceIsTestedFirst) {
    B(52).IznosTekuca = 1000;
    R(2).Iznos = 100;  // a profit the balance sheet does not show
    EXPECT_EQ(RecalculateAll(d), kWarningBalance);
    B(58).IznosTekuca = 1000;
    EXPECT_EQ(RecalculateAll(d), kWarningNetResult);
}

struct NetResultCase {
    double result;  // R45, made by sales (positive) or expenses (negative)
    double profit;  // B64.cur
    double loss;    // B65.cur
    bool warning;
};

class NetResultTest : public ::testing::TestWithParam<NetResultCase> {};

TEST_P(NetResultTest, ComparesTheRowOfTheResultsSign) {
    const NetResultCase& c = GetParam();
    auto doc = std::make_unique<TDokument>();
    test::ResetDocument(*doc);
    if (c.result >= 0) {
        doc->Racun.row(2).Iznos = c.result;
    } else {
        doc->Racun.row(12).Iznos = -c.result;
    }
    doc->Bilanca.row(64).IznosTekuca = c.profit;
    doc->Bilanca.row(65).IznosTekuca = c.loss;
    test::BalanceWithCash(*doc);
    const std::string warning = RecalculateAll(*doc);
    ASSERT_EQ(doc->Racun.row(45).Iznos, c.result);
    EXPECT_EQ(warning, c.warning ? kWarningNetResult : "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NetResultTest,
    ::testing::Values(NetResultCase{100, 100, 0, false}, NetResultCase{100, 100, 777, false},
                      NetResultCase{100, 0, 100, true}, NetResultCase{100, 100.005, 0, false},
                      NetResultCase{100, 100.02, 0, true}, NetResultCase{-100, 0, 100, false},
                      NetResultCase{-100, 555, 100, false}, NetResultCase{-100, 0, -100, true},
                      NetResultCase{-100, 100, 0, true}, NetResultCase{0, 0, 50, false},
                      NetResultCase{0, 0.005, 0, false}, NetResultCase{0, 0.02, 0, true},
                      NetResultCase{0, -0.02, 0, true}));

// A reversed period is reported after the two balance warnings, which keep their precedence.
struct PeriodCase {
    double from;
    double to;
    bool unbalanced;
    std::string_view warning;
};

class PeriodCheckTest : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(PeriodCheckTest, ReversedPeriodWarnsLast) {
    const PeriodCase& c = GetParam();
    auto doc = std::make_unique<TDokument>();
    test::ResetDocument(*doc);
    doc->DatumOd = c.from;
    doc->DatumDo = c.to;
    doc->Bilanca.row(52).IznosTekuca = c.unbalanced ? 1000 : 0;
    EXPECT_EQ(RecalculateAll(*doc), c.warning);
}

INSTANTIATE_TEST_SUITE_P(Cases, PeriodCheckTest,
                         ::testing::Values(PeriodCase{45000, 45364, false, ""},
                                           PeriodCase{45000, 45000, false, ""},
                                           PeriodCase{45000, 44999, false, kWarningPeriod},
                                           PeriodCase{45000, 44999, true, kWarningBalance},
                                           PeriodCase{0, 44999, false, ""},
                                           PeriodCase{45000, 0, false, ""}));

TEST_F(CheckTest, DifferencesAreThoseTheChecksCompare) {
    B(52).IznosPrethodna = 300;
    B(58).IznosPrethodna = 100;
    B(52).IznosTekuca = 1000;
    B(58).IznosTekuca = 1000;
    R(2).Iznos = 70;  // a profit of 70 the balance sheet does not show
    RecalculateAll(d);
    const BalanceDifferences diff = DifferencesOf(d);
    EXPECT_EQ(diff.previousYear, 200);
    EXPECT_EQ(diff.currentYear, 0);
    EXPECT_EQ(diff.netResult, -70);
}

TEST_F(CheckTest, CorrectingTheInputRemovesTheWarning) {
    B(52).IznosTekuca = 1000;
    B(58).IznosTekuca = 900;
    EXPECT_EQ(RecalculateAll(d), kWarningBalance);
    B(58).IznosTekuca = 1000;
    EXPECT_EQ(RecalculateAll(d), "");
}

TEST_F(CheckTest, LoadedTotalsAreCheckedAsStored) {
    // CheckBalance alone reads the stored totals without recalculating.
    B(55).IznosTekuca = 10;
    EXPECT_EQ(CheckBalance(d), kWarningBalance);
    B(87).IznosTekuca = 10;
    EXPECT_EQ(CheckBalance(d), "");
}

TEST_F(CheckTest, DifferenceOfExactlyTheToleranceWarns) {
    // Two stored totals whose extended-precision difference is the tolerance itself.
    const double cent = 0.01;
    const double residual = static_cast<double>(static_cast<long double>(cent) - 0.01L);
    ASSERT_EQ(static_cast<long double>(cent) - residual, 0.01L);
    B(55).IznosTekuca = cent;
    B(87).IznosTekuca = residual;
    EXPECT_EQ(CheckBalance(d), kWarningBalance);
    B(87).IznosTekuca = 0.0025;
    EXPECT_EQ(CheckBalance(d), "");
}

TEST_F(CheckTest, LargeTotalsStillResolveCents) {
    B(52).IznosTekuca = 1e12;
    B(58).IznosTekuca = 1e12 + 0.0078125;  // exactly representable
    EXPECT_EQ(RecalculateAll(d), "");
    B(58).IznosTekuca = 1e12 + 0.015625;
    EXPECT_EQ(RecalculateAll(d), kWarningBalance);
}

// ---------------------------------------------------------------- hostile values

class NonFiniteTest : public ::testing::TestWithParam<double> {};

TEST_P(NonFiniteTest, NothingCrashesAndTheBalanceIsNotConfirmed) {
    const double bad = GetParam();
    auto doc = std::make_unique<TDokument>();
    test::ResetDocument(*doc);
    doc->Bilanca.row(52).IznosTekuca = bad;
    EXPECT_EQ(RecalculateAll(*doc), kWarningBalance);

    test::ResetDocument(*doc);
    doc->Racun.row(2).Iznos = bad;
    EXPECT_EQ(RecalculateAll(*doc), kWarningNetResult);

    test::ResetDocument(*doc);
    doc->DatumOd = bad;
    doc->DatumDo = bad;
    doc->BrojDionica = bad;
    doc->Bilanca.row(52).IznosTekuca = 105;
    doc->Bilanca.row(58).IznosTekuca = 100;
    doc->Bilanca.row(64).IznosTekuca = 5;
    doc->Racun.row(2).Iznos = 10;
    doc->Racun.row(12).Iznos = 5;
    EXPECT_EQ(RecalculateAll(*doc), "");
    EXPECT_EQ(doc->Pok.row(2).Iznos, 0);    // no short-term liabilities
    EXPECT_EQ(doc->Pok.row(11).Iznos, 50);  // needs neither the period nor the shares
    EXPECT_FALSE(std::isfinite(doc->Pok.row(8).Iznos));
}

INSTANTIATE_TEST_SUITE_P(Values, NonFiniteTest,
                         ::testing::Values(std::numeric_limits<double>::quiet_NaN(),
                                           std::numeric_limits<double>::infinity(),
                                           -std::numeric_limits<double>::infinity()));

// RecalculateAll runs the five steps in order: the same as calling them one by one.
TEST_F(CalcTest, RecalculateAllEqualsTheStepsInOrder) {
    for (const int n : test::InputRows(Statement::Bilanca)) {
        B(n).IznosPrethodna = n * 3.25;
        B(n).IznosTekuca = n * 4.75;
    }
    for (const int n : test::InputRows(Statement::Racun)) {
        R(n).Iznos = n * 1.5;
    }
    d.BrojDionica = 250;
    auto copy = std::make_unique<TDokument>(d);
    const std::string warning = RecalculateAll(d);
    CalcBilanca(*copy);
    CalcRacun(*copy);
    CalcCFInd(*copy);
    CalcCFFree(*copy);
    CalcPok(*copy);
    EXPECT_EQ(warning, CheckBalance(*copy));
    for (int n = 1; n <= kCFIndRows; ++n) {
        EXPECT_EQ(d.CFInd.row(n).Iznos, copy->CFInd.row(n).Iznos);
    }
    for (int n = 1; n <= kCFFreeRows; ++n) {
        EXPECT_EQ(d.CFFree.row(n).Iznos, copy->CFFree.row(n).Iznos);
    }
    for (int n = 1; n <= kPokRows; ++n) {
        EXPECT_EQ(d.Pok.row(n).Iznos, copy->Pok.row(n).Iznos);
    }
    EXPECT_NE(d.CFInd.row(28).Iznos, 0);
    EXPECT_NE(d.Pok.row(19).Iznos, 0);
}

}  // namespace
}  // namespace movik
