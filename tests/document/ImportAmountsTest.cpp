// Imported amounts are taken as the grid shows them, in the amount pattern, as typed ones are:
// the totals are computed from the shown amounts, and an export imports back to itself.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentTestSupport.h"
#include "document/Workspace.h"
#include "model/NumberFormat.h"

namespace movik {
namespace {

using test::DotSettings;

struct PieceCase {
    const char* piece;
    const char* shown;
};

class ImportAmounts : public ::testing::TestWithParam<PieceCase> {};

// Row 4 of the balance sheet (an input row under the computed rows 2 and 3) in both years.
TEST_P(ImportAmounts, AreTakenAsShownAndTheTotalsAddUp) {
    Workspace ws(DotSettings(), 2024);
    std::string file = ws.ExportCsv(Statement::Bilanca);
    const std::string row4 = "\r\n4;";
    const std::size_t at = file.find(row4) + 2;
    const std::size_t end = file.find("\r\n", at);
    file.replace(at, end - at,
                 std::string("4;      1.Osnivački izdaci;") + GetParam().piece + ";0.00%;" +
                     GetParam().piece + ";0.00%;");
    ASSERT_TRUE(ws.ImportCsv(Statement::Bilanca, file));
    EXPECT_EQ(ws.grids().Bilanca.cell(3, 4), GetParam().shown);
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 4), GetParam().shown);
    // The computed rows above it show exactly the shown input.
    EXPECT_EQ(ws.grids().Bilanca.cell(3, 3), GetParam().shown);
    EXPECT_EQ(ws.document().Bilanca.row(4).IznosTekuca,
              AmountFromText(GetParam().shown, DotSettings()));

    const std::string exported = ws.ExportCsv(Statement::Bilanca);
    ASSERT_TRUE(ws.ImportCsv(Statement::Bilanca, exported));
    EXPECT_EQ(ws.ExportCsv(Statement::Bilanca), exported);
}

INSTANTIATE_TEST_SUITE_P(Pieces, ImportAmounts,
                         ::testing::Values(PieceCase{"0.004", "0.00"}, PieceCase{"0.005", "0.01"},
                                           PieceCase{"1234.5", "1,234.50"},
                                           PieceCase{"-1,000.125", "-1,000.13"},
                                           PieceCase{"2e3", "2,000.00"}));

}  // namespace
}  // namespace movik
