// The two routes to the year's cash flow must agree on random documents:
//   indirect:  row 28 - row 31 = R19 - R20 - R21 - [(B55.cur - B87.cur) - (B55.prev - B87.prev)]
//   free:      row 21 + row 28 = R44 - [(B55.cur - B87.cur) - (B55.prev - B87.prev)]
// Any wrong row, sign or missing term in the cash flow formulas breaks one of them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>

#include "ModelTestSupport.h"
#include "model/Calculations.h"
#include "model/Document.h"

namespace movik {
namespace {

using Ext = long double;

enum class Kind {
    Unbalanced,          // amounts with any two decimals, totals differ
    Balanced,            // amounts with any two decimals, both years balanced, no other taxes
    UnbalancedQuarters,  // amounts in quarters (exact in binary), totals differ
    BalancedQuarters,    // amounts in quarters, both years balanced, no other taxes
};

struct Generated {
    Ext sumOfMagnitudes = 0;  // scale for the rounding tolerance
    double maxUnits = 0;      // largest amount the document may hold
};

class RandomDocument {
  public:
    explicit RandomDocument(std::uint64_t seed) : rng_(seed) {}

    // One amount with two decimals, or 0 now and then; quarters when exact is asked.
    double Amount(double maxUnits, bool quarters) {
        std::uniform_int_distribution<int> zero(0, 5);
        if (zero(rng_) == 0) {
            return 0;
        }
        const auto maxCents = static_cast<std::int64_t>(maxUnits * 100);
        std::uniform_int_distribution<std::int64_t> cents(-maxCents / 5, maxCents);
        std::int64_t c = cents(rng_);
        if (quarters) {
            c -= c % 25;
        }
        return static_cast<double>(c) / 100;
    }

    Generated Fill(TDokument& doc, Kind kind) {
        const bool quarters = kind == Kind::UnbalancedQuarters || kind == Kind::BalancedQuarters;
        std::uniform_int_distribution<int> scalePick(0, 3);
        const double scales[] = {100.0, 1e4, 1e6, 1e9};
        const double maxUnits = scales[scalePick(rng_)];
        Generated g;
        g.maxUnits = maxUnits;
        for (const int n : test::InputRows(Statement::Bilanca)) {
            doc.Bilanca.row(n).IznosPrethodna = Amount(maxUnits, quarters);
            doc.Bilanca.row(n).IznosTekuca = Amount(maxUnits, quarters);
        }
        for (const int n : test::InputRows(Statement::Racun)) {
            doc.Racun.row(n).Iznos = Amount(maxUnits, quarters);
        }
        if (kind == Kind::Balanced || kind == Kind::BalancedQuarters) {
            doc.Racun.row(44).Iznos = 0;
            test::BalanceWithCash(doc);
        }
        for (const auto& r : doc.Bilanca.rows) {
            g.sumOfMagnitudes += std::fabs(r.IznosPrethodna) + std::fabs(r.IznosTekuca);
        }
        for (const auto& r : doc.Racun.rows) {
            g.sumOfMagnitudes += std::fabs(r.Iznos);
        }
        return g;
    }

  private:
    std::mt19937_64 rng_;
};

class CashFlowIdentityTest : public ::testing::TestWithParam<Kind> {};

TEST_P(CashFlowIdentityTest, TwoRoutesAgreeOnRandomDocuments) {
    const Kind kind = GetParam();
    const bool exact = kind == Kind::UnbalancedQuarters || kind == Kind::BalancedQuarters;
    const bool balanced = kind == Kind::Balanced || kind == Kind::BalancedQuarters;
    auto doc = std::make_unique<TDokument>();
    RandomDocument random(20250601 + static_cast<std::uint64_t>(kind));

    for (int i = 0; i < 200; ++i) {
        test::ResetDocument(*doc);
        const Generated g = random.Fill(*doc, kind);
        const std::string warning = RecalculateAll(*doc);
        const auto& b = doc->Bilanca;
        const auto& r = doc->Racun;
        const auto cf = [&](int n) -> Ext { return doc->CFInd.row(n).Iznos; };
        const auto fcf = [&](int n) -> Ext { return doc->CFFree.row(n).Iznos; };

        if (balanced) {
            ASSERT_NE(warning, kWarningBalance) << "document " << i;
        }
        ASSERT_EQ(r.row(19).Iznos, static_cast<double>(Ext(r.row(20).Iznos) + r.row(21).Iznos));

        const Ext imbalance = (Ext(b.row(55).IznosTekuca) - b.row(87).IznosTekuca) -
                              (Ext(b.row(55).IznosPrethodna) - b.row(87).IznosPrethodna);
        const Ext indirectLeft = cf(28) - cf(31);
        const Ext indirectRight =
            Ext(r.row(19).Iznos) - r.row(20).Iznos - r.row(21).Iznos - imbalance;
        const Ext freeLeft = fcf(21) + fcf(28);
        const Ext freeRight = Ext(r.row(44).Iznos) - imbalance;

        if (exact) {
            ASSERT_EQ(indirectLeft, indirectRight) << "document " << i;
            ASSERT_EQ(freeLeft, freeRight) << "document " << i;
        } else {
            // Only the rounding of stored doubles separates the two sides.
            const Ext tolerance = 1e-15L * g.sumOfMagnitudes;
            ASSERT_NEAR(static_cast<double>(indirectLeft), static_cast<double>(indirectRight),
                        static_cast<double>(tolerance))
                << "document " << i;
            ASSERT_NEAR(static_cast<double>(freeLeft), static_cast<double>(freeRight),
                        static_cast<double>(tolerance))
                << "document " << i;
        }

        if (kind == Kind::BalancedQuarters) {
            ASSERT_EQ(cf(28), cf(31)) << "document " << i;
            ASSERT_EQ(fcf(21), -fcf(28)) << "document " << i;
        }
        if (kind == Kind::Balanced) {
            // A millionth for amounts up to millions, proportionally more beyond.
            const double tolerance = 1e-6 * std::max(1.0, g.maxUnits / 1e6);
            ASSERT_NEAR(static_cast<double>(cf(28)), static_cast<double>(cf(31)), tolerance)
                << "document " << i;
            ASSERT_NEAR(static_cast<double>(fcf(21)), static_cast<double>(-fcf(28)), tolerance)
                << "document " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, CashFlowIdentityTest,
                         ::testing::Values(Kind::Unbalanced, Kind::Balanced,
                                           Kind::UnbalancedQuarters, Kind::BalancedQuarters));

}  // namespace
}  // namespace movik
