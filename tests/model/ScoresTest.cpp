#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "ModelTestSupport.h"
#include "model/Calculations.h"
#include "model/Scores.h"

namespace movik {
namespace {

// A small company, computed by hand (current year; previous year in brackets):
//   equipment (B12) 400 [300], raw materials (B33) 100, trade receivables (B40) 150,
//   cash (B52) 50 [200]: CA 300, TA 700 [500];
//   subscribed capital (B58) 100 [200], retained earnings (B62) 60 [50], loss carried forward
//   (B63) 10, profit of the year (B64) 150: E 300 [250], RE 200;
//   bank loans (B70) 200, suppliers (B80) 200 [250]: TL 400, CL 200;
//   sales at home (R2) 800 and abroad (R3) 200, materials (R12) 600, wages (R16) 200,
//   depreciation (R20, so R19) 30, interest income (R32) 10, interest (R35) 20, tax (R43) 10:
//   OR 1000, TR 1010, EBT 160, EBIT 180, NI 150, CF 180.
void FillHandComputed(TDokument& d) {
    test::ResetDocument(d);
    const auto b = [&d](int row, double cur, double prev = 0) {
        d.Bilanca.row(row).IznosTekuca = cur;
        d.Bilanca.row(row).IznosPrethodna = prev;
    };
    b(12, 400, 300);
    b(33, 100);
    b(40, 150);
    b(52, 50, 200);
    b(58, 100, 200);
    b(62, 60, 50);
    b(63, 10);
    b(64, 150);
    b(70, 200);
    b(80, 200, 250);
    for (const auto& [row, amount] : std::initializer_list<std::pair<int, double>>{
             {2, 800}, {3, 200}, {12, 600}, {16, 200}, {20, 30}, {32, 10}, {35, 20}, {43, 10}}) {
        d.Racun.row(row).Iznos = amount;
    }
}

class HandComputedTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FillHandComputed(d);
        ASSERT_EQ(RecalculateAll(d), "");
        s = ScoresOf(d);
    }
    std::unique_ptr<TDokument> owner = std::make_unique<TDokument>();
    TDokument& d = *owner;
    Scores s;
};

TEST_F(HandComputedTest, InputsComeFromTheirRows) {
    const ScoreInputs& in = s.inputs;
    const std::pair<double, double> cases[] = {{in.totalAssets, 700},
                                               {in.currentAssets, 300},
                                               {in.currentLiabilities, 200},
                                               {in.workingCapital, 100},
                                               {in.equity, 300},
                                               {in.totalLiabilities, 400},
                                               {in.retainedEarnings, 200},
                                               {in.inventories, 100},
                                               {in.cash, 50},
                                               {in.sales, 1000},
                                               {in.operatingRevenue, 1000},
                                               {in.totalRevenue, 1010},
                                               {in.resultBeforeTax, 160},
                                               {in.ebit, 180},
                                               {in.netResult, 150},
                                               {in.cashFlow, 180},
                                               {in.averageAssets, 600},
                                               {in.averageEquity, 275}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].first, cases[i].second) << "input " << i;
    }
}

TEST_F(HandComputedTest, EveryModelAndItsBand) {
    struct Case {
        ScoreModel model;
        double value;  // by hand, to ten digits
        std::string_view band;
    };
    const Case cases[] = {
        // 6.56·100/700 + 3.26·200/700 + 6.72·180/700 + 1.05·300/400
        {ScoreModel::AltmanZpp, 4.3840714286, "sigurna zona"},
        // 0.717·100/700 + 0.847·200/700 + 3.107·180/700 + 0.42·300/400 + 0.998·1000/700
        {ScoreModel::AltmanZp, 2.8840857143, "siva zona"},
        // 1.03·100/700 + 3.07·180/700 + 0.66·160/200 + 0.40·1000/700
        {ScoreModel::Springate, 2.036, "bez signala neuspjeha"},
        // 1.5·180/400 + 0.08·700/400 + 10·180/700 + 5·180/1010 + 0.3·100/1010 + 0.1·1000/700
        {ScoreModel::KralicekDf, 4.4500777935, "izvrsno"},
    };
    for (const Case& c : cases) {
        const ScoreValue& v = s.of(c.model);
        ASSERT_TRUE(v.value) << v.reason;
        EXPECT_NEAR(*v.value, c.value, 1e-9);
        EXPECT_EQ(BandOf(c.model, *v.value).words, c.band);
    }
}

TEST_F(HandComputedTest, QuickTestAndDuPont) {
    // E/TA 42.86 %, (400 − 50)/180 = 1.94 years, CF/OR 18 %, EBIT/TA 25.71 %: all grade 1.
    const double measures[] = {300.0 * 100 / 700, 350.0 / 180, 18, 180.0 * 100 / 700};
    for (std::size_t i = 0; i < kQuickPartCount; ++i) {
        ASSERT_TRUE(s.quick.measures[i].value);
        EXPECT_NEAR(*s.quick.measures[i].value, measures[i], 1e-12);
        EXPECT_EQ(s.quick.grades[i], 1);
    }
    EXPECT_EQ(s.quick.overall.value, 1.0);
    // 15 % × 1000/600 × 600/275 = 54.55 %, indicator 13.
    EXPECT_DOUBLE_EQ(*s.dupont.margin.value, 15);
    EXPECT_DOUBLE_EQ(*s.dupont.turnover.value, 1000.0 / 600);
    EXPECT_DOUBLE_EQ(*s.dupont.multiplier.value, 600.0 / 275);
    EXPECT_DOUBLE_EQ(*s.dupont.product.value, d.Pok.row(13).Iznos);
}

