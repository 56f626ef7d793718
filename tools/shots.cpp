// movik-shots: opens the main window for real (on the X server the script starts), opens a
// document, shows each of the six pages in turn and saves a picture of the window per page; then
// pictures of the start-up screen, the About box and the help window (contents, topics 1, 8,
// 10, 11 and 12).
//
//   movik-shots DOCUMENT.mvk OUTPUT_FOLDER

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

#include "about/AboutBox.h"
#include "about/HelpFile.h"
#include "about/HelpWindow.h"
#include "movik/Version.h"
#include "regional/Regional.h"
#include "tests/support/WorkspaceTestAccess.h"
#include "ui/MainWindow.h"
#include "ui/StatementGrid.h"
#include "ui/ToolIcons.h"

namespace {

// Messages go to standard error instead of modal boxes, so nothing waits for a click.
class ReportingDialogs : public movik::Dialogs {
  public:
    movik::Answer Ask(const QString& question) override {
        std::fprintf(stderr, "pitanje: %s\n", qPrintable(question));
        return movik::Answer::Cancel;
    }
    void Inform(const QString& text, int) override {
        std::fprintf(stderr, "obavijest: %s\n", qPrintable(text));
    }
    void ShowError(const QString& text) override {
        std::fprintf(stderr, "greška: %s\n", qPrintable(text));
    }
    std::optional<QString> ChooseOpenFile(const movik::FileDialogSetup&) override {
        return std::nullopt;
    }
    std::optional<QString> ChooseSaveFile(const movik::FileDialogSetup&) override {
        return std::nullopt;
    }
};

// Lets the window paint for at least ms milliseconds.
void Settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Numbers in the locale the program itself takes (Croatian unless the environment names one).
    QLocale::setDefault(movik::ProgramLocale());
    QApplication::setApplicationName(QString::fromUtf8(movik::kProgramName));
    QApplication::setApplicationDisplayName(QString::fromUtf8(movik::kProgramTitle));
    const QStringList args = QApplication::arguments();
    if (args.size() != 3 || args.at(1) == QStringLiteral("--help")) {
        std::fprintf(stderr, "Uporaba: movik-shots DOKUMENT.mvk IZLAZNA_MAPA\n");
        return args.size() == 2 ? 0 : 2;
    }
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_hr"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslator);
    }
    // MOVIK_SHOTS_PALETTE=dark: the windows under a dark palette, as a dark desktop theme gives.
    QApplication::setStyle(new movik::DrawnIconStyle);
    if (qEnvironmentVariable("MOVIK_SHOTS_PALETTE") == QStringLiteral("dark")) {
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(53, 53, 53));
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::Base, QColor(42, 42, 42));
        dark.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::Button, QColor(53, 53, 53));
        dark.setColor(QPalette::ButtonText, Qt::white);
        dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        dark.setColor(QPalette::ToolTipBase, QColor(53, 53, 53));
        dark.setColor(QPalette::ToolTipText, Qt::white);
        dark.setColor(QPalette::Link, QColor(42, 130, 218));
        QApplication::setPalette(dark);
    }
    const QString outDir = args.at(2);
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "Mapa %s ne može se stvoriti\n", qPrintable(outDir));
        return 2;
    }

    movik::TForm1 window(std::make_unique<ReportingDialogs>());
    window.move(0, 0);
    window.show();
    window.OpenDocument(args.at(1));
    // The close at the end must not ask anything.
    movik::WorkspaceTestAccess::Document(window.workspace()).Izmijenjen = false;
    Settle(400);

    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        Settle(300);
        const QPixmap picture = window.screen()->grabWindow(window.winId());
        const QString file = QStringLiteral("%1/%2-%3.png")
                                 .arg(outDir)
                                 .arg(i + 1)
                                 .arg(pages->widget(i)->objectName());
        if (!picture.save(file)) {
            std::fprintf(stderr, "Slika %s nije snimljena\n", qPrintable(file));
            return 2;
        }
        std::printf("%s\n", qPrintable(file));
    }

    // How the focus shows: the focused grid and its current cell, the cell editor, the focused
    // tab and a focused button.
    QApplication::setActiveWindow(&window);
    pages->setCurrentIndex(1);
    movik::StatementGrid* grid = window.Grid(movik::Statement::Bilanca);
    grid->setFocus(Qt::OtherFocusReason);
    grid->setCurrentIndex(grid->model()->index(3, 2));
    const auto focusShot = [&](const QString& name) {
        Settle(300);
        const QString file = QStringLiteral("%1/%2.png").arg(outDir, name);
        window.screen()->grabWindow(window.winId()).save(file);
        std::printf("%s\n", qPrintable(file));
    };
    focusShot(QStringLiteral("11-fokus-tablica"));
    grid->edit(grid->currentIndex());
    focusShot(QStringLiteral("12-fokus-urednik"));
    if (QLineEdit* editor = grid->cellEditor()) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(editor, &escape);
    }
    pages->tabBar()->setFocus(Qt::TabFocusReason);
    focusShot(QStringLiteral("13-fokus-kartica"));
    if (auto* next = window.findChild<QPushButton*>(QStringLiteral("bNextBilanca"))) {
        next->setFocus(Qt::TabFocusReason);
    }
    focusShot(QStringLiteral("14-fokus-gumb"));
    pages->setCurrentIndex(0);

    auto save = [&outDir](QWidget& w, const QString& name) {
        Settle(300);
        const QString file = QStringLiteral("%1/%2.png").arg(outDir, name);
        if (!w.screen()->grabWindow(w.winId()).save(file)) {
            std::fprintf(stderr, "Slika %s nije snimljena\n", qPrintable(file));
            return false;
        }
        std::printf("%s\n", qPrintable(file));
        return true;
    };
    movik::TfAbout about;
    about.ShowSplash();
    if (!save(about, QStringLiteral("8-pocetni-zaslon"))) {
        return 2;
    }
    about.OKButton->show();  // as "O programu" shows it, without waiting for a click
    if (!save(about, QStringLiteral("9-o-programu"))) {
        return 2;
    }
    about.hide();

    // The help file beside the program, or beside movik in the build tree.
    const QString here = QApplication::applicationDirPath();
    QStringList candidates = movik::HelpFileCandidates(here) +
                             movik::HelpFileCandidates(here + QStringLiteral("/../app"));
    candidates.removeDuplicates();
    movik::HelpWindow help(candidates);
    help.move(0, 0);
    help.show();
    help.ShowContents();
    if (!save(help, QStringLiteral("10-upute-sadrzaj"))) {
        return 2;
    }
    for (const int context : {1, 8, 10, 11, 12, 15}) {
        help.ShowContext(context);
        if (!save(help, QStringLiteral("10-upute-%1").arg(context))) {
            return 2;
        }
    }

    // The print preview of the balance sheet page: pictured once it has painted, then closed.
    pages->setCurrentIndex(1);
    Settle(200);
    bool previewSaved = false;
    const QString previewFile = outDir + QStringLiteral("/7-PregledIspisa.png");
    // The timer first fires inside the preview's own event loop; the picture is taken once the
    // preview has had time to paint its pages.
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(1500, [&] {
            if (QWidget* preview = QApplication::activeModalWidget()) {
                previewSaved = preview->screen()->grabWindow(preview->winId()).save(previewFile);
                preview->close();
            }
        });
    });
    window.PregledIspisa1Click();
    if (!previewSaved) {
        std::fprintf(stderr, "Slika %s nije snimljena\n", qPrintable(previewFile));
        return 2;
    }
    std::printf("%s\n", qPrintable(previewFile));

    // The preview of the report "Ocjena boniteta", from the "Bonitet" page.
    pages->setCurrentIndex(pages->count() - 1);
    Settle(200);
    previewSaved = false;
    const QString scoresFile = outDir + QStringLiteral("/7-PregledBoniteta.png");
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(1500, [&] {
            if (QWidget* preview = QApplication::activeModalWidget()) {
                previewSaved = preview->screen()->grabWindow(preview->winId()).save(scoresFile);
                preview->close();
            }
        });
    });
    window.PregledIspisa1Click();
    if (!previewSaved) {
        std::fprintf(stderr, "Slika %s nije snimljena\n", qPrintable(scoresFile));
        return 2;
    }
    std::printf("%s\n", qPrintable(scoresFile));
    return 0;
}
