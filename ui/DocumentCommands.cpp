// The document commands of the main window: each shows its question or dialog first, then runs
// the workspace operation and shows the result.

#include <QCloseEvent>
#include <QFile>
#include <cstdlib>
#include <string_view>

#include "document/Csv.h"
#include "model/StatementFacts.h"
#include "ui/DateField.h"
#include "ui/GeneralDataPage.h"
#include "ui/MainWindow.h"
#include "ui/StatementPages.h"
#include "ui/StatusPanels.h"

namespace movik {

namespace {

const QString kSaveQuestion = QStringLiteral("Želite li snimiti izmjene?");

QString FromPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}
std::string ToPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

FileDialogSetup DocumentDialog(const QString& id, const QString& title, const QString& proposed) {
    return {id,
            title,
            {{QStringLiteral("Movik baza (*.mvk)"), QStringLiteral("*.mvk")},
             {QStringLiteral("Sve datoteke (*.*)"), QStringLiteral("*")}},
            proposed,
            QStringLiteral("mvk")};
}

// A dialog of the semicolon-separated files, proposing the statement's default name.
FileDialogSetup CsvDialog(const QString& id, const QString& title, const QString& csvLabel,
                          Statement s) {
    return {id,
            title,
            {{csvLabel, QStringLiteral("*.csv")},
             {QStringLiteral("Sve datoteke (*.*)"), QStringLiteral("*")}},
            QString::fromStdString(DefaultCsvName(s)),
            QStringLiteral("csv")};
}

// MOVIK_DOCUMENT_LOCKS=0 turns the window's document locks off, for file systems where lock
// files are unwelcome and for test suites that open one document in many windows at once.
bool LocksWanted() {
    const char* setting = std::getenv("MOVIK_DOCUMENT_LOCKS");
    return setting == nullptr || std::string_view(setting) != "0";
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Document commands

bool TForm1::SettleCellEdit() {
    return pages_->CommitEdits();
}

bool TForm1::SettleEdits() {
    if (!SettleCellEdit()) {
        return false;
    }
    // A typed period is settled as leaving its field would: a refused date stops the command,
    // an accepted one is confirmed (and recalculated) before the document is read.
    for (DateField* field : {opce_->dOd, opce_->dDo}) {
        if (!field->Settle()) {
            return false;
        }
    }
    ws_.ConfirmCompanyAndSeat();
    return true;
}

bool TForm1::CanDropChanges() {
    // A typed period counts as a change only once confirmed, so the fields settle first.
    if (!SettleEdits()) {
        return false;
    }
    if (!ws_.IsChanged()) {
        return true;
    }
    switch (dialogs_->Ask(kSaveQuestion)) {
        case Answer::Yes: {
            // Go on only when the changes are really in a file.
            if (ws_.document().ImeDatoteke.empty()) {
                return SaveAs();
            }
            return SaveDocument();
        }
        case Answer::No:
            return true;
        case Answer::Cancel:
            break;
    }
    return false;
}

void TForm1::Nova1Click() {
    if (!CanDropChanges()) {
        return;
    }
    ws_.NewDocument();
    ShowNewDocument();
}

void TForm1::Otvori1Click() {
    if (!CanDropChanges()) {
        return;
    }
    const auto path = dialogs_->ChooseOpenFile(
        DocumentDialog(QStringLiteral("OpenDialog1"), QStringLiteral("Otvori"), {}));
    if (!path) {
        return;
    }
    OpenDocument(*path);
}

void TForm1::SnimiClick() {
    if (!SettleEdits()) {
        return;
    }
    if (ws_.document().ImeDatoteke.empty()) {
        SaveAs();
    } else {
        SaveDocument();
    }
}

void TForm1::SnimiKaoClick() {
    SaveAs();
}

bool TForm1::SaveAs() {
    if (!SettleEdits()) {
        return false;
    }
    const std::string previous = ws_.document().ImeDatoteke;
    const auto path = dialogs_->ChooseSaveFile(DocumentDialog(
        QStringLiteral("SaveDialog1"), QStringLiteral("Snimi kao"), FromPath(previous)));
    if (!path) {
        return false;
    }
    return SaveDocumentTo(ToPath(AddDefaultExtension(*path, QStringLiteral("mvk"))));
}

bool TForm1::SaveDocument() {
    if (readOnly_) {
        panels_->ShowNote(QString::fromStdString("Dokument je otvoren samo za čitanje jer ga ima " +
                                                 HolderText(holder_) +
                                                 ": snimite ga pod drugim imenom."));
        return SaveAs();
    }
    return SaveDocumentTo(std::nullopt);
}

bool TForm1::SaveDocumentTo(const std::optional<std::string>& newPath) {
    if (!SettleEdits()) {
        return false;
    }
    // Another name is locked before it is written, and is not written over when another
    // window or program has that file open.
    const bool otherFile = newPath && !lock_.Locks(*newPath);
    DocumentLock lock;
    if (otherFile && LocksWanted() && lock.Take(*newPath) == DocumentLock::Outcome::HeldByOther) {
        dialogs_->ShowError(QString::fromStdString(HeldDocumentMessage(*newPath, lock.holder()) +
                                                   ". Snimite ga pod drugim imenom."));
        return false;
    }
    // A new name stays only when the document was written to it.
    const Result saved =
        newPath ? ws_.SaveDocumentAs(*newPath, *writer_) : ws_.SaveDocument(*writer_);
    if (!saved) {
        dialogs_->ShowError(QString::fromStdString(saved.message()));
        return false;
    }
    if (otherFile) {
        lock_ = std::move(lock);
        readOnly_ = false;
    }
    SetFilePanel(FromPath(ws_.document().ImeDatoteke));
    if (!ws_.warning().empty()) {
        dialogs_->Inform(QString::fromStdString(ws_.warning()), kWarningsHelpContext);
    }
    return true;
}

void TForm1::OpenDocument(const QString& path) {
    // Opening again the document this window has keeps its lock.
    const bool ours = lock_.Locks(ToPath(path));
    DocumentLock lock;
    const bool held =
        !ours && LocksWanted() && lock.Take(ToPath(path)) == DocumentLock::Outcome::HeldByOther;
    if (held && dialogs_->Ask(QStringLiteral("Dokument %1 već je otvoren u drugom prozoru Movika: "
                                             "ima ga %2.\nŽelite li ga otvoriti samo za čitanje?")
                                  .arg(path, QString::fromStdString(HolderText(lock.holder())))) !=
                    Answer::Yes) {
        return;
    }
    const OpenOutcome opened = ws_.OpenDocument(ToPath(path));
    if (opened.missing()) {
        return;
    }
    if (!opened) {
        dialogs_->ShowError(QString::fromStdString(opened.message()));
        return;
    }
    if (!ours) {
        holder_ = lock.holder();
        lock_ = std::move(lock);
        readOnly_ = held;
    }
    SetFilePanel(path);
    pages_->ResetColumnWidths();
    pages_->Refresh();
    ShowGeneralData();
    UpdateUndoActions();
    // The workspace has checked the document as read.
    ShowWarning();
    if (!ws_.warning().empty()) {
        dialogs_->Inform(QString::fromStdString(ws_.warning()), kWarningsHelpContext);
    }
}

void TForm1::SetFilePanel(const QString& path) {
    panels_->ShowFile(readOnly_ && !path.isEmpty() ? path + QStringLiteral(" (samo za čitanje)")
                                                   : path);
}

void TForm1::Izlaz1Click() {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (CanDropChanges()) {
        lock_.Release();
        event->accept();
    } else {
        event->ignore();
    }
}

// ---------------------------------------------------------------------------------------------
// Export and import

void TForm1::Export1Click() {
    ExportCsv();
}
void TForm1::Import1Click() {
    ImportCsv();
}

void TForm1::ExportCsv() {
    if (!SettleEdits()) {
        return;
    }
    const auto s = ShowingStatement();
    if (!s) {
        return;
    }
    const auto path =
        dialogs_->ChooseSaveFile(CsvDialog(QStringLiteral("CSVSave"), QStringLiteral("Snimi kao"),
                                           QStringLiteral("Comma separated values (*.csv)"), *s));
    if (!path) {
        return;
    }
    const Result written =
        ws_.ExportCsvFile(*s, ToPath(AddDefaultExtension(*path, QStringLiteral("csv"))), *writer_);
    if (!written) {
        dialogs_->ShowError(QString::fromStdString(written.message()));
    }
}

void TForm1::ImportCsv() {
    if (!SettleEdits()) {
        return;
    }
    const auto s = ShowingStatement();
    if (!s || !FactsOf(*s).imports) {
        return;
    }
    const auto path =
        dialogs_->ChooseOpenFile(CsvDialog(QStringLiteral("CSVOpen"), QStringLiteral("Otvori"),
                                           QStringLiteral("Comma delimited (*.csv)"), *s));
    if (!path) {
        return;
    }
    std::string note;
    const Result imported = ws_.ImportCsvFile(*s, ToPath(*path), &note);
    ShowRecalculated();
    if (!imported) {
        dialogs_->ShowError(QString::fromStdString(imported.message()));
    } else if (!note.empty()) {
        panels_->ShowNote(QString::fromStdString(note));
    }
}

}  // namespace movik
