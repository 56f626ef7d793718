// The variable texts the print commands put on the reports.

#include "ReportTestSupport.h"
#include "model/Dates.h"
#include "tests/support/WorkspaceTestAccess.h"

namespace movik::test {
namespace {

TEST(PrintTextsTest, ShortDatePatternGetsAFourDigitYear) {
    const std::pair<const char*, const char*> cases[] = {
        {"M/d/yy", "M/d/yyyy"},
        {"dd. MM. yyyy.", "dd. MM. yyyy."},
        {"d 'yy' yy", "d 'yy' yyyy"},
        {"yy-MM-dd", "yyyy-MM-dd"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(WithFourDigitYear(in), out) << in;
}

TEST(PrintTextsTest, OnlyTheStatementPagesPrint) {
    const std::pair<const char*, std::optional<Statement>> cases[] = {
        {"tsBilanca", Statement::Bilanca}, {"tsRacun", Statement::Racun},
        {"tsCFInd", Statement::CFInd},     {"tsCFFree", Statement::CFFree},
        {"tsPokazatelji", Statement::Pok}, {"tsOpce", std::nullopt},
        {"tsbilanca", std::nullopt},       {"", std::nullopt}};
    for (const auto& [page, statement] : cases)
        EXPECT_EQ(StatementOfPage(page), statement) << page;
}

TEST(PrintTextsTest, PeriodLineInBothLocales) {
    TDokument doc;
    doc.DatumOd = DayNumber(2024, 1, 1);
    doc.DatumDo = DayNumber(2024, 12, 31);
    EXPECT_EQ(PeriodLine(doc, EnglishSettings()), "za razdoblje od 1/1/2024 do 12/31/2024");
    EXPECT_EQ(PeriodLine(doc, CroatianSettings()),
              "za razdoblje od 01. 01. 2024. do 31. 12. 2024.");
}

// Company and seat come from the document, not from fields typed since the last refresh; the
// balance sheet takes its grid's header dates; the warning line is present only with a warning.
TEST(PrintTextsTest, ReportsCarryTheDocumentsTexts) {
    Workspace ws(EnglishSettings(), 2024);
    OpenExample(ws);
    WorkspaceTestAccess::Fields(ws).Poduzece = "Upisano ali ne osvježeno";
    ReportSet set(ws.grids());
    for (const std::string warning : {"", "Neravnoteža aktive i pasive u bilanci"}) {
        PrintInputs in = PrintInputsOf(ws, "tisućama kuna");
        in.warning = warning;
        for (const PrintJob& job : set.PrintAll(in)) {
            const LaidOutPage& page = job.pages.at(0);
            EXPECT_EQ(ItemNamed(page, "lPoduzece")->text, ws.document().Poduzece) << job.name;
            EXPECT_EQ(ItemNamed(page, "lSjediste")->text, ws.document().Sjediste) << job.name;
            const DrawItem* unit = ItemNamed(page, "lIznosi");
            if (job.name == "Pokazatelji") {
                EXPECT_EQ(unit, nullptr);
            } else {
                EXPECT_EQ(unit->text, "Iznosi u tisućama kuna") << job.name;
            }
            if (job.name == "Aktiva" || job.name == "Pasiva") {
                EXPECT_EQ(ItemNamed(page, "lPrethodna")->text, ws.grids().Bilanca.cell(3, 0));
                EXPECT_EQ(ItemNamed(page, "lTekuca")->text, ws.grids().Bilanca.cell(5, 0));
                EXPECT_EQ(ItemNamed(page, "lUpozorenje")->text,
                          warning.empty() ? "" : "Upozorenje: " + warning);
            }
        }
    }
}

}  // namespace
}  // namespace movik::test
