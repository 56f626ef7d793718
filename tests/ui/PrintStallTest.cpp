// Printing with a print server that accepts and never answers: the window keeps handling events,
// a second print meanwhile is refused with a note, and the error naming the server appears.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>

#include "charts/ChartWindow.h"
#include "tests/support/StalledServer.h"
#include "tests/ui/WindowFixture.h"

namespace movik::test {
namespace {

// The print path of the window's worker thread reads the server from the environment.
class StalledPrintServer {
  public:
    StalledPrintServer() {
        if (!server.socket().empty()) {
            ::setenv("CUPS_SERVER", server.socket().c_str(), 1);
        }
    }
    ~StalledPrintServer() { ::unsetenv("CUPS_SERVER"); }
    StalledServer server;
};

class PrintStall : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(stalled.server.socket().empty());
        f.window->OpenDocument(QStringLiteral(MOVIK_EXAMPLE));
        // A short wait keeps the test quick; the program's own limit is longer.
        f.window->printing().worker().SetLimits(1000, 1500);
    }
    // "„<socket>” ne odgovara": the reason every failed job gives here.
    QString Silent() const {
        return QStringLiteral("poslužitelj za ispis „%1” ne odgovara")
            .arg(QString::fromStdString(stalled.server.socket()));
    }

    StalledPrintServer stalled;
    WindowFixture f;
};

TEST_F(PrintStall, WindowKeepsWorkingAndTheErrorNamesTheServer) {
    auto* pages = f.Find<QTabWidget>("PageControl");
    pages->setCurrentWidget(pages->findChild<QWidget*>(QStringLiteral("tsBilanca")));
    auto* bPrint = f.Find<QToolButton>("bPrint");
    bPrint->click();
    EXPECT_TRUE(f.window->printing().busy());
    EXPECT_FALSE(bPrint->isEnabled());  // the button shows the job running

    // Events keep coming while the job waits on the server: a timer, typing, a second print.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ticks += f.window->printing().busy(); });
    timer.start(10);
    QTest::qWait(100);
    auto* company = f.Find<QLineEdit>("ePoduzece");
    company->clear();
    TypeText(company, QStringLiteral("Čvor d.o.o."));
    f.Find<QAction>("Ispii1")->trigger();
    EXPECT_EQ(f.Find<QLabel>("pNapomena")->text(),
              QStringLiteral("Ispis je već u tijeku: novi ispis nije pokrenut."));

    f.WaitForPrinting();
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(company->text(), QStringLiteral("Čvor d.o.o."));
    EXPECT_EQ(stalled.server.connections(), 1);  // the refused second print sent nothing
    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_EQ(f.dialogs->errors[0], QStringLiteral("Izvješće „Aktiva” nije ispisano: ") + Silent() +
                                        QStringLiteral(" (čekano 2 s)."));
    EXPECT_TRUE(bPrint->isEnabled());
}

// A help topic goes the same way; its failure is shown where the command was given.
TEST_F(PrintStall, HelpTopicFailureIsReportedInTheHelpWindow) {
    QWidget help;
    QString shown;
    f.window->printing().PrintTopic(
        "%PDF-1.4\n", QStringLiteral("Movik – Likvidnost"),
        f.window->printing().InWindow(&help, [&](const QString& text, bool) { shown = text; }));
    f.WaitForPrinting();
    EXPECT_TRUE(f.dialogs->errors.isEmpty());  // not behind it, over the main window
    EXPECT_EQ(shown, QStringLiteral("Tema pomoći „Movik – Likvidnost” nije ispisana: ") + Silent() +
                         QStringLiteral(" (čekano 2 s)."));
}

// A chart printed from the charts window: the error shows in the charts window.
TEST_F(PrintStall, ChartFailureIsShownInTheChartsWindow) {
    f.window->Grafikoni1Click();
    auto* charts = f.window->findChild<ChartWindow*>(QStringLiteral("fGrafikoni"));
    ASSERT_NE(charts, nullptr);
    charts->PrintClick();
    f.WaitForPrinting();
    EXPECT_TRUE(f.dialogs->errors.isEmpty());
    EXPECT_EQ(charts->message(),
              QString::fromStdString("Grafikon „" + charts->Current().title + "” nije ispisan: ") +
                  Silent() + QStringLiteral(" (čekano 2 s)."));
    // Closed before the outcome comes: the main window shows it.
    charts->PrintClick();
    charts->close();
    QCoreApplication::processEvents();
    f.WaitForPrinting();
    EXPECT_EQ(f.dialogs->errors.size(), 1);
}

}  // namespace
}  // namespace movik::test
