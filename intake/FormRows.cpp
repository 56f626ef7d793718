// The official form's positions on its sheets Bilanca and RDG. A row is a position when its
// label (column A) is a text with letters and column G holds a position code that continues the
// sheet's ascending order; everything else a printed form carries — its headings, the row of
// column numbers under them (1, 2, 3, 4, 5, so G holds 2), page numbers, notes, the headings
// repeated where a page breaks — is passed over, wherever it stands.

#include <algorithm>
#include <charconv>
#include <cmath>

#include "intake/FormReading.h"

namespace movik::form {

std::string Trim(std::string s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.back())) {
        s.pop_back();
    }
    std::size_t i = 0;
    while (i < s.size() && blank(s[i])) {
        ++i;
    }
    return s.substr(i);
}

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return s;
}

std::string Code3(int code) {
    std::string s = std::to_string(code);
    return std::string(s.size() < 3 ? 3 - s.size() : 0, '0') + s;
}

std::string CellName(int row, int col) {
    return ColumnName(col) + std::to_string(row + 1);
}

namespace {

// The position code of column G: a whole number from 1 to 999, written as a number or a text.
std::optional<int> CodeOf(const SheetCell& cell) {
    if (cell.kind == SheetCell::Kind::Number) {
        if (cell.number >= 1 && cell.number <= 999 && cell.number == std::floor(cell.number)) {
            return static_cast<int>(cell.number);
        }
        return std::nullopt;
    }
    if (cell.kind == SheetCell::Kind::Text) {
        const std::string t = Trim(cell.text);
        int code = 0;
        const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), code);
        if (!t.empty() && t.size() <= 3 && ec == std::errc() && end == t.data() + t.size() &&
            code >= 1) {
            return code;
        }
    }
    return std::nullopt;
}

// A position's label: a text with at least one letter (a column number "1" written as a text
// is none). Bytes beyond ASCII are letters of the Croatian alphabet here.
std::optional<std::string> LabelOf(const SheetCell& cell) {
    if (cell.kind != SheetCell::Kind::Text) {
        return std::nullopt;
    }
    const bool letters = std::any_of(cell.text.begin(), cell.text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x80 || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
    });
    if (!letters) {
        return std::nullopt;
    }
    return Trim(cell.text);
}

// The formula a label states in its last parenthesis that holds one; a formula of more terms
// than any row of the form sums is refused before it grows further.
std::vector<FormTerm> FormulaOf(const std::string& label, const std::string& where) {
    std::size_t close = label.rfind(')');
    while (close != std::string::npos) {
        const std::size_t open = label.rfind('(', close);
        if (open == std::string::npos) {
            break;
        }
        bool tooLong = false;
        std::vector<FormTerm> terms = ParseFormFormula(
            std::string_view(label).substr(open + 1, close - open - 1), kMaxLabelTerms, &tooLong);
        if (tooLong) {
            throw Refusal{std::string(kNotTheForm) + ": formula u opisu retka (" + where +
                          ") ima više od " + std::to_string(kMaxLabelTerms) + " pribrojnika"};
        }
        if (!terms.empty()) {
            return terms;
        }
        close = open == 0 ? std::string::npos : label.rfind(')', open - 1);
    }
    return {};
}

// "1. Dobit prije oporezivanja (AOP 180-181)" holds the difference only when it is positive,
// and its twin "Gubitak ..." the opposite one; "DOBIT ILI GUBITAK ..." holds it with its sign.
bool IsPositivePart(const std::string& label, const std::vector<FormTerm>& formula) {
    if (formula.size() != 2 || formula[0].sign == formula[1].sign) {
        return false;
    }
    const std::string l = Lower(label);
    const bool profit = l.find("dobit") != std::string::npos;
    const bool loss = l.find("gubit") != std::string::npos;
    return profit != loss;
}

