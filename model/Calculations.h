#pragma once
// Every computation of the statements and the consistency checks.

#include <string>
#include <string_view>

#include "model/Document.h"

namespace movik {

inline constexpr std::string_view kWarningBalance = "Neravnoteža aktive i pasive u bilanci";
inline constexpr std::string_view kWarningNetResult = "Neravnoteža neto dobiti u bilanci i RDG";

void CalcBilanca(TDokument& doc);
void CalcRacun(TDokument& doc);
void CalcCFInd(TDokument& doc);
void CalcCFFree(TDokument& doc);
void CalcPok(TDokument& doc);

// The warning text of the checks: empty when everything agrees, else one of the two texts above
// (shown in red).
std::string CheckBalance(const TDokument& doc);

// All five calculations in their fixed order, then CheckBalance; returns its warning.
std::string RecalculateAll(TDokument& doc);

}  // namespace movik
