// "Dokument -> Uvoz službenog obrasca (GFI-POD)…": the form read and checked off the interface's
// thread, a question when it disagrees with itself, the result a new unsaved document, and the
// reconciliation shown.

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <atomic>
#include <new>
#include <thread>

#include "intake/OfficialForm.h"
#include "model/NumberFormat.h"
#include "regional/Regional.h"
#include "ui/FormImportDialog.h"
#include "ui/MainWindow.h"
#include "ui/StatusPanels.h"

namespace movik {

// One form being read on a worker thread; the window takes its form when it is done.
struct FormImportJob {
    std::thread thread;
    std::atomic<bool> done{false};
    OfficialForm form;            // written by the worker before done, read by the window after
    bool changedAtStart = false;  // the document had unsaved changes the user let go
    ~FormImportJob() {
        if (thread.joinable()) {
            thread.join();  // the reading is bounded by the workbook limits
        }
    }
};

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

void TForm1::SetFormReader(FormReader reader) {
    formReader_ = std::move(reader);
}

bool TForm1::FormImportRunning() const {
    return formImport_ != nullptr;
}

void TForm1::UvozObrasca1Click() {
    if (formImport_ != nullptr || !CanDropChanges()) {
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
    if (QAction* action = findChild<QAction*>(QStringLiteral("UvozObrasca1"))) {
        action->setEnabled(false);
    }
    panels_->ShowNote(QStringLiteral("Čitanje obrasca %1…").arg(QFileInfo(*path).fileName()));
    QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));  // working, and still usable
    auto job = std::make_shared<FormImportJob>();
    job->changedAtStart = ws_.IsChanged();
    formImport_ = job;
    FormReader read = formReader_;
    if (!read) {
        read = [year = LocalYear()](const std::string& p) { return ReadOfficialFormFile(p, year); };
    }
    FormImportJob* j = job.get();
    j->thread = std::thread(
        [this, j, read = std::move(read), file = QFile::encodeName(*path).toStdString()] {
            try {
                j->form = read(file);
            } catch (const std::bad_alloc&) {
                j->form = OfficialForm();
                j->form.error = "Nedovoljno memorije za čitanje obrasca";
            } catch (const std::exception& e) {
                j->form = OfficialForm();
                j->form.error = std::string("Obrazac nije pročitan: ") + e.what();
            }
            j->done = true;
            // The window lives until this worker is joined, so it can take the call.
            QMetaObject::invokeMethod(
                this, [this] { FinishFormImport(); }, Qt::QueuedConnection);
        });
}

bool TForm1::AcceptDifferences(const OfficialForm& form) {
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
    return dialogs_->Ask(question) == Answer::Yes;
}

void TForm1::FinishFormImport() {
    const std::shared_ptr<FormImportJob> job = std::move(formImport_);
    if (job == nullptr || !job->done) {
        return;
    }
    job->thread.join();
    QApplication::restoreOverrideCursor();
    panels_->HideNote();
    if (QAction* action = findChild<QAction*>(QStringLiteral("UvozObrasca1"))) {
        action->setEnabled(true);
    }
    const OfficialForm& form = job->form;
    if (!form.ok) {
        dialogs_->ShowError(QString::fromStdString(form.error));
        emit formImportFinished();
        return;
    }
    // Changes made while the form was read are not dropped without the question.
    if (!job->changedAtStart && ws_.IsChanged() && !CanDropChanges()) {
        emit formImportFinished();
        return;
    }
    if (!form.differences.empty() && !AcceptDifferences(form)) {
        emit formImportFinished();
        return;
    }
    ApplyOfficialForm(form, ws_);
    ShowNewDocument();
    dialogs_->ShowFormImport(ViewOf(form, Reconcile(form, ws_.document()), ws_.settings()));
    emit formImportFinished();
}

}  // namespace movik
