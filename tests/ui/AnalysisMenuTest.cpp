// The "&Analiza" menu and the workbook export of the main window.

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "analysis/EuroConversion.h"
#include "charts/ChartWindow.h"
#include "tests/ui/WindowFixture.h"
#include "ui/AnalysisCommands.h"
#include "ui/ComparisonWindow.h"
#include "ui/WindowPlace.h"

namespace movik::test {
namespace {

TEST(AnalysisMenu, ComesAfterDokumentAndTheWorkbookAfterThePdfItems) {
    WindowFixture f;
    const QList<QAction*> menus = f.window->menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&Dokument"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Analiza"));
    const QList<QAction*> dokument = menus[0]->menu()->actions();
    const auto at = [&dokument](const QString& name) {
        for (qsizetype i = 0; i < dokument.size(); ++i) {
            if (dokument[i]->objectName() == name) {
                return i;
            }
        }
        return qsizetype(-1);
    };
    EXPECT_EQ(at(QStringLiteral("IzvozXlsx1")), at(QStringLiteral("IzvozSvihPDF1")) + 1);
}

// The example as a document typed in kunas: its period (2023) says euros, the user says kunas.
void OpenExampleInKunas(WindowFixture& f) {
    f.window->OpenDocument(QStringLiteral(MOVIK_EXAMPLE));
    auto* currency = f.Find<QComboBox>(QStringLiteral("cbValuta"));
    currency->setCurrentIndex(1);
    emit currency->activated(1);
    ASSERT_EQ(f.window->workspace().currency(), Valuta::Hrk);
    f.Doc().Izmijenjen = false;
}

TEST(PreracunajUEure, AsksFirstAndDoesNothingWithoutYes) {
    WindowFixture f;
    OpenExampleInKunas(f);
    const double before = f.Doc().Bilanca.row(58).IznosTekuca;
    f.dialogs->answers = {Answer::No};
    f.window->PreracunajUEure1Click();
    ASSERT_EQ(f.dialogs->questions.size(), 1);
    EXPECT_TRUE(f.dialogs->questions[0].contains(QStringLiteral("7,53450")));
    EXPECT_EQ(f.Doc().Bilanca.row(58).IznosTekuca, before);
    EXPECT_FALSE(f.window->workspace().IsChanged());
}

TEST(PreracunajUEure, ConvertsShowsTheEuroUnitAndMarksTheDocument) {
    WindowFixture f;
    OpenExampleInKunas(f);
    EXPECT_EQ(f.Find<QComboBox>(QStringLiteral("cbIznos"))->currentText(),
              QStringLiteral("kunama i lipama"));
    const double before = f.Doc().Bilanca.row(58).IznosTekuca;
    f.dialogs->answers = {Answer::Yes};
    f.window->PreracunajUEure1Click();
    EXPECT_EQ(f.Doc().Bilanca.row(58).IznosTekuca, KunaToEuro(before));
    EXPECT_EQ(f.Find<QComboBox>(QStringLiteral("cbIznos"))->currentText(),
              QStringLiteral("eurima i centima"));
    EXPECT_EQ(f.Find<QComboBox>(QStringLiteral("cbValuta"))->currentIndex(), 0);
    EXPECT_EQ(f.window->workspace().currency(), Valuta::Eur);
    EXPECT_TRUE(f.window->workspace().IsChanged());
    EXPECT_EQ(f.window->workspace().warning(), "");
}

// Converted, or in euros by its period: a second division is refused with its reason.
TEST(PreracunajUEure, ADocumentInEurosIsNotConvertedAgain) {
    for (const bool convertedFirst : {false, true}) {
        WindowFixture f;
        if (convertedFirst) {
            OpenExampleInKunas(f);
            f.dialogs->answers = {Answer::Yes};
            f.window->PreracunajUEure1Click();
        } else {
            f.window->OpenDocument(QStringLiteral(MOVIK_EXAMPLE));
        }
        const TDokument before = f.Doc();
        const qsizetype asked = f.dialogs->questions.size();
        f.window->PreracunajUEure1Click();
        EXPECT_EQ(f.dialogs->questions.size(), asked);
        ASSERT_FALSE(f.dialogs->informed.isEmpty());
        EXPECT_EQ(f.dialogs->informed.back(),
                  QStringLiteral("Dokument je već u eurima: iznosi se ne preračunavaju ponovo."));
        EXPECT_EQ(f.Doc().Bilanca.row(58).IznosTekuca, before.Bilanca.row(58).IznosTekuca);
        EXPECT_EQ(f.Doc().Racun.row(45).Iznos, before.Racun.row(45).Iznos);
        EXPECT_EQ(f.Doc().Izmijenjen, before.Izmijenjen);
    }
}

