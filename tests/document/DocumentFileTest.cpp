// The document file: its byte layout, open -> save identity, refusing short files, and saving
// that never destroys the previous file.

#include "document/DocumentFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "DocumentTestSupport.h"
#include "document/Extended.h"
#include "model/Templates.h"

namespace movik {
namespace {

using test::GetLittleEndianDouble;
using test::ReadBytes;
using test::SameValue;
using test::TempDir;
using test::WriteBytes;

std::vector<std::uint8_t> Encode(const TDokument& doc) {
    std::vector<std::uint8_t> image;
    const Result encoded = EncodeDocumentFile(doc, image);
    EXPECT_TRUE(encoded.ok()) << encoded;
    EXPECT_EQ(encoded.message(), "");
    return image;
}

TDokument NewDoc(int year = 2024) {
    TDokument doc;
    NewDocument(doc, year);
    return doc;
}

std::string Bytes(const std::vector<std::uint8_t>& image, std::size_t offset, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(image.data() + offset), size);
}

// A short string at offset: its length byte and characters, as raw Windows-1250 bytes.
std::string ShortString(const std::vector<std::uint8_t>& image, std::size_t offset) {
    return Bytes(image, offset + 1, image.at(offset));
}

// ---- layout of a new document ----------------------------------------------------------------

TEST(DocumentFileLayout, NewDocumentHeaderAndGeneralData) {
    const std::vector<std::uint8_t> image = Encode(NewDoc(2024));
    ASSERT_EQ(image.size(), 59954u);
    EXPECT_EQ(image[0], 64);
    EXPECT_EQ(Bytes(image, 1, 5), "Movik");
    EXPECT_EQ(Bytes(image, 6, 59), std::string(59, ' '));
    EXPECT_EQ(image[65], 16);
    EXPECT_EQ(Bytes(image, 66, 16), "Verzija 1.0     ");
    EXPECT_EQ(image[82], 0);                                  // Poduzece is empty
    EXPECT_EQ(image[338], 0);                                 // Sjediste is empty
    EXPECT_EQ(GetLittleEndianDouble(image, 594), 45292.0);    // 1 January 2024
    EXPECT_EQ(GetLittleEndianDouble(image, 602), 45657.0);    // 31 December 2024
    EXPECT_EQ(Bytes(image, 610, 10), std::string(10, '\0'));  // no shares
    EXPECT_EQ(Bytes(image, 620, 2), std::string(2, '\0'));    // reserved, fresh
}

struct TextAt {
    std::size_t offset;  // of the length byte, from the start of the file
    const char* cp1250;  // the expected characters in Windows-1250
};

class DocumentFileRowTexts : public ::testing::TestWithParam<TextAt> {};

TEST_P(DocumentFileRowTexts, TemplateTextAtItsOffset) {
    const std::vector<std::uint8_t> image = Encode(NewDoc());
    EXPECT_EQ(ShortString(image, GetParam().offset), GetParam().cp1250);
}

INSTANTIATE_TEST_SUITE_P(
    FirstAndLastRowOfEveryTable, DocumentFileRowTexts,
    ::testing::Values(TextAt{622 + 4,
                             "A.Potra\x9Eivanja za upisani a neupla\xE6"
                             "eni kapital"},
                      TextAt{622 + 31 * 292 + 4, "   I.  Zalihe"},
                      TextAt{622 + 87 * 292 + 4, "G.Izvanbilan\xE8ni zapisi"},
                      TextAt{26318 + 4, "A. Poslovni prihodi"},
                      TextAt{26318 + 18 * 276 + 4, "         3.1. Amortizacija dugotrajne imovine"},
                      TextAt{26318 + 44 * 276 + 4, "REZULTAT POSLIJE POREZA"},
                      TextAt{54514 + 8,
                             "NOV\xC8"
                             "ANI TOK OD FINANCIRANJA (22+...+27)"},
                      TextAt{54786 + 8, "A. LIKVIDNOST"},
                      TextAt{54786 + 14 * 272 + 8,
                             "D. ZADU\x8E"
                             "ENOST I POKRI\xC6"
                             "E"},
                      TextAt{59682 + 8, "   4. Knjigovodstvena vrijednost 1 dionice (u KN)"}));

TEST(DocumentFileRowTexts, CashFlowTablesStartWithTheirTemplates) {
    const std::vector<std::uint8_t> image = Encode(NewDoc());
    const auto expected = [](Statement s, int row) {
        return *Utf8ToCp1250(TemplateRow(s, row).Tekst);
    };
    EXPECT_EQ(ShortString(image, 38738 + 8), expected(Statement::CFInd, 1));
    EXPECT_EQ(ShortString(image, 46898 + 8), expected(Statement::CFInd, 31));
    EXPECT_EQ(ShortString(image, 47170 + 8), expected(Statement::CFFree, 1));
}

struct DoubleAt {
    const char* name;
    std::size_t offset;
    std::function<double&(TDokument&)> field;
};

void PrintTo(const DoubleAt& d, std::ostream* os) {
    *os << d.name;
}

class DocumentFileDoubles : public ::testing::TestWithParam<DoubleAt> {};

TEST_P(DocumentFileDoubles, FieldLandsAtItsOffset) {
    TDokument doc = NewDoc();
    GetParam().field(doc) = 98765.4321;
    const std::vector<std::uint8_t> image = Encode(doc);
    EXPECT_EQ(GetLittleEndianDouble(image, GetParam().offset), 98765.4321);
    // Every other double of the file is still what a new document holds.
    TDokument fresh = NewDoc();
    EXPECT_NE(Encode(fresh), image);
    GetParam().field(fresh) = 98765.4321;
    EXPECT_EQ(Encode(fresh), image);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfField, DocumentFileDoubles,
    ::testing::Values(
        DoubleAt{"DatumOd", 594, [](TDokument& d) -> double& { return d.DatumOd; }},
        DoubleAt{"DatumDo", 602, [](TDokument& d) -> double& { return d.DatumDo; }},
        DoubleAt{"B1prev", 882,
                 [](TDokument& d) -> double& { return d.Bilanca.row(1).IznosPrethodna; }},
        DoubleAt{"B1prevShare", 890,
                 [](TDokument& d) -> double& { return d.Bilanca.row(1).UdioPrethodna; }},
        DoubleAt{"B1cur", 898,
                 [](TDokument& d) -> double& { return d.Bilanca.row(1).IznosTekuca; }},
        DoubleAt{"B1curShare", 906,
                 [](TDokument& d) -> double& { return d.Bilanca.row(1).UdioTekuca; }},
        DoubleAt{"B88prev", 26286,
                 [](TDokument& d) -> double& { return d.Bilanca.row(88).IznosPrethodna; }},
        DoubleAt{"B88curShare", 26310,
                 [](TDokument& d) -> double& { return d.Bilanca.row(88).UdioTekuca; }},
        DoubleAt{"R1", 26578, [](TDokument& d) -> double& { return d.Racun.row(1).Iznos; }},
        DoubleAt{"R1Share", 26586, [](TDokument& d) -> double& { return d.Racun.row(1).Udio; }},
        DoubleAt{"R45", 38722, [](TDokument& d) -> double& { return d.Racun.row(45).Iznos; }},
        DoubleAt{"R45Share", 38730, [](TDokument& d) -> double& { return d.Racun.row(45).Udio; }},
        DoubleAt{"CFInd1", 39002, [](TDokument& d) -> double& { return d.CFInd.row(1).Iznos; }},
        DoubleAt{"CFInd31", 47162, [](TDokument& d) -> double& { return d.CFInd.row(31).Iznos; }},
        DoubleAt{"CFFree1", 47434, [](TDokument& d) -> double& { return d.CFFree.row(1).Iznos; }},
        DoubleAt{"CFFree28", 54778, [](TDokument& d) -> double& { return d.CFFree.row(28).Iznos; }},
        DoubleAt{"Pok1", 55050, [](TDokument& d) -> double& { return d.Pok.row(1).Iznos; }},
        DoubleAt{"Pok19", 59946, [](TDokument& d) -> double& { return d.Pok.row(19).Iznos; }}),
    [](const ::testing::TestParamInfo<DoubleAt>& info) { return std::string(info.param.name); });

TEST(DocumentFileLayout, ShareCountIsAnExtendedReal) {
    TDokument doc = NewDoc();
    doc.BrojDionica = 1;
    const std::vector<std::uint8_t> image = Encode(doc);
    EXPECT_EQ(Bytes(image, 610, 10), std::string("\0\0\0\0\0\0\0\x80\xFF\x3F", 10));
}

TEST(DocumentFileLayout, KeptBytesSurviveUnderTheFields) {
    TDokument doc = NewDoc();
    doc.KeptBlock.fill(0x77);
    doc.Poduzece = "AB";
    const std::vector<std::uint8_t> image = Encode(doc);
    EXPECT_EQ(image[82], 2);
    EXPECT_EQ(Bytes(image, 83, 2), "AB");
    EXPECT_EQ(Bytes(image, 85, 253), std::string(253, '\x77'));  // text tail
    EXPECT_EQ(Bytes(image, 620, 2), "\x77\x77");                 // reserved after the shares
    EXPECT_EQ(Bytes(image, 622, 4), "\x77\x77\x77\x77");         // reserved of Bilanca row 1
    EXPECT_EQ(Bytes(image, 38738, 8), std::string(8, '\x77'));   // reserved of CFInd row 1
    // The header is no part of the kept block.
    EXPECT_EQ(Bytes(image, 1, 64), "Movik" + std::string(59, ' '));
}

TEST(DocumentFileLayout, LongTextsAreCutTo255Characters) {
    TDokument doc = NewDoc();
    doc.Poduzece = std::string(300, 'x');
    std::string seat;
    for (int i = 0; i < 300; ++i) {
        seat += "č";
    }
    doc.Sjediste = seat;
    const std::vector<std::uint8_t> image = Encode(doc);
    EXPECT_EQ(ShortString(image, 82), std::string(255, 'x'));
    EXPECT_EQ(ShortString(image, 338), std::string(255, '\xE8'));
}

TEST(DocumentFileLayout, TextOutsideWindows1250IsRefusedWithAMessage) {
    TDokument doc = NewDoc();
    doc.Sjediste = "Zagreb → Split";
    std::vector<std::uint8_t> image;
    Result encoded = EncodeDocumentFile(doc, image);
    EXPECT_FALSE(encoded.ok());
    EXPECT_EQ(encoded.message(),
              "Dokument nije snimljen: tekst „Sjedište“ sadrži znak „→“ koji se ne može spremiti "
              "u datoteku (kodna stranica Windows-1250).");

    doc = NewDoc();
    doc.Racun.row(7).Tekst = "B. Poslovni rashodi ñ";
    encoded = EncodeDocumentFile(doc, image);
    EXPECT_FALSE(encoded.ok());
    const std::string& error = encoded.message();
    EXPECT_NE(error.find("Račun dobiti i gubitka, red 7"), std::string::npos) << error;
    EXPECT_NE(error.find("„ñ“"), std::string::npos) << error;
}

// ---- decoding --------------------------------------------------------------------------------

TEST(DocumentFileDecode, Rows53And54GetTheProgramsTexts) {
    TDokument doc = NewDoc();
    doc.Bilanca.row(52).Tekst = "Vlastiti tekst 52";
    doc.Bilanca.row(53).Tekst = "Vlastiti tekst 53";
    doc.Bilanca.row(54).Tekst = "Vlastiti tekst 54";
    doc.Bilanca.row(55).Tekst = "Vlastiti tekst 55";
    const std::vector<std::uint8_t> image = Encode(doc);

    TDokument opened = NewDoc(1999);
    DecodeDocumentFile(image.data(), opened);
    EXPECT_EQ(opened.Bilanca.row(52).Tekst, "Vlastiti tekst 52");
    EXPECT_EQ(opened.Bilanca.row(53).Tekst, "D.Aktivna vremenska razgraničenja");
    EXPECT_EQ(opened.Bilanca.row(54).Tekst, "E.Gubitak iznad visine kapitala");
    EXPECT_EQ(opened.Bilanca.row(55).Tekst, "Vlastiti tekst 55");
}

TEST(DocumentFileDecode, HeaderOfTheDocumentStays) {
    std::vector<std::uint8_t> image = Encode(NewDoc());
    std::memset(image.data(), 'Q', kHeaderSize);
    TDokument doc = NewDoc();
    doc.Potpis = "vlastiti potpis";
    DecodeDocumentFile(image.data(), doc);
    EXPECT_EQ(doc.Potpis, "vlastiti potpis");
    EXPECT_EQ(doc.Verzija, "Verzija 1.0     ");
}

// A document whose every field and kept byte is random; rows 53 and 54 keep the texts that
// opening gives them, so that the decoded document encodes to the same bytes.
TDokument RandomDocument(std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    TDokument doc = NewDoc(2000 + static_cast<int>(seed % 50));
    for (auto& b : doc.KeptBlock) {
        b = static_cast<std::uint8_t>(rng());
    }
    doc.Poduzece = test::RandomText(rng, 255);
    doc.Sjediste = test::RandomText(rng, 255);
    doc.DatumOd = test::RandomBits(rng);
    doc.DatumDo = test::RandomBits(rng);
    doc.BrojDionica =
        (seed % 2 == 0) ? test::RandomBits(rng) : static_cast<double>(rng() % 10000000000ULL);
    for (int r = 1; r <= kBilancaRows; ++r) {
        auto& s = doc.Bilanca.row(r);
        s.Tekst = test::RandomText(rng, 255);
        s.IznosPrethodna = test::RandomBits(rng);
        s.UdioPrethodna = test::RandomBits(rng);
        s.IznosTekuca = test::RandomBits(rng);
        s.UdioTekuca = test::RandomBits(rng);
    }
    doc.Bilanca.row(53).Tekst = std::string(TemplateRow(Statement::Bilanca, 53).Tekst);
    doc.Bilanca.row(54).Tekst = std::string(TemplateRow(Statement::Bilanca, 54).Tekst);
    for (int r = 1; r <= kRacunRows; ++r) {
        doc.Racun.row(r) = {test::RandomText(rng, 255), test::RandomBits(rng),
                            test::RandomBits(rng)};
    }
    for (int r = 1; r <= kCFIndRows; ++r) {
        doc.CFInd.row(r) = {test::RandomText(rng, 255), test::RandomBits(rng)};
    }
    for (int r = 1; r <= kCFFreeRows; ++r) {
        doc.CFFree.row(r) = {test::RandomText(rng, 255), test::RandomBits(rng)};
    }
    for (int r = 1; r <= kPokRows; ++r) {
        doc.Pok.row(r) = {test::RandomText(rng, 255), test::RandomBits(rng)};
    }
    return doc;
}

void ExpectSameFields(const TDokument& a, const TDokument& b) {
    EXPECT_EQ(a.Poduzece, b.Poduzece);
    EXPECT_EQ(a.Sjediste, b.Sjediste);
    EXPECT_TRUE(SameValue(a.DatumOd, b.DatumOd));
    EXPECT_TRUE(SameValue(a.DatumDo, b.DatumDo));
    EXPECT_TRUE(SameValue(a.BrojDionica, b.BrojDionica)) << a.BrojDionica << " " << b.BrojDionica;
    for (int r = 1; r <= kBilancaRows; ++r) {
        EXPECT_EQ(a.Bilanca.row(r).Tekst, b.Bilanca.row(r).Tekst) << r;
        EXPECT_TRUE(SameValue(a.Bilanca.row(r).IznosPrethodna, b.Bilanca.row(r).IznosPrethodna));
        EXPECT_TRUE(SameValue(a.Bilanca.row(r).UdioPrethodna, b.Bilanca.row(r).UdioPrethodna));
        EXPECT_TRUE(SameValue(a.Bilanca.row(r).IznosTekuca, b.Bilanca.row(r).IznosTekuca));
        EXPECT_TRUE(SameValue(a.Bilanca.row(r).UdioTekuca, b.Bilanca.row(r).UdioTekuca));
    }
    for (int r = 1; r <= kRacunRows; ++r) {
        EXPECT_EQ(a.Racun.row(r).Tekst, b.Racun.row(r).Tekst) << r;
        EXPECT_TRUE(SameValue(a.Racun.row(r).Iznos, b.Racun.row(r).Iznos));
        EXPECT_TRUE(SameValue(a.Racun.row(r).Udio, b.Racun.row(r).Udio));
    }
    for (int r = 1; r <= kPokRows; ++r) {
        EXPECT_EQ(a.Pok.row(r).Tekst, b.Pok.row(r).Tekst) << r;
        EXPECT_TRUE(SameValue(a.Pok.row(r).Iznos, b.Pok.row(r).Iznos));
    }
}

class DocumentFileRoundTrip : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(DocumentFileRoundTrip, DecodeThenEncodeIsByteIdentical) {
    const TDokument original = RandomDocument(GetParam());
    const std::vector<std::uint8_t> first = Encode(original);

