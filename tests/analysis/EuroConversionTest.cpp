// Converting kuna documents to euros: rounding of single amounts and the whole document.

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/EuroConversion.h"
#include "model/NumberFormat.h"
#include "model/Templates.h"

namespace movik {
namespace {

struct Case {
    double kuna;
    double euro;  // the exact decimal quotient rounded half away from zero to cents
};

class KunaToEuroCase : public ::testing::TestWithParam<Case> {};

TEST_P(KunaToEuroCase, RoundsTheDecimalQuotientHalfAwayFromZero) {
    EXPECT_EQ(KunaToEuro(GetParam().kuna), GetParam().euro) << GetParam().kuna;
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, KunaToEuroCase,
    ::testing::Values(Case{0, 0}, Case{7.5345, 1.00}, Case{1, 0.13}, Case{100, 13.27},
                      Case{-100, -13.27}, Case{0.01, 0}, Case{0.05, 0.01},
                      Case{1234567.89, 163855.32}, Case{-2500000.01, -331807.02},
                      Case{99999999999.99, 13272280841.46},
                      // Exactly half a cent, where the binary quotient falls just below it.
                      Case{0.0376725, 0.01}, Case{-0.0376725, -0.01}, Case{7.5721725, 1.01},
                      Case{-7.5721725, -1.01},
                      // Just below half a cent.
                      Case{0.0376724, 0}));

TEST(KunaToEuro, ResultIsTheDoubleNearestToItsCents) {
    for (double kuna = -5000; kuna <= 5000; kuna += 13.37) {
        const double euro = KunaToEuro(kuna);
        EXPECT_EQ(euro, std::round(euro * 100) / 100) << kuna;
        EXPECT_LE(std::fabs(euro - kuna / kKunaPerEuro), 0.005 + 1e-9) << kuna;
    }
}

class ConvertExample : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ws.OpenDocument(MOVIK_EXAMPLE));
        ws.SetCurrency(Valuta::Hrk);  // the example's amounts taken as kunas
        before = ws.document();
        ASSERT_TRUE(ConvertToEuro(ws));
    }
    Workspace ws{RegionalSettings{".", ",", "dd.MM.yyyy."}, 2024};
    TDokument before;
};

TEST_F(ConvertExample, ConvertsEveryInputAndKeepsTheTotalsTheKunaTotalsConverted) {
    const TDokument& after = ws.document();
    const auto within = [](double euro, double kuna) {
        return std::fabs(euro - kuna / kKunaPerEuro) < 0.01 + 1e-9 &&
               euro == std::round(euro * 100) / 100 && (kuna != 0 || euro == 0);
    };
    int inputs = 0;
    int moved = 0;  // amounts that took a cent for their total
    for (int r = 1; r <= kBilancaRows; ++r) {
        if (!TemplateRow(Statement::Bilanca, r).Izracunata) {
            for (const bool current : {false, true}) {
                const double kuna = current ? before.Bilanca.row(r).IznosTekuca
                                            : before.Bilanca.row(r).IznosPrethodna;
                const double euro = current ? after.Bilanca.row(r).IznosTekuca
                                            : after.Bilanca.row(r).IznosPrethodna;
                ++inputs;
                EXPECT_TRUE(within(euro, kuna)) << r << " " << kuna << " " << euro;
                moved += euro != KunaToEuro(kuna);
            }
        }
    }
    for (int r = 1; r <= kRacunRows; ++r) {
        if (!TemplateRow(Statement::Racun, r).Izracunata) {
            EXPECT_TRUE(within(after.Racun.row(r).Iznos, before.Racun.row(r).Iznos)) << r;
            moved += after.Racun.row(r).Iznos != KunaToEuro(before.Racun.row(r).Iznos);
        }
    }
    EXPECT_GT(inputs, 120);
    EXPECT_LT(moved, 10);
    // Totals are computed from the converted amounts: equal to the cent, up to binary noise.
    const auto cents = [](double euro, double kuna) { EXPECT_NEAR(euro, KunaToEuro(kuna), 1e-6); };
    for (const int total : {55, 87}) {
        cents(after.Bilanca.row(total).IznosPrethodna, before.Bilanca.row(total).IznosPrethodna);
        cents(after.Bilanca.row(total).IznosTekuca, before.Bilanca.row(total).IznosTekuca);
    }
    cents(after.Racun.row(45).Iznos, before.Racun.row(45).Iznos);
    EXPECT_EQ(after.Bilanca.row(64).IznosTekuca, KunaToEuro(before.Bilanca.row(64).IznosTekuca));
    // The grids show the converted document, which balances and is marked changed.
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 55),
              FormatNumber(after.Bilanca.row(55).IznosTekuca, AmountFormat, ws.settings()));
    EXPECT_EQ(ws.warning(), "");
    EXPECT_TRUE(ws.IsChanged());
}

TEST(ConvertToEuro, ABalancedSheetStaysBalancedWhereRoundingAloneWouldNot) {
    Workspace ws(RegionalSettings{".", ",", "dd.MM.yyyy."}, 2024);
    // Three assets of 1,00 kn (0,13 EUR each, 0,39 together) against capital of 3,00 kn (0,40).
    for (const int row : {4, 5, 10}) {
        ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, row, "1,00"));
    }
    ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, 58, "3,00"));
    ws.SetCurrency(Valuta::Hrk);
    ASSERT_TRUE(ConvertToEuro(ws));
    const TDokument& doc = ws.document();
    EXPECT_EQ(doc.Bilanca.row(55).IznosTekuca, 0.40);
    EXPECT_EQ(doc.Bilanca.row(87).IznosTekuca, 0.40);
    EXPECT_EQ(doc.Bilanca.row(4).IznosTekuca + doc.Bilanca.row(5).IznosTekuca +
                  doc.Bilanca.row(10).IznosTekuca,
              0.13 + 0.13 + 0.14);
    EXPECT_EQ(doc.Bilanca.row(11).IznosTekuca, 0);  // an empty row takes no cent
    EXPECT_EQ(ws.warning(), "");
}

TEST_F(ConvertExample, RatiosStayAndPerShareFiguresFollowTheRate) {
    const TDokument& after = ws.document();
    ASSERT_GT(before.BrojDionica, 0);
    for (int r = 1; r <= kPokRows; ++r) {
        const double old = before.Pok.row(r).Iznos;
        const double now = after.Pok.row(r).Iznos;
        if (r == 14 || r == 19) {  // earnings and book value per share
            ASSERT_NE(old, 0);
            EXPECT_NEAR(now, old / kKunaPerEuro, 1e-4) << r;
            EXPECT_GT(std::fabs(now - old), 0.1) << r;
        } else {
            EXPECT_NEAR(now, old, std::max(1e-4, std::fabs(old) * 1e-5)) << r;
        }
    }
}

}  // namespace
}  // namespace movik