// An amount written as a text: taken only as a plain number, digits with an optional minus
// ahead and an optional decimal comma or point with one or two decimals ("1234,56",
// "1234.56"). "1.234" could be a thousand or one and a quarter, so it is refused with every
// other text.
std::optional<double> PlainAmount(const std::string& t) {
    std::size_t i = t.size() > 0 && t[0] == '-' ? 1 : 0;
    const std::size_t digits = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        ++i;
    }
    if (i == digits || i - digits > 15) {
        return std::nullopt;
    }
    std::string number = t.substr(0, i);
    if (i < t.size() && (t[i] == ',' || t[i] == '.')) {
        const std::size_t decimals = t.size() - i - 1;
        if (decimals < 1 || decimals > 2 ||
            !std::all_of(t.begin() + static_cast<long>(i) + 1, t.end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
            return std::nullopt;
        }
        number += "." + t.substr(i + 1);
    } else if (i != t.size()) {
        return std::nullopt;
    }
    double v = 0;
    std::from_chars(number.data(), number.data() + number.size(), v);
    return v;
}

// One year's amount of a position; none where the cell holds no result to read.
std::optional<double> AmountOf(const SheetData& sheet, int row, int col, int code) {
    const SheetCell& cell = sheet.At(row, col);
    const std::string where =
        "list " + sheet.name + ", ćelija " + CellName(row, col) + " (AOP " + Code3(code) + ")";
    switch (cell.kind) {
        case SheetCell::Kind::Empty:
            if (!sheet.formulaResultsKnown) {
                return std::nullopt;  // perhaps a formula whose result the reader cannot see
            }
            return 0.0;
        case SheetCell::Kind::Number:
            return cell.number;
        case SheetCell::Kind::FormulaNoValue:
            return std::nullopt;
        case SheetCell::Kind::Error:
            throw Refusal{"Obrazac ima pogrešku u ćeliji: " + where + " sadrži " + cell.text};
        case SheetCell::Kind::Text: {
            const std::string t = Trim(cell.text);
            if (t.empty() || t == "-") {
                return 0.0;
            }
            if (const std::optional<double> v = PlainAmount(t)) {
                return v;
            }
            throw Refusal{"Obrazac ima tekst umjesto iznosa: " + where + " sadrži \"" +
                          t.substr(0, 40) +
                          "\" (tekst se prima samo kao broj bez točaka i razmaka među "
                          "tisućicama, npr. 1234,56 ili 1234.56)"};
        }
    }
    return 0.0;
}

FormLine LineOf(const SheetData& sheet, int row, int code, std::string label) {
    FormLine line;
    line.sheet = sheet.name;
    line.row = row;
    line.label = std::move(label);
    line.formula = FormulaOf(line.label, "list " + sheet.name + ", redak " +
                                             std::to_string(row + 1) + ", AOP " + Code3(code));
    line.positivePart = IsPositivePart(line.label, line.formula);
    for (std::size_t y = 0; y < 2; ++y) {
        const SheetCell& cell = sheet.At(row, kYearColumns[y]);
        line.value[y] = AmountOf(sheet, row, kYearColumns[y], code);
        line.formulaCell[y] = cell.kind == SheetCell::Kind::FormulaNoValue;
        if (line.formulaCell[y]) {
            line.cellFormula[y] = cell.text;
        }
    }
    return line;
}

// The positions of one sheet in its order; a labelled row whose code does not continue the
// order is no position of the form and is named in a note.
void ReadLines(const SheetData& sheet, Lines& lines, std::vector<int>& order,
               std::vector<std::string>& notes, std::size_t& terms) {
    std::vector<std::string> passed;
    for (int row = 0; row < sheet.rows; ++row) {
        const std::optional<int> code = CodeOf(sheet.At(row, kCodeColumn));
        if (!code) {
            continue;
        }
        std::optional<std::string> label = LabelOf(sheet.At(row, kLabelColumn));
        if (!label) {
            continue;  // column numbers, a page number
        }
        if (!order.empty() && *code <= order.back()) {
            passed.push_back(std::to_string(row + 1) + " (" + Code3(*code) + ")");
            continue;
        }
        FormLine line = LineOf(sheet, row, *code, std::move(*label));
        terms += line.formula.size();
        if (terms > kMaxFormTerms) {
            throw Refusal{std::string(kNotTheForm) +
                          ": formule u opisima redaka imaju zajedno više od " +
                          std::to_string(kMaxFormTerms) + " pribrojnika"};
        }
        lines.emplace(*code, std::move(line));
        order.push_back(*code);
    }
    if (!passed.empty()) {
        std::string list;
        for (std::size_t i = 0; i < passed.size() && i < 8; ++i) {
            list += (i == 0 ? "" : ", ") + passed[i];
        }
        notes.push_back("Na listu " + sheet.name +
                        " preskočeni su retci čija oznaka u stupcu G ne slijedi redoslijed AOP "
                        "oznaka (redak i oznaka): " +
                        list + (passed.size() > 8 ? ", …" : "") + ".");
    }
}