    TDokument opened = NewDoc(1990);
    DecodeDocumentFile(first.data(), opened);
    ExpectSameFields(original, opened);
    EXPECT_TRUE(
        std::equal(opened.KeptBlock.begin(), opened.KeptBlock.end(), first.begin() + kHeaderSize));
    EXPECT_EQ(Encode(opened), first);
}

TEST_P(DocumentFileRoundTrip, SaveOpenSaveThroughFilesIsByteIdentical) {
    TempDir dir;
    TDokument original = RandomDocument(GetParam());
    original.ImeDatoteke = dir.file("prvi.mvk");
    original.Izmijenjen = true;
    ASSERT_EQ(SaveDocument(original), "");
    EXPECT_FALSE(original.Izmijenjen);
    const std::vector<std::uint8_t> first = ReadBytes(dir.file("prvi.mvk"));
    EXPECT_EQ(first, Encode(original));

    TDokument opened = NewDoc(2011);
    const OpenOutcome read = OpenDocument(dir.file("prvi.mvk"), opened);
    ASSERT_TRUE(read) << read;
    EXPECT_EQ(opened.ImeDatoteke, dir.file("prvi.mvk"));
    opened.ImeDatoteke = dir.file("drugi.mvk");
    ASSERT_EQ(SaveDocument(opened), "");
    EXPECT_EQ(ReadBytes(dir.file("drugi.mvk")), first);
}

INSTANTIATE_TEST_SUITE_P(FixedSeeds, DocumentFileRoundTrip,
                         ::testing::Values(1u, 2u, 3u, 42u, 1999u, 20240229u));

// Extended reals a double cannot hold exactly, or that are no ordinary number at all.
class DocumentFileOddExtended : public ::testing::TestWithParam<ExtendedBytes> {};

TEST_P(DocumentFileOddExtended, KeptBytesAreWrittenBackUnchanged) {
    std::vector<std::uint8_t> image = Encode(NewDoc());
    std::memcpy(image.data() + 610, GetParam().data(), 10);
    TDokument doc = NewDoc();
    DecodeDocumentFile(image.data(), doc);
    EXPECT_EQ(Encode(doc), image);

    // A changed count is written afresh.
    doc.BrojDionica = 12345;
    const std::vector<std::uint8_t> changed = Encode(doc);
    const ExtendedBytes fresh = EncodeExtended(12345);
    EXPECT_EQ(Bytes(changed, 610, 10), std::string(fresh.begin(), fresh.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, DocumentFileOddExtended,
    ::testing::Values(
        ExtendedBytes{0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0},     // pseudo-denormal
        ExtendedBytes{1, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x3F},  // unnormal
        ExtendedBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x3F},  // 2 - 2^-63
        ExtendedBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F},  // beyond double
        ExtendedBytes{1, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00},                       // below double
        ExtendedBytes{1, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F},                       // NaN
        ExtendedBytes{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF},                       // -infinity
        ExtendedBytes{0, 0, 0, 0, 0, 0, 0, 0xA0, 0x01, 0xC0}));                     // -5

// ---- saving ----------------------------------------------------------------------------------

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

class UmaskGuard {
  public:
    explicit UmaskGuard(mode_t mask) : old_(::umask(mask)) {}
    ~UmaskGuard() { ::umask(old_); }

