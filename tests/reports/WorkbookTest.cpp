// The document as a workbook, read back with openpyxl and compared cell by cell with the grids.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <map>

#include "analysis/ScoreSheet.h"
#include "model/NumberFormat.h"
#include "model/StatementFacts.h"
#include "model/Templates.h"
#include "reports/DocumentWorkbook.h"
#include "tests/support/XlsxReadBack.h"

namespace movik {
namespace {

using test::ReadXlsx;
using test::XlsxCell;
using test::XlsxSheet;

TEST(DocumentWorkbook, EveryCellReadsBackAsTheGridShowsIt) {
    const RegionalSettings rs{".", ",", "dd.MM.yyyy."};
    Workspace ws(rs, 2024);
    ASSERT_TRUE(ws.OpenDocument(MOVIK_EXAMPLE));
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("primjer.xlsx")).toStdString();
    ASSERT_TRUE(WriteXlsx(DocumentWorkbook(ws, "kunama i lipama"), path));
    const std::map<std::string, XlsxSheet> sheets = ReadXlsx(MOVIK_READ_XLSX, path);
    ASSERT_EQ(sheets.size(), 7u);

    // The scores' sheet holds the page's lines: captions, values as numbers, bands in words.
    const std::vector<ScoreLine> lines = ScoreSheet(ws.document(), rs);
    const XlsxSheet& scores = sheets.at("Bonitet");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int row = static_cast<int>(i) + 2;
        const std::string where = "Bonitet " + std::to_string(row);
        ASSERT_EQ(scores.cells.count({row, 1}), 1u) << where;
        EXPECT_NE(scores.cells.at({row, 1}).text.find(lines[i].caption), std::string::npos)
            << where;
        EXPECT_EQ(scores.cells.at({row, 1}).bold, lines[i].kind == ScoreLineKind::Section);
        if (lines[i].number) {
            ASSERT_EQ(scores.cells.count({row, 2}), 1u) << where;
            const double factor = lines[i].pattern.find('%') != std::string_view::npos ? 0.01 : 1;
            EXPECT_NEAR(std::stod(scores.cells.at({row, 2}).text), *lines[i].number * factor,
                        1e-9 * std::fabs(*lines[i].number) + 1e-12)
                << where;
        }
        if (!lines[i].note.empty()) {
            EXPECT_EQ(scores.cells.at({row, 3}).text, lines[i].note) << where;
        }
    }

    const XlsxSheet& general = sheets.at("Opći podaci");
    EXPECT_EQ(general.cells.at({2, 2}).text, "Lipa-Mont d.d.");
    EXPECT_EQ(general.cells.at({6, 2}).text, "120000.0");

    int numbers = 0;
    for (Statement s : kAllStatements) {
        const StatementFacts& facts = FactsOf(s);
        const GridTexts& grid = ws.grids().of(s);
        const XlsxSheet& sheet = sheets.at(std::string(facts.caption));
        EXPECT_EQ(sheet.frozen, "A2") << facts.caption;
        EXPECT_GT(sheet.widthB, 40) << facts.caption;  // the longest row text fits
        for (int row = 0; row <= facts.rows; ++row) {
            const bool bold = row == 0 || TemplateRow(s, row).Vrsta.find('b') != std::string::npos;
            for (int col = 1; col < facts.columns; ++col) {
                const std::string& shown = grid.cell(col, row);
                const auto found = sheet.cells.find({row + 1, col});
                const std::string where =
                    std::string(facts.key) + " " + std::to_string(col) + "/" + std::to_string(row);
                if (shown.empty()) {
                    EXPECT_EQ(found, sheet.cells.end()) << where;
                    continue;
                }
                ASSERT_NE(found, sheet.cells.end()) << where;
                const XlsxCell& cell = found->second;
                EXPECT_EQ(cell.bold, bold) << where;
                if (row == 0 || col == 2) {
                    EXPECT_FALSE(cell.number) << where;
                    EXPECT_EQ(cell.text.substr(0, shown.size()), shown) << where;
                    continue;
                }
                // A number, never text, that shows as the grid does.
                ASSERT_TRUE(cell.number) << where;
                ++numbers;
                const std::string_view pattern =
                    col == 1 ? RowNumberFormat : GridPattern(s, col, row);
                const double value = std::stod(cell.text) / ExcelNumberFor(pattern).scale;
                const ExcelNumber excel = ExcelNumberFor(pattern, value);
                EXPECT_EQ(cell.format, col == 1 ? "0" : excel.format) << where;
                EXPECT_EQ(FormatNumber(std::stod(cell.text) / excel.scale, pattern, rs), shown)
                    << where;
            }
        }
    }
    EXPECT_GT(numbers, 600);
    // The one-period statements name the period in their amount column's header.
    EXPECT_EQ(sheets.at("Pokazatelji").cells.at({1, 3}).text, "Iznos 01.01.2023. – 31.12.2023.");
}

TEST(ExcelNumberFor, KeepsWhatTheGridShows) {
    EXPECT_EQ(ExcelNumberFor("#,##0.00").format, "#,##0.00");
    EXPECT_EQ(ExcelNumberFor("0.00%").scale, 0.01);
    EXPECT_EQ(ExcelNumberFor("#,##0;").format, "#,##0");  // negatives keep their numbers
    EXPECT_EQ(ExcelNumberFor("#,###.##").format, "#,##0.00");
}

// Decimals shown only when significant: the format of one value has the decimals its grid text
// shows ("18,4", not "18,40").
TEST(ExcelNumberFor, OptionalDecimalsFollowTheValue) {
    const struct {
        const char* pattern;
        double value;
        const char* format;
    } cases[] = {{"#,###.##", 18.4, "#,##0.0"},
                 {"#,###.##", 18, "#,##0"},
                 {"#,###.##", 18.456, "#,##0.00"},
                 {"#,###.##", -1234.5, "#,##0.0"},
                 {"#,###.##", 7.001, "#,##0"},
                 {"#,###.##", 0.996, "#,##0"},
                 {"#.##", 2.5, "0.0"},
                 {"#,##0.00", 18.4, "#,##0.00"},
                 {"#,##0.00%", 12.5, "#,##0.00%"},
                 {"#,##0", 3.25, "#,##0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ExcelNumberFor(c.pattern, c.value).format, c.format)
            << c.pattern << " " << c.value;
    }
}

}  // namespace
}  // namespace movik
