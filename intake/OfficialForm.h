#pragma once
// The official annual form (GFI-POD) read into a document: recognising the form and its
// version, checking every row whose label states its formula against its parts, taking the
// amounts through the mapping table, and the reconciliation of Movik's totals with the form's.

#include <array>
#include <string>
#include <vector>

#include "document/Workspace.h"
#include "intake/FormMapping.h"
#include "intake/Workbook.h"
#include "model/Document.h"

namespace movik {

// A row of the form that disagrees with its own formula, in one year.
struct FormDifference {
    std::string sheet;
    int code = 0;
    std::string label;
    bool previousYear = false;
    double stated = 0;    // the row's own amount
    double computed = 0;  // its formula over its parts
    std::string remark;   // when the formula cannot be computed at all ("" otherwise)
    std::string rule;     // the form's cross-rule the row breaks ("" for its own formula)
};

struct FormNotCarriedAmount {
    int code = 0;
    std::string label;
    double previous = 0;
    double current = 0;
    std::string_view note;
    std::array<bool, 7> affects{};
};

struct ReconciliationLine {
    FormTotal total;
    std::string caption;  // with the year ("Ukupna aktiva, prethodna godina")
    int code = 0;         // the form's row
    double movik = 0;
    double form = 0;
    double difference = 0;    // movik - form, rounded to cents
    std::string explainedBy;  // not-carried rows whose amounts it holds ("" for none)
};

struct OfficialForm {
    bool ok = false;
    std::string error;  // why the workbook was refused (Croatian)

    FormVersion version = FormVersion::V4;
    std::string versionName;  // "3" or "4.x/6.x"
    int businessYear = 0;
    bool kunas = false;       // amounts in kunas (business year up to 2022)
    double tolerance = 0.01;  // a kuna for whole-kuna forms, a cent otherwise
    std::string company;
    std::string seat;
    std::string oib;
    double from = 0;  // day numbers
    double to = 0;
    bool periodFromYear = false;  // the period cells were unreadable

    TDokument document;  // the input amounts, general data, and the totals computed from them
    std::vector<FormDifference> differences;
    std::vector<FormNotCarriedAmount> notCarried;
    std::vector<std::string> notes;
    // The form's own totals by FormTotal: previous and current year.
    std::array<std::array<double, 2>, 7> totals{};
};

// The sheets the form is read from.
const std::vector<std::string>& FormSheets();

// Recognises and reads the form in book; ok false with the reason when it is not the form.
OfficialForm ReadOfficialForm(const WorkbookData& book, int currentYear);

// Reads the workbook at path and the form in it.
OfficialForm ReadOfficialFormFile(const std::string& path, int currentYear);

// The form's document put into the workspace as a new, unsaved, changed document.
void ApplyOfficialForm(const OfficialForm& form, Workspace& ws);

// Movik's totals of doc (after its refresh cycle) against the form's.
std::vector<ReconciliationLine> Reconcile(const OfficialForm& form, const TDokument& doc);

// True when a reconciliation line shows a difference (of a cent or more).
bool Differs(const ReconciliationLine& line);

// The report the command line prints and the window shows as text: the form, the check of its
// own sums, the reconciliation, what was not carried and the notes.
std::string FormReport(const OfficialForm& form, const std::vector<ReconciliationLine>& lines,
                       const RegionalSettings& rs);

// One line for a difference of the form with itself.
std::string DifferenceText(const FormDifference& d, const RegionalSettings& rs);

// How many differences the form has with itself, in words: "1 razlika", "3 razlike", "5 razlika".
std::string DifferencesText(std::size_t count);

}  // namespace movik