  private:
    mode_t old_;
};

TEST(DocumentFileSave, NewFileHasTheUsualModeAndOnlyItRemains) {
    UmaskGuard guard(022);
    TempDir dir;
    TDokument doc = NewDoc();
    doc.ImeDatoteke = dir.file("novi.mvk");
    doc.Izmijenjen = true;
    ASSERT_EQ(SaveDocument(doc), "");
    EXPECT_FALSE(doc.Izmijenjen);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"novi.mvk"});
    EXPECT_EQ(ModeOf(doc.ImeDatoteke), 0644u);
    const std::vector<std::uint8_t> bytes = ReadBytes(doc.ImeDatoteke);
    ASSERT_EQ(bytes.size(), 59954u);
    EXPECT_TRUE(
        std::equal(doc.KeptBlock.begin(), doc.KeptBlock.end(), bytes.begin() + kHeaderSize));
}

TEST(DocumentFileSave, ReplacingKeepsTheModeOfTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("stari.mvk");
    WriteBytes(path, {1, 2, 3});
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    TDokument doc = NewDoc();
    doc.ImeDatoteke = path;
    ASSERT_EQ(SaveDocument(doc), "");
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(ReadBytes(path).size(), 59954u);
}

TEST(DocumentFileSave, ThroughASymbolicLinkTheTargetIsReplaced) {
    TempDir dir;
    const std::string target = dir.file("pravi.mvk");
    const std::string link = dir.file("veza.mvk");
    WriteBytes(target, {1, 2, 3});
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    TDokument doc = NewDoc();
    doc.ImeDatoteke = link;
    ASSERT_EQ(SaveDocument(doc), "");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), Encode(doc));
}

