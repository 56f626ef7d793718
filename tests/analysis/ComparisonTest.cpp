// The comparison table: grouping by company in period order with changes, sorting, removing.

#include "analysis/Comparison.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "analysis/SummaryFormats.h"
#include "document/Cp1250.h"
#include "document/Csv.h"
#include "document/Workspace.h"
#include "model/Dates.h"
#include "model/NumberFormat.h"

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
    t.Add({Doc("", 2023, 10, 1)});  // a document without a company name: after the named ones
    t.SetGrouped(true);
    EXPECT_EQ(Files(t), (std::vector<std::string>{"Cvijet2024.mvk", "Čvor2023.mvk", "čvor2024.mvk",
                                                  "Žito2022.mvk", "Žito2023.mvk", "Žito2024.mvk",
                                                  "2023.mvk", "x.mvk"}));
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

// Amounts and indicators that are no number (a stored file may hold them) sort as empty cells:
// after every number, in both directions.
TEST(ComparisonTable, NoNumberSortsAsEmptyAtTheEnd) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    ComparisonTable t(Croatian());
    const double assets[] = {1, 5, nan, nan, 0, 2, 3, 4, -inf, 6, inf};
    std::vector<DocumentSummary> docs;
    for (std::size_t i = 0; i < std::size(assets); ++i) {
        docs.push_back(Doc("P" + std::to_string(i), 2024, assets[i], 0));
    }
    docs[3].to = nan;  // a period that is no date sorts last too
    t.Add(docs);
    const int column = ColumnOf(t, ComparisonColumn::Kind::Amount, kAssets);
    const int period = ColumnOf(t, ComparisonColumn::Kind::Period);
    for (const bool ascending : {true, false}) {
        t.SortBy(column, ascending);
        std::vector<double> shown;
        for (int r = 0; r < t.rowCount(); ++r) {
            shown.push_back(t.Summary(r).amounts[kAssets]);
        }
        const std::vector<double> numbers = ascending ? std::vector<double>{0, 1, 2, 3, 4, 5, 6}
                                                      : std::vector<double>{6, 5, 4, 3, 2, 1, 0};
        EXPECT_EQ(std::vector<double>(shown.begin(), shown.begin() + 7), numbers);
        for (int r = 7; r < t.rowCount(); ++r) {
            EXPECT_FALSE(std::isfinite(shown[static_cast<std::size_t>(r)]));
            EXPECT_FALSE(t.Number(r, column).has_value());
        }
        t.SortBy(period, ascending);
        EXPECT_EQ(t.Summary(t.rowCount() - 1).file, docs[3].file);
    }
    t.SetGrouped(true);
    EXPECT_EQ(t.rowCount(), 11);
}

// An indicator that cannot be computed (no shares, a denominator of 0) is an empty cell: it
// sorts after every number in both directions, with the infinite ones, grouped or not.
TEST(ComparisonTable, IndicatorsWithoutAFigureSortLastBothWays) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        bool notComputable;
    };
    const Case cases[] = {{2, false}, {0, true}, {-1, false}, {inf, false},
                          {0, false}, {0, true}, {5, false}};
    ComparisonTable t(Croatian());
    std::vector<DocumentSummary> docs;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        DocumentSummary d = Doc("P" + std::to_string(i), 2024, 1, 0);
        d.indicators[0] = cases[i].value;
        d.indicatorTexts[0] = "0,00";
        d.indicatorNotComputable[0] = cases[i].notComputable;
        docs.push_back(d);
    }
    t.Add(docs);
    for (const bool grouped : {false, true}) {
        t.SetGrouped(grouped);
        const int column = ColumnOf(t, ComparisonColumn::Kind::Indicator, 0);
        for (const bool ascending : {true, false}) {
            t.SortBy(column, ascending);
            std::vector<double> numbers;
            for (int r = 0; r < t.rowCount(); ++r) {
                if (const std::optional<double> v = t.Number(r, column)) {
                    EXPECT_EQ(r, static_cast<int>(numbers.size()))
                        << "a number after an empty cell";
                    numbers.push_back(*v);
                } else {
                    EXPECT_EQ(t.Text(r, column) == "", t.Summary(r).indicatorNotComputable[0]);
                }
            }
            const std::vector<double> expected =
                ascending ? std::vector<double>{-1, 0, 2, 5} : std::vector<double>{5, 2, 0, -1};
            EXPECT_EQ(numbers, expected);
        }
    }
}