TEST(IzvozXlsx, WritesTheChosenFileAndReportsAFailedWrite) {
    WindowFixture f;
    f.window->OpenDocument(QStringLiteral(MOVIK_EXAMPLE));
    f.dialogs->saveChoices = {f.Path(QStringLiteral("a.xlsx"))};
    f.window->IzvozXlsx1Click();
    QFile written(f.Path(QStringLiteral("a.xlsx")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(2) == "PK");  // a zip package
    EXPECT_TRUE(f.dialogs->errors.isEmpty());
    EXPECT_TRUE(f.Find<QLabel>(QStringLiteral("pNapomena"))->text().contains(written.fileName()));

    f.window->SetFileWriter(std::make_unique<FailingWriter>());
    f.dialogs->saveChoices = {f.Path(QStringLiteral("b.xlsx"))};
    f.window->IzvozXlsx1Click();
    EXPECT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_FALSE(QFile::exists(f.Path(QStringLiteral("b.xlsx"))));
}

TEST(Grafikoni, OpensTheChartsOfTheOpenDocument) {
    WindowFixture f;
    f.window->OpenDocument(QStringLiteral(MOVIK_EXAMPLE));
    f.window->Grafikoni1Click();
    auto* charts = f.window->findChild<ChartWindow*>(QStringLiteral("fGrafikoni"));
    ASSERT_NE(charts, nullptr);
    EXPECT_TRUE(charts->isVisible());
    EXPECT_NE(charts->Current().title.find("Lipa-Mont d.d."), std::string::npos);
    charts->close();
}

// FitInside: no larger than the screen's free area, moved as little as it takes.
TEST(WindowPlace, FitsInsideTheAvailableArea) {
    const QRect screen(0, 0, 1024, 740);
    const struct {
        QRect wanted;
        QRect fitted;
    } cases[] = {
        {{100, 50, 600, 400}, {100, 50, 600, 400}},    // already inside
        {{-40, 10, 1100, 680}, {0, 10, 1024, 680}},    // too wide: as wide as the screen
        {{700, 500, 600, 400}, {424, 340, 600, 400}},  // over the edge: moved back
        {{0, 0, 1300, 1100}, {0, 0, 1024, 740}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitInside(c.wanted, screen), c.fitted);
    }
}

// Every window the program opens over a small screen lies on it, and comes back where it was.
TEST(WindowPlace, TheChartsAndComparisonWindowsOpenOnASmallScreen) {
    WindowFixture f;
    f.ShowActive();
    const QRect available = f.window->screen()->availableGeometry();
    ASSERT_LT(available.width(), 1100);  // the offscreen screen is smaller than they ask for
    f.window->Grafikoni1Click();
    auto* charts = f.window->findChild<ChartWindow*>(QStringLiteral("fGrafikoni"));
    ASSERT_NE(charts, nullptr);
    EXPECT_TRUE(available.contains(charts->geometry())) << charts->geometry().width();
    f.window->Usporedba1Click();
    const QRect comparison = f.window->comparison()->geometry();
    EXPECT_TRUE(available.contains(comparison))
        << comparison.x() << "," << comparison.y() << " " << comparison.width() << "x"
        << comparison.height() << " in " << available.width() << "x" << available.height();

    const QRect moved(available.topLeft() + QPoint(40, 60), QSize(700, 520));
    charts->setGeometry(moved);
    ASSERT_TRUE(QTest::qWaitFor([&] { return charts->geometry() == moved; }));
    charts->close();
    QTest::qWait(1);
    f.window->Grafikoni1Click();
    charts = f.window->findChild<ChartWindow*>(QStringLiteral("fGrafikoni"));
    ASSERT_NE(charts, nullptr);
    EXPECT_EQ(charts->geometry(), moved);
    charts->close();
}

TEST(Grafikoni, WithoutTheChartLibraryAnErrorAndNoWindow) {
    WindowFixture f;
    // Nothing in use: the library is looked for beside the test program, where there is none.
    const ChartDrawing* loaded = CurrentChartDrawing(nullptr);
    UseChartDrawing(nullptr);
    f.window->Grafikoni1Click();
    UseChartDrawing(loaded);
    EXPECT_EQ(f.window->findChild<ChartWindow*>(QStringLiteral("fGrafikoni")), nullptr);
    ASSERT_EQ(f.dialogs->errors.size(), 1u);
    EXPECT_TRUE(f.dialogs->errors[0].contains(QStringLiteral("libmovik-charts.so")))
        << f.dialogs->errors[0].toStdString();
}

TEST(Grafikoni, FiguresAcrossDocumentsAreSavedThroughTheDialogs) {
    WindowFixture f;
    const std::vector<FigureAcrossDocuments> figures = {
        {"Kratkoročna likvidnost", false, {{"Alfa", "2023.", 45291, 1.5}}, {}},
        {"Ukupni prihodi",
         false,
         {{"Alfa", "2023.", 45291, 1e6}, {"Beta", "2023.", 45291, 2e6}},
         {}}};
    ChartWindow* charts = OpenFigureCharts(figures, f.Path(QStringLiteral("usporedba")), *f.dialogs,
                                           f.window->ChartPrinting(), f.window.get());
    charts->Choose(1);
    EXPECT_EQ(charts->Current().title, "Ukupni prihodi");
    f.dialogs->saveChoices = {f.Path(QStringLiteral("u.svg"))};
    charts->SaveClick();
    ASSERT_EQ(f.dialogs->saveDialogs.size(), 1u);
    EXPECT_EQ(f.dialogs->saveDialogs[0].proposedName, f.Path(QStringLiteral("usporedba.png")));
    EXPECT_TRUE(QFile::exists(f.Path(QStringLiteral("u.svg"))));
    charts->close();
}

}  // namespace
}  // namespace movik::test