// Ways a disk can refuse the bytes part-way; each drives the real writer.
struct WriteFailure {
    const char* name;
    std::function<WriteCall()> make;
};

void PrintTo(const WriteFailure& f, std::ostream* os) {
    *os << f.name;
}

// Passes the first `allowed` bytes through in small pieces, then behaves as `then` says.
WriteCall FailingAfter(std::size_t allowed, std::function<std::ptrdiff_t()> then) {
    auto passed = std::make_shared<std::size_t>(0);
    return [=](int fd, const void* data, std::size_t size) -> std::ptrdiff_t {
        if (*passed >= allowed) {
            return then();
        }
        const std::size_t n = std::min({size, std::size_t{4096}, allowed - *passed});
        const ssize_t w = ::write(fd, data, n);
        if (w > 0) {
            *passed += static_cast<std::size_t>(w);
        }
        return w;
    };
}

class DocumentFileSaveFailure : public ::testing::TestWithParam<WriteFailure> {};

TEST_P(DocumentFileSaveFailure, OldFileStaysAndNoTemporaryFileRemains) {
    TempDir dir;
    const std::string path = dir.file("dokument.mvk");
    TDokument doc = NewDoc();
    doc.Poduzece = "Staro d.d.";
    doc.ImeDatoteke = path;
    ASSERT_EQ(SaveDocument(doc), "");
    const std::vector<std::uint8_t> old = ReadBytes(path);

    doc.Poduzece = "Novo d.d.";
    doc.Bilanca.row(4).IznosTekuca = 1234.5;
    doc.Izmijenjen = true;
    const auto keptBefore = doc.KeptBlock;
    const std::unique_ptr<FileWriter> writer = MakeSystemFileWriter(GetParam().make());
    const std::string error = SaveDocument(doc, *writer).message();

    EXPECT_EQ(error, "Datoteka " + path +
                         " nije snimljena: pisanje nije uspjelo (disk je možda pun). Prethodni "
                         "sadržaj datoteke nije promijenjen.");
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"dokument.mvk"});
    EXPECT_TRUE(doc.Izmijenjen);
    EXPECT_EQ(doc.ImeDatoteke, path);
    EXPECT_EQ(doc.KeptBlock, keptBefore);
}

