// The safe writer under failing system calls: a failed rename or flush keeps the old file and
// leaves no temporary file, temporary files are hidden and recognisable, and the next save of a
// document removes the ones interrupted saves left behind.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "DocumentTestSupport.h"
#include "document/DocumentFile.h"
#include "model/Templates.h"

namespace movik {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::vector<std::uint8_t> kOldBytes = {7, 7, 7};

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

int Refused(int error) {
    errno = error;
    return -1;
}

// A changed document named dir/a.mvk, whose old file holds kOldBytes.
TDokument ChangedDocumentOver(const TempDir& dir) {
    WriteBytes(dir.file("a.mvk"), kOldBytes);
    TDokument doc;
    NewDocument(doc, 2024);
    doc.Poduzece = "Novo d.o.o.";
    doc.ImeDatoteke = dir.file("a.mvk");
    doc.Izmijenjen = true;
    return doc;
}

struct FailedCall {
    const char* name;
    bool rename;  // else the flush
    int error;
};

class SafeSaveFailure : public ::testing::TestWithParam<FailedCall> {};

TEST_P(SafeSaveFailure, KeepsTheOldBytesAndLeavesNoTemporaryFile) {
    TempDir dir;
    TDokument doc = ChangedDocumentOver(dir);
    FileCalls calls;
    const int error = GetParam().error;
    if (GetParam().rename) {
        calls.rename = [error](const char*, const char*) { return Refused(error); };
    } else {
        calls.flush = [error](int) { return Refused(error); };
    }
    const auto writer = MakeSystemFileWriter(calls);
    const Result saved = SaveDocument(doc, *writer);
    EXPECT_FALSE(saved);
    EXPECT_NE(saved.message().find("Datoteka " + dir.file("a.mvk") + " nije snimljena"),
              std::string::npos)
        << saved;
    EXPECT_NE(saved.message().find("Prethodni sadržaj datoteke nije promijenjen."),
              std::string::npos);
    EXPECT_TRUE(doc.Izmijenjen);
    EXPECT_EQ(ReadBytes(dir.file("a.mvk")), kOldBytes);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"a.mvk"});
}

INSTANTIATE_TEST_SUITE_P(Calls, SafeSaveFailure,
                         ::testing::Values(FailedCall{"RenameAcces", true, EACCES},
                                           FailedCall{"RenameCrossDevice", true, EXDEV},
                                           FailedCall{"FlushIo", false, EIO},
                                           FailedCall{"FlushNoSpace", false, ENOSPC}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SafeSave, FileSystemThatCannotFlushStillSaves) {
    TempDir dir;
    TDokument doc = ChangedDocumentOver(dir);
    FileCalls calls;
    calls.flush = [](int) { return Refused(EINVAL); };
    const auto writer = MakeSystemFileWriter(calls);
    EXPECT_TRUE(SaveDocument(doc, *writer));
    EXPECT_FALSE(doc.Izmijenjen);
    EXPECT_EQ(ReadBytes(dir.file("a.mvk")).size(), kDocumentFileSize);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"a.mvk"});
}

// The complete content reaches the disk before the rename puts it in place, and it is written
// to a hidden file of our own pattern beside the target.
TEST(SafeSave, FlushesTheCompleteTemporaryFileBeforeTheRename) {
    TempDir dir;
    TDokument doc = ChangedDocumentOver(dir);
    std::vector<std::string> events;
    FileCalls calls;
    calls.flush = [&events](int fd) {
        struct stat info {};
        ::fstat(fd, &info);
        events.push_back("flush " + std::to_string(info.st_size));
        return ::fdatasync(fd);
    };
    calls.rename = [&events](const char* from, const char* to) {
        const std::string name = std::filesystem::path(from).filename().string();
        events.push_back(std::string("rename ") + (IsTempFileOf(name, "a.mvk") ? "temp" : name));
        return ::rename(from, to);
    };
    const auto writer = MakeSystemFileWriter(calls);
    ASSERT_TRUE(SaveDocument(doc, *writer));
    EXPECT_EQ(events, (std::vector<std::string>{"flush " + std::to_string(kDocumentFileSize),
                                                "rename temp"}));
}

