// Input at and beyond its limits: import files of many megabytes, documents whose texts fill
// their fields or claim more than the field holds, and share counts of every class of extended
// real. Each opens or is refused with a message, and shows only finite or empty texts.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "DocumentTestSupport.h"
#include "document/Csv.h"
#include "document/Extended.h"
#include "document/Workspace.h"
#include "model/Utf8.h"

namespace movik {
namespace {

using test::DotSettings;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
using test::WriteText;

const std::string kExample = MOVIK_EXAMPLE;
constexpr std::size_t kShareCountOffset = 610;

bool IsFiniteText(const std::string& text) {
    return text.find("NaN") == std::string::npos && text.find("INF") == std::string::npos;
}

void ExpectOnlyFiniteTexts(const Workspace& ws) {
    for (const Statement s : kAllStatements) {
        const GridTexts& grid = ws.grids().of(s);
        for (int r = 0; r < grid.rowCount(); ++r) {
            for (int c = 0; c < grid.columnCount(); ++c) {
                EXPECT_TRUE(IsFiniteText(grid.cell(c, r))) << grid.cell(c, r);
            }
        }
    }
}

TEST(InputLimits, ImportFileOfManyMegabytesIsRefusedQuickly) {
    TempDir dir;
    const std::string path = dir.file("golem.csv");
    WriteText(path, std::string(24u << 20, '7') + ";\r\n");
    const auto start = std::chrono::steady_clock::now();
    std::string bytes;
    const Result read = ReadImportFile(path, Statement::Bilanca, bytes);
    EXPECT_EQ(read, "Datoteka " + path +
                        " nije uvezena: njezinih prvih 89 redaka ima više od 4 MB, pa to nije "
                        "tablica izvještaja.");
    EXPECT_TRUE(bytes.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(InputLimits, StatementFollowedByMegabytesImportsItsOwnLines) {
    Workspace ws(DotSettings(), 2024);
    const std::string exported = ws.ExportCsv(Statement::Racun);
    TempDir dir;
    const std::string path = dir.file("racun.csv");
    WriteText(path, exported + std::string(16u << 20, 'x'));
    std::string bytes;
    ASSERT_TRUE(ReadImportFile(path, Statement::Racun, bytes));
    EXPECT_EQ(bytes, exported);
    EXPECT_TRUE(ws.ImportCsv(Statement::Racun, bytes));
}

// Many megabytes handed to the import directly: refused or read from the grid's lines only.
TEST(InputLimits, ImportOfManyMegabytesInMemoryChangesNothing) {
    Workspace ws(DotSettings(), 2024);
    const std::string before = ws.ExportCsv(Statement::Bilanca);
    const std::string huge(32u << 20, ';');
    const Result imported = ws.ImportCsv(Statement::Bilanca, huge);
    EXPECT_FALSE(imported);
    EXPECT_FALSE(imported.message().empty());
    EXPECT_EQ(ws.ExportCsv(Statement::Bilanca), before);
    EXPECT_FALSE(ws.IsChanged());
}

// Document block texts: a length byte of 255 fills the field exactly; the header's signature
// and version have smaller fields, so their length bytes can claim more than they hold.
struct LengthCase {
    const char* name;
    std::size_t offset;
    bool opens;
};

class InputLimitsLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(InputLimitsLength, TextLengthOpensOrIsRefused) {
    TempDir dir;
    std::vector<std::uint8_t> bytes = ReadBytes(kExample);
    ASSERT_EQ(bytes.size(), 59954u);
    bytes[GetParam().offset] = 255;
    for (std::size_t i = 1; i <= 255; ++i) {
        bytes[GetParam().offset + i] = static_cast<std::uint8_t>(0x80 + i % 0x80);
    }
    const std::string path = dir.file("d.mvk");
    WriteBytes(path, bytes);
    Workspace ws(DotSettings(), 2024);
    const OpenOutcome opened = ws.OpenDocument(path);
    if (!GetParam().opens) {
        EXPECT_EQ(opened.message(), "Datoteka " + path + " nije Movik dokument.");
        return;
    }
    ASSERT_TRUE(opened) << opened;
    EXPECT_LE(Utf8Length(ws.fields().Poduzece), 255u);
    ASSERT_TRUE(ws.SaveDocument());
    Workspace again(DotSettings(), 2024);
    ASSERT_TRUE(again.OpenDocument(path));
    EXPECT_EQ(again.fields().Poduzece, ws.fields().Poduzece);
    EXPECT_EQ(again.fields().Sjediste, ws.fields().Sjediste);
}

INSTANTIATE_TEST_SUITE_P(Fields, InputLimitsLength,
                         ::testing::Values(LengthCase{"Signature", 0, false},
                                           LengthCase{"Company", 82, true},
                                           LengthCase{"Seat", 338, true},
                                           LengthCase{"RowText", 622 + 4, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The share count of the file (the document's one extended real), of every class, and the whole
// number the field then shows.
struct ExtendedCase {
    const char* name;
    ExtendedBytes bytes;
    double shown;
};

class InputLimitsExtended : public ::testing::TestWithParam<ExtendedCase> {};

TEST_P(InputLimitsExtended, ShareCountOpensAsAWholeNumberInRange) {
    TempDir dir;
    std::vector<std::uint8_t> bytes = ReadBytes(kExample);
    std::copy(GetParam().bytes.begin(), GetParam().bytes.end(), bytes.begin() + kShareCountOffset);
    const std::string path = dir.file("d.mvk");
    WriteBytes(path, bytes);
    Workspace ws(DotSettings(), 2024);
    ASSERT_TRUE(ws.OpenDocument(path));
    EXPECT_EQ(ws.fields().BrojDionica, GetParam().shown);
    EXPECT_FALSE(ws.IsChanged());
    ExpectOnlyFiniteTexts(ws);
    // Saved, the share count is the number shown.
    ASSERT_TRUE(ws.SaveDocument());
    const std::vector<std::uint8_t> saved = ReadBytes(path);
    ExtendedBytes stored{};
    std::copy(saved.begin() + kShareCountOffset, saved.begin() + kShareCountOffset + 10,
              stored.begin());
    EXPECT_EQ(DecodeExtended(stored), GetParam().shown);
}

constexpr double kMaxShares = 9999999999.0;

INSTANTIATE_TEST_SUITE_P(
    Classes, InputLimitsExtended,
    ::testing::Values(
        ExtendedCase{"Denormal", {1, 0, 0, 0, 0, 0, 0, 0x40, 0, 0}, 0},
        ExtendedCase{"PseudoDenormal", {0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0}, 0},
        ExtendedCase{"Unnormal", {0, 0, 0, 0, 0, 0, 0, 0x40, 0x05, 0x40}, 32},
        ExtendedCase{"PositiveInfinity", {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}, kMaxShares},
        ExtendedCase{"NegativeInfinity", {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}, 0},
        ExtendedCase{"PseudoInfinity", {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x7F}, 0},
        ExtendedCase{"QuietNaN", {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F}, 0},
        ExtendedCase{"SignalingNaN", {1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}, 0},
        ExtendedCase{"HugeExponent", {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F}, kMaxShares},
        ExtendedCase{"BeyondTheField", {0, 0, 0, 0, 0, 0, 0, 0x80, 0x3E, 0x40}, kMaxShares},
        ExtendedCase{"Fraction", {0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0x40}, 3},
        ExtendedCase{"Negative", {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x01, 0xC0}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace movik