// A value on a bound takes the lower band; just above it, the upper.
TEST(ScoreBands, EdgesTakeTheLowerBand) {
    struct Case {
        ScoreModel model;
        double bound;
        std::string_view at;
        std::string_view above;
    };
    const Case cases[] = {
        {ScoreModel::AltmanZpp, 2.60, "siva zona", "sigurna zona"},
        {ScoreModel::AltmanZpp, 1.10, "zona opasnosti", "siva zona"},
        {ScoreModel::AltmanZp, 2.90, "siva zona", "sigurna zona"},
        {ScoreModel::AltmanZp, 1.23, "zona opasnosti", "siva zona"},
        {ScoreModel::Springate, 0.862, "signal neuspjeha", "bez signala neuspjeha"},
        {ScoreModel::KralicekDf, 3.0, "vrlo dobro", "izvrsno"},
        {ScoreModel::KralicekDf, 2.2, "dobro", "vrlo dobro"},
        {ScoreModel::KralicekDf, 1.5, "prosječno", "dobro"},
        {ScoreModel::KralicekDf, 1.0, "loše", "prosječno"},
        {ScoreModel::KralicekDf, 0.3, "početak insolventnosti", "loše"},
        {ScoreModel::KralicekDf, 0.0, "umjerena insolventnost", "početak insolventnosti"},
        {ScoreModel::KralicekDf, -1.0, "izražena insolventnost", "umjerena insolventnost"},
        {ScoreModel::KralicekDf, -2.0, "ekstremna insolventnost", "izražena insolventnost"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BandOf(c.model, c.bound).words, c.at) << c.bound;
        EXPECT_EQ(BandOf(c.model, std::nextafter(c.bound, 10.0)).words, c.above) << c.bound;
    }
}

TEST(ScoreBands, QuickTestGradesAtTheirBounds) {
    struct Case {
        int (*grade)(double);
        double value;
        int expected;
    };
    const Case cases[] = {
        {EquityRatioGrade, 30.0001, 1}, {EquityRatioGrade, 30, 2},
        {EquityRatioGrade, 20, 3},      {EquityRatioGrade, 10, 4},
        {EquityRatioGrade, 0, 5},       {EquityRatioGrade, -5, 5},
        {DebtYearsGrade, 2.999, 1},     {DebtYearsGrade, 3, 2},
        {DebtYearsGrade, 5, 3},         {DebtYearsGrade, 12, 4},
        {DebtYearsGrade, 30, 4},        {DebtYearsGrade, 30.001, 5},
        {CashFlowMarginGrade, 10, 2},   {CashFlowMarginGrade, 8, 3},
        {CashFlowMarginGrade, 5, 4},    {CashFlowMarginGrade, 0, 5},
        {ReturnOnAssetsGrade, 15.5, 1}, {ReturnOnAssetsGrade, 15, 2},
        {ReturnOnAssetsGrade, 12, 3},   {ReturnOnAssetsGrade, 8, 4},
        {ReturnOnAssetsGrade, 0.01, 4}, {ReturnOnAssetsGrade, 0, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.grade(c.value), c.expected) << c.value;
    }
}

// Inputs of the hand-computed document, so a case changes one thing.
ScoreInputs HandInputs() {
    auto d = std::make_unique<TDokument>();
    FillHandComputed(*d);
    RecalculateAll(*d);
    return ScoreInputsOf(*d);
}