TEST_P(DocumentFileSaveFailure, NewFileLeavesNothingBehind) {
    TempDir dir;
    const std::string path = dir.file("novi.mvk");
    TDokument doc = NewDoc();
    doc.ImeDatoteke = path;
    doc.Izmijenjen = true;
    const std::unique_ptr<FileWriter> writer = MakeSystemFileWriter(GetParam().make());
    EXPECT_EQ(SaveDocument(doc, *writer),
              "Datoteka " + path + " nije snimljena: pisanje nije uspjelo (disk je možda pun).");
    EXPECT_TRUE(dir.names().empty());
    EXPECT_TRUE(doc.Izmijenjen);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DocumentFileSaveFailure,
    ::testing::Values(
        WriteFailure{"ShortWriteThenNothing",
                     [] { return FailingAfter(20000, [] { return std::ptrdiff_t{0}; }); }},
        WriteFailure{"ErrorAtOnce",
                     [] {
                         return FailingAfter(0, [] {
                             errno = EIO;
                             return std::ptrdiff_t{-1};
                         });
                     }},
        WriteFailure{"DiskFullPartWay",
                     [] {
                         return FailingAfter(40000, [] {
                             errno = ENOSPC;
                             return std::ptrdiff_t{-1};
                         });
                     }},
        WriteFailure{"ClaimsMoreThanAsked",
                     [] { return FailingAfter(100, [] { return std::ptrdiff_t{1} << 40; }); }}),
    [](const ::testing::TestParamInfo<WriteFailure>& info) {
        return std::string(info.param.name);
    });

