// The print command through the real printing path (a private CUPS scheduler), the print
// preview and the PDF export of the window.

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

#include "tests/support/PdfText.h"
#include "tests/support/PrivateCups.h"
#include "tests/ui/WindowFixture.h"

namespace movik::test {
namespace {

const QString kCompany = QStringLiteral("Lipa-Mont d.d.");

// One report of the example: its job name, grid, rows and columns.
struct ReportRows {
    std::string job;
    Statement statement;
    int firstRow, lastRow, columns;
};

const std::vector<ReportRows> kReports = {
    {"Aktiva", Statement::Bilanca, 1, 56, 6},
    {"Pasiva", Statement::Bilanca, 57, 88, 6},
    {"Racun dobiti i gubitka", Statement::Racun, 1, 45, 4},
    {"Indirektna metoda novčanog toka", Statement::CFInd, 1, 31, 3},
    {"Slobodna metoda novčanog toka", Statement::CFFree, 1, 28, 3},
    {"Pokazatelji", Statement::Pok, 1, 19, 3},
};

// Every cell text of the report's rows, row by row, as the grid shows them.
std::vector<std::string> RowTexts(const StatementGrids& grids, const ReportRows& r) {
    std::vector<std::string> texts;
    for (int row = r.firstRow; row <= r.lastRow; ++row) {
        for (int col = 1; col <= r.columns; ++col) {
            texts.push_back(grids.of(r.statement).cell(col, row));
        }
    }
    return texts;
}

void OpenExample(WindowFixture& f) {
    f.window->OpenDocument(QStringLiteral(MOVIK_EXAMPLE));
    ASSERT_EQ(QString::fromStdString(f.Doc().Poduzece), kCompany);
}

void ShowPage(WindowFixture& f, const char* page) {
    auto* pages = f.Find<QTabWidget>("PageControl");
    pages->setCurrentWidget(pages->findChild<QWidget*>(QString::fromUtf8(page)));
}

void PressPrint(WindowFixture& f) {
    f.Find<QToolButton>("bPrint")->click();
}

#define START_SCHEDULER(cups)                                              \
    if (!(cups).problem().empty()) {                                       \
        GTEST_SKIP() << "no private CUPS scheduler: " << (cups).problem(); \
    }                                                                      \
    ASSERT_EQ((cups).setupFailed(), "")

struct LocaleCase {
    const char* locale;
    const char* period;  // the period line of the example in this locale
};

void PrintTo(const LocaleCase& c, std::ostream* os) {
    *os << c.locale;
}

class PrintCommand : public ::testing::TestWithParam<LocaleCase> {};

// Every statement page printed in turn: one job per report, named after it, in order, each
// carrying the company the window shows, the period and unit lines and every grid text of its rows.
TEST_P(PrintCommand, EveryPagePrintsItsNamedJobsWithTheGridTexts) {
    PrivateCups cups(PrivateCups::Queue::Accepting);
    START_SCHEDULER(cups);
    WindowFixture f(QString::fromUtf8(GetParam().locale));
    OpenExample(f);
    // Typed but not yet confirmed: the printout shows the name the page headers show.
    f.Find<QLineEdit>("ePoduzece")->setText(QStringLiteral("Neupisano ime"));
    f.Find<QComboBox>("cbIznos")->setCurrentText(QStringLiteral("eurima i centima"));

    PressPrint(f);  // on the general-data page: nothing
    f.WaitForPrinting();
    ASSERT_TRUE(cups.WaitUntilIdle());
    EXPECT_TRUE(cups.Jobs().empty());

    for (const char* page : {"tsBilanca", "tsRacun", "tsCFInd", "tsCFFree", "tsPokazatelji"}) {
        ShowPage(f, page);
        PressPrint(f);
        f.WaitForPrinting();
        ASSERT_TRUE(cups.WaitUntilIdle()) << cups.Log();
    }
    EXPECT_TRUE(f.dialogs->errors.isEmpty()) << f.dialogs->errors.join('\n').toStdString();

    const std::vector<PrivateCups::Job> jobs = cups.Jobs();
    ASSERT_EQ(jobs.size(), kReports.size()) << cups.Log();
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const ReportRows& r = kReports[i];
        SCOPED_TRACE(r.job);
        EXPECT_EQ(jobs[i].title, r.job);
        EXPECT_EQ(jobs[i].state, IPP_JSTATE_COMPLETED) << cups.Log();
        EXPECT_EQ(cups.JobAttribute(jobs[i], "media"), "iso_a4_210x297mm");
        EXPECT_EQ(cups.JobAttribute(jobs[i], "copies"), "1");
        const std::string text = PdfText(cups.Document(jobs[i]).string());
        std::vector<std::string> expected = {"Neupisano ime", "Varaždin"};
        if (r.statement == Statement::Bilanca) {
            expected.push_back(f.Grids().Bilanca.cell(3, 0));  // the two balance dates
            expected.push_back(f.Grids().Bilanca.cell(5, 0));
        } else {
            expected.push_back(GetParam().period);
        }
        if (r.statement != Statement::Pok) {
            expected.push_back("Iznosi u eurima i centima");
        }
        // Headings come first on the page; the rows follow in order.
        for (const std::string& t : expected) {
            EXPECT_NE(text.find(t), std::string::npos) << t << " missing in: " << text;
        }
        EXPECT_EQ(FirstOutOfOrder(text, RowTexts(f.Grids(), r)), "") << text;
        EXPECT_EQ(text.find(kCompany.toStdString()), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    BothSeparatorConventions, PrintCommand,
    ::testing::Values(LocaleCase{"hr_HR", "za razdoblje od 01. 01. 2023. do 31. 12. 2023."},
                      LocaleCase{"en_US", "za razdoblje od 1/1/2023 do 12/31/2023"}),
    [](const auto& info) { return std::string(info.param.locale); });

// The preview's print button prints the page's report on the default printer.
TEST(PrintPreview, ItsPrintButtonPrintsTheReport) {
    PrivateCups cups(PrivateCups::Queue::Accepting);
    START_SCHEDULER(cups);
    WindowFixture f;
    OpenExample(f);
    f.dialogs->printFromPreview = true;
    ShowPage(f, "tsPokazatelji");
    f.Find<QAction>("PregledIspisa1")->trigger();
    f.WaitForPrinting();
    ASSERT_TRUE(cups.WaitUntilIdle());
    const std::vector<PrivateCups::Job> jobs = cups.Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].title, "Pokazatelji");
}

// A queue that refuses jobs: the error names the report, the button is disabled while the
// jobs are sent and enabled again after the error, and the liabilities job is not sent after
// the refused assets job.
TEST(PrintCommandFailure, RefusedJobShowsTheErrorAndEnablesTheButtonAgain) {
    PrivateCups cups(PrivateCups::Queue::Rejecting);
    START_SCHEDULER(cups);
    WindowFixture f;
    OpenExample(f);
    auto* bPrint = f.Find<QToolButton>("bPrint");
    bool enabledDuringError = true;
    f.dialogs->onError = [&](const QString&) { enabledDuringError = bPrint->isEnabled(); };

    ShowPage(f, "tsBilanca");
    PressPrint(f);
    f.WaitForPrinting();

    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_TRUE(f.dialogs->errors[0].startsWith(QStringLiteral("Izvješće „Aktiva” nije ispisano")))
        << f.dialogs->errors[0].toStdString();
    EXPECT_FALSE(enabledDuringError);
    EXPECT_TRUE(bPrint->isEnabled());
    EXPECT_TRUE(f.Find<QAction>("Ispii1")->isEnabled());
    EXPECT_TRUE(cups.Jobs().empty());
}

// A print system without any printer: nothing is printed, no box is shown, and the status bar
// says why.
TEST(PrintCommandFailure, NoPrinterPrintsNothingAndSaysSo) {
    PrivateCups cups(PrivateCups::Queue::None);
    START_SCHEDULER(cups);
    WindowFixture f;
    OpenExample(f);
    ShowPage(f, "tsRacun");
    f.Find<QAction>("Ispii1")->trigger();
    f.WaitForPrinting();
    EXPECT_TRUE(f.dialogs->errors.isEmpty());
    EXPECT_TRUE(f.dialogs->informed.isEmpty());
    EXPECT_EQ(f.Find<QLabel>("pNapomena")->text(), QStringLiteral("Nije postavljen zadani pisač"));
    EXPECT_TRUE(f.Find<QToolButton>("bPrint")->isEnabled());
    EXPECT_TRUE(cups.Jobs().empty());
}

// Preview and PDF export have nothing to show on the general-data page; "all reports" has.
TEST(PrintPreview, EnabledOnStatementPagesOnly) {
    WindowFixture f;
    for (const char* page : {"tsOpce", "tsBilanca", "tsPokazatelji"}) {
        ShowPage(f, page);
        const bool statement = std::string(page) != "tsOpce";
        EXPECT_EQ(f.Find<QAction>("PregledIspisa1")->isEnabled(), statement) << page;
        EXPECT_EQ(f.Find<QAction>("IzvozPDF1")->isEnabled(), statement) << page;
        EXPECT_TRUE(f.Find<QAction>("IzvozSvihPDF1")->isEnabled()) << page;
    }
}

// The preview of the balance sheet page paints both halves, assets then liabilities.
TEST(PrintPreview, PaintsTheShowingPagesReports) {
    WindowFixture f;
    OpenExample(f);
    f.dialogs->previewFolder = f.tmp.path();
    ShowPage(f, "tsBilanca");
    f.Find<QAction>("PregledIspisa1")->trigger();

    ASSERT_EQ(f.dialogs->previewTitles, QStringList{kCompany + QStringLiteral(" – Bilanca")});
    const std::string text = PdfText(f.Path(QStringLiteral("preview-1.pdf")).toStdString());
    std::vector<std::string> rows = RowTexts(f.Grids(), kReports[0]);
    const std::vector<std::string> pasiva = RowTexts(f.Grids(), kReports[1]);
    rows.insert(rows.end(), pasiva.begin(), pasiva.end());
    EXPECT_EQ(FirstOutOfOrder(text, rows), "") << text;
}

struct ExportCase {
    const char* page;    // the page showing
    const char* action;  // the command
    const char* proposed;
    const char* title;
    std::vector<std::size_t> reports;  // indexes into kReports
};

void PrintTo(const ExportCase& c, std::ostream* os) {
    *os << c.action;
}

class PdfExport : public ::testing::TestWithParam<ExportCase> {};

// The export writes the chosen reports with their title; the dialog proposes a name beside the
// document.
TEST_P(PdfExport, WritesTheReportsWithTheirTitle) {
    const ExportCase& c = GetParam();
    WindowFixture f;
    OpenExample(f);
    ShowPage(f, c.page);
    const QString path = f.Path(QStringLiteral("izvoz.pdf"));
    f.dialogs->saveChoices.push_back(path);
    f.Find<QAction>(QString::fromUtf8(c.action))->trigger();

    ASSERT_EQ(f.dialogs->saveDialogs.size(), 1u);
    EXPECT_EQ(
        f.dialogs->saveDialogs[0].proposedName,
        QFileInfo(QStringLiteral(MOVIK_EXAMPLE)).dir().filePath(QString::fromUtf8(c.proposed)));
    EXPECT_TRUE(f.dialogs->errors.isEmpty());
    // The status bar says where it went.
    EXPECT_TRUE(f.Find<QLabel>(QStringLiteral("pNapomena"))->text().contains(path));
    EXPECT_EQ(PdfInfo(path.toStdString(), "Title"), c.title);
    const std::string text = PdfText(path.toStdString());
    std::vector<std::string> rows;
    for (const std::size_t i : c.reports) {
        const std::vector<std::string> more = RowTexts(f.Grids(), kReports[i]);
        rows.insert(rows.end(), more.begin(), more.end());
    }
    EXPECT_EQ(FirstOutOfOrder(text, rows), "") << text;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PdfExport,
    ::testing::Values(ExportCase{"tsCFInd",
                                 "IzvozPDF1",
                                 "primjer - indirektna metoda novcanog toka.pdf",
                                 "Lipa-Mont d.d. – Indirektna metoda novčanog toka",
                                 {3}},
                      ExportCase{"tsOpce",
                                 "IzvozSvihPDF1",
                                 "primjer.pdf",
                                 "Lipa-Mont d.d. – Financijski izvještaji",
                                 {0, 1, 2, 3, 4, 5}}),
    [](const auto& info) { return std::string(info.param.action); });

// A target that cannot be written (a missing folder, a folder in the file's place) gives the
// error and leaves nothing behind.
TEST(PdfExportFailure, UnwritableTargetGivesTheErrorAndNoFile) {
    WindowFixture f;
    OpenExample(f);
    ShowPage(f, "tsRacun");
    ASSERT_TRUE(QDir(f.tmp.path()).mkdir(QStringLiteral("mapa.pdf")));
    for (const QString& target :
         {f.Path(QStringLiteral("nema/izvoz.pdf")), f.Path(QStringLiteral("mapa.pdf"))}) {
        SCOPED_TRACE(target.toStdString());
        f.dialogs->errors.clear();
        f.dialogs->saveChoices.push_back(target);
        f.Find<QAction>("IzvozPDF1")->trigger();
        EXPECT_EQ(f.dialogs->errors.size(), 1);
        EXPECT_FALSE(QFileInfo(target).isFile());
        EXPECT_EQ(QDir(f.tmp.path()).entryList(QDir::Files), QStringList());
    }
}

// The note of a sent batch ends with one full stop, also after a title that ends in a date.
TEST(PrintCommandNote, EndsWithOneFullStop) {
    const struct {
        std::vector<std::string> sent;
        const char* note;
    } cases[] = {
        {{"Aktiva", "Pasiva"}, "Poslano na pisač „ured”: Aktiva, Pasiva."},
        {{"Račun dobiti i gubitka 01.01.2023. – 31.12.2023."},
         "Poslano na pisač „ured”: Račun dobiti i gubitka 01.01.2023. – 31.12.2023."},
    };
    for (const auto& c : cases) {
        PrintOutcome outcome;
        outcome.status = PrintStatus::Printed;
        outcome.printer = "ured";
        outcome.sent = c.sent;
        EXPECT_EQ(SentNote(outcome), QString::fromUtf8(c.note));
    }
}

}  // namespace
}  // namespace movik::test