// The summary's CSV cells are the export's: the narrow no-break space of a locale's digit groups
// is the no-break space there too, never "?".
TEST(SummaryFormats, CsvCellsAreEncodedAsTheExportEncodesThem) {
    const RegionalSettings rs{"\xE2\x80\xAF", ",", "dd.MM.yyyy."};
    const DocumentSummary s = Summarize(MOVIK_EXAMPLE, rs, 2026);
    ASSERT_TRUE(s.ok);
    const std::string line = SummaryLine(SummaryFormat::Csv, s, rs);
    Workspace ws(rs, 2026);
    ASSERT_TRUE(ws.OpenDocument(MOVIK_EXAMPLE));
    ws.RefreshCycle();
    const std::string exported = ws.ExportCsv(Statement::Bilanca);
    // The total assets cell of the export, as the summary shows it.
    std::string cell;
    AppendCsvCell(cell, s.amountTexts[kAssets], CsvCellRule::Quoted);
    EXPECT_NE(cell.find('\xA0'), std::string::npos);
    EXPECT_NE(exported.find(";" + cell), std::string::npos);
    EXPECT_NE(line.find(";" + cell), std::string::npos);
    EXPECT_EQ(line.find('?'), std::string::npos);
    ComparisonTable t(rs);
    t.Add({s});
    EXPECT_NE(t.Csv().find(";" + cell), std::string::npos);
}

// Amounts with binary noise are written as the decimal of their cents; indicators with the
// decimals their grid row shows, and as null where their denominator is 0 (not the grid's 0).
TEST(SummaryFormats, JsonAmountsAreTheirCents) {
    DocumentSummary s = Doc("Lipa", 2024, 822881.4099999999, 0);
    s.amounts[static_cast<int>(KeyAmount::EquityPrevious)] = 472692.27999999997;
    s.amounts[static_cast<int>(KeyAmount::Revenue)] = -0.004;
    s.indicators[0] = 1.23456;           // row 2, "#,##0.00"
    s.indicators[2] = 45.5;              // row 4, "#,##0": days, rounded half away from zero
    s.indicatorNotComputable[3] = true;  // row 6
    const std::string line = SummaryLine(SummaryFormat::Jsonl, s, Croatian());
    for (const char* field :
         {"\"total_assets\":822881.41,", "\"equity_previous\":472692.28,", "\"revenue\":0,",
          "\"indicators\":{\"2\":1.23,\"3\":0,\"4\":46,\"6\":null,"}) {
        EXPECT_NE(line.find(field), std::string::npos) << field << "\n" << line;
    }
    for (const double v : {0.1, 1e11 - 0.01, 123456789.125, -7.005, 0.015}) {
        const double cents = std::stod(JsonAmount(v));
        EXPECT_EQ(FormatNumber(cents, "0.00", Croatian()), FormatNumber(v, "0.00", Croatian()));
        EXPECT_EQ(JsonAmount(cents), JsonAmount(v));
    }
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
    EXPECT_NE(line.find("\"indicators\":null,\"scores\":null,\"warnings\":[],"
                        "\"file_base64\":null}\n"),
              std::string::npos);
}

}  // namespace
}  // namespace movik

namespace movik {
namespace {

// Sorting by a score, and by its band, orders rows by the score's value; a score that cannot be
// computed goes last either way.
TEST(ComparisonTable, ScoreColumnsSortByTheScoreWithTheUncomputableLast) {
    const auto withZ = [](const std::string& company, std::optional<double> z) {
        DocumentSummary s = Doc(company, 2024, 100, 1);
        s.namedScores = NamedScoresOf(Scores{});
        s.namedScores[0].value = z;
        return s;
    };
    ComparisonTable t(Croatian());
    t.Add({withZ("A", 2.6), withZ("B", std::nullopt), withZ("C", 0.5), withZ("D", 4.1)});
    const int value = ColumnOf(t, ComparisonColumn::Kind::Score, 0);
    const int band = ColumnOf(t, ComparisonColumn::Kind::ScoreBand, 0);
    ASSERT_GE(value, 0);
    ASSERT_EQ(band, value + 1);
    EXPECT_EQ(t.Caption(value), "Altman Z''");
    for (const auto& [column, up, order] :
         {std::tuple{value, false,
                     std::vector<std::string>{"D2024.mvk", "A2024.mvk", "C2024.mvk", "B2024.mvk"}},
          std::tuple{
              band, true,
              std::vector<std::string>{"C2024.mvk", "A2024.mvk", "D2024.mvk", "B2024.mvk"}}}) {
        t.SortBy(column, up);
        EXPECT_EQ(Files(t), order) << t.Caption(column);
    }
    // The band in words (on the bound: the lower band), the value with three decimals.
    EXPECT_EQ(t.Text(1, band), "siva zona");
    EXPECT_EQ(t.Text(1, value), "2,600");
    EXPECT_EQ(t.Text(3, value), "");
    EXPECT_FALSE(t.Number(3, value).has_value());
}

}  // namespace
}  // namespace movik