TEST(DocumentFileSave, InterruptedWritesAreRetried) {
    TempDir dir;
    auto calls = std::make_shared<int>(0);
    const std::unique_ptr<FileWriter> writer =
        MakeSystemFileWriter([calls](int fd, const void* data, std::size_t size) -> std::ptrdiff_t {
            if ((*calls)++ % 2 == 0) {
                errno = EINTR;
                return -1;
            }
            return ::write(fd, data, std::min(size, std::size_t{1000}));
        });
    TDokument doc = NewDoc();
    doc.ImeDatoteke = dir.file("a.mvk");
    ASSERT_EQ(SaveDocument(doc, *writer), "");
    EXPECT_EQ(ReadBytes(doc.ImeDatoteke), Encode(doc));
}

TEST(DocumentFileSave, NameAtTheLengthLimitIsSavedToo) {
    TempDir dir;
    const std::string name = std::string(251, 'd') + ".mvk";  // 255 characters
    TDokument doc = NewDoc();
    doc.ImeDatoteke = dir.file(name);
    ASSERT_EQ(SaveDocument(doc), "");
    EXPECT_EQ(dir.names(), std::vector<std::string>{name});
    EXPECT_EQ(ReadBytes(doc.ImeDatoteke), Encode(doc));
}

TEST(DocumentFileSave, MissingFolderCannotBeCreated) {
    TempDir dir;
    const std::string path = dir.file("nema/dokument.mvk");
    TDokument doc = NewDoc();
    doc.ImeDatoteke = path;
    doc.Izmijenjen = true;
    EXPECT_EQ(SaveDocument(doc), "Cannot create file " + path);
    EXPECT_TRUE(doc.Izmijenjen);
    EXPECT_EQ(doc.ImeDatoteke, path);
    EXPECT_TRUE(dir.names().empty());
}

TEST(DocumentFileSave, ADirectoryCannotBeReplaced) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("mapa"));
    TDokument doc = NewDoc();
    doc.ImeDatoteke = dir.file("mapa");
    EXPECT_EQ(SaveDocument(doc), "Cannot create file " + dir.file("mapa"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("mapa")));
}

// A target that is neither missing nor a regular file (followed through a link) stays as it is.
TEST(DocumentFileSave, APipeOrALinkToOneIsNotReplaced) {
    TempDir dir;
    const std::string pipe = dir.file("cijev");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string link = dir.file("veza.mvk");
    ASSERT_EQ(::symlink(pipe.c_str(), link.c_str()), 0);
    for (const std::string& path : {pipe, link}) {
        TDokument doc = NewDoc();
        doc.ImeDatoteke = path;
        EXPECT_EQ(SaveDocument(doc), "Cannot create file " + path);
    }
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(dir.names().size(), 2u);
}

