#include "ui/Dialogs.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QStandardPaths>
#include <algorithm>

#include "ui/PrintPreview.h"

namespace movik {

namespace {

// The dialogs are children of the main window; one opened from another window (the comparison,
// the charts) gives the keyboard back to that window, not to the main window, when it closes.
class FocusReturn {
  public:
    FocusReturn() : window_(QApplication::activeWindow()), focus_(QApplication::focusWidget()) {}
    ~FocusReturn() {
        if (window_.isNull() || !window_->isVisible()) {
            return;
        }
        window_->raise();
        window_->activateWindow();
        if (!focus_.isNull() && focus_->window() == window_) {
            focus_->setFocus(Qt::OtherFocusReason);
        }
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

  private:
    QPointer<QWidget> window_;
    QPointer<QWidget> focus_;
};

// Runs a file dialog. The name's completion list may still be open after it (Enter accepted the
// dialog as the list showed): left open it would take the next keys from the window below.
int ExecFileDialog(QFileDialog* dialog) {
    const int result = dialog->exec();
    for (QCompleter* completer : dialog->findChildren<QCompleter*>()) {
        completer->popup()->hide();
    }
    return result;
}

}  // namespace

QString FirstDialogFolder() {
    // Not the working directory: started from a desktop menu that is "/".
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) {
        return documents;
    }
    return QDir::homePath();
}

QString AddDefaultExtension(const QString& path, const QString& extension) {
    if (path.isEmpty() || extension.isEmpty()) {
        return path;
    }
    if (QFileInfo(path).fileName().contains(u'.')) {
        return path;
    }
    return path + u'.' + extension;
}

void Dialogs::ShowPrintPreview(const QString& title, const std::vector<PrintJob>& jobs,
                               const PreviewPrint& print) {
    PrintPreviewWindow(title, jobs, print).exec();
}

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent) {}

void QtDialogs::ShowPrintPreview(const QString& title, const std::vector<PrintJob>& jobs,
                                 const PreviewPrint& print) {
    const FocusReturn back;
    PrintPreviewWindow(title, jobs, print, parent_).exec();
}

QtDialogs::~QtDialogs() {
    // The dialogs are children of parent_ when it exists; delete only the orphans.
    for (auto& [id, dialog] : fileDialogs_) {
        if (dialog->parent() == nullptr) {
            delete dialog;
        }
    }
}

