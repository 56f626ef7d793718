// "Dokument -> Uvoz službenog obrasca (GFI-POD)…": the form read and checked, a question when it
// disagrees with itself, the result a new unsaved document, and the reconciliation shown.

#include <QApplication>
#include <QCursor>
#include <QFile>

#include "intake/OfficialForm.h"
#include "model/NumberFormat.h"
#include "regional/Regional.h"
#include "ui/FormImportDialog.h"
#include "ui/MainWindow.h"

namespace movik {

namespace {

FormImportView ViewOf(const OfficialForm& form, const std::vector<ReconciliationLine>& lines,
                      const RegionalSettings& rs) {
    const auto money = [&](double v) {
        return QString::fromStdString(FormatNumber(v, "#,##0.00", rs));
    };
    const auto code = [](int c) { return QStringLiteral("AOP %1").arg(c, 3, 10, QChar(u'0')); };
    FormImportView view;
    view.heading =
        QStringLiteral("Obrazac GFI-POD, inačica %1, poslovna godina %2, iznosi u %3.\n%4, %5")
            .arg(QString::fromStdString(form.versionName))
            .arg(form.businessYear)
            .arg(form.kunas ? QStringLiteral("kunama") : QStringLiteral("eurima"))
            .arg(QString::fromStdString(form.company), QString::fromStdString(form.seat));
    for (const ReconciliationLine& l : lines) {
        view.lines.push_back({QString::fromStdString(l.caption), code(l.code), money(l.movik),
                              money(l.form), money(l.difference), Differs(l),
                              l.explainedBy.empty() ? QString()
                                                    : QStringLiteral("nije preneseno: ") +
                                                          QString::fromStdString(l.explainedBy)});
    }
    for (const FormDifference& d : form.differences) {
        view.differences << QString::fromStdString(DifferenceText(d, rs));
    }
    for (const FormNotCarriedAmount& n : form.notCarried) {
        view.notCarried << code(n.code) + u' ' + QString::fromStdString(n.label) +
                               QStringLiteral(": prethodna godina ") + money(n.previous) +
                               QStringLiteral(", tekuća godina ") + money(n.current);
    }
    for (const std::string& n : form.notes) {
        view.notes << QString::fromStdString(n);
    }
    return view;
}

}  // namespace

void Dialogs::ShowFormImport(const FormImportView& view) {
    FormImportDialog(view).exec();
}

void QtDialogs::ShowFormImport(const FormImportView& view) {
    FormImportDialog(view, parent_).exec();
}

void TForm1::UvozObrasca1Click() {
    if (!CanDropChanges()) {
        return;
    }
    const auto path = dialogs_->ChooseOpenFile(
        {QStringLiteral("FormOpen"),
         QStringLiteral("Uvoz službenog obrasca (GFI-POD)"),
         {{QStringLiteral("Obrazac GFI-POD (*.xlsx *.xls)"), QStringLiteral("*.xlsx *.xls")},
          {QStringLiteral("Sve datoteke (*)"), QStringLiteral("*")}},
         {},
         {}});
    if (!path) {
        return;
    }
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const OfficialForm form =
        ReadOfficialFormFile(QFile::encodeName(*path).toStdString(), LocalYear());
    QApplication::restoreOverrideCursor();
    if (!form.ok) {
        dialogs_->ShowError(QString::fromStdString(form.error));
        return;
    }
    if (!form.differences.empty()) {
        QStringList shown;
        for (std::size_t i = 0; i < form.differences.size() && i < 8; ++i) {
            shown << QString::fromStdString(DifferenceText(form.differences[i], ws_.settings()));
        }
        if (form.differences.size() > 8) {
            shown << QStringLiteral("… i još %1").arg(form.differences.size() - 8);
        }
        const QString question = QStringLiteral("Obrazac se ne slaže sam sa sobom:\n\n") +
                                 shown.join(QStringLiteral("\n")) +
                                 QStringLiteral(
                                     "\n\nŽelite li ga ipak uvesti? Iznosi se preuzimaju iz redaka "
                                     "obrasca, a zbrojevi se u Moviku računaju iz njih.");
        if (dialogs_->Ask(question) != Answer::Yes) {
            return;
        }
    }
    ApplyOfficialForm(form, ws_);
    ShowNewDocument();
    dialogs_->ShowFormImport(ViewOf(form, Reconcile(form, ws_.document()), ws_.settings()));
}

}  // namespace movik