// A call the system refuses as it refuses a user without the right (the tests may run as the
// superuser, whom file modes do not stop).
int RefusedWithEacces() {
    errno = EACCES;
    return -1;
}

TEST(DocumentFileSave, ReadOnlyFolderCannotTakeTheFile) {
    TempDir dir;
    FileCalls calls;
    calls.makeTemp = [](char*, unsigned) { return RefusedWithEacces(); };
    const std::unique_ptr<FileWriter> writer = MakeSystemFileWriter(calls);
    TDokument doc = NewDoc();
    doc.ImeDatoteke = dir.file("a.mvk");
    EXPECT_EQ(SaveDocument(doc, *writer), "Cannot create file " + dir.file("a.mvk"));
    EXPECT_TRUE(dir.names().empty());
}

// A file the user may not write is not replaced, even in a folder where a new file could go.
TEST(DocumentFileSave, ReadOnlyFileIsNotReplaced) {
    TempDir dir;
    const std::string path = dir.file("zasticen.mvk");
    WriteBytes(path, {1, 2, 3});
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    TDokument doc = NewDoc();
    doc.ImeDatoteke = path;
    doc.Izmijenjen = true;
    FileCalls calls;
    calls.checkWritable = [&path](const char* checked) {
        return checked == path ? RefusedWithEacces() : 0;
    };
    const std::unique_ptr<FileWriter> writer = MakeSystemFileWriter(calls);
    EXPECT_EQ(SaveDocument(doc, *writer), "Cannot create file " + path);
    EXPECT_TRUE(doc.Izmijenjen);
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"zasticen.mvk"});
}

TEST(DocumentFileSave, UntitledDocumentIsNotReportedAsSaved) {
    TDokument doc = NewDoc();
    doc.Izmijenjen = true;
    EXPECT_NE(SaveDocument(doc), "");
    EXPECT_TRUE(doc.Izmijenjen);
}

TEST(DocumentFileSave, UnencodableTextWritesNothing) {
    TempDir dir;
    TDokument doc = NewDoc();
    doc.ImeDatoteke = dir.file("a.mvk");
    doc.Poduzece = "Ñandú d.o.o.";
    doc.Izmijenjen = true;
    EXPECT_NE(SaveDocument(doc).message().find("Naziv poduzeća"), std::string::npos);
    EXPECT_TRUE(dir.names().empty());
    EXPECT_TRUE(doc.Izmijenjen);
}

// ---- opening ---------------------------------------------------------------------------------

TEST(DocumentFileOpen, MissingFileChangesNothing) {
    TempDir dir;
    TDokument doc = NewDoc();
    doc.Poduzece = "Postojeće";
    doc.ImeDatoteke = "stari.mvk";
    const std::vector<std::uint8_t> before = Encode(doc);
    const OpenOutcome missing = OpenDocument(dir.file("nema.mvk"), doc);
    EXPECT_TRUE(missing.missing());
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.message(), "Datoteka " + dir.file("nema.mvk") + " ne postoji");
    EXPECT_EQ(Encode(doc), before);
    EXPECT_EQ(doc.ImeDatoteke, "stari.mvk");
    EXPECT_TRUE(OpenDocument(dir.file("nema/ni.mvk"), doc).missing());
}

struct ShortFile {
    std::size_t size;
    const char* sizeText;
};

class DocumentFileShort : public ::testing::TestWithParam<ShortFile> {};

TEST_P(DocumentFileShort, IsRefusedAndTheDocumentStays) {
    TempDir dir;
    const std::string path = dir.file("kratki.mvk");
    std::vector<std::uint8_t> bytes = Encode(RandomDocument(7));
    bytes.resize(GetParam().size);
    WriteBytes(path, bytes);

    TDokument doc = NewDoc();
    doc.Poduzece = "Ostaje";
    const std::vector<std::uint8_t> before = Encode(doc);
    const OpenOutcome opened = OpenDocument(path, doc);
    EXPECT_FALSE(opened.missing());
    EXPECT_EQ(opened.result(), "Datoteka " + path + " nije Movik dokument: ima " +
                                   GetParam().sizeText + ", a dokument ima 59954 bajta.");
    EXPECT_EQ(Encode(doc), before);
    EXPECT_EQ(doc.ImeDatoteke, "");
}

INSTANTIATE_TEST_SUITE_P(Sizes, DocumentFileShort,
                         ::testing::Values(ShortFile{0, "0 bajtova"}, ShortFile{1, "1 bajt"},
                                           ShortFile{21, "21 bajt"}, ShortFile{82, "82 bajta"},
                                           ShortFile{111, "111 bajtova"},
                                           ShortFile{59953, "59953 bajta"}));