Answer QtDialogs::Ask(const QString& question) {
    const FocusReturn back;
    const auto button = QMessageBox::question(
        Owner(), QStringLiteral("Potvrda"), question,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (button == QMessageBox::Yes) {
        return Answer::Yes;
    }
    if (button == QMessageBox::No) {
        return Answer::No;
    }
    return Answer::Cancel;
}

void QtDialogs::Inform(const QString& text, int helpContext) {
    const FocusReturn back;
    const auto button =
        QMessageBox::information(Owner(), QStringLiteral("Informacija"), text,
                                 QMessageBox::Ok | QMessageBox::Help, QMessageBox::Ok);
    if (button == QMessageBox::Help && helpRequested) {
        helpRequested(helpContext);
    }
}

void QtDialogs::ShowError(const QString& text) {
    const FocusReturn back;
    QMessageBox::critical(Owner(), QStringLiteral("Greška"), text);
}

QWidget* QtDialogs::Owner() const {
    // Over the window the user works in (the comparison, the charts, the help), which the box
    // would otherwise send behind the main window.
    QWidget* active = QApplication::activeWindow();
    return active != nullptr ? active : parent_;
}

QFileDialog* QtDialogs::PrepareFileDialog(const FileDialogSetup& setup, bool save) {
    QFileDialog*& dialog = fileDialogs_[setup.id];
    const bool first = dialog == nullptr;
    if (first) {
        dialog = new QFileDialog(parent_);
        dialog->setObjectName(setup.id);
        // Qt's own dialog everywhere, so the filter labels read exactly as given.
        dialog->setOption(QFileDialog::DontUseNativeDialog, true);
        dialog->setOption(QFileDialog::HideNameFilterDetails, true);
        dialog->setOption(QFileDialog::ReadOnly, false);
        dialog->setDirectory(lastFolder_.isEmpty() ? FirstDialogFolder() : lastFolder_);
    }
    dialog->setWindowTitle(setup.title);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(setup.defaultExtension);

    // The label is shown as it stands; the patterns after it are what the dialog filters by.
    QStringList filters;
    for (const FileFilter& f : setup.filters) {
        filters << f.label + QStringLiteral(" (") + f.patterns + u')';
    }
    // Keep the filter chosen last (the dialog reports it by its shown label).
    const QString chosen = dialog->selectedNameFilter();
    dialog->setNameFilters(filters);
    for (qsizetype i = 0; !first && i < filters.size(); ++i) {
        if (chosen == filters[i] || chosen == setup.filters[i].label) {
            dialog->selectNameFilter(filters[i]);
            break;
        }
    }

    if (setup.proposedName.isEmpty()) {
        dialog->selectFile(QString());
    } else {
        const QFileInfo info(setup.proposedName);
        if (info.isAbsolute()) {
            dialog->setDirectory(info.absolutePath());
        }
        dialog->selectFile(info.fileName());
    }
    return dialog;
}

std::optional<QString> QtDialogs::RunFileDialog(QFileDialog* dialog) {
    const FocusReturn back;
    if (ExecFileDialog(dialog) != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog->selectedFiles().constFirst();
}

std::optional<QString> QtDialogs::Remembered(std::optional<QString> path) {
    if (path && !path->isEmpty()) {
        const QFileInfo info(*path);
        lastFolder_ = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    }
    return path;
}

bool QtDialogs::ConfirmCreate(const QString& path) {
    const auto button = QMessageBox::question(
        Owner(), QStringLiteral("Potvrda"),
        QStringLiteral("Datoteka %1 ne postoji.\nŽelite li je stvoriti?").arg(path),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return button == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::ChooseOpenFile(const FileDialogSetup& setup) {
    // The dialog itself accepts only a file that exists.
    return Remembered(RunFileDialog(PrepareFileDialog(setup, false)));
}

std::optional<QString> QtDialogs::ChooseSaveFile(const FileDialogSetup& setup) {
    // The question about a new file is a box too: the keyboard goes back after the last one.
    const FocusReturn back;
    QFileDialog* dialog = PrepareFileDialog(setup, true);
    for (;;) {
        const auto accepted = RunFileDialog(dialog);
        if (!accepted) {
            return std::nullopt;
        }
        // The dialog has added the extension already (and asked about overwriting that name).
        const QString path = AddDefaultExtension(*accepted, setup.defaultExtension);
        const QFileInfo info(path);
        // The dialog lets a name in a folder that does not exist through; it is refused here,
        // and a new file is created only when the user says so. Either way the dialog returns.
        if (!info.absoluteDir().exists()) {
            ShowError(QStringLiteral("Mapa %1 ne postoji.")
                          .arg(QDir::toNativeSeparators(info.absolutePath())));
            continue;
        }
        if (!info.exists() && !ConfirmCreate(path)) {
            continue;
        }
        return Remembered(path);
    }
}

QStringList Dialogs::ChooseOpenFiles(const FileDialogSetup& setup) {
    const std::optional<QString> one = ChooseOpenFile(setup);
    return one ? QStringList{*one} : QStringList{};
}

std::optional<QString> Dialogs::ChooseFolder(const FileDialogSetup& setup) {
    return ChooseOpenFile(setup);
}

QStringList QtDialogs::ChooseOpenFiles(const FileDialogSetup& setup) {
    QFileDialog* dialog = PrepareFileDialog(setup, false);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    const FocusReturn back;
    if (ExecFileDialog(dialog) != QDialog::Accepted) {
        return {};
    }
    const QStringList files = dialog->selectedFiles();
    if (!files.isEmpty()) {
        Remembered(files.constFirst());
    }
    return files;
}

std::optional<QString> QtDialogs::ChooseFolder(const FileDialogSetup& setup) {
    QFileDialog* dialog = PrepareFileDialog(setup, false);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly, true);
    return Remembered(RunFileDialog(dialog));
}

}  // namespace movik
