// Reading workbooks: cell kinds of .xlsx, and the refusals of damaged, encrypted, oversized
// and hostile files.

#include "intake/Workbook.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/intake/CompoundBuilder.h"

namespace movik {
namespace {

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("movik-wb-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A zip archive in memory with the given entries (name, content); encrypted with a password
// when one is given.
std::string ZipOf(const std::vector<std::pair<std::string, std::string>>& entries,
                  const char* password = nullptr) {
    const std::string path = TempPath("zip.zip");
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    for (const auto& [name, content] : entries) {
        zip_source_t* src = zip_source_buffer(z, content.data(), content.size(), 0);
        const zip_int64_t i = zip_file_add(z, name.c_str(), src, ZIP_FL_OVERWRITE);
        if (password != nullptr) {
            zip_file_set_encryption(z, static_cast<zip_uint64_t>(i), ZIP_EM_AES_256, password);
        }
    }
    zip_close(z);
    std::string bytes = Slurp(path);
    std::filesystem::remove(path);
    return bytes;
}

const char* const kWorkbookXml =
    R"(<?xml version="1.0"?><workbook xmlns:r="urn:r"><sheets>)"
    R"(<sheet name="List" sheetId="1" r:id="rId1"/></sheets></workbook>)";
const char* const kRelsXml = R"(<?xml version="1.0"?><Relationships><Relationship Id="rId1" )"
                             R"(Target="worksheets/sheet1.xml"/></Relationships>)";

std::string SheetXml(const std::string& cells) {
    return R"(<?xml version="1.0"?><worksheet><sheetData><row r="1">)" + cells +
           "</row></sheetData></worksheet>";
}

std::string Book(const std::string& cells, const std::string& shared = "") {
    std::vector<std::pair<std::string, std::string>> entries = {
        {"xl/workbook.xml", kWorkbookXml},
        {"xl/_rels/workbook.xml.rels", kRelsXml},
        {"xl/worksheets/sheet1.xml", SheetXml(cells)}};
    if (!shared.empty()) {
        entries.push_back({"xl/sharedStrings.xml", shared});
    }
    return ZipOf(entries);
}

TEST(WorkbookReading, ReadsEveryKindOfCell) {
    const std::string shared = R"(<sst><si><t>prvi</t></si><si><r><t>dru</t></r><r><t>gi</t></r>)"
                               R"(<rPh><t>x</t></rPh></si></sst>)";
    const std::string cells =
        R"(<c r="A1" t="s"><v>1</v></c><c r="B1"><v>12.5</v></c>)"
        R"(<c r="C1" t="inlineStr"><is><t>unutra</t></is></c>)"
        R"(<c r="D1"><f>B1*2</f><v>25</v></c><c r="E1"><f>B1*3</f></c>)"
        R"(<c r="F1" t="e"><v>#DIV/0!</v></c><c r="G1" t="str"><f>A1</f><v>tekst</v></c>)"
        R"(<c r="H1" s="3"/><c><v>7</v></c>)";
    const WorkbookRead r = ReadWorkbookBytes(Book(cells, shared), {});
    ASSERT_TRUE(r.ok) << r.error;
    const SheetData& s = *r.book.Find("List");
    EXPECT_EQ(s.At(0, 0).text, "drugi");
    EXPECT_EQ(s.At(0, 1).number, 12.5);
    EXPECT_EQ(s.At(0, 2).text, "unutra");
    EXPECT_EQ(s.At(0, 3).number, 25);
    EXPECT_EQ(s.At(0, 4).kind, SheetCell::Kind::FormulaNoValue);
    EXPECT_EQ(s.At(0, 5).kind, SheetCell::Kind::Error);
    EXPECT_EQ(s.At(0, 6).text, "tekst");
    EXPECT_EQ(s.At(0, 7).kind, SheetCell::Kind::Empty);
    EXPECT_EQ(s.At(0, 8).number, 7);  // no address: the next column
}

// An empty result is no result: a formula's empty <v></v>, <v/> or empty text is a formula
// without its result (its formula kept), an empty value without a formula an empty cell.
TEST(WorkbookReading, EmptyResultsAreNoResults) {
    const std::string cells =
        R"(<c r="A1"><f>RDG!J68</f><v></v></c><c r="B1"><f>B2+B3</f><v/></c>)"
        R"(<c r="C1" t="str"><f>A1</f><v></v></c><c r="D1"><v></v></c><c r="E1"><v> </v></c>)";
    const WorkbookRead r = ReadWorkbookBytes(Book(cells), {});
    ASSERT_TRUE(r.ok) << r.error;
    const SheetData& s = *r.book.Find("List");
    const std::vector<std::pair<SheetCell::Kind, std::string>> expected = {
        {SheetCell::Kind::FormulaNoValue, "RDG!J68"},
        {SheetCell::Kind::FormulaNoValue, "B2+B3"},
        {SheetCell::Kind::FormulaNoValue, "A1"},
        {SheetCell::Kind::Empty, ""},
        {SheetCell::Kind::Empty, ""}};
    for (std::size_t c = 0; c < expected.size(); ++c) {
        EXPECT_EQ(s.At(0, static_cast<int>(c)).kind, expected[c].first) << c;
        EXPECT_EQ(s.At(0, static_cast<int>(c)).text, expected[c].second) << c;
    }
}

// A cell's text is limited in characters, not bytes: 20,000 "č" (40,000 bytes) are read, in a
// shared text and inline; 32,768 characters are refused, saying so.
TEST(WorkbookReading, TextLimitCountsCharacters) {
    std::string long2;
    for (int i = 0; i < 20000; ++i) {
        long2 += "č";
    }
    const std::string tooLong(32768, 'a');
    const std::vector<std::pair<std::string, bool>> cases = {
        {Book(R"(<c r="A1" t="s"><v>0</v></c>)", "<sst><si><t>" + long2 + "</t></si></sst>"), true},
        {Book(R"(<c r="A1" t="inlineStr"><is><t>)" + long2 + "</t></is></c>"), true},
        {Book(R"(<c r="A1" t="s"><v>0</v></c>)", "<sst><si><t>" + tooLong + "</t></si></sst>"),
         false},
        {Book(R"(<c r="A1" t="inlineStr"><is><t>)" + tooLong + "</t></is></c>"), false},
    };
    for (const auto& [bytes, read] : cases) {
        const WorkbookRead r = ReadWorkbookBytes(bytes, {});
        EXPECT_EQ(r.ok, read) << r.error;
        if (read) {
            EXPECT_EQ(r.book.Find("List")->At(0, 0).text, long2);
        } else {
            EXPECT_NE(r.error.find("dulji od 32767 znakova"), std::string::npos) << r.error;
        }
    }
}

TEST(WorkbookReading, ReadsOnlyTheSheetsAskedForButNamesAll) {
    const std::string path = TempPath("two.xlsx");
    lxw_workbook* wb = workbook_new(path.c_str());
    worksheet_write_number(workbook_add_worksheet(wb, "Prvi"), 0, 0, 1, nullptr);
    worksheet_write_string(workbook_add_worksheet(wb, "Drugi"), 2, 1, "čćžšđ", nullptr);
    workbook_close(wb);
    const WorkbookRead r = ReadWorkbookFile(path, {"Drugi"});
    std::filesystem::remove(path);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.book.sheetNames, (std::vector<std::string>{"Prvi", "Drugi"}));
    ASSERT_EQ(r.book.sheets.size(), 1u);
    EXPECT_EQ(r.book.sheets[0].At(2, 1).text, "čćžšđ");
}

struct Refused {
    const char* name;
    std::string bytes;
    const char* message;  // a part of the error
};

class WorkbookRefusal : public ::testing::TestWithParam<Refused> {};

TEST_P(WorkbookRefusal, GivesAClearMessage) {
    WorkbookLimits limits;
    limits.entryBytes = 1 << 20;
    limits.totalBytes = 3 << 20;
    limits.cells = 1000;
    const WorkbookRead r = ReadWorkbookBytes(GetParam().bytes, {}, limits);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(GetParam().message), std::string::npos) << r.error;
}

std::string Truncated() {
    std::string b = Book(R"(<c r="A1"><v>1</v></c>)");
    return b.substr(0, b.size() / 2);
}

std::string ManyCells() {
    std::string cells;
    for (int i = 0; i < 2000; ++i) {
        cells += "<c><v>" + std::to_string(i) + "</v></c>";
    }
    return Book(cells);
}

// One shared text of 30,000 bytes named by 200 cells: 6 MB of cell texts from a small file.
std::string RepeatedSharedText() {
    std::string cells;
    for (int i = 0; i < 200; ++i) {
        cells += R"(<c t="s"><v>0</v></c>)";
    }
    return Book(cells, "<sst><si><t>" + std::string(30000, 'a') + "</t></si></sst>");
}

// An Office file saved with a password: a compound file whose directory holds the stream.
std::string CompoundEncrypted() {
    return test::CompoundOf({{"EncryptionInfo", "x"}, {"EncryptedPackage", "y"}});
}

INSTANTIATE_TEST_SUITE_P(
    Files, WorkbookRefusal,
    ::testing::Values(
        Refused{"NotAWorkbook", "Rbr;Pozicija;Iznos\n1;x;2\n", "nije radna knjiga"},
        Refused{"Empty", "", "nije radna knjiga"}, Refused{"Truncated", Truncated(), "oštećena"},
        Refused{"ZipWithoutWorkbook", ZipOf({{"a.txt", "x"}}), "nije radna knjiga"},
        Refused{"BadXml", Book("<c r=\"A1\"><v>1</c>"), "neispravan XML"},
        Refused{"BadNumber", Book("<c r=\"A1\"><v>1e999x</v></c>"), "nema ispravan broj"},
        Refused{"SharedStringOutOfRange", Book("<c r=\"A1\" t=\"s\"><v>5</v></c>"),
                "nepostojeći tekst"},
        Refused{
            "DocumentType",
            ZipOf({{"xl/workbook.xml",
                    R"(<?xml version="1.0"?><!DOCTYPE l [<!ENTITY a "aaaaaaaaaa">)"
                    R"(<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">]><workbook>&b;</workbook>)"}}),
            "oštećena"},
        Refused{"ZipBomb",
                ZipOf({{"xl/workbook.xml", kWorkbookXml},
                       {"xl/_rels/workbook.xml.rels", kRelsXml},
                       {"xl/worksheets/sheet1.xml", SheetXml(std::string(2 << 20, ' '))}}),
                "prevelika"},
        Refused{"TooManyCells", ManyCells(), "ćelija"},
        Refused{"RepeatedSharedText", RepeatedSharedText(), "tekstovi ćelija zajedno"},
        Refused{"EncryptedZip",
                ZipOf({{"xl/workbook.xml", kWorkbookXml},
                       {"xl/_rels/workbook.xml.rels", kRelsXml},
                       {"xl/worksheets/sheet1.xml", SheetXml("")}},
                      "tajna"),
                "lozinkom"},
        Refused{"OfficePassword", CompoundEncrypted(), "lozinkom"},
        Refused{"DamagedXls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + "xx",
                "oštećena"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WorkbookReading, TotalUnpackedSizeIsLimitedAcrossParts) {
    std::vector<std::pair<std::string, std::string>> entries = {
        {"xl/workbook.xml", kWorkbookXml}, {"xl/_rels/workbook.xml.rels", kRelsXml}};
    std::string rels = R"(<?xml version="1.0"?><Relationships>)";
    std::string sheets = R"(<?xml version="1.0"?><workbook xmlns:r="urn:r"><sheets>)";
    for (int i = 1; i <= 5; ++i) {
        const std::string n = std::to_string(i);
        rels += "<Relationship Id=\"r" + n + "\" Target=\"worksheets/s" + n + ".xml\"/>";
        sheets += "<sheet name=\"L" + n + "\" r:id=\"r" + n + "\"/>";
        entries.push_back({"xl/worksheets/s" + n + ".xml", SheetXml(std::string(900000, ' '))});
    }
    entries[0].second = sheets + "</sheets></workbook>";
    entries[1].second = rels + "</Relationships>";
    WorkbookLimits limits;
    limits.entryBytes = 1 << 20;
    limits.totalBytes = 3 << 20;
    const WorkbookRead r = ReadWorkbookBytes(ZipOf(entries), {}, limits);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("raspakirano više od 3 MB"), std::string::npos) << r.error;
}

// A pipe named like a workbook is refused at once instead of waiting for a writer; a missing
// file is named as missing.
TEST(WorkbookReading, APipeOrAMissingFileIsRefusedWithoutWaiting) {
    const std::string pipe = TempPath("pipe.xlsx");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const WorkbookRead fromPipe = ReadWorkbookFile(pipe, {});
    std::filesystem::remove(pipe);
    EXPECT_FALSE(fromPipe.ok);
    EXPECT_EQ(fromPipe.error, "Cannot open file " + pipe);
    const WorkbookRead missing = ReadWorkbookFile(TempPath("none.xlsx"), {});
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "Datoteka " + TempPath("none.xlsx") + " ne postoji");
}

TEST(WorkbookReading, ColumnNames) {
    EXPECT_EQ(ColumnName(0), "A");
    EXPECT_EQ(ColumnName(9), "J");
    EXPECT_EQ(ColumnName(25), "Z");
    EXPECT_EQ(ColumnName(26), "AA");
    EXPECT_EQ(ColumnName(16383), "XFD");
}

}  // namespace
}  // namespace movik
