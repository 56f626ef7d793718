// movik-comparison-shots: the comparison window for real (on the X server the script starts)
// with the documents of a folder: pictures of the whole screen as loaded, grouped by company
// with the changes, sorted, and with a warning's tooltip; the table exported to CSV, PDF and a
// workbook; the charts of a few key amounts and indicators across the companies.
// With --measure it only loads the folder and prints how long that took (also offscreen).
//
//   movik-comparison-shots FOLDER OUTPUT_FOLDER
//   movik-comparison-shots --measure FOLDER

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QThread>
#include <QToolTip>
#include <QTranslator>
#include <cstdio>
#include <set>

#include "charts/ChartRender.h"
#include "charts/ChartWindow.h"
#include "regional/Regional.h"
#include "ui/ComparisonModel.h"
#include "ui/ComparisonWindow.h"
#include "ui/MainWindow.h"
#include "ui/StandingView.h"
#include "ui/WindowPlace.h"

namespace {

// Messages go to standard error; save dialogs answer with a file in the output folder.
class ScriptDialogs : public movik::Dialogs {
  public:
    explicit ScriptDialogs(QString outDir) : outDir_(std::move(outDir)) {}
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
    std::optional<QString> ChooseSaveFile(const movik::FileDialogSetup& setup) override {
        return outDir_ + u'/' + setup.proposedName;
    }

  private:
    QString outDir_;
};

void Settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

bool WaitLoaded(movik::ComparisonWindow& w) {
    QElapsedTimer timer;
    timer.start();
    while (w.IsLoading() && timer.elapsed() < 60000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return !w.IsLoading();
}

bool SaveScreen(const QString& file) {
    const bool saved = QGuiApplication::primaryScreen()->grabWindow(0).save(file);
    std::printf("%s%s\n", qPrintable(file), saved ? "" : " NIJE SNIMLJENO");
    return saved;
}

// The rows of the standing view of the first two companies, selected.
void ChooseTwoCompanies(movik::StandingView& view) {
    const movik::StandingTable& t = view.standing().table();
    std::set<std::string> companies;
    QItemSelection chosen;
    for (int r = 0; r < t.rowCount(); ++r) {
        if (t.row(r).kind != movik::StandingTable::RowKind::Document) {
            continue;
        }
        const std::string& company = t.entries()[t.row(r).entry].company;
        if (companies.size() < 2) {
            companies.insert(company);
        }
        if (companies.count(company) != 0) {
            chosen.select(view.model()->index(r, 0), view.model()->index(r, 0));
        }
    }
    view.selectionModel()->select(chosen,
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// The view "Položaj u skupini" in the light palette and a dark one, its exports, and the box
// plots of two indicators with two companies' points.
bool StandingShots(movik::ComparisonWindow& w, const QString& outDir) {
    w.GrupirajClick(false);
    w.PolozajClick(true);
    ChooseTwoCompanies(*w.standingView());
    Settle(400);
    bool ok = SaveScreen(outDir + QStringLiteral("/6-polozaj.png"));
    const QPalette light = QApplication::palette();
    QPalette dark(QColor(45, 45, 48), QColor(30, 30, 30));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::AlternateBase, QColor(40, 40, 40));
    QApplication::setPalette(dark);
    Settle(400);
    ok = SaveScreen(outDir + QStringLiteral("/6-polozaj-tamno.png")) && ok;
    QApplication::setPalette(light);
    w.IzvozPdfClick();
    std::printf("%s/usporedba.pdf (položaj u skupini)\n", qPrintable(outDir));
    movik::ChartWindow* boxes = w.RasponClick();
    if (boxes == nullptr) {
        return false;
    }
    boxes->setGeometry(movik::FitInside(
        QRect(20, 30, 1200, 660), boxes->screen()->availableGeometry().adjusted(0, 0, -10, -40)));
    for (const int measure : {0, 7}) {
        boxes->Choose(measure);
        Settle(500);
        ok = SaveScreen(outDir + QStringLiteral("/7-raspon-%1.png").arg(measure)) && ok;
    }
    boxes->close();
    return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Numbers in the locale the program itself takes (Croatian unless the environment names one).
    QLocale::setDefault(movik::ProgramLocale());
    movik::UseChartDrawing(&movik::LinkedChartDrawing());  // linked here, not loaded
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr,
                     "Uporaba: movik-comparison-shots MAPA IZLAZNA_MAPA\n"
                     "         movik-comparison-shots --measure MAPA\n");
        return 2;
    }
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_hr"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslator);
    }
    const bool measure = args.at(1) == QStringLiteral("--measure");
    const QString folder = measure ? args.at(2) : args.at(1);
    const QString outDir = measure ? QDir::tempPath() : args.at(2);
    QDir().mkpath(outDir);

    movik::TForm1 window(std::make_unique<ScriptDialogs>(outDir));
    window.move(0, 0);
    window.show();
    window.Usporedba1Click();
    movik::ComparisonWindow& w = *window.comparison();
    // As large as the pictures want, as far as the screen allows.
    const QRect screen = w.screen()->availableGeometry();
    w.setGeometry(movik::FitInside(QRect(10, 40, 1260, 640), screen.adjusted(0, 0, -10, -40)));
    Settle(300);
    std::printf("najmanja širina prozora: %d\n", w.minimumSizeHint().width());

