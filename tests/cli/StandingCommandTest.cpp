// movik-cli standing as a user runs it: summaries split over runs, bad lines, the printed view.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "../support/PdfText.h"
#include "CliOutcome.h"

namespace fs = std::filesystem;

namespace {

using movik::test::Lines;
using movik::test::Outcome;
using movik::test::Read;

class StandingCli : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("movik-standing-cli-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        lines_ = Lines(Read(MOVIK_GOLDEN "/summary-usporedba.jsonl"));
        for (const std::string& l : Lines(Read(MOVIK_GOLDEN "/standing-peers.jsonl"))) {
            lines_.push_back(l);
        }
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Write(const std::string& name, const std::vector<std::string>& lines) {
        std::ofstream out(dir_ / name, std::ios::binary);
        for (const std::string& l : lines) {
            out << l << '\n';
        }
    }
    Outcome Cli(const std::string& arguments) {
        const std::string command = "cd '" + dir_.string() +
                                    "' && '" MOVIK_CLI "' --locale hr_HR standing " + arguments +
                                    " >out 2>err";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(dir_ / "out"),
                Read(dir_ / "err")};
    }

    fs::path dir_;
    std::vector<std::string> lines_;
};

// Summaries made on several machines come back in any order and in several files: every
// document and group gets the same line as from one run.
TEST_F(StandingCli, SplitAndShuffledSummariesGiveTheSameStanding) {
    Write("all.jsonl", lines_);
    const Outcome whole = Cli("all.jsonl --format jsonl");
    ASSERT_EQ(whole.exitCode, 0) << whole.err;
    std::vector<std::string> shuffled = lines_;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(5));
    const auto half = shuffled.begin() + static_cast<std::ptrdiff_t>(shuffled.size() / 2);
    Write("a.jsonl", {shuffled.begin(), half});
    Write("b.jsonl", {half, shuffled.end()});
    const Outcome split = Cli("a.jsonl - --format jsonl < b.jsonl");
    ASSERT_EQ(split.exitCode, 0) << split.err;
    std::vector<std::string> expected = Lines(whole.out);
    std::vector<std::string> actual = Lines(split.out);
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(actual, expected);
}

TEST_F(StandingCli, RefusesWhatIsNoSummaryAndSaysWhere) {
    struct Case {
        std::vector<std::string> lines;
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {{lines_[0], "{\"ok\":true}"}, "in.jsonl", "in.jsonl:2: redak nije sažetak"},
        {{lines_[0], "", "nije json"}, "in.jsonl", "in.jsonl:3: redak nije sažetak"},
        {{lines_[0]}, "in.jsonl --format pdf", "Formatima pdf i xlsx treba -o IZLAZ"},
        {{lines_[0]}, "in.jsonl --format html", "Nepoznat format 'html'"},
        {{lines_[0]}, "nema.jsonl", "Cannot open file nema.jsonl"},
    };
    for (const Case& c : cases) {
        Write("in.jsonl", c.lines);
        const Outcome r = Cli(c.arguments);
        EXPECT_EQ(r.exitCode, 2) << c.arguments;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << c.arguments;
    }
}

// The printed view holds the groups' quartile rows, the ranks with their quarters and the
// legend of the quarters.
TEST_F(StandingCli, PdfShowsTheViewAsTheWindowExportsIt) {
    Write("all.jsonl", lines_);
    const Outcome r = Cli("all.jsonl --format pdf -o polozaj.pdf");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = movik::test::OneLine(movik::test::CommandOutput(
        "pdftotext -layout '" + (dir_ / "polozaj.pdf").string() + "' -"));
    for (const char* expected :
         {"Položaj u skupini", "Skupina 2024 (EUR, n = 10)", "Q1 (prvi kvartil)", "Medijan",
          "(1.) najbolja", "bez položaja (n < 5)", "Breza d.o.o."}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
}

}  // namespace
