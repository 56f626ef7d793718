// The form's amounts with every missing result computed. A cell without a result (a formula
// whose result the workbook does not hold, or an empty .xls cell, as FreeXL computes no
// formulas) takes, in this order: the sum of the parts its label states; the cell a plain
// reference names ("=J68", "=RDG!J68", "='RDG'!$J$68"), on any sheet read; for an .xls, the
// form's rule that defines the position (the balance sheet's profit of the year is the income
// statement's of the period). A formula none of these computes is a named difference, 0.

#include <charconv>

#include "intake/FormReading.h"

namespace movik::form {

namespace {

// References followed at once (through positions or other cells): a chain longer than any
// form's ends here, before it could exhaust the stack.
constexpr int kMaxReferenceDepth = 16;

struct CellReference {
    std::string sheet;  // "" for the formula's own sheet
    int row = 0;
    int col = 0;
};

// "A1", "$J$68": row and column from 0.
bool ParseCell(std::string_view s, int& row, int& col) {
    std::size_t i = s.size() > 0 && s[0] == '$' ? 1 : 0;
    int c = 0;
    const std::size_t letters = i;
    while (i < s.size() && s[i] >= 'A' && s[i] <= 'Z' && i - letters < 3) {
        c = c * 26 + (s[i] - 'A' + 1);
        ++i;
    }
    if (i == letters) {
        return false;
    }
    if (i < s.size() && s[i] == '$') {
        ++i;
    }
    int r = 0;
    const auto [end, ec] = std::from_chars(s.data() + i, s.data() + s.size(), r);
    if (ec != std::errc() || end != s.data() + s.size() || r < 1 || r > (1 << 20) ||
        i == s.size()) {
        return false;
    }
    row = r - 1;
    col = c - 1;
    return true;
}

// A formula that is only a reference to one cell, perhaps on another sheet.
std::optional<CellReference> PlainReference(std::string f) {
    f = Trim(f);
    while (!f.empty() && (f[0] == '=' || f[0] == '+')) {
        f = Trim(f.substr(1));
    }
    CellReference ref;
    const std::size_t bang = f.rfind('!');
    if (bang != std::string::npos) {
        std::string sheet = f.substr(0, bang);
        if (sheet.size() >= 2 && sheet.front() == '\'' && sheet.back() == '\'') {
            sheet = sheet.substr(1, sheet.size() - 2);
            for (std::size_t q = sheet.find("''"); q != std::string::npos;
                 q = sheet.find("''", q + 1)) {
                sheet.erase(q, 1);
            }
        }
        if (sheet.empty()) {
            return std::nullopt;
        }
        ref.sheet = std::move(sheet);
        f = f.substr(bang + 1);
    }
    if (!ParseCell(f, ref.row, ref.col)) {
        return std::nullopt;
    }
    return ref;
}

// The rule that defines code, when one does (the balance sheet's profit and loss of the year).
const CrossRule* DefiningRule(FormVersion version, int code) {
    for (const CrossRule& rule : CrossRules(version)) {
        if (rule.code == code) {
            return &rule;
        }
    }
    return nullptr;
}

}  // namespace

FormAmounts::FormAmounts(const FormLines& form, const WorkbookData& book)
    : form_(form), book_(book) {
    for (const auto& [code, line] : form.lines) {
        codeAt_[{line.sheet, line.row}] = code;
    }
}

std::optional<double> FormAmounts::Of(int code, std::size_t year) {
    const auto line = form_.lines.find(code);
    if (line == form_.lines.end()) {
        return std::nullopt;
    }
    if (line->second.value[year]) {
        return *line->second.value[year];
    }
    const auto key = std::make_pair(code, year);
    if (const auto known = computed_.find(key); known != computed_.end()) {
        return known->second.first;
    }
    if (!visiting_.insert(key).second) {
        throw Refusal{"Formule obrasca upućuju jedna na drugu u krug (AOP " + Code3(code) + ")"};
    }
    Source source = Source::None;
    const double v = Compute(line->second, code, year, source);
    visiting_.erase(key);
    computed_[key] = {v, source};
    return v;
}

FormAmounts::Source FormAmounts::SourceOf(int code, std::size_t year) const {
    const auto known = computed_.find({code, year});
    return known == computed_.end() ? Source::Cell : known->second.second;
}

double FormAmounts::Value(const std::vector<FormTerm>& terms, bool positivePart, std::size_t year) {
    double sum = 0;
    for (const FormTerm& t : terms) {
        sum += t.sign * Of(t.code, year).value_or(0.0);
    }
    return positivePart ? std::max(sum, 0.0) : sum;
}

double FormAmounts::Compute(const FormLine& line, int code, std::size_t year, Source& source) {
    if (!line.formula.empty()) {
        source = Source::Parts;
        return Value(line.formula, line.positivePart, year);
    }
    if (line.formulaCell[year]) {
        if (const std::optional<double> v = Referenced(line.sheet, line.cellFormula[year])) {
            source = Source::Reference;
            return *v;
        }
        FormDifference d;
        d.sheet = line.sheet;
        d.code = code;
        d.label = line.label;
        d.previousYear = year == 0;
        const std::string formula = Trim(line.cellFormula[year]).substr(0, 60);
        d.remark = std::string(year == 0 ? "prethodna" : "tekuća") + " godina: ćelija " +
                   CellName(line.row, kYearColumns[year]) + " ima formulu" +
                   (formula.empty() ? std::string() : " =" + formula) +
                   " bez spremljenog rezultata koju Movik ne računa, a opis retka ne navodi "
                   "njezine dijelove: iznos je uzet kao 0 (otvorite obrazac u Excelu ili "
                   "LibreOfficeu, spremite ga pa ga uvezite ponovno)";
        uncomputed_.push_back(std::move(d));
        return 0;
    }
    // An empty .xls cell: a formula's result where a rule of the form defines the position,
    // an empty cell otherwise.
    if (const CrossRule* rule = DefiningRule(form_.version, code)) {
        source = Source::Rule;
        return Value(rule->terms, rule->positivePart, year);
    }
    source = Source::Cell;
    return 0;
}

std::optional<double> FormAmounts::Referenced(const std::string& fromSheet,
                                              const std::string& formula) {
    const std::optional<CellReference> ref = PlainReference(formula);
    if (!ref || referenceDepth_ >= kMaxReferenceDepth) {
        return std::nullopt;
    }
    ++referenceDepth_;
    const std::optional<double> v =
        CellValue(ref->sheet.empty() ? fromSheet : ref->sheet, ref->row, ref->col);
    --referenceDepth_;
    return v;
}

// A referenced cell's value: a position's amount through the form's own reading, any other
// cell as the workbook holds it (an empty one is 0, as in the spreadsheet).
std::optional<double> FormAmounts::CellValue(const std::string& sheet, int row, int col) {
    const auto position = codeAt_.find({sheet, row});
    if (position != codeAt_.end()) {
        for (std::size_t y = 0; y < 2; ++y) {
            if (col == kYearColumns[y]) {
                return Of(position->second, y);
            }
        }
    }
    const SheetData* data = book_.Find(sheet);
    if (data == nullptr) {
        return std::nullopt;  // a sheet the form's reading does not hold
    }
    const SheetCell& cell = data->At(row, col);
    switch (cell.kind) {
        case SheetCell::Kind::Empty:
            return 0.0;
        case SheetCell::Kind::Number:
            return cell.number;
        case SheetCell::Kind::FormulaNoValue:
            return Referenced(sheet, cell.text);
        default:
            return std::nullopt;
    }
}

}  // namespace movik::form
