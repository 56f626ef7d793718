#pragma once
// The outcome of importing an official annual form, as the window shows it after the import:
// the reconciliation of totals (differences in red, with the form rows not carried that explain
// them), the form's own differences, what was not carried and the notes.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <vector>

namespace movik {

// Help context of the official form's import (its menu item).
inline constexpr int kFormImportHelpContext = 14;

struct FormImportView {
    struct Line {
        QString caption;
        QString code;  // "AOP 065"
        QString movik;
        QString form;
        QString difference;
        bool differs = false;
        QString explainedBy;
    };
    QString heading;  // form, version, year, company
    std::vector<Line> lines;
    QStringList differences;  // the form against its own formulas
    QStringList notCarried;
    QStringList notes;
};

class FormImportDialog : public QDialog {
  public:
    explicit FormImportDialog(const FormImportView& view, QWidget* parent = nullptr);
};

}  // namespace movik
