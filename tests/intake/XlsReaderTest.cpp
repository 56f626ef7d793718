// The .xls path: the compound file's look for passwords, the reader program as a process of its
// own (descriptors, signals, limits, a caller of any size and many threads), and the caller's
// decoding of whatever the program sends back.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "intake/CompoundFile.h"
#include "intake/OfficialForm.h"
#include "intake/Workbook.h"
#include "intake/WorkbookLimits.h"
#include "intake/XlsProtocol.h"
#include "intake/XlsReader.h"
#include "tests/intake/CompoundBuilder.h"

// Under AddressSanitizer a program cannot start within a small address-space limit.
#if defined(__SANITIZE_ADDRESS__)
#define MOVIK_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MOVIK_TEST_ASAN 1
#endif
#endif
#ifndef MOVIK_TEST_ASAN
#define MOVIK_TEST_ASAN 0
#endif

namespace movik {
namespace {

using namespace workbook;

const char* const kExample = MOVIK_SOURCE_DIR "/examples/gfi-pod-2019.xls";

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The example form with its second record (after the opening BOF) made a FILEPASS, as Excel
// writes a workbook saved with a password.
std::string ExampleWithPassword() {
    std::string b = Slurp(kExample);
    const std::size_t bof = b.find(std::string("\x09\x08\x10\x00\x00\x06\x05\x00", 8));
    b[bof + 20] = 0x2F;
    b[bof + 21] = 0;
    return b;
}

struct CompoundCase {
    const char* name;
    std::string bytes;
    CompoundFile kind;
};

class CompoundCheck : public ::testing::TestWithParam<CompoundCase> {};

// The kind decides the message: a password, damage, not a workbook, or FreeXL's reading.
TEST_P(CompoundCheck, TellsPasswordsByTheDirectoryAndTheFirstRecords) {
    EXPECT_EQ(InspectCompoundFile(GetParam().bytes), GetParam().kind);
    const WorkbookRead r = ReadWorkbookBytes(GetParam().bytes, {});
    const bool password = r.error.find("lozinkom") != std::string::npos;
    EXPECT_EQ(password, GetParam().kind == CompoundFile::Encrypted) << r.error;
}

std::string Utf16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

std::string WithByteOrder(std::string b, char low) {
    b[0x1C] = low;
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Files, CompoundCheck,
    ::testing::Values(
        CompoundCase{"EncryptedPackageStream",
                     test::CompoundOf({{"EncryptionInfo", "x"}, {"EncryptedPackage", "y"}}),
                     CompoundFile::Encrypted},
        CompoundCase{"FilePassAfterBof",
                     test::CompoundOf({{"Workbook", test::BiffStart("\x2F\x00\x02\x00\x00\x00")}}),
                     CompoundFile::Encrypted},
        CompoundCase{"TheRealFormWithAPassword", ExampleWithPassword(), CompoundFile::Encrypted},
        // The name only as text inside a stream is no encryption.
        CompoundCase{"NameOnlyInsideAStream",
                     test::CompoundOf({{"Workbook", test::BiffStart(Utf16("EncryptedPackage"))}}),
                     CompoundFile::Workbook},
        CompoundCase{"TheRealForm", Slurp(kExample), CompoundFile::Workbook},
        CompoundCase{"NoWorkbookStream", test::CompoundOf({{"WordDocument", "x"}}),
                     CompoundFile::NotWorkbook},
        CompoundCase{"WrongByteOrder", WithByteOrder(Slurp(kExample), 0x00), CompoundFile::Damaged},
        CompoundCase{"CutAfterTheHeader", Slurp(kExample).substr(0, 600), CompoundFile::Damaged}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the reply --------------------------------------------------------------------------------

WorkbookData SmallBook() {
    WorkbookData book;
    book.sheetNames = {"Bilanca", "RDG"};
    SheetData sheet;
    sheet.name = "Bilanca";
    sheet.formulaResultsKnown = false;
    sheet.rows = 3;
    sheet.cells[Key(0, 0)] = {SheetCell::Kind::Text, 0, "Naziv pozicije čćž"};
    sheet.cells[Key(2, 9)] = {SheetCell::Kind::Number, 1234.5, ""};
    book.sheets.push_back(sheet);
    return book;
}

bool Same(const WorkbookData& a, const WorkbookData& b) {
    if (a.sheetNames != b.sheetNames || a.sheets.size() != b.sheets.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.sheets.size(); ++i) {
        const SheetData& x = a.sheets[i];
        const SheetData& y = b.sheets[i];
        if (x.name != y.name || x.rows != y.rows || x.cells.size() != y.cells.size()) {
            return false;
        }
        for (const auto& [key, cell] : x.cells) {
            const auto it = y.cells.find(key);
            if (it == y.cells.end() || it->second.kind != cell.kind ||
                it->second.number != cell.number || it->second.text != cell.text) {
                return false;
            }
        }
    }
    return true;
}

// A reply with one cell changed by f.
template <typename F>
std::string ReplyWith(F f) {
    WorkbookData book = SmallBook();
    f(book);
    return EncodeBook(book);
}

std::string DuplicatedCell() {
    WorkbookData book = SmallBook();
    book.sheets[0].cells.erase(Key(0, 0));
    std::string reply = EncodeBook(book);
    const std::size_t cell = 8 + 1 + 8 + 4;  // key, kind, number, empty text
    const std::uint32_t two = 2;
    std::memcpy(reply.data() + reply.size() - cell - 4, &two, 4);
    return reply + reply.substr(reply.size() - cell);
}

struct BadReply {
    const char* name;
    std::string reply;
    const char* message;
};

class ReplyDecoding : public ::testing::TestWithParam<BadReply> {};

TEST_P(ReplyDecoding, RefusesWhatBreaksTheFormatOrTheLimits) {
    WorkbookLimits limits;
    limits.cells = 2;
    limits.textBytes = 100;
    try {
        DecodeReply(GetParam().reply, limits);
        ADD_FAILURE() << "decoded";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.message, GetParam().message);
    }
}

const char* const kDamagedXls = "Radna knjiga je oštećena ili nepotpuna (.xls)";

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyDecoding,
    ::testing::Values(
        BadReply{"Empty", "", kDamagedXls}, BadReply{"UnknownLetter", "Zabc", kDamagedXls},
        BadReply{"Refusal", "ERadna knjiga je prevelika", "Radna knjiga je prevelika"},
        BadReply{"EmptyRefusal", "E", kDamagedXls},
        BadReply{"RefusalWithControls", "Eloše\x1b[2J", kDamagedXls},
        BadReply{"RefusalNotUtf8", "E\xC3\x28", kDamagedXls},
        BadReply{"BytesLeftOver", EncodeBook(SmallBook()) + "x", kDamagedXls},
        BadReply{"HugeCount", std::string("K\xFF\xFF\xFF\xFF", 5), kDamagedXls},
        BadReply{"ErrorKind", ReplyWith([](WorkbookData& b) {
                     b.sheets[0].cells[Key(1, 1)] = {SheetCell::Kind::Error, 0, "#N/A"};
                 }),
                 kDamagedXls},
        BadReply{"KindOutOfRange", ReplyWith([](WorkbookData& b) {
                     b.sheets[0].cells[Key(0, 0)].kind = static_cast<SheetCell::Kind>(77);
                 }),
                 kDamagedXls},
        BadReply{"NotANumber", ReplyWith([](WorkbookData& b) {
                     b.sheets[0].cells[Key(2, 9)].number = std::nan("");
                 }),
                 kDamagedXls},
        BadReply{"CellBeyondItsRows", ReplyWith([](WorkbookData& b) { b.sheets[0].rows = 2; }),
                 kDamagedXls},
        BadReply{"TooManyCells", ReplyWith([](WorkbookData& b) {
                     b.sheets[0].cells[Key(1, 1)] = {SheetCell::Kind::Number, 1, ""};
                 }),
                 kDamagedXls},
        BadReply{"TextTooLong", ReplyWith([](WorkbookData& b) {
                     b.sheets[0].cells[Key(0, 0)].text = std::string(401, 'a');
                 }),
                 kDamagedXls},
        BadReply{"TextNotUtf8", ReplyWith([](WorkbookData& b) {
                     b.sheets[0].cells[Key(0, 0)].text = "\xED\xA0\x80";  // a surrogate
                 }),
                 kDamagedXls},
        BadReply{"SheetNotInTheWorkbook",
                 ReplyWith([](WorkbookData& b) { b.sheetNames = {"RDG"}; }), kDamagedXls},
        BadReply{"SheetTwice", ReplyWith([](WorkbookData& b) { b.sheets.push_back(b.sheets[0]); }),
                 kDamagedXls},
        BadReply{"SameCellTwice", DuplicatedCell(), kDamagedXls}),
    [](const auto& info) { return std::string(info.param.name); });

// Every reply cut short is damaged; every whole one decodes to the book it was made from.
TEST(ReplyDecoding, EveryCutIsRefusedAndRandomBooksComeBackWhole) {
    const std::string reply = EncodeBook(SmallBook());
    for (std::size_t n = 0; n < reply.size(); ++n) {
        EXPECT_THROW(DecodeReply(reply.substr(0, n), {}), ReadError) << n;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        WorkbookData book;
        book.sheetNames = {"Bilanca", "RDG", "Podaci"};
        for (const char* name : {"RDG", "Podaci"}) {
            SheetData sheet;
            sheet.name = name;
            sheet.formulaResultsKnown = false;
            for (std::uint32_t c = random() % 40; c > 0; --c) {
                const int row = static_cast<int>(random() % 500);
                const int col = static_cast<int>(random() % 64);
                sheet.rows = std::max(sheet.rows, row + 1);
                sheet.cells[Key(row, col)] =
                    random() % 2 == 0
                        ? SheetCell{SheetCell::Kind::Number, (random() % 200001) / 100.0 - 1000, ""}
                        : SheetCell{SheetCell::Kind::Text, 0, std::string(random() % 9, 'z') + "ž"};
            }
            book.sheets.push_back(sheet);
        }
        EXPECT_TRUE(Same(DecodeReply(EncodeBook(book), {}), book)) << round;
    }
}

// ---- the reader program as a process -----------------------------------------------------------

// What a child of RunChild inherits: the standard descriptors only, default signals.
TEST(XlsReaderProcess, AChildInheritsNoDescriptorAndNoIgnoredSignal) {
    const int leaked = ::fcntl(::open("/dev/null", O_RDONLY), F_DUPFD, 100);  // no CLOEXEC
    ASSERT_GE(leaked, 100);
    const auto before = std::signal(SIGPIPE, SIG_IGN);
    const ChildRun run =
        RunChild("/bin/sh", {"-c", "ls /proc/self/fd; grep SigIgn /proc/self/status"}, STDIN_FILENO,
                 1 << 16, std::chrono::seconds(30));
    std::signal(SIGPIPE, before);
    ::close(leaked);
    ASSERT_TRUE(run.exitedCleanly) << run.output;
    // 0, 1, 2 and the folder ls reads; no signal of 1 to 31 ignored (glibc's own internal
    // signals above them are its business).
    const std::size_t ignored = run.output.find("SigIgn:\t");
    ASSERT_NE(ignored, std::string::npos) << run.output;
    EXPECT_EQ(run.output.substr(0, ignored), "0\n1\n2\n3\n");
    EXPECT_EQ(std::stoull(run.output.substr(ignored + 8), nullptr, 16) & 0x7FFFFFFFu, 0u)
        << run.output;
}

// The program reads a form in a small address space of its own, whatever its caller holds:
// under a caller's limit of 150 MB, and from a caller that has reserved 4 GB.
TEST(XlsReaderProcess, ReadsUnderASmallLimitAndBesideALargeCaller) {
    if (MOVIK_TEST_ASAN) {
        GTEST_SKIP() << "no address-space limit under AddressSanitizer";
    }
    const int form = ::open(kExample, O_RDONLY | O_CLOEXEC);
    ASSERT_GE(form, 0);
    const ChildRun limited = RunChild(
        "/bin/sh",
        {"-c", "ulimit -v 150000; exec \"$0\" 1000 32767 10000000 Bilanca", XlsReaderProgram()},
        form, 1 << 24, std::chrono::seconds(30));
    ::close(form);
    ASSERT_TRUE(limited.exitedCleanly);
    const WorkbookData book = DecodeReply(limited.output, {});
    ASSERT_EQ(book.sheets.size(), 1u);
    EXPECT_GT(book.sheets[0].cells.size(), 100u);

    const std::size_t reserved = std::size_t{4} << 30;
    void* large =
        ::mmap(nullptr, reserved, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(large, MAP_FAILED);
    const WorkbookRead read = ReadWorkbookFile(kExample, FormSheets());
    ::munmap(large, reserved);
    EXPECT_TRUE(read.ok) << read.error;
}

// FreeXL's known faults on damaged files (reads out of bounds, a crash under freexl_open) end as
// a refusal: in the reader's process, or before FreeXL sees the file.
TEST(XlsReaderProcess, FreeXlsKnownFaultsEndAsARefusal) {
    for (const char* name : {"iconv-read", "leak", "memcpy-segv"}) {
        const std::string path =
            MOVIK_SOURCE_DIR "/fuzz/corpus/xlsx/regression-freexl-" + std::string(name) + ".xls";
        const WorkbookRead r = ReadWorkbookFile(path, FormSheets());
        EXPECT_FALSE(r.ok) << name;
        EXPECT_TRUE(r.error.find("oštećena") != std::string::npos ||
                    r.error.find("nije radna knjiga") != std::string::npos)
            << name << ": " << r.error;
    }
}

// Many threads read .xls forms at once, as summary -j 32 does: every one is read.
TEST(XlsReaderProcess, ThirtyTwoThreadsReadEveryForm) {
    std::vector<WorkbookRead> reads(32);
    std::vector<std::thread> threads;
    for (WorkbookRead& r : reads) {
        threads.emplace_back([&r] { r = ReadWorkbookFile(kExample, FormSheets()); });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    for (const WorkbookRead& r : reads) {
        EXPECT_TRUE(r.ok) << r.error;
    }
}

}  // namespace
}  // namespace movik
