// The comparison table: grouping by company in period order with changes, sorting, removing.

#include "analysis/Comparison.h"

#include <gtest/gtest.h>

#include "analysis/SummaryFormats.h"
#include "document/Cp1250.h"
#include "model/Dates.h"

namespace movik {
namespace {

RegionalSettings Croatian() {
    return {".", ",", "dd.MM.yyyy."};
}

DocumentSummary Doc(const std::string& company, int year, double assets, double netResult) {
    DocumentSummary s;
    s.ok = true;
    s.file = company + std::to_string(year) + ".mvk";
    s.company = company;
    s.from = DayNumber(year, 1, 1);
    s.to = DayNumber(year, 12, 31);
    s.amounts[static_cast<int>(KeyAmount::TotalAssets)] = assets;
    s.amounts[static_cast<int>(KeyAmount::NetResult)] = netResult;
    s.amountTexts[static_cast<int>(KeyAmount::TotalAssets)] = std::to_string(assets);
    return s;
}

DocumentSummary Failed(const std::string& file) {
    DocumentSummary s;
    s.file = file;
    s.error = file + " nije Movik dokument";
    return s;
}

int ColumnOf(const ComparisonTable& t, ComparisonColumn::Kind kind, int index = 0) {
    for (int c = 0; c < t.columnCount(); ++c) {
        if (t.column(c).kind == kind && t.column(c).index == index) {
            return c;
        }
    }
    return -1;
}

std::vector<std::string> Files(const ComparisonTable& t) {
    std::vector<std::string> files;
    for (int r = 0; r < t.rowCount(); ++r) {
        files.push_back(t.Summary(r).file);
    }
    return files;
}

constexpr int kAssets = static_cast<int>(KeyAmount::TotalAssets);
constexpr int kNet = static_cast<int>(KeyAmount::NetResult);

ComparisonTable Sample() {
    ComparisonTable t(Croatian());
    t.Add({Doc("Žito", 2024, 200, 10), Failed("x.mvk"), Doc("Čvor", 2023, 100, -50),
           Doc("Žito", 2022, 100, 0), Doc("čvor", 2024, 150, 25), Doc("Žito", 2023, 0, 20),
           Doc("Cvijet", 2024, 50, 5)});
    return t;
}

TEST(ComparisonTable, GroupsCompaniesInAlphabetAndPeriodOrderWithFailedFilesLast) {
    ComparisonTable t = Sample();
    t.SetGrouped(true);
    EXPECT_EQ(Files(t),
              (std::vector<std::string>{"Cvijet2024.mvk", "Čvor2023.mvk", "čvor2024.mvk",
                                        "Žito2022.mvk", "Žito2023.mvk", "Žito2024.mvk", "x.mvk"}));
}

TEST(ComparisonTable, ChangesAreAgainstTheCompanysPreviousPeriod) {
    ComparisonTable t = Sample();
    t.SetGrouped(true);
    // Čvor 2023 -> 2024 (one company whatever the letter case): assets +50 %, result -50 -> 25.
    EXPECT_FALSE(t.Change(1, kAssets).has_value());
    EXPECT_DOUBLE_EQ(*t.Change(2, kAssets), 50.0);
    EXPECT_DOUBLE_EQ(*t.Change(2, kNet), 150.0);  // against the size of a loss
    // Žito: 100 -> 0 is -100 %; from 0 no change can be given; result from 0 neither.
    EXPECT_DOUBLE_EQ(*t.Change(4, kAssets), -100.0);
    EXPECT_FALSE(t.Change(5, kAssets).has_value());
    EXPECT_FALSE(t.Change(4, kNet).has_value());
    EXPECT_DOUBLE_EQ(*t.Change(5, kNet), -50.0);
    const int change = ColumnOf(t, ComparisonColumn::Kind::Change, kAssets);
    ASSERT_GE(change, 0);
    EXPECT_EQ(t.Text(2, change), "50,0%");
    EXPECT_EQ(t.Text(1, change), "");
}

TEST(ComparisonTable, SortsNumbersAndTextsBothWaysWithEmptyCellsLast) {
    ComparisonTable t = Sample();
    const int assets = ColumnOf(t, ComparisonColumn::Kind::Amount, kAssets);
    t.SortBy(assets, true);
    EXPECT_EQ(Files(t).front(), "Žito2023.mvk");
    EXPECT_EQ(Files(t).back(), "x.mvk");
    t.SortBy(assets, false);
    EXPECT_EQ(Files(t).front(), "Žito2024.mvk");
    EXPECT_EQ(Files(t).back(), "x.mvk");
    t.SortBy(ColumnOf(t, ComparisonColumn::Kind::Company), true);
    EXPECT_EQ(Files(t),
              (std::vector<std::string>{"Cvijet2024.mvk", "Čvor2023.mvk", "čvor2024.mvk",
                                        "Žito2024.mvk", "Žito2022.mvk", "Žito2023.mvk", "x.mvk"}));
}

// Grouped and then sorted by a column: the companies go by their latest period's cell, each
// keeps its periods in order, and every change still compares a period with the one before.
TEST(ComparisonTable, GroupedSortOrdersCompaniesAndKeepsTheirPeriodsInOrder) {
    ComparisonTable t = Sample();
    t.SetGrouped(true);
    const int assets = ColumnOf(t, ComparisonColumn::Kind::Amount, kAssets);
    const int change = ColumnOf(t, ComparisonColumn::Kind::Change, kAssets);
    // Latest assets: Cvijet 50, Čvor 150, Žito 200.
    t.SortBy(assets, false);
    EXPECT_TRUE(t.grouped());
    EXPECT_EQ(Files(t), (std::vector<std::string>{"Žito2022.mvk", "Žito2023.mvk", "Žito2024.mvk",
                                                  "Čvor2023.mvk", "čvor2024.mvk", "Cvijet2024.mvk",
                                                  "x.mvk"}));
    EXPECT_EQ(t.Text(1, change), "-100,0%");  // 2023 against 2022
    EXPECT_EQ(t.Text(4, change), "50,0%");    // Čvor 2024 against 2023
    // By the latest change: Čvor +50 %; Cvijet and Žito (from 0) have none and go after it.
    t.SortBy(change, true);
    EXPECT_EQ(Files(t),
              (std::vector<std::string>{"Čvor2023.mvk", "čvor2024.mvk", "Cvijet2024.mvk",
                                        "Žito2022.mvk", "Žito2023.mvk", "Žito2024.mvk", "x.mvk"}));
}

TEST(ComparisonTable, AFileAlreadyThereIsNotAddedTwice) {
    ComparisonTable t = Sample();
    EXPECT_EQ(t.Add({Doc("Žito", 2024, 200, 10), Doc("Novo", 2024, 1, 1), Failed("x.mvk")}), 2);
    EXPECT_EQ(t.rowCount(), 8);
    EXPECT_EQ(t.Add({Doc("Isto", 2020, 1, 1), Doc("Isto", 2020, 1, 1)}), 1);  // within one batch
    EXPECT_EQ(t.rowCount(), 9);
}

TEST(ComparisonTable, TwoDocumentsOfOnePeriodAreMarkedWithoutAChange) {
    ComparisonTable t(Croatian());
    DocumentSummary copy = Doc("Žito", 2023, 300, 10);
    copy.file = "kopija.mvk";
    t.Add(
        {Doc("Žito", 2022, 100, 10), Doc("Žito", 2023, 200, 10), copy, Doc("Žito", 2024, 400, 10)});
    t.SetGrouped(true);
    ASSERT_EQ(Files(t), (std::vector<std::string>{"Žito2022.mvk", "Žito2023.mvk", "kopija.mvk",
                                                  "Žito2024.mvk"}));
    EXPECT_EQ(t.SamePeriodAs(0), "");
    EXPECT_EQ(t.SamePeriodAs(1), "kopija.mvk");
    EXPECT_EQ(t.SamePeriodAs(2), "Žito2023.mvk");
    EXPECT_DOUBLE_EQ(*t.Change(1, kAssets), 100.0);
    EXPECT_FALSE(t.Change(2, kAssets).has_value());  // no "0,0 %" between two versions
    EXPECT_NE(t.Text(2, ColumnOf(t, ComparisonColumn::Kind::Status)).find("„Žito2023.mvk”"),
              std::string::npos);
}

TEST(ComparisonTable, RemovedRowsTakeTheirTrendWithThem) {
    ComparisonTable t = Sample();
    t.SetGrouped(true);
    t.Remove({4});  // Žito 2023
    ASSERT_EQ(t.rowCount(), 6);
    EXPECT_EQ(t.Summary(4).file, "Žito2024.mvk");
    EXPECT_DOUBLE_EQ(*t.Change(4, kAssets), 100.0);  // now against 2022
}

TEST(ComparisonTable, CsvHoldsTheShownTableInWindows1250) {
    ComparisonTable t = Sample();
    t.SetGrouped(true);
    const std::string csv = Cp1250ToUtf8(t.Csv());
    EXPECT_EQ(csv.substr(0, csv.find(';')), "Poduzeće");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 8);
    EXPECT_NE(csv.find("x.mvk nije Movik dokument"), std::string::npos);
}

TEST(SummaryFormats, JsonNumbersReadBackExactly) {
    for (const double v : {0.1, 1e11 - 0.01, -2.5e-7, 123456789.123, 1.0 / 3}) {
        EXPECT_EQ(std::stod(JsonNumber(v)), v);
    }
    EXPECT_EQ(JsonNumber(-0.0), "0");
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
}

TEST(SummaryFormats, TextsAreEscaped) {
    EXPECT_EQ(JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
    EXPECT_EQ(CsvLine({"a;b", "\"x\"", "Čvor ☺"}), "\"a;b\";\"\"\"x\"\"\";\xC8vor ?;\r\n");
}

TEST(SummaryFormats, AFailedRowHasEveryFieldAsNull) {
    const std::string line = SummaryLine(SummaryFormat::Jsonl, Failed("a\"b.mvk"), Croatian());
    EXPECT_EQ(line.rfind("{\"file\":\"a\\\"b.mvk\",\"ok\":false,\"error\":", 0), 0u) << line;
    EXPECT_NE(line.find("\"net_result\":null,"), std::string::npos);
    EXPECT_NE(line.find("\"indicators\":null,\"warnings\":[]}\n"), std::string::npos);
}

}  // namespace
}  // namespace movik
