#pragma once
// Every computation of the statements and the consistency checks.

#include <array>
#include <string>
#include <string_view>

#include "model/Document.h"

namespace movik {

inline constexpr std::string_view kWarningBalance = "Neravnoteža aktive i pasive u bilanci";
inline constexpr std::string_view kWarningNetResult = "Neravnoteža neto dobiti u bilanci i RDG";
inline constexpr std::string_view kWarningPeriod = "Razdoblje završava prije početka";

void CalcBilanca(TDokument& doc);
void CalcRacun(TDokument& doc);
void CalcCFInd(TDokument& doc);
void CalcCFFree(TDokument& doc);
void CalcPok(TDokument& doc);

// Whether an amount of money counts as zero: below half a cent (or lipa), or not a number.
// Amounts carry at most two decimals, so a sum of them that is not zero is at least a cent; one
// below half a cent is what binary rounding left of a sum that cancels.
bool IsZeroMoney(double amount);

// By Pok row (index row - 1): whether the indicator of that row can be computed from the
// document's inputs: its denominator is not zero money (half a cent or more in magnitude; the
// per-share indicators: a share count that is not exactly 0). CalcPok shows an indicator that
// cannot be computed as 0; summaries mark it and a chart across documents leaves it out.
// Heading rows are false.
std::array<bool, kPokRows> IndicatorsComputable(const TDokument& doc);

// The warning text of the checks: empty when everything agrees, else one of the texts above
// (shown in red): the balance first, then the net result, then a period whose end date lies
// before its start date (possible only in a stored file; the date fields refuse it).
std::string CheckBalance(const TDokument& doc);

// The differences the balance checks look at: total assets minus total equity and liabilities
// in each year, and the balance sheet's current-year result minus the income statement's
// (the profit of the year against a profit, the loss of the year against a loss, as
// CheckBalance compares them).
struct BalanceDifferences {
    double previousYear = 0;
    double currentYear = 0;
    double netResult = 0;
};
BalanceDifferences DifferencesOf(const TDokument& doc);

// All five calculations in their fixed order, then CheckBalance; returns its warning.
std::string RecalculateAll(TDokument& doc);

}  // namespace movik
