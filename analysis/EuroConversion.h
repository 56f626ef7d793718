#pragma once
// Converting a kuna document to euros at the fixed conversion rate: every typed amount of the
// balance sheet and the income statement is divided by the rate and rounded to cents; the
// computed rows follow from the refresh cycle.

#include <string_view>

#include "document/Workspace.h"
#include "model/Document.h"

namespace movik {

// Kunas for one euro, fixed by law for the changeover of 1 January 2023.
inline constexpr double kKunaPerEuro = 7.53450;
// The rate as the user reads it, with a decimal comma.
inline constexpr std::string_view kKunaPerEuroText = "7,53450";

// amount / 7.53450 rounded half away from zero to cents. The amount is taken as the decimal it
// reads as (15 significant digits, as the grids show it) and divided exactly, so a result of
// exactly half a cent rounds away from zero whatever the binary double makes of it. A value
// that is not finite stays as it is.
double KunaToEuro(double amount);

// Every input amount of Bilanca (both years) and of Racun converted with KunaToEuro; nothing
// else of the document changes (the caller runs the refresh cycle). Rounding each amount alone
// would let the totals drift by cents from the converted kuna totals, and a balanced kuna
// balance sheet could come out unbalanced. So the five totals that the checks compare (total
// assets and total equity and liabilities of each year, and the result after tax) are kept
// equal to the kuna totals converted: the missing cents go, one each, to the non-empty amounts
// that rounding moved furthest the other way (largest remainders). The current-year profit and
// loss rows of the balance sheet take no such cent, so they keep matching the converted result.
void ConvertInputsToEuro(TDokument& doc);
// What the status bar says after a conversion.
inline constexpr std::string_view kConvertedNote =
    "Iznosi su preračunati u eure po fiksnom tečaju konverzije 7,53450 kn za 1 euro.";
// Why a document already in euros is not converted.
inline constexpr std::string_view kAlreadyInEuro =
    "Dokument je već u eurima: iznosi se ne preračunavaju ponovo.";
// The whole conversion of the open document: the inputs converted, the document's currency set
// to euros, the grids filled from them, the refresh cycle run, the document marked changed.
// A document already in euros is left alone (false): a second division would be wrong.
bool ConvertToEuro(Workspace& ws);

}  // namespace movik
