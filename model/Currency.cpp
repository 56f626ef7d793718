#include "model/Currency.h"

#include "model/Dates.h"
#include "model/Document.h"

namespace movik {

Valuta PeriodCurrency(double datumDo) {
    static const double changeover = DayNumber(2023, 1, 1);
    return datumDo >= changeover ? Valuta::Eur : Valuta::Hrk;
}

Valuta DocumentCurrency(const TDokument& doc) {
    return doc.OznakaValute.value_or(PeriodCurrency(doc.DatumDo));
}

void SetDocumentCurrency(TDokument& doc, Valuta v) {
    if (v == PeriodCurrency(doc.DatumDo)) {
        doc.OznakaValute.reset();
    } else {
        doc.OznakaValute = v;
    }
}

std::string_view CurrencyCode(Valuta v) {
    return v == Valuta::Eur ? "EUR" : "HRK";
}

std::optional<Valuta> CurrencyFromCode(std::string_view code) {
    std::string upper(code);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (upper == "EUR") {
        return Valuta::Eur;
    }
    if (upper == "HRK") {
        return Valuta::Hrk;
    }
    return std::nullopt;
}

std::string_view AmountUnitText(Valuta v) {
    return v == Valuta::Eur ? "eurima i centima" : "kunama i lipama";
}

std::string_view ThousandsUnitText(Valuta v) {
    return v == Valuta::Eur ? "tisućama eura" : "tisućama kuna";
}

std::string_view CurrencyCaption(Valuta v) {
    return v == Valuta::Eur ? "(u EUR)" : "(u KN)";
}

std::string UnitAfterCurrencyChange(std::string_view unit, Valuta from, Valuta to) {
    if (unit == AmountUnitText(from)) {
        return std::string(AmountUnitText(to));
    }
    if (unit == ThousandsUnitText(from)) {
        return std::string(ThousandsUnitText(to));
    }
    return std::string(unit);
}

std::string_view PeriodCurrencyNote(Valuta now) {
    return now == Valuta::Eur
               ? "Razdoblje je sada u eurima, a iznosi su upisani u kunama? Odaberite kunu u "
                 "polju Valuta i po želji preračunajte u eure."
               : "Razdoblje je sada u kunama, a iznosi su upisani u eurima? Odaberite euro u "
                 "polju Valuta.";
}

std::string RowTextIn(std::string_view tekst, Valuta v) {
    const std::size_t end = tekst.find_last_not_of(' ');
    if (end == std::string_view::npos) {
        return std::string(tekst);
    }
    const std::string_view body = tekst.substr(0, end + 1);
    for (const Valuta any : {Valuta::Eur, Valuta::Hrk}) {
        const std::string_view caption = CurrencyCaption(any);
        if (body.size() >= caption.size() && body.ends_with(caption)) {
            return std::string(body.substr(0, body.size() - caption.size())) +
                   std::string(CurrencyCaption(v)) + std::string(tekst.substr(end + 1));
        }
    }
    return std::string(tekst);
}

}  // namespace movik