TEST(ScoresNotComputable, ZeroDenominatorsGiveAReasonNeverAValue) {
    struct Case {
        const char* name;
        std::function<void(ScoreInputs&)> change;
        std::function<const ScoreValue&(const Scores&)> value;
        std::string_view reason;
    };
    const auto model = [](ScoreModel m) {
        return [m](const Scores& s) -> const ScoreValue& { return s.of(m); };
    };
    const auto quick = [](QuickPart p) {
        return [p](const Scores& s) -> const ScoreValue& {
            return s.quick.measures[static_cast<std::size_t>(p)];
        };
    };
    const Case cases[] = {
        {"assets below half a cent", [](ScoreInputs& in) { in.totalAssets = 0.004; },
         model(ScoreModel::AltmanZpp), "ukupna aktiva (Bilanca 55) je nula"},
        {"negative assets below half a cent", [](ScoreInputs& in) { in.totalAssets = -0.0049; },
         model(ScoreModel::Springate), "ukupna aktiva (Bilanca 55) je nula"},
        {"no liabilities", [](ScoreInputs& in) { in.totalLiabilities = 0; },
         model(ScoreModel::AltmanZp), "obveze (Bilanca 87 – 57) su nula"},
        {"no liabilities, DF", [](ScoreInputs& in) { in.totalLiabilities = 0.001; },
         model(ScoreModel::KralicekDf), "obveze (Bilanca 87 – 57) su nula"},
        {"no short-term liabilities", [](ScoreInputs& in) { in.currentLiabilities = 0; },
         model(ScoreModel::Springate), "kratkoročne obveze (Bilanca 75) su nula"},
        {"no total revenue", [](ScoreInputs& in) { in.totalRevenue = 0; },
         model(ScoreModel::KralicekDf), "ukupni prihodi (Račun 40) su nula"},
        {"no operating revenue", [](ScoreInputs& in) { in.operatingRevenue = 0; },
         quick(QuickPart::CashFlowMargin), "poslovni prihodi (Račun 1) su nula"},
        {"no operating revenue, margin", [](ScoreInputs& in) { in.operatingRevenue = 0; },
         [](const Scores& s) -> const ScoreValue& { return s.dupont.margin; },
         "poslovni prihodi (Račun 1) su nula"},
        {"no average equity", [](ScoreInputs& in) { in.averageEquity = 0.002; },
         [](const Scores& s) -> const ScoreValue& { return s.dupont.product; },
         "prosječni kapital i rezerve (Bilanca 57) su nula"},
        {"not a number", [](ScoreInputs& in) { in.ebit = std::nan(""); },
         model(ScoreModel::AltmanZpp), "ulazni iznosi nisu konačni brojevi"},
        {"quick test mean without a grade", [](ScoreInputs& in) { in.totalAssets = 0; },
         [](const Scores& s) -> const ScoreValue& { return s.quick.stability; },
         "Udio vlastitog kapitala"},
    };
    for (const Case& c : cases) {
        ScoreInputs in = HandInputs();
        c.change(in);
        const Scores scores = ScoresOf(in);  // the value refers into it
        const ScoreValue& v = c.value(scores);
        EXPECT_FALSE(v.value) << c.name;
        EXPECT_NE(v.reason.find(c.reason), std::string::npos) << c.name << ": " << v.reason;
    }
    // Half a cent is money: the scores are computed.
    ScoreInputs in = HandInputs();
    in.totalLiabilities = 0.005;
    EXPECT_TRUE(ScoresOf(in).of(ScoreModel::AltmanZpp).value);
}

TEST(ScoresNotComputable, DebtRepaymentWithoutDebtOrWithoutCashFlow) {
    ScoreInputs in = HandInputs();
    const auto debt = [](const Scores& s) {
        const auto i = static_cast<std::size_t>(QuickPart::DebtYears);
        return std::make_pair(s.quick.measures[i], s.quick.grades[i]);
    };
    in.cash = in.totalLiabilities;  // no net debt: nothing to repay
    EXPECT_EQ(debt(ScoresOf(in)).second, 1);
    EXPECT_EQ(debt(ScoresOf(in)).first.value, 0.0);
    in = HandInputs();
    in.cashFlow = -10;  // net debt and no cash flow to repay it from
    const auto [measure, grade] = debt(ScoresOf(in));
    EXPECT_EQ(grade, 5);
    EXPECT_FALSE(measure.value);
    EXPECT_FALSE(measure.reason.empty());
}

// On random documents: DuPont's product is indicator 13 wherever both exist, and every value
// is either a finite number or empty with a reason.
TEST(ScoresProperty, DuPontProductIsReturnOnEquity) {
    std::mt19937_64 rng(20261208);
    std::uniform_int_distribution<int> cents(-5'000'000, 50'000'000);
    std::bernoulli_distribution zero(0.3);
    auto doc = std::make_unique<TDokument>();
    int compared = 0;
    for (int i = 0; i < 300; ++i) {
        test::ResetDocument(*doc);
        for (const int n : test::InputRows(Statement::Bilanca)) {
            doc->Bilanca.row(n).IznosPrethodna = zero(rng) ? 0 : cents(rng) / 100.0;
            doc->Bilanca.row(n).IznosTekuca = zero(rng) ? 0 : cents(rng) / 100.0;
        }
        for (const int n : test::InputRows(Statement::Racun)) {
            doc->Racun.row(n).Iznos = zero(rng) ? 0 : cents(rng) / 100.0;
        }
        RecalculateAll(*doc);
        const Scores s = ScoresOf(*doc);
        if (s.dupont.product.value) {
            EXPECT_NEAR(*s.dupont.product.value, doc->Pok.row(13).Iznos,
                        1e-9 * std::fabs(doc->Pok.row(13).Iznos) + 1e-9);
            ++compared;
        }
        for (const ScoreValue& v : s.models) {
            EXPECT_TRUE(v.value ? std::isfinite(*v.value) && v.reason.empty() : !v.reason.empty());
        }
    }
    EXPECT_GT(compared, 200);
}

}  // namespace
}  // namespace movik