    w.AddPaths({folder});
    if (!WaitLoaded(w)) {
        std::fprintf(stderr, "Učitavanje nije završilo\n");
        return 2;
    }
    std::printf("učitano %d dokumenata za %lld ms\n", w.model().rowCount(),
                static_cast<long long>(w.LastLoadMs()));
    if (measure) {
        return 0;
    }
    Settle(400);
    bool ok = SaveScreen(outDir + QStringLiteral("/1-usporedba.png"));

    w.GrupirajClick(true);
    Settle(400);
    ok = SaveScreen(outDir + QStringLiteral("/2-usporedba-trend.png")) && ok;

    // A warning's tooltip, over the first marked row.
    for (int r = 0; r < w.model().rowCount(); ++r) {
        const QString note = w.model().RowNote(r);
        if (!note.isEmpty()) {
            const QRect cell = w.table()->visualRect(w.model().index(r, 0));
            QToolTip::showText(w.table()->viewport()->mapToGlobal(cell.center()), note,
                               w.table()->viewport());
            break;
        }
    }
    Settle(600);
    ok = SaveScreen(outDir + QStringLiteral("/3-upozorenje.png")) && ok;
    QToolTip::hideText();

    // Sorted by the result after tax, largest first.
    for (int c = 0; c < w.model().columnCount(); ++c) {
        if (w.model().headerData(c, Qt::Horizontal).toString() ==
            QStringLiteral("Rezultat poslije poreza")) {
            w.table()->sortByColumn(c, Qt::DescendingOrder);
            break;
        }
    }
    Settle(400);
    ok = SaveScreen(outDir + QStringLiteral("/4-usporedba-po-rezultatu.png")) && ok;

    // Sorted by Altman's Z'', weakest first, document by document, the score and its band in
    // sight.
    w.GrupirajClick(false);
    for (int c = 0; c < w.model().columnCount(); ++c) {
        if (w.model().headerData(c, Qt::Horizontal).toString() == QStringLiteral("Altman Z''")) {
            w.table()->sortByColumn(c, Qt::AscendingOrder);
            w.table()->scrollTo(w.model().index(0, c + 1), QAbstractItemView::PositionAtCenter);
            break;
        }
    }
    Settle(400);
    ok = SaveScreen(outDir + QStringLiteral("/4-usporedba-po-z2.png")) && ok;

    w.GrupirajClick(true);
    w.IzvozCsvClick();
    w.IzvozPdfClick();
    w.IzvozXlsxClick();
    std::printf("%s/usporedba.csv\n%s/usporedba.pdf\n%s/usporedba.xlsx\n", qPrintable(outDir),
                qPrintable(outDir), qPrintable(outDir));

    // Total assets of both years, the net result, current liquidity, the return on assets and
    // the earnings per share (with its note when a document has no shares), Altman's Z'' and the
    // quick test's overall grade.
    movik::ChartWindow* charts = w.GrafikoniClick();
    if (charts == nullptr) {
        std::fprintf(stderr, "Nema grafikona\n");
        return 2;
    }
    charts->setGeometry(movik::FitInside(
        QRect(20, 30, 1200, 660), charts->screen()->availableGeometry().adjusted(0, 0, -10, -40)));
    for (const int figure : {0, 1, 7, 10, 18, 20, 25, 31}) {
        charts->Choose(figure);
        Settle(500);
        ok = SaveScreen(outDir + QStringLiteral("/5-grafikon-%1.png").arg(figure)) && ok;
    }
    charts->close();

    // Sorting by keyboard: the table's menu (the Menu key) at the current cell.
    w.activateWindow();
    w.table()->setFocus();
    w.table()->setCurrentIndex(w.model().index(0, 5));
    QKeyEvent menuKey(QEvent::KeyPress, Qt::Key_Menu, Qt::NoModifier);
    QApplication::sendEvent(w.table(), &menuKey);
    Settle(500);
    ok = SaveScreen(outDir + QStringLiteral("/6-poredaj-izbornik.png")) && ok;
    if (auto* menu = w.table()->findChild<QMenu*>(QStringLiteral("mPoredaj"))) {
        menu->close();
    }

    // A load stopped by closing the window (every reading slowed down), then the window again.
    w.table()->selectAll();
    w.UkloniClick();
    const movik::RegionalSettings rs = window.workspace().settings();
    w.SetSummaryWork([rs](const std::string& path) {
        QThread::msleep(400);
        return movik::Summarize(path, rs, 2026, true);
    });
    w.AddPaths({folder});
    Settle(1500);
    w.close();
    Settle(400);
    ok = SaveScreen(outDir + QStringLiteral("/7-zaustavljeno.png")) && ok;
    window.Usporedba1Click();
    Settle(500);
    ok = SaveScreen(outDir + QStringLiteral("/8-nastavi.png")) && ok;

    // The comparison again for the standing view.
    window.Usporedba1Click();
    Settle(500);
    ok = StandingShots(w, outDir) && ok;
    w.close();
    return ok ? 0 : 2;
}
