// movik-form-shots: the official form's import in the real window, for a person to look at: the
// file dialog, the question about a form that disagrees with itself, the reconciliation table
// and the balance sheet page after the import, each saved as a PNG; first the window while the
// form is read, with its note in the status bar.
//
//   movik-form-shots FORM.xlsx OUTPUT_FOLDER

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QTabWidget>
#include <chrono>
#include <cstdio>
#include <thread>

#include "intake/OfficialForm.h"
#include "regional/Regional.h"
#include "ui/FormImportDialog.h"
#include "ui/MainWindow.h"

namespace {

void Settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

bool Save(QWidget& w, const QString& file) {
    w.show();
    w.raise();
    Settle(600);
    return w.screen()->grabWindow(w.winId()).save(file);
}

// The real dialogs, shown without waiting for a person: each is pictured, then answered.
class PicturingDialogs : public movik::QtDialogs {
  public:
    PicturingDialogs(QString form, QString out) : QtDialogs(nullptr), form_(form), out_(out) {}
    std::optional<QString> ChooseOpenFile(const movik::FileDialogSetup& setup) override {
        QFileDialog* dialog = PrepareFileDialog(setup, false);
        dialog->selectFile(form_);
        ok_ &= Save(*dialog, out_ + QStringLiteral("/1-odabir-obrasca.png"));
        dialog->hide();
        return form_;
    }
    movik::Answer Ask(const QString& question) override {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Movik"), question,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        ok_ &= Save(box, out_ + QStringLiteral("/2-pitanje.png"));
        return movik::Answer::Yes;
    }
    void ShowFormImport(const movik::FormImportView& view) override {
        movik::FormImportDialog dialog(view);
        ok_ &= Save(dialog, out_ + QStringLiteral("/3-uskladjenje.png"));
    }
    bool ok() const { return ok_; }

  private:
    QString form_;
    QString out_;
    bool ok_ = true;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Numbers in the locale the program itself takes (Croatian unless the environment names one).
    QLocale::setDefault(movik::ProgramLocale());
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "Uporaba: movik-form-shots OBRAZAC.xlsx IZLAZNA_MAPA\n");
        return 2;
    }
    auto dialogs = std::make_unique<PicturingDialogs>(args.at(1), args.at(2));
    PicturingDialogs* pictures = dialogs.get();
    movik::TForm1 window(std::move(dialogs));
    window.resize(1000, 720);
    window.show();
    Settle(800);
    // The reading held for a moment, so that its note in the status bar can be pictured.
    window.SetFormReader([](const std::string& path) {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        return movik::ReadOfficialFormFile(path, 2026);
    });
    window.UvozObrasca1Click();
    bool saved = Save(window, args.at(2) + QStringLiteral("/0-citanje.png"));
    while (window.FormImportRunning()) {
        Settle(50);
    }
    window.findChild<QTabWidget*>(QStringLiteral("PageControl"))->setCurrentIndex(1);
    saved &= Save(window, args.at(2) + QStringLiteral("/4-bilanca.png"));
    return saved && pictures->ok() ? 0 : 1;
}