TEST(DocumentFileOpen, LongerFileIsReadAndTheRestIgnored) {
    TempDir dir;
    const TDokument original = RandomDocument(11);
    std::vector<std::uint8_t> bytes = Encode(original);
    const std::vector<std::uint8_t> exact = bytes;
    bytes.insert(bytes.end(), 5000, 0xEE);
    WriteBytes(dir.file("dugi.mvk"), bytes);
    TDokument doc = NewDoc();
    ASSERT_TRUE(OpenDocument(dir.file("dugi.mvk"), doc));
    EXPECT_EQ(Encode(doc), exact);
}

// Bytes already read open as the file that holds them: the same outcome, message and document,
// for a document, a longer file, a short one and one without the signature.
TEST(DocumentFileOpen, BytesOpenAsTheirFileOpens) {
    TempDir dir;
    const std::string path = dir.file("d.mvk");
    const std::vector<std::uint8_t> image = Encode(RandomDocument(13));
    std::vector<std::uint8_t> longer = image;
    longer.insert(longer.end(), 100, 0xEE);
    const std::vector<std::uint8_t> shorter(image.begin(), image.begin() + 5000);
    std::vector<std::uint8_t> foreign = image;
    foreign[3] = 'x';
    for (const std::vector<std::uint8_t>& bytes : {image, longer, shorter, foreign}) {
        WriteBytes(path, bytes);
        TDokument fromFile = NewDoc();
        fromFile.Poduzece = "Ostaje";
        TDokument fromBytes = fromFile;
        const OpenOutcome file = OpenDocument(path, fromFile);
        const OpenOutcome read = OpenDocumentBytes(
            path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
            fromBytes);
        EXPECT_EQ(read.ok(), file.ok());
        EXPECT_FALSE(read.missing());
        EXPECT_EQ(read.message(), file.message());
        EXPECT_EQ(Encode(fromBytes), Encode(fromFile));
        EXPECT_EQ(fromBytes.ImeDatoteke, fromFile.ImeDatoteke);
    }
}

TEST(DocumentFileOpen, DirectoryCannotBeOpened) {
    TempDir dir;
    TDokument doc = NewDoc();
    const OpenOutcome opened = OpenDocument(dir.path().string(), doc);
    EXPECT_FALSE(opened.missing());
    EXPECT_EQ(opened.result(), "Cannot open file " + dir.path().string());
    EXPECT_EQ(doc.ImeDatoteke, "");
}

TEST(DocumentFileOpen, UnreadableFileCannotBeOpened) {
    TempDir dir;
    const std::string path = dir.file("zakljucan.mvk");
    WriteBytes(path, Encode(NewDoc()));
    FileCalls calls;
    calls.open = [](const char*, int) { return RefusedWithEacces(); };
    TDokument doc = NewDoc();
    const OpenOutcome opened = OpenDocument(path, doc, calls);
    EXPECT_FALSE(opened.missing());
    EXPECT_EQ(opened.result(), "Cannot open file " + path);
}

// Only the signature (bytes 0 to 64) makes a file a document; the version bytes may differ.
struct HeaderByte {
    std::size_t offset;
    std::uint8_t value;
    bool opens;
};

class DocumentFileSignature : public ::testing::TestWithParam<HeaderByte> {};

TEST_P(DocumentFileSignature, DecidesWhetherTheFileOpens) {
    TempDir dir;
    const std::string path = dir.file("tudji.mvk");
    std::vector<std::uint8_t> bytes = Encode(RandomDocument(5));
    bytes[GetParam().offset] = GetParam().value;
    WriteBytes(path, bytes);

    TDokument doc = NewDoc();
    doc.Poduzece = "Ostaje";
    const std::vector<std::uint8_t> before = Encode(doc);
    const OpenOutcome opened = OpenDocument(path, doc);
    if (GetParam().opens) {
        EXPECT_TRUE(opened) << opened;
        return;
    }
    EXPECT_FALSE(opened.missing());
    EXPECT_EQ(opened.result(), "Datoteka " + path + " nije Movik dokument.");
    EXPECT_EQ(Encode(doc), before);
    EXPECT_EQ(doc.ImeDatoteke, "");
}

INSTANTIATE_TEST_SUITE_P(HeaderBytes, DocumentFileSignature,
                         ::testing::Values(HeaderByte{0, 63, false}, HeaderByte{1, 'm', false},
                                           HeaderByte{5, 'K', false}, HeaderByte{6, 0, false},
                                           HeaderByte{64, 'x', false}, HeaderByte{65, 17, true},
                                           HeaderByte{76, '2', true}, HeaderByte{81, 0, true}));

}  // namespace
}  // namespace movik
