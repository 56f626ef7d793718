// Saves that survive a killed process: a child saves two documents in turn over the same file
// and is killed with SIGKILL at random moments; after every kill the file is one of the two
// documents byte for byte, and the next save removes the temporary files the kills left.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "DocumentTestSupport.h"
#include "document/DocumentFile.h"
#include "model/Templates.h"

namespace movik {
namespace {

using test::ReadBytes;
using test::TempDir;

constexpr int kKills = 250;

TDokument DocumentNamed(const std::string& company, const std::string& path) {
    TDokument doc;
    NewDocument(doc, 2024);
    doc.Poduzece = company;
    doc.Bilanca.row(4).IznosTekuca = static_cast<double>(company.size());
    doc.ImeDatoteke = path;
    return doc;
}

std::vector<std::uint8_t> ImageOf(const TDokument& doc) {
    std::vector<std::uint8_t> image;
    EXPECT_TRUE(EncodeDocumentFile(doc, image));
    return image;
}

std::size_t TempFilesOf(const TempDir& dir) {
    std::size_t count = 0;
    for (const std::string& name : dir.names()) {
        count += IsTempFileOf(name, "d.mvk") ? 1 : 0;
    }
    return count;
}

[[noreturn]] void SaveForever(TDokument first, TDokument second) {
    for (;;) {
        (void)SaveDocument(second);
        (void)SaveDocument(first);
    }
}

TEST(KillSave, EveryKillLeavesTheOldOrTheNewDocument) {
    TempDir dir;
    const std::string path = dir.file("d.mvk");
    TDokument a = DocumentNamed("Staro d.o.o.", path);
    const TDokument b = DocumentNamed("Novo poduzeće d.d.", path);
    const std::vector<std::uint8_t> imageA = ImageOf(a);
    const std::vector<std::uint8_t> imageB = ImageOf(b);
    ASSERT_NE(imageA, imageB);
    ASSERT_TRUE(SaveDocument(a));

    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> delayMicroseconds(0, 4000);
    int seenNew = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SaveForever(a, b);
        }
        ::usleep(static_cast<useconds_t>(delayMicroseconds(rng)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::vector<std::uint8_t> now = ReadBytes(path);
        ASSERT_TRUE(now == imageA || now == imageB) << "after kill " << kill;
        seenNew += now == imageB ? 1 : 0;
        TDokument opened;
        NewDocument(opened, 2024);
        ASSERT_TRUE(OpenDocument(path, opened)) << "after kill " << kill;
    }
    EXPECT_GT(seenNew, 0);  // the child did complete saves between the kills
    const std::size_t left = TempFilesOf(dir);
    std::printf(
        "%d kills survived (%d after a completed save), %zu temporary files left before "
        "the next save\n",
        kKills, seenNew, left);

    a.Izmijenjen = true;
    ASSERT_TRUE(SaveDocument(a));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"d.mvk"});
    EXPECT_EQ(ReadBytes(path), imageA);
}

}  // namespace
}  // namespace movik
