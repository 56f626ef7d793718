// The advisory lock of a document: a second opener learns who has it, a lock its holder left by
// ending without releasing it (a crash) is taken over, and releasing removes the lock file.

#include "document/DocumentLock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "DocumentTestSupport.h"

namespace movik {
namespace {

using test::TempDir;
using Outcome = DocumentLock::Outcome;

std::string HostName() {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

// The id of a process that has ended.
long EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(DocumentLock, ASecondOpenerIsToldWhoHasTheDocumentUntilItIsReleased) {
    TempDir dir;
    const std::string path = dir.file("a.mvk");
    DocumentLock first;
    ASSERT_EQ(first.Take(path), Outcome::Taken);
    EXPECT_TRUE(std::filesystem::exists(dir.file(".a.mvk.movik-lock")));
    EXPECT_TRUE(first.Locks(path));

    DocumentLock second;
    ASSERT_EQ(second.Take(path), Outcome::HeldByOther);
    EXPECT_EQ(second.holder().host, HostName());
    EXPECT_EQ(second.holder().pid, ::getpid());
    EXPECT_FALSE(second.holder().user.empty());
    EXPECT_NE(HolderText(second.holder()).find("proces " + std::to_string(::getpid())),
              std::string::npos);
    // The same file by another name (a link) is the same document.
    std::filesystem::create_symlink(path, dir.file("veza.mvk"));
    EXPECT_EQ(second.Take(dir.file("veza.mvk")), Outcome::HeldByOther);

    first.Release();
    EXPECT_EQ(dir.names(), std::vector<std::string>{"veza.mvk"});
    EXPECT_EQ(second.Take(path), Outcome::Taken);
}

// A lock file a holder left behind: taken over when its process is gone from this computer,
// respected while it may still run.
struct LeftLock {
    const char* name;
    bool thisHost;
    bool processRuns;
    Outcome expected;
};

class LeftBehind : public ::testing::TestWithParam<LeftLock> {};

TEST_P(LeftBehind, IsTakenOverOnlyWhenItsProcessIsGone) {
    const LeftLock& c = GetParam();
    TempDir dir;
    const long pid = c.processRuns ? static_cast<long>(::getppid()) : EndedProcess();
    std::ofstream(dir.file(".a.mvk.movik-lock"))
        << "ana\n"
        << (c.thisHost ? HostName() : std::string("drugo-racunalo")) << "\n"
        << pid << "\n";
    DocumentLock lock;
    EXPECT_EQ(lock.Take(dir.file("a.mvk")), c.expected);
    if (c.expected == Outcome::HeldByOther) {
        EXPECT_EQ(lock.holder().user, "ana");
        EXPECT_EQ(lock.holder().pid, pid);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeftBehind,
    ::testing::Values(LeftLock{"EndedHereIsTakenOver", true, false, Outcome::Taken},
                      // With flock, a live process here that held it would hold the lock too.
                      LeftLock{"RunningHereWithoutTheLockIsTakenOver", true, true, Outcome::Taken},
                      LeftLock{"OtherComputerIsRespected", false, true, Outcome::HeldByOther},
                      LeftLock{"OtherComputerEvenIfThePidEndedHere", false, false,
                               Outcome::HeldByOther}),
    [](const auto& info) { return std::string(info.param.name); });

// A holder that crashes leaves its record behind but not its lock: the next opener takes over.
TEST(DocumentLock, AHolderThatEndedWithoutReleasingLeavesItToTheNext) {
    TempDir dir;
    const std::string path = dir.file("a.mvk");
    const pid_t child = ::fork();
    if (child == 0) {
        DocumentLock lock;
        ::_exit(lock.Take(path) == Outcome::Taken ? 0 : 1);  // no release: the lock file stays
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(std::filesystem::exists(dir.file(".a.mvk.movik-lock")));
    DocumentLock lock;
    EXPECT_EQ(lock.Take(path), Outcome::Taken);
}

TEST(DocumentLock, AFolderWithoutRoomForALockFileAllowsNone) {
    DocumentLock lock;
    EXPECT_EQ(lock.Take("/nema/takve/mape/a.mvk"), Outcome::NotPossible);
    EXPECT_FALSE(lock.held());
}

}  // namespace
}  // namespace movik
