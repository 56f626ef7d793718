#pragma once
// The early-warning scores (Altman Z″ and Z′, Springate, Kralicek's DF and quick test) and the
// DuPont decomposition of the return on equity, computed from a document's statements: the
// balance sheet's current-year column and the income statement's year. They are never stored
// in the file. A score whose denominator is zero (money below half a cent counts as zero) has
// no value, only the reason.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Calculations.h"
#include "model/Document.h"

namespace movik {

// The inputs of the models, in the statements' rows.
struct ScoreInputs {
    double totalAssets = 0;         // TA = Bilanca 55
    double currentAssets = 0;       // CA = Bilanca 31
    double currentLiabilities = 0;  // CL = Bilanca 75
    double workingCapital = 0;      // WC = CA − CL
    double equity = 0;              // E = Bilanca 57
    double totalLiabilities = 0;    // TL = Bilanca 87 − 57
    double retainedEarnings = 0;    // RE = Bilanca 62 − 63 + 64 − 65
    double inventories = 0;         // INV = Bilanca 32
    double cash = 0;                // CASH = Bilanca 52
    double sales = 0;               // SALES = Račun 2 + 3
    double operatingRevenue = 0;    // OR = Račun 1
    double totalRevenue = 0;        // TR = Račun 40
    double resultBeforeTax = 0;     // EBT = Račun 42
    double ebit = 0;                // EBIT = Račun 42 + 33
    double netResult = 0;           // NI = Račun 45
    double cashFlow = 0;            // CF = NI + Račun 19
    double averageAssets = 0;       // (Bilanca 55 previous + current) / 2
    double averageEquity = 0;       // (Bilanca 57 previous + current) / 2
};

ScoreInputs ScoreInputsOf(const TDokument& doc);

// Each input: its short name in the formulas, its Croatian name and the rows it comes from.
struct ScoreInputFacts {
    std::string_view symbol;
    std::string_view name;
    std::string_view rows;
    double ScoreInputs::*field;
};

inline constexpr std::array<ScoreInputFacts, 18> kScoreInputs = {{
    {"TA", "Ukupna aktiva", "Bilanca 55", &ScoreInputs::totalAssets},
    {"CA", "Kratkotrajna imovina", "Bilanca 31", &ScoreInputs::currentAssets},
    {"CL", "Kratkoročne obveze", "Bilanca 75", &ScoreInputs::currentLiabilities},
    {"WC", "Radni kapital", "CA – CL", &ScoreInputs::workingCapital},
    {"E", "Kapital i rezerve", "Bilanca 57", &ScoreInputs::equity},
    {"TL", "Ukupne obveze", "Bilanca 87 – 57", &ScoreInputs::totalLiabilities},
    {"RE", "Zadržana dobit s rezultatom godine", "Bilanca 62 – 63 + 64 – 65",
     &ScoreInputs::retainedEarnings},
    {"INV", "Zalihe", "Bilanca 32", &ScoreInputs::inventories},
    {"CASH", "Novac", "Bilanca 52", &ScoreInputs::cash},
    {"SALES", "Prihodi od prodaje", "Račun 2 + 3", &ScoreInputs::sales},
    {"OR", "Poslovni prihodi", "Račun 1", &ScoreInputs::operatingRevenue},
    {"TR", "Ukupni prihodi", "Račun 40", &ScoreInputs::totalRevenue},
    {"EBT", "Rezultat prije poreza", "Račun 42", &ScoreInputs::resultBeforeTax},
    {"EBIT", "Rezultat prije kamata i poreza", "Račun 42 + 33", &ScoreInputs::ebit},
    {"NI", "Rezultat poslije poreza", "Račun 45", &ScoreInputs::netResult},
    {"CF", "Novčani tok (neto rezultat i amortizacija)", "Račun 45 + 19", &ScoreInputs::cashFlow},
    {"Ø TA", "Prosječna ukupna aktiva", "(Bilanca 55 preth. + tek.) / 2",
     &ScoreInputs::averageAssets},
    {"Ø E", "Prosječni kapital i rezerve", "(Bilanca 57 preth. + tek.) / 2",
     &ScoreInputs::averageEquity},
}};

// A value that may not be computable: then value is empty and reason says why (Croatian).
struct ScoreValue {
    std::optional<double> value;
    std::string reason;
};

// How a band reads: good, a reason to look closer, danger.
enum class Tone { Good, Caution, Danger };

struct Band {
    std::string_view words;
    Tone tone;
};

enum class ScoreModel { AltmanZpp, AltmanZp, Springate, KralicekDf };
inline constexpr int kScoreModelCount = 4;

struct ScoreModelFacts {
    ScoreModel model;
    std::string_view key;     // field name of movik-cli summary's "scores"
    std::string_view name;    // Croatian caption (plain apostrophes: every output can hold them)
    std::string_view source;  // author and year
};

inline constexpr std::array<ScoreModelFacts, kScoreModelCount> kScoreModels = {{
    {ScoreModel::AltmanZpp, "altman_z_pp", "Altman Z''", "Altman, 1995"},
    {ScoreModel::AltmanZp, "altman_z_p", "Altman Z'", "Altman, 1983"},
    {ScoreModel::Springate, "springate", "Springate", "Springate, 1978"},
    {ScoreModel::KralicekDf, "kralicek_df", "Kralicek DF", "Kralicek, 1991"},
}};

// One term of a model: weight × numerator / denominator; ratio names it in the inputs' short
// names ("WC / TA"); zeroReason says the denominator is zero.
struct ScoreTerm {
    double weight;
    std::string_view ratio;
    double numerator;
    double denominator;
    std::string_view zeroReason;
};

// The terms of a model, in its formula's order; the model's value is their sum.
std::vector<ScoreTerm> TermsOf(ScoreModel model, const ScoreInputs& in);

// The band of a model's value; a value on a bound takes the lower band.
Band BandOf(ScoreModel model, double value);

// Kralicek's quick test: four measures, each graded 1 (izvrsno) to 5 (opasnost od
// insolventnosti), and the means of the grades.
enum class QuickPart { EquityRatio, DebtYears, CashFlowMargin, ReturnOnAssets };
inline constexpr int kQuickPartCount = 4;

struct QuickPartFacts {
    QuickPart part;
    std::string_view key;   // field name in "quicktest"
    std::string_view name;  // Croatian caption
    std::string_view unit;  // of the measure: "%" or "god."
};

inline constexpr std::array<QuickPartFacts, kQuickPartCount> kQuickParts = {{
    {QuickPart::EquityRatio, "equity_ratio", "Udio vlastitog kapitala", "%"},
    {QuickPart::DebtYears, "debt_years", "Vrijeme otplate duga u godinama", "god."},
    {QuickPart::CashFlowMargin, "cash_flow_margin", "Novčani tok u prihodima", "%"},
    {QuickPart::ReturnOnAssets, "roa", "Povrat na imovinu", "%"},
}};

// The grade of a measure (percentages as 12.5 for 12.5 %). The debt repayment's grade also
// needs to know whether there is net debt and whether the cash flow is positive; see
// QuickTestOf.
int EquityRatioGrade(double percent);
int DebtYearsGrade(double years);
int CashFlowMarginGrade(double percent);
int ReturnOnAssetsGrade(double percent);
// The words of grade 1 to 5 and their tone.
Band GradeBand(int grade);

struct QuickTest {
    std::array<ScoreValue, kQuickPartCount> measures;
    std::array<std::optional<int>, kQuickPartCount> grades;
    ScoreValue stability;  // mean of the first two grades
    ScoreValue earnings;   // mean of the last two
    ScoreValue overall;    // mean of the four
};

// The DuPont decomposition: net margin (in percent, as indicator 11) × asset turnover × equity
// multiplier = return on equity (in percent, as indicator 13).
struct DuPont {
    ScoreValue margin;
    ScoreValue turnover;
    ScoreValue multiplier;
    ScoreValue product;
};

struct Scores {
    ScoreInputs inputs;
    std::array<ScoreValue, kScoreModelCount> models;
    QuickTest quick;
    DuPont dupont;

    const ScoreValue& of(ScoreModel m) const { return models[static_cast<std::size_t>(m)]; }
};

Scores ScoresOf(const ScoreInputs& in);
inline Scores ScoresOf(const TDokument& doc) {
    return ScoresOf(ScoreInputsOf(doc));
}

}  // namespace movik
