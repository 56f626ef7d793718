#include "model/Scores.h"

#include <cmath>
#include <initializer_list>
#include <vector>

#include "model/StatementRows.h"

namespace movik {

namespace {

using B = BilancaRow;
using R = RacunRow;

// A denominator of a model, with the words that say it is zero.
struct Denominator {
    double amount;
    std::string_view zeroReason;
};

constexpr std::string_view kNotComputable = "Nije izračunljivo: ";

// The first denominator that counts as zero, as a reason; "" when none is.
std::string ZeroDenominator(std::initializer_list<Denominator> denominators) {
    for (const Denominator& d : denominators) {
        if (IsZeroMoney(d.amount)) {
            return std::string(kNotComputable) + std::string(d.zeroReason);
        }
    }
    return {};
}

// The value of formula() unless a denominator counts as zero or the result is no finite number.
template <class Formula>
ScoreValue Computed(std::initializer_list<Denominator> denominators, Formula formula) {
    ScoreValue v;
    v.reason = ZeroDenominator(denominators);
    if (!v.reason.empty()) {
        return v;
    }
    const double value = formula();
    if (!std::isfinite(value)) {
        v.reason = std::string(kNotComputable) + "ulazni iznosi nisu konačni brojevi";
        return v;
    }
    v.value = value;
    return v;
}

Denominator Assets(const ScoreInputs& in) {
    return {in.totalAssets, "ukupna aktiva (Bilanca 55) je nula"};
}
Denominator Liabilities(const ScoreInputs& in) {
    return {in.totalLiabilities, "obveze (Bilanca 87 – 57) su nula"};
}
Denominator CurrentLiabilities(const ScoreInputs& in) {
    return {in.currentLiabilities, "kratkoročne obveze (Bilanca 75) su nula"};
}
Denominator TotalRevenue(const ScoreInputs& in) {
    return {in.totalRevenue, "ukupni prihodi (Račun 40) su nula"};
}
Denominator OperatingRevenue(const ScoreInputs& in) {
    return {in.operatingRevenue, "poslovni prihodi (Račun 1) su nula"};
}
Denominator AverageAssets(const ScoreInputs& in) {
    return {in.averageAssets, "prosječna aktiva (Bilanca 55) je nula"};
}
Denominator AverageEquity(const ScoreInputs& in) {
    return {in.averageEquity, "prosječni kapital i rezerve (Bilanca 57) su nula"};
}

// The value of a model: its terms' weighted ratios added, unless a denominator counts as zero.
ScoreValue ModelValue(const std::vector<ScoreTerm>& terms) {
    ScoreValue v;
    for (const ScoreTerm& t : terms) {
        if (IsZeroMoney(t.denominator)) {
            v.reason = std::string(kNotComputable) + std::string(t.zeroReason);
            return v;
        }
    }
    return Computed({}, [&terms] {
        double sum = 0;
        for (const ScoreTerm& t : terms) {
            sum += t.weight * t.numerator / t.denominator;
        }
        return sum;
    });
}

// The debt repayment in years, (TL − CASH) / CF, and its grade: 1 without net debt, 5 when
// the cash flow is not positive (nothing to repay from).
void DebtRepayment(const ScoreInputs& in, ScoreValue& measure, std::optional<int>& grade) {
    const double netDebt = in.totalLiabilities - in.cash;
    if (!std::isfinite(netDebt) || !std::isfinite(in.cashFlow)) {
        measure.reason = std::string(kNotComputable) + "ulazni iznosi nisu konačni brojevi";
        return;
    }
    if (netDebt <= 0 || IsZeroMoney(netDebt)) {
        measure.value = 0;
        grade = 1;
        return;
    }
    if (in.cashFlow <= 0 || IsZeroMoney(in.cashFlow)) {
        measure.reason = "Novčani tok (Račun 45 + 19) nije pozitivan: dug se iz njega ne otplaćuje";
        grade = 5;
        return;
    }
    measure = Computed({}, [&] { return netDebt / in.cashFlow; });
    if (measure.value) {
        grade = DebtYearsGrade(*measure.value);
    }
}

// The mean of grades first to last - 1; not computable when one of them is missing.
ScoreValue MeanGrade(const QuickTest& q, int first, int last) {
    ScoreValue v;
    double sum = 0;
    for (int i = first; i < last; ++i) {
        const std::optional<int>& grade = q.grades[static_cast<std::size_t>(i)];
        if (!grade) {
            v.reason = std::string(kNotComputable) + "nije ocijenjeno: " +
                       std::string(kQuickParts[static_cast<std::size_t>(i)].name);
            return v;
        }
        sum += *grade;
    }
    v.value = sum / (last - first);
    return v;
}

QuickTest QuickTestOf(const ScoreInputs& in) {
    QuickTest q;
    const auto graded = [&q](QuickPart part, ScoreValue measure, int (*gradeOf)(double)) {
        const auto i = static_cast<std::size_t>(part);
        if (measure.value) {
            q.grades[i] = gradeOf(*measure.value);
        }
        q.measures[i] = std::move(measure);
    };
    graded(QuickPart::EquityRatio,
           Computed({Assets(in)}, [&in] { return in.equity * 100 / in.totalAssets; }),
           EquityRatioGrade);
    DebtRepayment(in, q.measures[static_cast<std::size_t>(QuickPart::DebtYears)],
                  q.grades[static_cast<std::size_t>(QuickPart::DebtYears)]);
    graded(
        QuickPart::CashFlowMargin,
        Computed({OperatingRevenue(in)}, [&in] { return in.cashFlow * 100 / in.operatingRevenue; }),
        CashFlowMarginGrade);
    graded(QuickPart::ReturnOnAssets,
           Computed({Assets(in)}, [&in] { return in.ebit * 100 / in.totalAssets; }),
           ReturnOnAssetsGrade);
    q.stability = MeanGrade(q, 0, 2);
    q.earnings = MeanGrade(q, 2, 4);
    q.overall = MeanGrade(q, 0, 4);
    return q;
}

DuPont DuPontOf(const ScoreInputs& in) {
    DuPont d;
    d.margin = Computed({OperatingRevenue(in)},
                        [&in] { return in.netResult * 100 / in.operatingRevenue; });
    d.turnover =
        Computed({AverageAssets(in)}, [&in] { return in.operatingRevenue / in.averageAssets; });
    d.multiplier =
        Computed({AverageEquity(in)}, [&in] { return in.averageAssets / in.averageEquity; });
    for (const ScoreValue* factor : {&d.margin, &d.turnover, &d.multiplier}) {
        if (!factor->value) {
            d.product.reason = factor->reason;
            return d;
        }
    }
    d.product =
        Computed({}, [&d] { return *d.margin.value * *d.turnover.value * *d.multiplier.value; });
    return d;
}

// Bands of a model, from the best down: a value above bound takes the band; below every bound,
// the last.
struct BandStep {
    double bound;
    Band band;
};

template <std::size_t N>
Band Step(const std::array<BandStep, N>& steps, const Band& last, double value) {
    for (const BandStep& s : steps) {
        if (value > s.bound) {
            return s.band;
        }
    }
    return last;
}

constexpr Band kSafe{"sigurna zona", Tone::Good};
constexpr Band kGrey{"siva zona", Tone::Caution};
constexpr Band kDistress{"zona opasnosti", Tone::Danger};

}  // namespace

std::vector<ScoreTerm> TermsOf(ScoreModel model, const ScoreInputs& in) {
    const double ta = in.totalAssets;
    const double tl = in.totalLiabilities;
    const double tr = in.totalRevenue;
    const std::string_view taZero = Assets(in).zeroReason;
    const std::string_view tlZero = Liabilities(in).zeroReason;
    const std::string_view trZero = TotalRevenue(in).zeroReason;
    switch (model) {
        case ScoreModel::AltmanZpp:
            return {{6.56, "WC / TA", in.workingCapital, ta, taZero},
                    {3.26, "RE / TA", in.retainedEarnings, ta, taZero},
                    {6.72, "EBIT / TA", in.ebit, ta, taZero},
                    {1.05, "E / TL", in.equity, tl, tlZero}};
        case ScoreModel::AltmanZp:
            return {{0.717, "WC / TA", in.workingCapital, ta, taZero},
                    {0.847, "RE / TA", in.retainedEarnings, ta, taZero},
                    {3.107, "EBIT / TA", in.ebit, ta, taZero},
                    {0.420, "E / TL", in.equity, tl, tlZero},
                    {0.998, "SALES / TA", in.sales, ta, taZero}};
        case ScoreModel::Springate:
            return {{1.03, "WC / TA", in.workingCapital, ta, taZero},
                    {3.07, "EBIT / TA", in.ebit, ta, taZero},
                    {0.66, "EBT / CL", in.resultBeforeTax, in.currentLiabilities,
                     CurrentLiabilities(in).zeroReason},
                    {0.40, "SALES / TA", in.sales, ta, taZero}};
        case ScoreModel::KralicekDf:
            return {{1.5, "CF / TL", in.cashFlow, tl, tlZero},
                    {0.08, "TA / TL", ta, tl, tlZero},
                    {10, "EBIT / TA", in.ebit, ta, taZero},
                    {5, "EBIT / TR", in.ebit, tr, trZero},
                    {0.3, "INV / TR", in.inventories, tr, trZero},
                    {0.1, "OR / TA", in.operatingRevenue, ta, taZero}};
    }
    return {};
}

ScoreInputs ScoreInputsOf(const TDokument& doc) {
    const auto cur = [&doc](int row) { return doc.Bilanca.row(row).IznosTekuca; };
    const auto avg = [&doc](int row) {
        return (doc.Bilanca.row(row).IznosPrethodna + doc.Bilanca.row(row).IznosTekuca) / 2;
    };
    const auto r = [&doc](int row) { return doc.Racun.row(row).Iznos; };
    ScoreInputs in;
    in.totalAssets = cur(B::TotalAssets);
    in.currentAssets = cur(B::CurrentAssets);
    in.currentLiabilities = cur(B::ShortTermLiabilities);
    in.workingCapital = in.currentAssets - in.currentLiabilities;
    in.equity = cur(B::Equity);
    in.totalLiabilities = cur(B::TotalEquityAndLiabilities) - in.equity;
    in.retainedEarnings = cur(B::RetainedEarnings) - cur(B::LossCarriedForward) +
                          cur(B::ProfitOfYear) - cur(B::LossOfYear);
    in.inventories = cur(B::Inventories);
    in.cash = cur(B::Cash);
    in.sales = r(R::SalesDomestic) + r(R::SalesAbroad);
    in.operatingRevenue = r(R::OperatingRevenue);
    in.totalRevenue = r(R::TotalRevenue);
    in.resultBeforeTax = r(R::ResultBeforeTax);
    in.ebit = in.resultBeforeTax + r(R::FinancialExpenses);
    in.netResult = r(R::NetResult);
    in.cashFlow = in.netResult + r(R::Depreciation);
    in.averageAssets = avg(B::TotalAssets);
    in.averageEquity = avg(B::Equity);
    return in;
}

Band BandOf(ScoreModel model, double value) {
    switch (model) {
        case ScoreModel::AltmanZpp:
            return Step(std::array<BandStep, 2>{{{2.60, kSafe}, {1.10, kGrey}}}, kDistress, value);
        case ScoreModel::AltmanZp:
            return Step(std::array<BandStep, 2>{{{2.90, kSafe}, {1.23, kGrey}}}, kDistress, value);
        case ScoreModel::Springate:
            return Step(std::array<BandStep, 1>{{{0.862, {"bez signala neuspjeha", Tone::Good}}}},
                        {"signal neuspjeha", Tone::Danger}, value);
        case ScoreModel::KralicekDf:
            return Step(std::array<BandStep, 8>{{{3.0, {"izvrsno", Tone::Good}},
                                                 {2.2, {"vrlo dobro", Tone::Good}},
                                                 {1.5, {"dobro", Tone::Good}},
                                                 {1.0, {"prosječno", Tone::Caution}},
                                                 {0.3, {"loše", Tone::Caution}},
                                                 {0.0, {"početak insolventnosti", Tone::Danger}},
                                                 {-1.0, {"umjerena insolventnost", Tone::Danger}},
                                                 {-2.0, {"izražena insolventnost", Tone::Danger}}}},
                        {"ekstremna insolventnost", Tone::Danger}, value);
    }
    return kDistress;
}

namespace {

// A grade from four bounds, best first: above the first 1, above the second 2, and so on; 5
// at or below the last.
int GradeAbove(const std::array<double, 4>& bounds, double value) {
    for (std::size_t i = 0; i < bounds.size(); ++i) {
        if (value > bounds[i]) {
            return static_cast<int>(i) + 1;
        }
    }
    return 5;
}

}  // namespace

int EquityRatioGrade(double percent) {
    return GradeAbove({30, 20, 10, 0}, percent);
}

int DebtYearsGrade(double years) {
    if (years < 3) {
        return 1;
    }
    if (years < 5) {
        return 2;
    }
    if (years < 12) {
        return 3;
    }
    return years <= 30 ? 4 : 5;
}

int CashFlowMarginGrade(double percent) {
    return GradeAbove({10, 8, 5, 0}, percent);
}

int ReturnOnAssetsGrade(double percent) {
    return GradeAbove({15, 12, 8, 0}, percent);
}

Band GradeBand(int grade) {
    switch (grade) {
        case 1:
            return {"izvrsno", Tone::Good};
        case 2:
            return {"vrlo dobro", Tone::Good};
        case 3:
            return {"dobro", Tone::Caution};
        case 4:
            return {"loše", Tone::Danger};
        default:
            return {"opasnost od insolventnosti", Tone::Danger};
    }
}

Scores ScoresOf(const ScoreInputs& in) {
    Scores s;
    s.inputs = in;
    for (const ScoreModelFacts& m : kScoreModels) {
        s.models[static_cast<std::size_t>(m.model)] = ModelValue(TermsOf(m.model, in));
    }
    s.quick = QuickTestOf(in);
    s.dupont = DuPontOf(in);
    return s;
}

}  // namespace movik
