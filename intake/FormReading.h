#pragma once
// The steps of reading the official annual form (GFI-POD), shared inside intake/: its positions
// found on the sheets (FormRows.cpp), their amounts with every missing result computed
// (FormAmounts.cpp), and the form's own cross-rules (FormCrossRules.cpp).

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "intake/FormMapping.h"
#include "intake/OfficialForm.h"
#include "intake/Workbook.h"

namespace movik::form {

// Why the workbook is refused (Croatian).
struct Refusal {
    std::string message;
};

inline const char* const kNotTheForm = "Radna knjiga nije obrazac GFI-POD";

// Columns of the form's statement sheets (from 0): label, position code, previous and current
// year.
constexpr int kLabelColumn = 0;
constexpr int kCodeColumn = 6;
constexpr std::array<int, 2> kYearColumns = {8, 9};

// Terms of the formulas stated in the labels: of one label (no row of the form sums more
// positions than a sheet holds) and of the whole form (a real form states a few hundred).
constexpr std::size_t kMaxLabelTerms = 200;
constexpr std::size_t kMaxFormTerms = 3000;

// One position of the form: a row of a statement sheet.
struct FormLine {
    std::string sheet;
    int row = 0;  // from 0
    std::string label;
    // Previous and current year; none where the cell holds no result to read: a formula
    // without its stored result, or an empty cell of an .xls (whose formulas FreeXL does not
    // compute).
    std::array<std::optional<double>, 2> value;
    std::array<bool, 2> formulaCell{};       // the cell is a formula without a result (.xlsx)
    std::array<std::string, 2> cellFormula;  // its formula as the workbook writes it
    std::vector<FormTerm> formula;           // stated in the label; empty for none
    bool positivePart = false;               // "Dobit ..." or "Gubitak ..." of a difference
};

using Lines = std::map<int, FormLine>;

// The positions of sheets Bilanca and RDG in one space of codes, in the sheets' order.
struct FormLines {
    Lines lines;
    std::vector<int> order;
    FormVersion version = FormVersion::V4;
};

// One of the form's own rules: the position `code` equals `terms` (a positive part: only when
// positive), in both years.
struct CrossRule {
    int code = 0;
    std::vector<FormTerm> terms;
    bool positivePart = false;
    std::string text;  // "AOP 065 = 126 (ukupna aktiva jednaka je ukupnoj pasivi)"
};

std::string Trim(std::string s);
std::string Lower(std::string s);
std::string Code3(int code);
std::string CellName(int row, int col);

// FormRows.cpp: finds the positions of both sheets (refusing what is not the form) and tells
// the version; rows that look like positions but break the order are named in notes.
FormLines ReadFormLines(const WorkbookData& book, std::vector<std::string>& notes);

// FormCrossRules.cpp: the form's own cross-rules of a version.
const std::vector<CrossRule>& CrossRules(FormVersion version);

// FormAmounts.cpp: the form's amounts of both years, every missing result computed (from the
// parts the label states, from the cell a plain reference names, or, for an .xls, by the rule
// that defines the position), once, in any order of asking.
class FormAmounts {
  public:
    enum class Source { Cell, Parts, Reference, Rule, None };

    FormAmounts(const FormLines& form, const WorkbookData& book);

    // The amount of code in year (0 previous, 1 current); nullopt when the form has no such
    // row.
    std::optional<double> Of(int code, std::size_t year);
    // How the amount of code in year was found (after Of).
    Source SourceOf(int code, std::size_t year) const;
    // The value of a row's stated formula, and of a rule (a positive part clipped at 0).
    double Value(const std::vector<FormTerm>& terms, bool positivePart, std::size_t year);
    // Formulas without a result that could not be computed (taken as 0), as differences.
    const std::vector<FormDifference>& Uncomputed() const { return uncomputed_; }

  private:
    double Compute(const FormLine& line, int code, std::size_t year, Source& source);
    std::optional<double> Referenced(const std::string& fromSheet, const std::string& formula);
    std::optional<double> CellValue(const std::string& sheet, int row, int col);

    const FormLines& form_;
    const WorkbookData& book_;
    std::map<std::pair<std::string, int>, int> codeAt_;  // (sheet, row) -> code
    std::map<std::pair<int, std::size_t>, std::pair<double, Source>> computed_;
    std::set<std::pair<int, std::size_t>> visiting_;
    std::vector<FormDifference> uncomputed_;
    int referenceDepth_ = 0;  // references being followed now
};

// FormCrossRules.cpp: the differences of every rule not already stated by its position's
// label, year by year.
void CheckCrossRules(const FormLines& form, FormAmounts& amounts, double tolerance,
                     std::vector<FormDifference>& differences);

}  // namespace movik::form