std::string SheetList(const WorkbookData& book) {
    std::string list;
    for (std::size_t i = 0; i < book.sheetNames.size() && i < 8; ++i) {
        list += (i == 0 ? "" : ", ") + book.sheetNames[i];
    }
    if (book.sheetNames.size() > 8) {
        list += ", …";
    }
    return list.empty() ? "nijedan" : list;
}

// The version told by the first code of RDG and the code of "UKUPNO - PASIVA".
FormVersion VersionOf(const Lines& lines, int firstRdgCode) {
    int pasiva = 0;
    for (const auto& [code, line] : lines) {
        const std::string l = Lower(line.label);
        if (line.sheet == "Bilanca" && l.find("ukupno") != std::string::npos &&
            l.find("pasiva") != std::string::npos) {
            pasiva = code;
        }
    }
    if (firstRdgCode == 1) {
        throw Refusal{std::string(kNotTheForm) +
                      ": list RDG počinje s AOP 001, to je tromjesečni obrazac uvrštenih društava "
                      "(TFI-POD), ne godišnji"};
    }
    if (firstRdgCode == 125 && pasiva == 123) {
        return FormVersion::V3;
    }
    if (firstRdgCode == 128 && pasiva == 126) {
        return FormVersion::V4;
    }
    throw Refusal{"Nepoznata inačica obrasca GFI-POD: list RDG počinje s AOP " +
                  Code3(firstRdgCode) + ", a \"UKUPNO - PASIVA\" je " +
                  (pasiva == 0 ? std::string("bez AOP oznake") : "AOP " + Code3(pasiva)) +
                  " (poznate su inačice s RDG od AOP 125 i pasivom AOP 123 te od AOP 128 i "
                  "pasivom AOP 126)"};
}

}  // namespace

FormLines ReadFormLines(const WorkbookData& book, std::vector<std::string>& notes) {
    for (const std::string& name : FormSheets()) {
        if (book.Find(name) == nullptr) {
            throw Refusal{std::string(kNotTheForm) + ": nema lista " + name +
                          " (listovi u knjizi: " + SheetList(book) + ")"};
        }
    }
    FormLines form;
    Lines rdgLines;
    std::vector<int> rdgOrder;
    std::size_t terms = 0;  // of the labels' formulas, bounded as they are read
    ReadLines(*book.Find("Bilanca"), form.lines, form.order, notes, terms);
    ReadLines(*book.Find("RDG"), rdgLines, rdgOrder, notes, terms);
    if (form.order.empty() || rdgOrder.empty()) {
        throw Refusal{std::string(kNotTheForm) + ": u stupcu G lista " +
                      (form.order.empty() ? "Bilanca" : "RDG") + " nema AOP oznaka"};
    }
    form.version = VersionOf(form.lines, rdgOrder.front());
    // The two sheets continue one numbering, so their codes are one space.
    for (auto& [code, line] : rdgLines) {
        if (form.lines.count(code) != 0) {
            throw Refusal{std::string(kNotTheForm) + ": AOP " + Code3(code) +
                          " je i na listu Bilanca i na listu RDG"};
        }
        form.lines.emplace(code, std::move(line));
    }
    form.order.insert(form.order.end(), rdgOrder.begin(), rdgOrder.end());
    return form;
}

}  // namespace movik::form
