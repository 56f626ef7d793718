#pragma once
// The summary of one document: its general data, the key amounts, the fifteen indicators and
// the warning, taken from a workspace after the refresh cycle, so every number is the one the
// grids show. Computing a summary touches no shared state: any number of threads may do it.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/SummaryScores.h"
#include "document/Workspace.h"
#include "model/Regional.h"
#include "model/StatementRows.h"

namespace movik {

// The key amounts, in the order every output lists them.
enum class KeyAmount {
    TotalAssetsPrevious,
    TotalAssets,
    EquityPrevious,
    Equity,
    Sales,
    Revenue,
    ResultBeforeTax,
    NetResult,
    OperatingCashFlow,
    FreeCashFlow,
};
inline constexpr int kKeyAmountCount = 10;

struct KeyAmountFacts {
    KeyAmount amount;
    std::string_view field;    // JSON field name
    std::string_view caption;  // Croatian column caption
};

inline constexpr std::array<KeyAmountFacts, kKeyAmountCount> kKeyAmounts = {{
    {KeyAmount::TotalAssetsPrevious, "total_assets_previous", "Ukupna aktiva (preth.)"},
    {KeyAmount::TotalAssets, "total_assets", "Ukupna aktiva"},
    {KeyAmount::EquityPrevious, "equity_previous", "Kapital i rezerve (preth.)"},
    {KeyAmount::Equity, "equity", "Kapital i rezerve"},
    {KeyAmount::Sales, "sales", "Prihodi od prodaje"},
    {KeyAmount::Revenue, "revenue", "Ukupni prihodi"},
    {KeyAmount::ResultBeforeTax, "result_before_tax", "Rezultat prije poreza"},
    {KeyAmount::NetResult, "net_result", "Rezultat poslije poreza"},
    {KeyAmount::OperatingCashFlow, "operating_cash_flow", "Novčani tok iz poslovanja"},
    {KeyAmount::FreeCashFlow, "free_cash_flow", "Slobodni novčani tok"},
}};

// The warning of a document whose stored totals (the computed rows as the file holds them)
// differ from those its inputs give: the file was changed outside the program. The summary
// shows the recalculated figures, as the main window does after the first change.
inline constexpr std::string_view kWarningStoredTotals =
    "Spremljeni zbrojevi razlikuju se od izračunatih";

// Indicators (by position in kIndicatorRows) measured in money (per share); the others are
// ratios, the same in any currency.
bool IsMoneyIndicator(int indicatorIndex);

// A kuna document's figures in euros, as the document converted to euros gives them: key
// amounts and money indicators converted; the ratios as the kuna document has them.
struct EuroFigures {
    std::array<double, kKeyAmountCount> amounts{};
    std::array<std::string, kKeyAmountCount> amountTexts;
    std::array<double, kIndicatorRows.size()> indicators{};
    std::array<std::string, kIndicatorRows.size()> indicatorTexts;
};

struct DocumentSummary {
    std::string file;  // as given or found
    bool ok = false;
    std::string error;  // why the file could not be read ("" when ok)
    std::string company;
    std::string seat;
    double from = 0;  // day numbers, as the document holds them
    double to = 0;
    std::array<double, kKeyAmountCount> amounts{};
    std::array<std::string, kKeyAmountCount> amountTexts;  // AmountFormat, the locale's separators
    // By position in kIndicatorRows: the computed value and the grid's text.
    std::array<double, kIndicatorRows.size()> indicators{};
    std::array<std::string, kIndicatorRows.size()> indicatorTexts;
    // True where the indicator cannot be computed (its denominator is 0): the grid shows 0 or
    // nothing there, which is no figure of the company.
    std::array<bool, kIndicatorRows.size()> indicatorNotComputable{};
    std::vector<std::string> warnings;  // as the warning panel shows them
    // The early-warning scores and DuPont's factors, and the same as a list of named values
    // with their directions. Ratios: the same in any currency.
    Scores scores;
    NamedScores namedScores{};
    // The currency of the amounts above; converted: they were converted from kunas.
    Valuta currency = Valuta::Hrk;
    bool converted = false;
    // For a kuna document summarised with them: its figures in euros (see InCurrency).
    std::optional<EuroFigures> inEuro;

    double amount(KeyAmount a) const { return amounts[static_cast<int>(a)]; }
};

// The summary of the document a workspace holds; call after its refresh cycle.
DocumentSummary SummaryOf(const Workspace& ws, const std::string& file);

// Whether a computed amount of Bilanca (both years), Racun, CFInd or CFFree differs by half a
// cent or more between the document as stored and as recalculated.
bool StoredTotalsDiffer(const TDokument& stored, const TDokument& recalculated);

// Opens path and summarises it as a workspace does after its refresh cycle, with
// kWarningStoredTotals after the checks' warning when the stored totals were stale. In the
// document's own currency no grid texts are made: the amounts are rounded as their cells read
// back (ReadAsShown), then calculated, so every number equals SummaryOf's bit for bit.
// withEuro: a kuna document's summary also holds its figures in euros (inEuro), through a
// workspace. A file that cannot be opened gives ok false and the open's message.
DocumentSummary Summarize(const std::string& path, const RegionalSettings& rs, int currentYear,
                          bool withEuro = false);

// The summary with its amounts in currency v: a kuna summary that holds its figures in euros
// gives them, marked converted; any other summary is returned as it is (no euro document is
// turned into kunas).
DocumentSummary InCurrency(DocumentSummary s, Valuta v);

// The row texts of the indicator grid, trimmed (for captions), with the unit of the amounts
// per share in currency v, or without a unit when the rows' currencies may differ.
std::string IndicatorCaption(int indicatorIndex, std::optional<Valuta> v);

}  // namespace movik