TEST(SafeSave, RemovesOnlyStaleTemporaryFilesOfTheSameDocument) {
    TempDir dir;
    TDokument doc = ChangedDocumentOver(dir);
    const std::vector<std::string> stale = {".a.mvk.Ab3xZ9.movik-tmp", ".a.mvk.000000.movik-tmp"};
    const std::vector<std::string> others = {
        ".a.mvk.Ab3xZ.movik-tmp",  ".a.mvk.Ab3xZ99.movik-tmp", ".a.mvk.Ab-xZ9.movik-tmp",
        ".b.mvk.Ab3xZ9.movik-tmp", "a.mvk.Ab3xZ9.movik-tmp",   ".a.mvk.Ab3xZ9.movik-tmpx",
        ".a.mvk.Ab3xZ9",           ".xa.mvk.Ab3xZ9.movik-tmp", "b.mvk"};
    for (const auto& name : stale) {
        WriteBytes(dir.file(name), {1});
    }
    for (const auto& name : others) {
        WriteBytes(dir.file(name), {2});
    }
    // A folder and a link of the same pattern are not files a save left behind.
    std::filesystem::create_directory(dir.file(".a.mvk.folder.movik-tmp"));
    std::filesystem::create_symlink(dir.file("b.mvk"), dir.file(".a.mvk.link00.movik-tmp"));
    ASSERT_TRUE(SaveDocument(doc));

    std::vector<std::string> expected = others;
    expected.insert(expected.end(),
                    {"a.mvk", ".a.mvk.folder.movik-tmp", ".a.mvk.link00.movik-tmp"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir.names(), expected);
}

TEST(SafeSave, FailedSaveKeepsStaleTemporaryFiles) {
    TempDir dir;
    TDokument doc = ChangedDocumentOver(dir);
    WriteBytes(dir.file(".a.mvk.Ab3xZ9.movik-tmp"), {1});
    FileCalls calls;
    calls.rename = [](const char*, const char*) { return Refused(EIO); };
    ASSERT_FALSE(SaveDocument(doc, *MakeSystemFileWriter(calls)));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{".a.mvk.Ab3xZ9.movik-tmp", "a.mvk"}));
}

// Another program changes the folder while the bytes are being written.
struct Meanwhile {
    const char* name;
    void (*change)(const TempDir& dir);
};

class SafeSaveMeanwhile : public ::testing::TestWithParam<Meanwhile> {};

TEST_P(SafeSaveMeanwhile, GivesTheErrorAndLosesNothing) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("mapa"));
    const std::string path = dir.file("mapa/a.mvk");
    WriteBytes(path, kOldBytes);
    TDokument doc;
    NewDocument(doc, 2024);
    doc.ImeDatoteke = path;
    doc.Izmijenjen = true;
    bool changed = false;
    FileCalls calls;
    const auto change = GetParam().change;
    calls.write = [&](int fd, const void* data, std::size_t size) {
        if (!changed) {
            change(dir);
            changed = true;
        }
        return ::write(fd, data, size);
    };
    const Result saved = SaveDocument(doc, *MakeSystemFileWriter(calls));
    EXPECT_FALSE(saved);
    EXPECT_NE(saved.message().find("nije snimljena"), std::string::npos) << saved;
    EXPECT_TRUE(doc.Izmijenjen);
    EXPECT_EQ(doc.ImeDatoteke, path);
    if (std::filesystem::is_directory(dir.file("mapa"))) {
        EXPECT_TRUE(std::filesystem::is_directory(path));
        EXPECT_EQ(NamesIn(dir.file("mapa")), std::vector<std::string>{"a.mvk"});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, SafeSaveMeanwhile,
    ::testing::Values(Meanwhile{"FolderRemoved",
                                [](const TempDir& dir) {
                                    std::filesystem::remove_all(dir.file("mapa"));
                                }},
                      Meanwhile{"TargetReplacedByFolder",
                                [](const TempDir& dir) {
                                    std::filesystem::remove(dir.file("mapa/a.mvk"));
                                    std::filesystem::create_directory(dir.file("mapa/a.mvk"));
                                }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace movik
