// movik-cli summary over many .xls forms on many threads: each is read by a reader program of
// its own, so every good form is read whatever the number of threads.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "CliOutcome.h"

namespace fs = std::filesystem;

namespace {

using movik::test::Lines;
using movik::test::Read;

TEST(XlsForms, SummaryOnThirtyTwoThreadsReadsFortyForms) {
    const fs::path dir =
        fs::temp_directory_path() / ("movik-xls-cli-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (int i = 0; i < 40; ++i) {
        fs::copy_file(MOVIK_EXAMPLES "/gfi-pod-2019.xls", dir / ("f" + std::to_string(i) + ".xls"));
    }
    const std::string command = "cd '" + dir.string() +
                                "' && '" MOVIK_CLI
                                "' --locale hr_HR summary . --format csv -j 32 >out 2>err";
    const int status = std::system(command.c_str());
    const std::string out = Read(dir / "out");
    const std::string err = Read(dir / "err");
    fs::remove_all(dir);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0) << err;
    const std::vector<std::string> rows = Lines(out);
    ASSERT_EQ(rows.size(), 41u) << out << err;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_NE(rows[i].find(";da;;Metalprerada d.o.o.;"), std::string::npos) << rows[i];
    }
}

}  // namespace
