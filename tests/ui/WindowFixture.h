#pragma once
// Shared by the widget tests: scripted dialogs and a main window built with them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>
#include <vector>

#include "reports/ReportPaint.h"
#include "tests/support/WorkspaceTestAccess.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PrintCommands.h"

namespace movik::test {

// Types text into w key by key, any characters (QTest's key clicks know only ASCII).
inline void TypeText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

// Answers questions and file dialogs from queues and records everything it was asked.
// A question or dialog nobody scripted fails the test and is answered with Cancel.
class ScriptedDialogs : public Dialogs {
  public:
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> openChoices;
    std::deque<std::optional<QString>> saveChoices;
    bool pressHelp = false;  // information boxes are closed with Help instead of OK

    QStringList questions;
    QStringList informed;
    std::vector<int> informedHelp;
    QStringList errors;
    std::vector<FileDialogSetup> openDialogs;
    std::vector<FileDialogSetup> saveDialogs;
    QStringList previewTitles;
    QStringList previewOutcomes;  // what a preview still open would have shown
    std::vector<FormImportView> formImports;  // official forms' import outcomes shown
    // Each preview is painted into this folder as preview-N.pdf (N counting from 1), if set.
    QString previewFolder;
    // Whether the preview's print button is pressed.
    bool printFromPreview = false;
    // Called as an error is shown (to look at the window at that moment).
    std::function<void(const QString&)> onError;

    Answer Ask(const QString& question) override {
        questions << question;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << question.toStdString();
            return Answer::Cancel;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void Inform(const QString& text, int helpContext) override {
        informed << text;
        informedHelp.push_back(helpContext);
        if (pressHelp && helpRequested) {
            helpRequested(helpContext);
        }
    }
    void ShowError(const QString& text) override {
        errors << text;
        if (onError) {
            onError(text);
        }
    }
    void ShowPrintPreview(const QString& title, const std::vector<PrintJob>& jobs,
                          const PreviewPrint& print) override {
        previewTitles << title;
        if (printFromPreview) {
            // A preview that is gone by the time the outcome comes: the main window shows it.
            print(nullptr, [this](const QString& text, bool) { previewOutcomes << text; });
        }
        if (previewFolder.isEmpty()) {
            return;
        }
        const QString path =
            previewFolder + QStringLiteral("/preview-%1.pdf").arg(previewTitles.size());
        EXPECT_TRUE(SavePdf(jobs, title, QFile::encodeName(path).toStdString()));
    }
    void ShowFormImport(const FormImportView& view) override { formImports.push_back(view); }
    std::optional<QString> ChooseOpenFile(const FileDialogSetup& setup) override {
        openDialogs.push_back(setup);
        return Next(openChoices, setup);
    }
    std::optional<QString> ChooseSaveFile(const FileDialogSetup& setup) override {
        saveDialogs.push_back(setup);
        return Next(saveChoices, setup);
    }

  private:
    static std::optional<QString> Next(std::deque<std::optional<QString>>& queue,
                                       const FileDialogSetup& setup) {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << setup.title.toStdString();
            return std::nullopt;
        }
        // Taken apart (not copied whole): GCC 12 sees a copied optional<QString> as possibly
        // uninitialised here.
        const bool chosen = queue.front().has_value();
        const QString path = queue.front().value_or(QString());
        queue.pop_front();
        return chosen ? std::optional<QString>(path) : std::nullopt;
    }
};

// A FileWriter that always fails, for save and export failures.
class FailingWriter : public FileWriter {
  public:
    Result WriteWhole(const std::string& path, const std::vector<std::uint8_t>&) override {
        return Result::Fail("Cannot create file " + path);
    }
};

// A main window with scripted dialogs under a pinned locale.
class WindowFixture {
  public:
    explicit WindowFixture(const QString& locale = QStringLiteral("hr_HR")) {
        QLocale::setDefault(QLocale(locale));
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        window = std::make_unique<TForm1>(std::move(scripted));
    }
    ~WindowFixture() {
        window.reset();
        QLocale::setDefault(QLocale(QStringLiteral("hr_HR")));
    }

    template <class T>
    T* Find(const QString& name) const {
        T* child = window->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << "no control named " << name.toStdString();
        return child;
    }

    // Shows the window and makes it active, so focus changes are delivered.
    void ShowActive() {
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Processes events until the print jobs started so far have been sent (or failed).
    void WaitForPrinting(int limitMs = 30000) {
        QDeadlineTimer deadline(limitMs);
        while (window->printing().busy() && !deadline.hasExpired()) {
            QTest::qWait(5);
        }
        EXPECT_FALSE(window->printing().busy()) << "the print jobs are still being sent";
    }

    TDokument& Doc() { return WorkspaceTestAccess::Document(window->workspace()); }
    StatementGrids& Grids() { return WorkspaceTestAccess::Grids(window->workspace()); }
    QString Path(const QString& name) const { return tmp.filePath(name); }

    QTemporaryDir tmp;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TForm1> window;
};

}  // namespace movik::test
