#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ModelTestSupport.h"
#include "model/Calculations.h"
#include "model/Dates.h"
#include "model/Document.h"
#include "model/Templates.h"

namespace movik {
namespace {

// Fills every field of a document with something NewDocument must replace.
void Scribble(TDokument& doc) {
    doc.Potpis = "old";
    doc.Verzija = "old";
    doc.Poduzece = "Tvrtka d.o.o.";
    doc.Sjediste = "Zagreb";
    doc.DatumOd = 123;
    doc.DatumDo = 456;
    doc.BrojDionica = 789;
    doc.Izmijenjen = true;
    doc.ImeDatoteke = "/tmp/stara.mvk";
    for (auto& r : doc.Bilanca.rows) {
        r = {"x", 1.5, 2.5, 3.5, 4.5};
    }
    for (auto& r : doc.Racun.rows) {
        r = {"y", 5.5, 6.5};
    }
    for (auto& r : doc.CFInd.rows) {
        r = {"z", 7.5};
    }
    for (auto& r : doc.CFFree.rows) {
        r = {"w", 8.5};
    }
    for (auto& r : doc.Pok.rows) {
        r = {"v", 9.5};
    }
}

class NewDocumentTest : public ::testing::Test {
  protected:
    std::unique_ptr<TDokument> doc = std::make_unique<TDokument>();
};

TEST_F(NewDocumentTest, ClearsEverything) {
    Scribble(*doc);
    NewDocument(*doc, 2025);

    EXPECT_FALSE(doc->Izmijenjen);
    EXPECT_TRUE(doc->ImeDatoteke.empty());
    EXPECT_TRUE(doc->Poduzece.empty());
    EXPECT_TRUE(doc->Sjediste.empty());
    EXPECT_EQ(doc->BrojDionica, 0);

    for (int n = 1; n <= kBilancaRows; ++n) {
        const auto& r = doc->Bilanca.row(n);
        EXPECT_EQ(r.Tekst, TemplateRow(Statement::Bilanca, n).Tekst);
        EXPECT_EQ(r.IznosPrethodna, 0);
        EXPECT_EQ(r.UdioPrethodna, 0);
        EXPECT_EQ(r.IznosTekuca, 0);
        EXPECT_EQ(r.UdioTekuca, 0);
    }
    for (int n = 1; n <= kRacunRows; ++n) {
        EXPECT_EQ(doc->Racun.row(n).Tekst, TemplateRow(Statement::Racun, n).Tekst);
        EXPECT_EQ(doc->Racun.row(n).Iznos, 0);
        EXPECT_EQ(doc->Racun.row(n).Udio, 0);
    }
    for (int n = 1; n <= kCFIndRows; ++n) {
        EXPECT_EQ(doc->CFInd.row(n).Tekst, TemplateRow(Statement::CFInd, n).Tekst);
        EXPECT_EQ(doc->CFInd.row(n).Iznos, 0);
    }
    for (int n = 1; n <= kCFFreeRows; ++n) {
        EXPECT_EQ(doc->CFFree.row(n).Tekst, TemplateRow(Statement::CFFree, n).Tekst);
        EXPECT_EQ(doc->CFFree.row(n).Iznos, 0);
    }
    for (int n = 1; n <= kPokRows; ++n) {
        EXPECT_EQ(doc->Pok.row(n).Tekst, TemplateRow(Statement::Pok, n).Tekst);
        EXPECT_EQ(doc->Pok.row(n).Iznos, 0);
    }
}

TEST_F(NewDocumentTest, Header) {
    NewDocument(*doc, 2025);
    EXPECT_EQ(doc->Potpis, "Movik" + std::string(59, ' '));
    EXPECT_EQ(doc->Potpis.size(), 64u);
    EXPECT_EQ(doc->Verzija, "Verzija 1.0     ");
    EXPECT_EQ(doc->Verzija.size(), 16u);
}

TEST_F(NewDocumentTest, KeepsTextBlanks) {
    NewDocument(*doc, 2025);
    EXPECT_EQ(doc->Bilanca.row(32).Tekst, "   I.  Zalihe");
    EXPECT_EQ(doc->CFFree.row(17).Tekst.back(), ' ');
    EXPECT_EQ(doc->Pok.row(12).Tekst.back(), ' ');
}

TEST_F(NewDocumentTest, KeptBlockSurvives) {
    for (std::size_t i = 0; i < doc->KeptBlock.size(); ++i) {
        doc->KeptBlock[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    const auto before = doc->KeptBlock;
    NewDocument(*doc, 2025);
    EXPECT_EQ(doc->KeptBlock, before);
}

TEST_F(NewDocumentTest, IsRepeatable) {
    NewDocument(*doc, 2025);
    auto first = std::make_unique<TDokument>(*doc);
    Scribble(*doc);
    NewDocument(*doc, 2025);
    EXPECT_EQ(doc->Bilanca.rows[10].Tekst, first->Bilanca.rows[10].Tekst);
    EXPECT_EQ(doc->DatumOd, first->DatumOd);
    EXPECT_EQ(doc->DatumDo, first->DatumDo);
    EXPECT_EQ(doc->Potpis, first->Potpis);
}

TEST_F(NewDocumentTest, FirstRecalculationGivesFullSharesOnlyForTheTotals) {
    NewDocument(*doc, 2025);
    EXPECT_EQ(RecalculateAll(*doc), "");
    for (int n = 1; n <= kRacunRows; ++n) {
        const double expected = (n >= 40 && n <= 42) ? 100 : 0;
        EXPECT_EQ(doc->Racun.row(n).Udio, expected) << "Racun row " << n;
    }
    for (const auto& r : doc->Bilanca.rows) {
        EXPECT_EQ(r.UdioPrethodna, 0);
        EXPECT_EQ(r.UdioTekuca, 0);
    }
}

struct PeriodCase {
    int year;
    double from;  // day number of 1 January
    int days;     // length of the year
};

class NewDocumentPeriodTest : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(NewDocumentPeriodTest, RunsFromFirstJanuaryToLastDecember) {
    const PeriodCase& c = GetParam();
    auto doc = std::make_unique<TDokument>();
    NewDocument(*doc, c.year);
    EXPECT_EQ(doc->DatumOd, c.from);
    EXPECT_EQ(doc->DatumDo - doc->DatumOd + 1, c.days);
    const CivilDate from = CivilFromDayNumber(doc->DatumOd);
    const CivilDate to = CivilFromDayNumber(doc->DatumDo);
    EXPECT_EQ(from.year, c.year);
    EXPECT_EQ(from.month, 1);
    EXPECT_EQ(from.day, 1);
    EXPECT_EQ(to.year, c.year);
    EXPECT_EQ(to.month, 12);
    EXPECT_EQ(to.day, 31);
}

INSTANTIATE_TEST_SUITE_P(Years, NewDocumentPeriodTest,
                         ::testing::Values(PeriodCase{2025, 45658, 365},
                                           PeriodCase{2024, 45292, 366},
                                           PeriodCase{2000, 36526, 366}, PeriodCase{1900, 2, 365},
                                           PeriodCase{2100, 73051, 365}));

}  // namespace
}  // namespace movik
