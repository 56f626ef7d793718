// The currency mark in the file: written only where the currency is not the period's, read
// back, cleared when no longer needed; every file without one opens and saves byte for byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "DocumentTestSupport.h"
#include "document/DocumentCodec.h"
#include "document/DocumentFile.h"
#include "document/Workspace.h"
#include "model/Dates.h"

namespace movik {
namespace {

constexpr std::size_t kMarkOffset = 620;  // in the file

std::vector<std::uint8_t> Encode(const TDokument& doc) {
    std::vector<std::uint8_t> image;
    EXPECT_TRUE(EncodeDocumentFile(doc, image).ok());
    return image;
}

struct MarkCase {
    int year;
    Valuta chosen;
    std::uint8_t first, second;  // the bytes at offset 620
};

class CurrencyMarkCase : public ::testing::TestWithParam<MarkCase> {};

TEST_P(CurrencyMarkCase, IsWrittenOnlyAgainstThePeriodAndReadBack) {
    const MarkCase& c = GetParam();
    TDokument doc;
    NewDocument(doc, c.year);
    SetDocumentCurrency(doc, c.chosen);
    const std::vector<std::uint8_t> image = Encode(doc);
    EXPECT_EQ(image[kMarkOffset], c.first);
    EXPECT_EQ(image[kMarkOffset + 1], c.second);
    TDokument opened;
    NewDocument(opened, 2000);
    DecodeDocumentFile(image.data(), opened);
    EXPECT_EQ(DocumentCurrency(opened), c.chosen);
    EXPECT_EQ(Encode(opened), image);
}

INSTANTIATE_TEST_SUITE_P(Marks, CurrencyMarkCase,
                         ::testing::Values(MarkCase{2025, Valuta::Eur, 0, 0},
                                           MarkCase{2025, Valuta::Hrk, 0xA4, 'K'},
                                           MarkCase{2022, Valuta::Eur, 0xA4, 'E'},
                                           MarkCase{2022, Valuta::Hrk, 0, 0},
                                           MarkCase{2023, Valuta::Hrk, 0xA4, 'K'}));

TEST(CurrencyMark, OtherBytesThereAreNoMarkAndAreKept) {
    for (const auto& bytes : std::vector<std::pair<std::uint8_t, std::uint8_t>>{
             {0x12, 0x34}, {0xA4, 'X'}, {'E', 0xA4}, {0xA4, 0}}) {
        TDokument doc;
        NewDocument(doc, 2021);
        std::vector<std::uint8_t> image = Encode(doc);
        image[kMarkOffset] = bytes.first;
        image[kMarkOffset + 1] = bytes.second;
        DecodeDocumentFile(image.data(), doc);
        EXPECT_EQ(DocumentCurrency(doc), Valuta::Hrk);
        EXPECT_EQ(Encode(doc), image);
    }
}

TEST(CurrencyMark, IsClearedWhenTheCurrencyReturnsToThePeriods) {
    TDokument doc;
    NewDocument(doc, 2021);
    SetDocumentCurrency(doc, Valuta::Eur);
    std::vector<std::uint8_t> image = Encode(doc);
    DecodeDocumentFile(image.data(), doc);
    SetDocumentCurrency(doc, Valuta::Hrk);
    image = Encode(doc);
    EXPECT_EQ(image[kMarkOffset], 0);
    EXPECT_EQ(image[kMarkOffset + 1], 0);
}

// A mark that the period has made redundant (a converted 2022 document moved to 2023) still
// says the same; it is written back as read, so open -> save stays byte for byte.
TEST(CurrencyMark, ARedundantMarkIsKeptAsRead) {
    TDokument doc;
    NewDocument(doc, 2022);
    SetDocumentCurrency(doc, Valuta::Eur);
    doc.DatumDo = DayNumber(2023, 12, 31);
    const std::vector<std::uint8_t> image = Encode(doc);
    EXPECT_EQ(image[kMarkOffset], 0xA4);
    TDokument opened;
    NewDocument(opened, 2000);
    DecodeDocumentFile(image.data(), opened);
    EXPECT_EQ(DocumentCurrency(opened), Valuta::Eur);
    EXPECT_EQ(Encode(opened), image);
}

// The example, the comparison examples and the golden documents: none needs a mark, and each
// opens and saves byte for byte as before.
TEST(CurrencyMark, StoredDocumentsOpenAndSaveUnchanged) {
    int files = 0;
    for (const char* folder : {"/examples", "/examples/usporedba", "/tests/golden"}) {
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(MOVIK_SOURCE_DIR) + folder)) {
            if (entry.path().extension() != ".mvk") {
                continue;
            }
            const std::vector<std::uint8_t> bytes = test::ReadBytes(entry.path().string());
            Workspace ws(test::CommaSettings(), 2026);
            ASSERT_TRUE(ws.OpenDocument(entry.path().string())) << entry.path();
            EXPECT_EQ(ws.document().OznakaValute, std::nullopt) << entry.path();
            ws.ReadGrids();  // what saving writes
            EXPECT_EQ(Encode(ws.document()), bytes) << entry.path();
            ++files;
        }
    }
    EXPECT_GE(files, 12);
}

TEST(CurrencyMark, ChangingTheCurrencyMovesNoAmountAndIsUndoneByChangingBack) {
    Workspace ws(test::CommaSettings(), 2025);
    ASSERT_TRUE(ws.OpenDocument(MOVIK_EXAMPLE));
    ASSERT_EQ(ws.currency(), Valuta::Eur);  // 2023
    const GridTexts before = ws.grids().Pok;
    const std::string assets = ws.grids().Bilanca.cell(5, 55);
    ws.SetCurrency(Valuta::Eur);
    EXPECT_FALSE(ws.IsChanged());
    ws.SetCurrency(Valuta::Hrk);
    EXPECT_TRUE(ws.IsChanged());
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 55), assets);
    EXPECT_EQ(ws.grids().Pok.cell(2, 14), "   4. Zarada po dionici (u KN)");
    EXPECT_EQ(ws.grids().Pok.cell(2, 19), "   4. Knjigovodstvena vrijednost 1 dionice (u KN)");
    ws.SetCurrency(Valuta::Eur);
    for (int r = 1; r <= kPokRows; ++r) {
        EXPECT_EQ(ws.grids().Pok.cell(2, r), before.cell(2, r));
        EXPECT_EQ(ws.grids().Pok.cell(3, r), before.cell(3, r));
    }
    EXPECT_EQ(ws.grids().Pok.cell(2, 14), "   4. Zarada po dionici (u EUR)");
    EXPECT_EQ(ws.document().OznakaValute, std::nullopt);
    // The stored row texts stay as the file has them.
    EXPECT_EQ(ws.document().Pok.row(14).Tekst, "   4. Zarada po dionici (u KN)");
}

}  // namespace
}  // namespace movik
