#include "intake/OfficialForm.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

#include "document/Cp1250.h"
#include "intake/FormReading.h"
#include "model/Calculations.h"
#include "model/CroatianPlural.h"
#include "model/Dates.h"
#include "model/NumberFormat.h"

namespace movik {

namespace {

using form::Code3;
using form::FormAmounts;
using form::FormLine;
using form::FormLines;
using form::Lines;
using form::Refusal;
using form::Trim;

const char* const kOutOfMemory = "Nedovoljno memorije za čitanje obrasca";

// To the cent as a grid shows it (1.005 is 1.01, as the form's own cell shows it too).
double Cents(double v) {
    return RoundedAsShown(v, 2);
}

std::optional<double> DateOf(const SheetCell& cell) {
    if (cell.kind == SheetCell::Kind::Number) {
        // A date cell holds the day count from 30 December 1899, as the document does.
        if (cell.number >= 1 && cell.number < 2958466) {
            return std::floor(cell.number);
        }
        return std::nullopt;
    }
    if (cell.kind != SheetCell::Kind::Text) {
        return std::nullopt;
    }
    const std::string t = Trim(cell.text);
    std::array<int, 3> parts{};
    std::size_t i = 0;
    for (std::size_t p = 0; p < 3; ++p) {
        while (i < t.size() && t[i] == ' ') {
            ++i;
        }
        const auto [end, ec] = std::from_chars(t.data() + i, t.data() + t.size(), parts[p]);
        if (ec != std::errc()) {
            return std::nullopt;
        }
        i = static_cast<std::size_t>(end - t.data());
        if (p < 2) {
            if (i >= t.size() || (t[i] != '.' && t[i] != '/' && t[i] != '-')) {
                return std::nullopt;
            }
            ++i;
        }
    }
    while (i < t.size() && (t[i] == '.' || t[i] == ' ')) {
        ++i;
    }
    const auto [d, m, y] = parts;
    if (i != t.size() || y < 1900 || y > 2100 || m < 1 || m > 12 || d < 1 || d > 31) {
        return std::nullopt;
    }
    const double day = DayNumber(y, m, d);
    const CivilDate back = CivilFromDayNumber(day);
    if (back.day != d || back.month != m) {
        return std::nullopt;  // 31.2.
    }
    return day;
}

std::optional<int> YearOf(const SheetCell& cell) {
    double v = 0;
    if (cell.kind == SheetCell::Kind::Number) {
        v = cell.number;
    } else if (cell.kind == SheetCell::Kind::Text) {
        const std::string t = Trim(cell.text);
        const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        if (ec != std::errc() || end != t.data() + t.size()) {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    if (v < 1990 || v > 2100 || v != std::floor(v)) {
        return std::nullopt;
    }
    return static_cast<int>(v);
}

// The text of a number cell: a whole number as its digits, anything else (a fraction, a number
// beyond a whole number's range) as its shortest general form.
std::string NumberCellText(double v) {
    if (std::isfinite(v) && std::fabs(v) < 1e15 && v == std::trunc(v)) {
        return std::to_string(static_cast<long long>(v));
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", v);
    return text;
}

// An OIB typed as a number: its eleven digits, a leading zero kept.
std::string OibText(double v) {
    if (v >= 0 && v < 1e11 && v == std::trunc(v)) {
        char text[16];
        std::snprintf(text, sizeof text, "%011lld", static_cast<long long>(v));
        return text;
    }
    return NumberCellText(v);
}

// A text of the form as the document can hold it: Windows-1250, at most 255 characters.
std::string DocumentText(const SheetCell& cell, const char* what, std::vector<std::string>& notes) {
    std::string text;
    if (cell.kind == SheetCell::Kind::Text) {
        text = Trim(cell.text);
    } else if (cell.kind == SheetCell::Kind::Number) {
        text = NumberCellText(cell.number);
    }
    std::string bytes = Utf8ToCp1250Lossy(text);
    bool changed = !IsCp1250Text(text);
    if (bytes.size() > 255) {
        bytes.resize(255);
        changed = true;
    }
    if (changed) {
        text = Cp1250ToUtf8(bytes);
        notes.push_back(std::string(what) +
                        " je skraćen ili su znakovi koje dokument ne može spremiti zamijenjeni "
                        "znakom ?: \"" +
                        text + "\"");
    }
    return text;
}

void RequireCodes(const Lines& lines, std::string_view codes) {
    for (const FormTerm& t : ParseFormFormula(codes)) {
        if (lines.count(t.code) == 0) {
            throw Refusal{"Obrazac nema redak AOP " + Code3(t.code) +
                          " koji uvoz treba (stupac G listova Bilanca i RDG)"};
        }
    }
}

double Sum(FormAmounts& amounts, std::string_view codes, std::size_t year) {
    double sum = 0;
    for (const FormTerm& t : ParseFormFormula(codes)) {
        sum += t.sign * amounts.Of(t.code, year).value_or(0.0);
    }
    return sum;
}

void SetAmount(TDokument& doc, Statement s, int row, std::size_t year, double v) {
    if (s == Statement::Bilanca) {
        (year == 0 ? doc.Bilanca.row(row).IznosPrethodna : doc.Bilanca.row(row).IznosTekuca) = v;
    } else if (year == 1) {
        doc.Racun.row(row).Iznos = v;
    }
}

double AmountIn(const TDokument& doc, Statement s, int row, std::size_t year) {
    if (s == Statement::Bilanca) {
        return year == 0 ? doc.Bilanca.row(row).IznosPrethodna : doc.Bilanca.row(row).IznosTekuca;
    }
    return doc.Racun.row(row).Iznos;
}

// The period from RefStr (C4 and F4) and the business year (F12): the period rules where they
// disagree, as the amounts are the period's; an unreadable period is the business year's.
void ReadPeriod(const SheetData& ref, OfficialForm& form) {
    const std::optional<double> from = DateOf(ref.At(3, 2));
    const std::optional<double> to = DateOf(ref.At(3, 5));
    const bool period = from && to && *from <= *to;
    const std::optional<int> year = YearOf(ref.At(11, 5));
    if (!year && !to) {
        throw Refusal{
            "Obrazac ne navodi čitljivu poslovnu godinu (list RefStr, ćelija F12) ni "
            "razdoblje (C4 i F4)"};
    }
    const int periodYear = CivilFromDayNumber(period ? *to : to.value_or(0)).year;
    form.businessYear = year && !period ? *year : to ? periodYear : *year;
    if (period && year && *year != periodYear) {
        form.notes.push_back("Upozorenje: poslovna godina u listu RefStr (F12) je " +
                             std::to_string(*year) + ", a razdoblje (C4 i F4) završava " +
                             std::to_string(periodYear) +
                             ". godine: dokument uzima razdoblje i njegovu godinu.");
    }
    form.kunas = form.businessYear <= 2022;
    form.tolerance = form.kunas ? 1.0 : 0.01;
    if (period) {
        form.from = *from;
        form.to = *to;
    } else {
        form.from = DayNumber(form.businessYear, 1, 1);
        form.to = DayNumber(form.businessYear, 12, 31);
        form.periodFromYear = true;
        form.notes.push_back(
            "Razdoblje u listu RefStr (C4 i F4) nije čitljivo: uzeta je poslovna "
            "godina, 1. 1. do 31. 12. " +
            std::to_string(form.businessYear) + ".");
    }
}

// The business year, the period, the company, seat and OIB from the sheet RefStr.
void ReadGeneralData(const SheetData& ref, OfficialForm& form) {
    ReadPeriod(ref, form);
    form.company = DocumentText(ref.At(28, 2), "Naziv poduzeća", form.notes);
    form.seat = DocumentText(ref.At(30, 5), "Sjedište", form.notes);
    const SheetCell& oib = ref.At(26, 2);
    form.oib = oib.kind == SheetCell::Kind::Text     ? Trim(oib.text)
               : oib.kind == SheetCell::Kind::Number ? OibText(oib.number)
                                                     : "";
}

// Every code the import reads must be on the form.
void RequireReadCodes(const Lines& lines, FormVersion version) {
    for (const FormMappingRow& m : FormMapping()) {
        RequireCodes(lines, CodesOf(m, version));
    }
    for (const FormTotalRow& t : FormTotals()) {
        RequireCodes(lines, version == FormVersion::V3 ? t.code3 : t.code4);
    }
    for (const FormNotCarriedRow& n : FormNotCarried()) {
        RequireCodes(lines, version == FormVersion::V3 ? n.codes3 : n.codes4);
    }
    for (const form::CrossRule& rule : form::CrossRules(version)) {
        RequireCodes(lines, Code3(rule.code));
        for (const FormTerm& t : rule.terms) {
            RequireCodes(lines, Code3(t.code));
        }
    }
}

// The form checks itself, year by year, in its own order: a formula naming a code the form does
// not have, and a stated sum that differs from its formula beyond the tolerance, are
// differences.
void CheckFormulas(const Lines& lines, const std::vector<int>& order, FormAmounts& amounts,
                   OfficialForm& form) {
    for (int code : order) {
        const FormLine& line = lines.at(code);
        if (line.formula.empty()) {
            continue;
        }
        std::string absent;
        for (const FormTerm& t : line.formula) {
            if (lines.count(t.code) == 0) {
                absent += (absent.empty() ? "" : ", ") + Code3(t.code);
            }
        }
        if (!absent.empty()) {
            FormDifference d;
            d.sheet = line.sheet;
            d.code = code;
            d.label = line.label;
            d.remark = "formula navodi AOP " + absent + " kojeg nema u obrascu";
            form.differences.push_back(std::move(d));
        }
        for (std::size_t y = 0; y < 2; ++y) {
            const double stated = *amounts.Of(code, y);
            if (amounts.SourceOf(code, y) == FormAmounts::Source::Parts) {
                continue;  // taken from its parts, so it agrees with them
            }
            const double computed = amounts.Value(line.formula, line.positivePart, y);
            if (std::fabs(stated - computed) > form.tolerance + 1e-9) {
                FormDifference d;
                d.sheet = line.sheet;
                d.code = code;
                d.label = line.label;
                d.previousYear = y == 0;
                d.stated = stated;
                d.computed = computed;
                form.differences.push_back(std::move(d));
            }
        }
    }
}

// The document: the general data, and the amounts through the mapping table, recalculated.
void FillDocument(FormAmounts& amounts, int currentYear, OfficialForm& form) {
    TDokument& doc = form.document;
    NewDocument(doc, currentYear);
    doc.Poduzece = form.company;
    doc.Sjediste = form.seat;
    doc.DatumOd = form.from;
    doc.DatumDo = form.to;
    for (const FormMappingRow& m : FormMapping()) {
        for (std::size_t y = 0; y < 2; ++y) {
            if (m.statement != Statement::Bilanca && y == 0) {
                continue;
            }
            double v = Sum(amounts, CodesOf(m, form.version), y);
            if (m.part == FormPart::Positive || m.part == FormPart::Negative) {
                v = std::max(v, 0.0);
            }
            v = Cents(v);
            if (!WithinAmountLimit(v)) {
                throw Refusal{"Iznos obrasca (AOP " + std::string(CodesOf(m, form.version)) +
                              ") je izvan granice iznosa koje Movik prima"};
            }
            SetAmount(doc, m.statement, m.row, y, v);
        }
    }
    RecalculateAll(doc);
}

// The amounts the document does not carry, and the form's own totals for the reconciliation.
void ReadNotCarriedAndTotals(const Lines& lines, FormAmounts& amounts, OfficialForm& form) {
    for (const FormNotCarriedRow& n : FormNotCarried()) {
        const std::string_view codes = form.version == FormVersion::V3 ? n.codes3 : n.codes4;
        FormNotCarriedAmount a;
        a.code = ParseFormFormula(codes).front().code;
        a.label = lines.at(a.code).label;
        a.previous = Sum(amounts, codes, 0);
        a.current = Sum(amounts, codes, 1);
        a.note = n.note;
        a.affects = n.affects;
        form.notCarried.push_back(std::move(a));
    }
    for (const FormTotalRow& t : FormTotals()) {
        const int code =
            ParseFormFormula(form.version == FormVersion::V3 ? t.code3 : t.code4).front().code;
        form.totals[static_cast<std::size_t>(t.total)] = {Cents(*amounts.Of(code, 0)),
                                                          Cents(*amounts.Of(code, 1))};
    }
}

// What the user should know about what was taken and how.
void AddImportNotes(bool formulaResultsKnown, OfficialForm& form) {
    if (!formulaResultsKnown) {
        form.notes.push_back(
            "Iz datoteke .xls ne čitaju se rezultati formula: prazne ćelije zbrojnih "
            "redaka izračunate su iz svojih dijelova, a prazna dobit ili gubitak poslovne "
            "godine iz računa dobiti i gubitka, pa provjera obuhvaća samo iznose upisane "
            "kao brojevi.");
    }
    form.notes.push_back(
        "Broj dionica nije na obrascu: dokument ima 0, pa pokazatelji po dionici "
        "ostaju prazni dok se broj ne upiše.");
    form.notes.push_back(
        "Račun dobiti i gubitka prenesen je za tekuću godinu (stupac J); "
        "prethodna godina obrasca ostaje samo u provjeri zbrojeva.");
    form.notes.push_back(std::string("Iznosi su preuzeti kako stoje na obrascu, u ") +
                         (form.kunas ? "kunama" : "eurima") + " (poslovna godina " +
                         std::to_string(form.businessYear) + ").");
}

void Read(const WorkbookData& book, int currentYear, OfficialForm& form) {
    const FormLines lines = form::ReadFormLines(book, form.notes);
    form.version = lines.version;
    form.versionName = form.version == FormVersion::V3 ? "3" : "4.x/6.x";
    ReadGeneralData(*book.Find("RefStr"), form);
    RequireReadCodes(lines.lines, form.version);
    FormAmounts amounts(lines, book);
    CheckFormulas(lines.lines, lines.order, amounts, form);
    form::CheckCrossRules(lines, amounts, form.tolerance, form.differences);
    FillDocument(amounts, currentYear, form);
    ReadNotCarriedAndTotals(lines.lines, amounts, form);
    form.differences.insert(form.differences.begin(), amounts.Uncomputed().begin(),
                            amounts.Uncomputed().end());
    AddImportNotes(book.Find("Bilanca")->formulaResultsKnown, form);
}

std::string Money(double v, const RegionalSettings& rs) {
    return FormatNumber(v, "#,##0.00", rs);
}

}  // namespace

const std::vector<std::string>& FormSheets() {
    static const std::vector<std::string> sheets = {"RefStr", "Bilanca", "RDG"};
    return sheets;
}

OfficialForm ReadOfficialForm(const WorkbookData& book, int currentYear) {
    OfficialForm form;
    try {
        Read(book, currentYear, form);
        form.ok = true;
    } catch (const Refusal& r) {
        form = OfficialForm();
        form.error = r.message;
    } catch (const std::bad_alloc&) {
        form = OfficialForm();
        form.error = kOutOfMemory;
    }
    return form;
}

OfficialForm ReadOfficialFormFile(const std::string& path, int currentYear) {
    try {
        const WorkbookRead read = ReadWorkbookFile(path, FormSheets());
        if (!read.ok) {
            OfficialForm form;
            form.error = read.error;
            return form;
        }
        return ReadOfficialForm(read.book, currentYear);
    } catch (const std::bad_alloc&) {
        OfficialForm form;
        form.error = kOutOfMemory;
        return form;
    }
}

void ApplyOfficialForm(const OfficialForm& form, Workspace& ws) {
    ws.NewDocument();
    ws.ChangeInputAmounts([&](TDokument& doc) {
        for (int r = 1; r <= kBilancaRows; ++r) {
            doc.Bilanca.row(r).IznosPrethodna = form.document.Bilanca.row(r).IznosPrethodna;
            doc.Bilanca.row(r).IznosTekuca = form.document.Bilanca.row(r).IznosTekuca;
        }
        for (int r = 1; r <= kRacunRows; ++r) {
            doc.Racun.row(r).Iznos = form.document.Racun.row(r).Iznos;
        }
    });
    ws.SetCompany(form.company);
    ws.SetSeat(form.seat);
    ws.ConfirmCompanyAndSeat();
    ws.SetPeriod(form.from, form.to);
    ws.ConfirmPeriod();
}

std::vector<ReconciliationLine> Reconcile(const OfficialForm& form, const TDokument& doc) {
    std::vector<ReconciliationLine> lines;
    for (const FormTotalRow& t : FormTotals()) {
        for (std::size_t y = t.bothYears ? 0 : 1; y < 2; ++y) {
            ReconciliationLine line;
            line.total = t.total;
            line.caption = std::string(t.caption) +
                           (t.bothYears ? (y == 0 ? ", prethodna godina" : ", tekuća godina") : "");
            line.code =
                ParseFormFormula(form.version == FormVersion::V3 ? t.code3 : t.code4).front().code;
            line.movik = AmountIn(doc, t.statement, t.row, y);
            line.form = form.totals[static_cast<std::size_t>(t.total)][y];
            line.difference = Cents(line.movik - line.form);
            if (line.difference == 0) {
                line.difference = 0;  // no "-0,00"
            }
            for (const FormNotCarriedAmount& n : form.notCarried) {
                const double amount = y == 0 ? n.previous : n.current;
                if (n.affects[static_cast<std::size_t>(t.total)] && amount != 0) {
                    line.explainedBy += (line.explainedBy.empty() ? "" : ", ") +
                                        std::string("AOP ") + Code3(n.code);
                }
            }
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

bool Differs(const ReconciliationLine& line) {
    return std::fabs(line.difference) >= 0.005;
}

std::string DifferencesText(std::size_t count) {
    return CountText(static_cast<long long>(count), "razlika", "razlike", "razlika");
}

std::string DifferenceText(const FormDifference& d, const RegionalSettings& rs) {
    std::string text = "list " + d.sheet + ", AOP " + Code3(d.code) + " \"" + d.label + "\"";
    if (!d.remark.empty()) {
        return text + ": " + d.remark;
    }
    if (!d.rule.empty()) {
        return text + (d.previousYear ? ", prethodna godina" : ", tekuća godina") + ": " + d.rule +
               ": iskazano " + Money(d.stated, rs) + ", prema pravilu " + Money(d.computed, rs) +
               ", razlika " + Money(Cents(d.stated - d.computed), rs);
    }
    return text + (d.previousYear ? ", prethodna godina" : ", tekuća godina") + ": iskazano " +
           Money(d.stated, rs) + ", zbroj dijelova " + Money(d.computed, rs) + ", razlika " +
           Money(Cents(d.stated - d.computed), rs);
}

std::string FormReport(const OfficialForm& form, const std::vector<ReconciliationLine>& lines,
                       const RegionalSettings& rs) {
    std::string out;
    out += "Obrazac GFI-POD, inačica " + form.versionName + ", poslovna godina " +
           std::to_string(form.businessYear) + ", iznosi u " + (form.kunas ? "kunama" : "eurima") +
           "\n";
    out += "Poduzeće: " + form.company + ", " + form.seat +
           (form.oib.empty() ? "" : ", OIB " + form.oib) + "\n";
    out += "Razdoblje: " + FormatShortDate(form.from, rs.shortDateFormat) + " - " +
           FormatShortDate(form.to, rs.shortDateFormat) + "\n\n";
    if (form.differences.empty()) {
        out +=
            "Provjera zbrojeva obrasca: svi zbrojevi odgovaraju svojim dijelovima i pravilima "
            "obrasca.\n";
    } else {
        out += "Provjera zbrojeva obrasca: " + DifferencesText(form.differences.size()) + "\n";
        for (const FormDifference& d : form.differences) {
            out += "  " + DifferenceText(d, rs) + "\n";
        }
    }
    out += "\nUsklađenje (Movik / obrazac / razlika):\n";
    for (const ReconciliationLine& l : lines) {
        std::string caption = l.caption + " (AOP " + Code3(l.code) + ")";
        out += "  " + caption + ": " + Money(l.movik, rs) + " / " + Money(l.form, rs) + " / " +
               Money(l.difference, rs);
        if (Differs(l)) {
            out += "  RAZLIKA" +
                   (l.explainedBy.empty() ? std::string() : " (objašnjava " + l.explainedBy + ")");
        }
        out += "\n";
    }
    out += "\nNije preneseno:\n";
    for (const FormNotCarriedAmount& n : form.notCarried) {
        out += "  AOP " + Code3(n.code) + " " + n.label + ": prethodna godina " +
               Money(n.previous, rs) + ", tekuća godina " + Money(n.current, rs) + "\n";
    }
    out += "\nNapomene:\n";
    for (const std::string& n : form.notes) {
        out += "  " + n + "\n";
    }
    return out;
}

}  // namespace movik
