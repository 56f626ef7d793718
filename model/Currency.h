#pragma once
// The currency of a document's amounts: euros for a period ending on or after 1 January 2023
// (the changeover), kunas before, unless the document carries a mark saying otherwise (a
// converted document, or the user's choice). Everything that names an amount's unit asks here.

#include <optional>
#include <string>
#include <string_view>

namespace movik {

struct TDokument;

enum class Valuta { Eur, Hrk };

// The currency a period ending on datumDo (a day number) implies; an empty or invalid date
// counts as before the changeover.
Valuta PeriodCurrency(double datumDo);
// The document's mark if it has one, else the currency its period implies.
Valuta DocumentCurrency(const TDokument& doc);
// Sets the document's currency: the mark is kept only where it differs from the period's.
void SetDocumentCurrency(TDokument& doc, Valuta v);

// "EUR" or "HRK".
std::string_view CurrencyCode(Valuta v);
// "EUR" or "HRK" in any letter case; nullopt for anything else.
std::optional<Valuta> CurrencyFromCode(std::string_view code);
// The amount unit the window and the reports start from: "eurima i centima" or "kunama i lipama".
std::string_view AmountUnitText(Valuta v);
// The same in thousands: "tisućama eura" or "tisućama kuna".
std::string_view ThousandsUnitText(Valuta v);
// The unit of amounts per share in the indicator captions: "(u EUR)" or "(u KN)".
std::string_view CurrencyCaption(Valuta v);
// The unit after the amounts' currency changed from one to the other: a unit of the old
// currency becomes the same unit of the new one ("kunama i lipama" -> "eurima i centima",
// "tisućama kuna" -> "tisućama eura"); any other unit (one the user typed) stays.
std::string UnitAfterCurrencyChange(std::string_view unit, Valuta from, Valuta to);
// What the user is told when a new period changed the currency of a document with amounts:
// the numbers did not move, so they may now be read in the wrong currency.
std::string_view PeriodCurrencyNote(Valuta now);
// A row text as shown for currency v: a trailing "(u KN)" or "(u EUR)" (trailing blanks
// ignored) becomes v's caption; any other text is returned as it is.
std::string RowTextIn(std::string_view tekst, Valuta v);

}  // namespace movik
