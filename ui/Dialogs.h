#pragma once
// Every modal question, message and file dialog of the main window goes through Dialogs, so the
// window's logic runs the same with the real Qt dialogs and with a scripted stand-in in tests.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "reports/PrintJobs.h"
#include "ui/FormImportDialog.h"

class QFileDialog;
class QWidget;

namespace movik {

enum class Answer { Yes, No, Cancel };

// What the print button of a print preview runs: the preview window, and how it shows an
// outcome (a note, or an error when error is true).
using PreviewPrint =
    std::function<void(QWidget* preview, std::function<void(const QString& text, bool error)>)>;

// One choice of a file dialog's filter list: the label as the user sees it ("Movik baza (*.mvk)")
// and the patterns it shows ("*.mvk", or "*" for every file).
struct FileFilter {
    QString label;
    QString patterns;
};

struct FileDialogSetup {
    // Which dialog this is ("OpenDialog1", "SaveDialog1", "CSVSave", "CSVOpen"). A dialog with
    // the same id is kept for the whole run and remembers its folder and chosen filter.
    QString id;
    QString title;
    QList<FileFilter> filters;
    QString proposedName;      // file name or path put into the dialog; may be empty
    QString defaultExtension;  // without the dot; added to a name typed without one
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Called with the help context when Help is pressed in an information box.
    std::function<void(int)> helpRequested;

    // Yes/No/Cancel question; closing the box counts as Cancel.
    virtual Answer Ask(const QString& question) = 0;
    // Information box with OK and Help; Help asks for the help topic helpContext.
    virtual void Inform(const QString& text, int helpContext) = 0;
    virtual void ShowError(const QString& text) = 0;
    // The chosen path, or nullopt when the user cancelled.
    virtual std::optional<QString> ChooseOpenFile(const FileDialogSetup& setup) = 0;
    virtual std::optional<QString> ChooseSaveFile(const FileDialogSetup& setup) = 0;
    // Several existing files (empty when cancelled); by default the one of ChooseOpenFile.
    virtual QStringList ChooseOpenFiles(const FileDialogSetup& setup);
    // An existing folder, nullopt when cancelled; by default what ChooseOpenFile gives.
    virtual std::optional<QString> ChooseFolder(const FileDialogSetup& setup);
    // A modal print preview titled title, showing the laid-out pages of jobs; its print button
    // runs print with the preview and how it shows the outcome (the preview stays open to show
    // it). By default our preview window (ui/PrintPreview.h); tests substitute one that only
    // paints.
    virtual void ShowPrintPreview(const QString& title, const std::vector<PrintJob>& jobs,
                                  const PreviewPrint& print);
    // The outcome of an official form's import (modal; by default ui/FormImportDialog.h).
    virtual void ShowFormImport(const FormImportView& view);
};

// Where a file dialog first opens when no document has been chosen in this run: the user's
// documents folder, else the home folder.
QString FirstDialogFolder();

// path with "." + extension appended when its file name has no extension (no "." at all).
QString AddDefaultExtension(const QString& path, const QString& extension);

// The dialogs as the user sees them: QMessageBox and QFileDialog, modal over parent.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent);
    ~QtDialogs() override;

    Answer Ask(const QString& question) override;
    void Inform(const QString& text, int helpContext) override;
    void ShowError(const QString& text) override;
    std::optional<QString> ChooseOpenFile(const FileDialogSetup& setup) override;
    std::optional<QString> ChooseSaveFile(const FileDialogSetup& setup) override;
    QStringList ChooseOpenFiles(const FileDialogSetup& setup) override;
    std::optional<QString> ChooseFolder(const FileDialogSetup& setup) override;
    void ShowPrintPreview(const QString& title, const std::vector<PrintJob>& jobs,
                          const PreviewPrint& print) override;
    void ShowFormImport(const FormImportView& view) override;

    // The file dialog for setup, set up as it would be shown but not shown.
    QFileDialog* PrepareFileDialog(const FileDialogSetup& setup, bool save);

  protected:
    // Shows dialog modally: the file the user accepted, or nullopt when cancelled.
    virtual std::optional<QString> RunFileDialog(QFileDialog* dialog);
    // Asks whether the file path, which does not exist yet, is to be created.
    virtual bool ConfirmCreate(const QString& path);

  private:
    // The window a box or dialog shows over: the active one, else parent_.
    QWidget* Owner() const;
    // Notes the folder of a chosen file (or a chosen folder): dialogs opened for the first time
    // later start there. Returns path unchanged.
    std::optional<QString> Remembered(std::optional<QString> path);

    QWidget* parent_;
    std::map<QString, QFileDialog*> fileDialogs_;
    QString lastFolder_;
};

}  // namespace movik
