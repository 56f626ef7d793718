// Documents in kunas and in euros together: the summary's currency, its conversion to euros,
// and a comparison whose trend across the changeover compares euros with euros.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "analysis/Comparison.h"
#include "analysis/EuroConversion.h"
#include "analysis/SummaryFormats.h"
#include "document/DocumentFile.h"
#include "model/Dates.h"

namespace movik {
namespace {

namespace fs = std::filesystem;

RegionalSettings Croatian() {
    return {".", ",", "dd.MM.yyyy."};
}

constexpr int kAssets = static_cast<int>(KeyAmount::TotalAssets);
constexpr int kPerShare = 10;     // indicator row 14, earnings per share
constexpr int kCurrentRatio = 0;  // indicator row 2, a ratio

// One company's documents: the example's amounts as a kuna document for 2022 and, unchanged,
// as the euro document for 2023 (so in euros the company grew by the rate).
class CurrencyAcrossDocuments : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("movik-currency-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        kuna2022_ = Write("k2022.mvk", 2022);
        euro2023_ = Write("e2023.mvk", 2023);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, int year) {
        TDokument doc;
        NewDocument(doc, 2026);  // the header a saved file carries
        EXPECT_TRUE(OpenDocument(MOVIK_EXAMPLE, doc));
        doc.DatumOd = DayNumber(year, 1, 1);
        doc.DatumDo = DayNumber(year, 12, 31);
        doc.ImeDatoteke = (dir_ / name).string();
        EXPECT_TRUE(SaveDocument(doc).ok());
        return doc.ImeDatoteke;
    }
    DocumentSummary Sum(const std::string& path) { return Summarize(path, Croatian(), 2026, true); }

    fs::path dir_;
    std::string kuna2022_, euro2023_;
};

TEST_F(CurrencyAcrossDocuments, ASummaryInEurosIsTheConvertedDocumentsWithRatiosKept) {
    const DocumentSummary kuna = Sum(kuna2022_);
    ASSERT_TRUE(kuna.ok) << kuna.error;
    EXPECT_EQ(kuna.currency, Valuta::Hrk);
    const DocumentSummary euro = InCurrency(kuna, Valuta::Eur);
    EXPECT_EQ(euro.currency, Valuta::Eur);
    EXPECT_TRUE(euro.converted);
    // What converting the file gives, to the cent.
    Workspace ws(Croatian(), 2026);
    ASSERT_TRUE(ws.OpenDocument(kuna2022_));
    ws.RefreshCycle();
    ASSERT_TRUE(ConvertToEuro(ws));
    const DocumentSummary converted = SummaryOf(ws, kuna2022_);
    EXPECT_EQ(euro.amounts, converted.amounts);
    EXPECT_EQ(euro.amountTexts, converted.amountTexts);
    EXPECT_EQ(euro.amounts[kAssets], KunaToEuro(kuna.amounts[kAssets]));
    EXPECT_EQ(euro.indicators[kPerShare], converted.indicators[kPerShare]);
    EXPECT_NE(euro.indicators[kPerShare], kuna.indicators[kPerShare]);
    EXPECT_EQ(euro.indicators[kCurrentRatio], kuna.indicators[kCurrentRatio]);
    // A euro document stays as it is.
    const DocumentSummary already = Sum(euro2023_);
    EXPECT_FALSE(already.inEuro.has_value());
    EXPECT_FALSE(InCurrency(already, Valuta::Eur).converted);
}

TEST_F(CurrencyAcrossDocuments, EveryFormatCarriesTheCurrencyAndTheConversionMark) {
    const DocumentSummary kuna = Sum(kuna2022_);
    const DocumentSummary euro = InCurrency(kuna, Valuta::Eur);
    const RegionalSettings rs = Croatian();
    const std::string plain = SummaryLine(SummaryFormat::Jsonl, kuna, rs);
    EXPECT_NE(plain.find("\"currency\":\"HRK\",\"converted\":false"), std::string::npos) << plain;
    const std::string jsonl = SummaryLine(SummaryFormat::Jsonl, euro, rs);
    EXPECT_NE(jsonl.find("\"currency\":\"EUR\",\"converted\":true"), std::string::npos) << jsonl;
    EXPECT_NE(jsonl.find("\"total_assets\":" + JsonNumber(KunaToEuro(kuna.amounts[kAssets]))),
              std::string::npos);
    EXPECT_NE(SummaryLine(SummaryFormat::Csv, euro, rs).find(";EUR;da;"), std::string::npos);
    EXPECT_NE(SummaryLine(SummaryFormat::Csv, Sum(euro2023_), rs).find(";EUR;;"),
              std::string::npos);
    EXPECT_NE(SummaryLine(SummaryFormat::Txt, euro, rs).find("EUR*"), std::string::npos);
    EXPECT_NE(SummaryHeader(SummaryFormat::Csv).find(";Valuta;"), std::string::npos);
    EXPECT_NE(SummaryHeader(SummaryFormat::Csv, Valuta::Eur).find("(u EUR)"), std::string::npos);
}

TEST_F(CurrencyAcrossDocuments, AMixedComparisonComparesEurosWithEuros) {
    ComparisonTable t(Croatian());
    t.Add({Sum(euro2023_), Sum(kuna2022_)});
    t.SetGrouped(true);
    ASSERT_EQ(t.currency(), Valuta::Eur);
    ASSERT_EQ(t.Summary(0).file, kuna2022_);
    const DocumentSummary kuna = Sum(kuna2022_);
    const double before = KunaToEuro(kuna.amounts[kAssets]);
    const double after = t.Summary(1).amounts[kAssets];
    EXPECT_EQ(t.Summary(0).amounts[kAssets], before);
    EXPECT_EQ(after, kuna.amounts[kAssets]);  // the same figure, now euros
    // (after − before) / |before| × 100: the growth the rate makes, about +653 %.
    ASSERT_TRUE(t.Change(1, kAssets));
    EXPECT_DOUBLE_EQ(*t.Change(1, kAssets), (after - before) / before * 100);
    EXPECT_NEAR(*t.Change(1, kAssets), (kKunaPerEuro - 1) * 100, 0.01);
    int currency = -1;
    int perShare = -1;
    for (int c = 0; c < t.columnCount(); ++c) {
        currency = t.column(c).kind == ComparisonColumn::Kind::Currency ? c : currency;
        perShare =
            t.column(c).kind == ComparisonColumn::Kind::Indicator && t.column(c).index == kPerShare
                ? c
                : perShare;
    }
    EXPECT_EQ(t.Text(0, currency), "EUR*");
    EXPECT_EQ(t.Text(1, currency), "EUR");
    EXPECT_EQ(t.Caption(perShare), "4. Zarada po dionici (u EUR)");
    // Without the euro document the table is in kunas again, unconverted.
    t.Remove({1});
    EXPECT_EQ(t.currency(), Valuta::Hrk);
    EXPECT_EQ(t.Text(0, currency), "HRK");
    EXPECT_EQ(t.Summary(0).amounts[kAssets], kuna.amounts[kAssets]);
    EXPECT_EQ(t.Caption(perShare), "4. Zarada po dionici (u KN)");
}

}  // namespace
}  // namespace movik
