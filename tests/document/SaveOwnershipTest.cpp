// What a save keeps of the file it replaces and of the world around it: the umask of a process
// with other threads creating files, the old file's owner and group, symbolic links, and a
// second save of the same file running at the same time.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "DocumentTestSupport.h"
#include "document/DocumentFile.h"

namespace movik {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

struct stat StatOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

std::vector<std::uint8_t> Bytes(std::uint8_t value) {
    return std::vector<std::uint8_t>(100, value);
}

// While saves create new files, another thread creates files too: neither ever sees another
// umask than the process's (reading it by setting it and back would let the other thread's files
// be made world-writable).
TEST(SaveOwnership, TheUmaskHoldsForEveryThread) {
    for (const mode_t mask : {mode_t{022}, mode_t{027}}) {
        const mode_t old = ::umask(mask);
        TempDir dir;
        std::atomic<bool> saving{true};
        std::atomic<int> wrongModes{0};
        std::thread other([&] {
            const std::string path = dir.file("drugi");
            while (saving) {
                const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
                struct stat info {};
                if (fd >= 0 && ::fstat(fd, &info) == 0 && (info.st_mode & 0777) != (0666 & ~mask)) {
                    ++wrongModes;
                }
                ::close(fd);
                ::unlink(path.c_str());
            }
        });
        FileCalls calls;
        calls.flush = [](int) { return 0; };  // the disk is not what is tested
        const auto writer = MakeSystemFileWriter(calls);
        for (int i = 0; i < 100; ++i) {
            const std::string path = dir.file("novi" + std::to_string(i));
            ASSERT_TRUE(writer->WriteWhole(path, Bytes(1)));
            EXPECT_EQ(StatOf(path).st_mode & 0777, 0666 & ~mask) << path;
        }
        saving = false;
        other.join();
        EXPECT_EQ(wrongModes, 0);
        EXPECT_EQ(::umask(old), mask);
    }
}

// The superuser may give the file back to its owner and group; the mode follows too (the set-group
// bit, which a change of owner clears, included).
TEST(SaveOwnership, OwnerGroupAndModeOfTheOldFileAreKept) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser may give a file to another user";
    }
    TempDir dir;
    const std::string path = dir.file("tudi.mvk");
    WriteBytes(path, Bytes(1));
    ASSERT_EQ(::chown(path.c_str(), 4321, 8765), 0);
    ASSERT_EQ(::chmod(path.c_str(), 02640), 0);
    ASSERT_TRUE(MakeSystemFileWriter()->WriteWhole(path, Bytes(2)));
    const struct stat info = StatOf(path);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 8765u);
    EXPECT_EQ(info.st_mode & 07777, 02640u);
    EXPECT_EQ(ReadBytes(path), Bytes(2));
}

// A symbolic link keeps pointing where it pointed; the file it leads to is written.
struct LinkCase {
    const char* name;
    const char* link;      // the document's path, in the test's folder
    const char* pointsAt;  // what the link says (relative to the link's folder)
    const char* written;   // the file that gets the content
    bool existing;         // whether that file exists before the save
};

void PrintTo(const LinkCase& c, std::ostream* out) {
    *out << c.name;
}

class SaveThroughLink : public ::testing::TestWithParam<LinkCase> {};

TEST_P(SaveThroughLink, KeepsTheLinkAndWritesItsTarget) {
    const LinkCase& c = GetParam();
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "mapa");
    std::filesystem::create_directories(dir.path() / "druga");
    if (c.existing) {
        WriteBytes(dir.file(c.written), Bytes(1));
    }
    ASSERT_EQ(::symlink(c.pointsAt, dir.file(c.link).c_str()), 0);
    if (std::string(c.name) == "Chain") {
        ASSERT_EQ(::symlink("../druga/pravi.mvk", dir.file("mapa/srednja.mvk").c_str()), 0);
    }
    ASSERT_TRUE(MakeSystemFileWriter()->WriteWhole(dir.file(c.link), Bytes(2)));
    EXPECT_EQ(std::filesystem::read_symlink(dir.file(c.link)).string(), c.pointsAt);
    EXPECT_EQ(ReadBytes(dir.file(c.written)), Bytes(2));
    for (const char* folder : {"", "mapa", "druga"}) {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path() / folder)) {
            EXPECT_EQ(entry.path().string().find("movik-tmp"), std::string::npos) << entry.path();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Links, SaveThroughLink,
    ::testing::Values(LinkCase{"ToAFile", "mapa/veza.mvk", "pravi.mvk", "mapa/pravi.mvk", true},
                      LinkCase{"Dangling", "mapa/veza.mvk", "novi.mvk", "mapa/novi.mvk", false},
                      LinkCase{"IntoAnotherFolder", "mapa/veza.mvk", "../druga/pravi.mvk",
                               "druga/pravi.mvk", true},
                      LinkCase{"DanglingIntoAnotherFolder", "mapa/veza.mvk", "../druga/novi.mvk",
                               "druga/novi.mvk", false},
                      LinkCase{"Chain", "veza.mvk", "mapa/srednja.mvk", "druga/pravi.mvk", true}),
    [](const auto& info) { return std::string(info.param.name); });

// A second save of the same file while the first one is writing: neither removes the other's
// temporary file, both succeed, and the last one renamed is the file.
TEST(SaveOwnership, TwoSavesOfOneFileAtOnceBothSucceed) {
    TempDir dir;
    const std::string path = dir.file("a.mvk");
    WriteBytes(path, Bytes(1));
    Result second = Result::Fail("not run");
    FileCalls calls;
    calls.write = [&](int fd, const void* data, std::size_t size) {
        if (!second.ok()) {
            second = MakeSystemFileWriter()->WriteWhole(path, Bytes(3));
        }
        return ::write(fd, data, size);
    };
    EXPECT_TRUE(MakeSystemFileWriter(calls)->WriteWhole(path, Bytes(2)));
    EXPECT_TRUE(second);
    EXPECT_EQ(ReadBytes(path), Bytes(2));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"a.mvk"});
}

}  // namespace
}  // namespace movik
