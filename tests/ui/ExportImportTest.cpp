// Export and import from the menu, on the page that is showing.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTabWidget>

#include "WindowFixture.h"
#include "document/Csv.h"

namespace movik::test {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void ShowPage(WindowFixture& f, Statement s) {
    f.Find<QTabWidget>("PageControl")->setCurrentIndex(static_cast<int>(s) + 1);
}

struct ExportCase {
    Statement statement;
    const char* fileName;
    int lines;
};

void PrintTo(const ExportCase& c, std::ostream* os) {
    *os << c.fileName;
}

class ExportTest : public ::testing::TestWithParam<ExportCase> {};

TEST_P(ExportTest, MenuExportWritesTheShowingGrid) {
    const ExportCase& c = GetParam();
    WindowFixture f;
    ShowPage(f, c.statement);
    QAction* exportItem = f.Find<QAction>("Export1");
    ASSERT_TRUE(exportItem->isEnabled());
    const QString path = f.Path("izvoz");  // typed without an extension
    f.dialogs->saveChoices = {path};
    exportItem->trigger();

    ASSERT_EQ(f.dialogs->saveDialogs.size(), 1u);
    const FileDialogSetup& dialog = f.dialogs->saveDialogs[0];
    EXPECT_EQ(dialog.id, "CSVSave");
    EXPECT_EQ(dialog.title, "Snimi kao");
    EXPECT_EQ(dialog.proposedName, QString::fromUtf8(c.fileName));
    EXPECT_EQ(dialog.defaultExtension, "csv");
    ASSERT_EQ(dialog.filters.size(), 2);
    EXPECT_EQ(dialog.filters[0].label, "Comma separated values (*.csv)");
    EXPECT_EQ(dialog.filters[0].patterns, "*.csv");

    const QByteArray bytes = ReadAll(path + ".csv");
    EXPECT_EQ(bytes.toStdString(), f.window->workspace().ExportCsv(c.statement));
    EXPECT_EQ(bytes.count("\r\n"), c.lines);
    EXPECT_FALSE(f.Doc().Izmijenjen);
    EXPECT_TRUE(f.dialogs->errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ExportTest,
    ::testing::Values(ExportCase{Statement::Bilanca, "bilanca.csv", 89},
                      ExportCase{Statement::Racun, "racun dobiti i gubitka.csv", 46},
                      ExportCase{Statement::CFInd, "indirektna metoda novcanog toka.csv", 32},
                      ExportCase{Statement::CFFree, "metoda slobodnog novcanog toka.csv", 29},
                      ExportCase{Statement::Pok, "pokazatelji.csv", 20}));

TEST(ExportImport, NothingOnTheGeneralDataPage) {
    WindowFixture f;
    f.window->ExportCsv();
    f.window->ImportCsv();
    EXPECT_TRUE(f.dialogs->saveDialogs.empty());
    EXPECT_TRUE(f.dialogs->openDialogs.empty());
}

TEST(ExportImport, ImportOnlyOnTheInputStatements) {
    WindowFixture f;
    ShowPage(f, Statement::CFInd);
    EXPECT_FALSE(f.Find<QAction>("Import1")->isEnabled());
    f.window->ImportCsv();
    EXPECT_TRUE(f.dialogs->openDialogs.empty());
}

TEST(ExportImport, ExportThenImportRestoresTheAmounts) {
    WindowFixture f;
    ASSERT_TRUE(f.window->agBilancaCellValidate(5, 4, "1000"));
    ASSERT_TRUE(f.window->agBilancaCellValidate(3, 58, "250,5"));
    const std::string before = f.window->workspace().ExportCsv(Statement::Bilanca);
    ShowPage(f, Statement::Bilanca);
    const QString path = f.Path("bilanca.csv");
    f.dialogs->saveChoices = {path};
    f.window->Export1Click();

    f.dialogs->answers = {Answer::No};
    f.window->Nova1Click();
    EXPECT_EQ(f.Grids().Bilanca.cell(5, 55), "0,00");
    ShowPage(f, Statement::Bilanca);
    f.dialogs->openChoices = {path};
    f.window->Import1Click();

    ASSERT_EQ(f.dialogs->openDialogs.size(), 1u);
    EXPECT_EQ(f.dialogs->openDialogs[0].id, "CSVOpen");
    EXPECT_EQ(f.dialogs->openDialogs[0].title, "Otvori");
    EXPECT_EQ(f.dialogs->openDialogs[0].proposedName, "bilanca.csv");
    EXPECT_EQ(f.dialogs->openDialogs[0].filters[0].label, "Comma delimited (*.csv)");
    EXPECT_TRUE(f.dialogs->errors.isEmpty());
    EXPECT_EQ(f.Grids().Bilanca.cell(5, 55), "1.000,00");
    EXPECT_EQ(f.Grids().Bilanca.cell(3, 87), "250,50");
    EXPECT_EQ(f.window->workspace().ExportCsv(Statement::Bilanca), before);
    EXPECT_EQ(f.Find<QLabel>("pUpozorenje")->text(), "Neravnoteža aktive i pasive u bilanci");
    // Imported amounts are unsaved changes.
    EXPECT_TRUE(f.Doc().Izmijenjen);
}

TEST(ExportImport, FailedImportChangesNothing) {
    WindowFixture f;
    ASSERT_TRUE(f.window->agRacunCellValidate(3, 2, "100"));
    f.Doc().Izmijenjen = false;
    ShowPage(f, Statement::Racun);
    const std::string before = f.window->workspace().ExportCsv(Statement::Racun);

    // Line 2 has three non-empty pieces where four are read.
    const QString shortLine = f.Path("kratka.csv");
    WriteAll(shortLine, "Rbr;P o z i c i j a;Iznos;Udio (%);\r\n1;x;5;6;\r\n2;y;7;\r\n");
    // A whole amount written with the other convention's thousands separator.
    const QString ambiguous = f.Path("dvoznacna.csv");
    WriteAll(ambiguous, "Rbr;P o z i c i j a;Iznos;Udio (%);\r\n1;x;485,000;0;\r\n");
    f.dialogs->openChoices = {shortLine, f.Path("nema.csv"), ambiguous};
    f.window->ImportCsv();
    f.window->ImportCsv();
    f.window->ImportCsv();

    ASSERT_EQ(f.dialogs->errors.size(), 3);
    EXPECT_EQ(f.dialogs->errors[0], "List index out of bounds (3)");
    EXPECT_TRUE(f.dialogs->errors[1].contains("nema.csv"));
    EXPECT_EQ(f.dialogs->errors[2],
              "Datoteka nije uvezena: u retku 2, stupcu 3 iznos „485,000” nije jednoznačan: "
              "može biti 485,00 ili 485.000,00.");
    EXPECT_EQ(f.window->workspace().ExportCsv(Statement::Racun), before);
    EXPECT_FALSE(f.Doc().Izmijenjen);
}

// A short file fills the rows it has and the status bar says which kept their amounts; a file
// of the header alone imports nothing and says so.
TEST(ExportImport, ShortAndHeaderOnlyFilesSayWhatTheyDid) {
    WindowFixture f;
    ASSERT_TRUE(f.window->agRacunCellValidate(3, 44, "9"));
    ShowPage(f, Statement::Racun);
    const QString shortFile = f.Path("kratka.csv");
    WriteAll(shortFile, "Rbr;P;Iznos;Udio;\r\n1;x;5,00;0;\r\n2;y;7,1251;0;\r\n");
    const QString headerOnly = f.Path("zaglavlje.csv");
    WriteAll(headerOnly, "Rbr;P;Iznos;Udio;\r\n");
    f.dialogs->openChoices = {shortFile, headerOnly};

    f.window->ImportCsv();
    EXPECT_TRUE(f.dialogs->errors.isEmpty());
    EXPECT_EQ(f.Find<QLabel>("pNapomena")->text(),
              "Uvezeno je 2 od 45 redaka; retci 3–45 zadržali su dosadašnje iznose. Iznosa s više "
              "od dvije decimale zaokruženih na cente: 1 (prvi u retku 3, stupcu 3).");
    EXPECT_EQ(f.Grids().Racun.cell(3, 2), "7,13");
    EXPECT_EQ(f.Grids().Racun.cell(3, 44), "9,00");  // beyond the file: kept

    const std::string before = f.window->workspace().ExportCsv(Statement::Racun);
    f.window->ImportCsv();
    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_EQ(f.dialogs->errors[0], "Datoteka nema redaka s iznosima: ništa nije uvezeno.");
    EXPECT_EQ(f.window->workspace().ExportCsv(Statement::Racun), before);
}

TEST(ExportImport, FailedExportKeepsTheOldFile) {
    WindowFixture f;
    ShowPage(f, Statement::Pok);
    const QString path = f.Path("pokazatelji.csv");
    WriteAll(path, "staro");
    f.window->SetFileWriter(std::make_unique<FailingWriter>());
    f.dialogs->saveChoices = {path};
    f.window->ExportCsv();
    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_EQ(ReadAll(path), "staro");
}

}  // namespace
}  // namespace movik::test
