// The data feed: counters, limits, unknown keys, ReportReady and its refusal.

#include <cstdint>
#include <limits>

#include "ReportTestSupport.h"

namespace movik::test {
namespace {

class FeedTest : public testing::Test {
  protected:
    void SetUp() override { OpenExample(ws_); }
    PrintInputs Inputs() const { return PrintInputsOf(ws_, "kunama i lipama"); }

    Workspace ws_{CroatianSettings(), 2024};
    ReportSet set_{ws_.grids()};
};

TEST_F(FeedTest, AfterAPrintEveryCounterStandsOnePastItsLimit) {
    set_.PrintAll(Inputs());
    const std::pair<const char*, std::int32_t> expected[] = {
        {"AKTIVA", 57}, {"PASIVA", 89}, {"RACUN", 46}, {"CFIND", 32}, {"CFFREE", 29}, {"POK", 20}};
    for (const auto& [key, counter] : expected) {
        EXPECT_EQ(set_.feed().Counter(key), counter) << key;
        EXPECT_TRUE(set_.feed().ReportReady(key)) << key;
    }
}

TEST_F(FeedTest, PrintingTwiceGivesTheSameJobs) {
    auto texts = [](const std::vector<PrintJob>& jobs) {
        std::vector<std::string> all;
        for (const PrintJob& job : jobs) {
            all.push_back(job.name);
            for (const LaidOutPage& page : job.pages) {
                for (const DrawItem& item : page.items)
                    all.push_back(item.text);
            }
        }
        return all;
    };
    const auto first = texts(set_.PrintBilanca(Inputs()));
    EXPECT_EQ(texts(set_.PrintBilanca(Inputs())), first);
    EXPECT_EQ(first.front(), "Aktiva");
}

TEST_F(FeedTest, OtherKeysGiveFalseEmptyAndPlainAndChangeNothing) {
    ReportFeed& feed = set_.feed();
    feed.SetCounter("AKTIVA", 1);  // a bold row, so a wrong match would show
    for (const char* key : {"aktiva", "Aktiva", "", "AKTIVA ", "BILANCA", "POKAZATELJI"}) {
        EXPECT_FALSE(feed.ReportNextRow(key)) << key;
        EXPECT_EQ(feed.ReportCellText(key, 2), "") << key;
        EXPECT_EQ(feed.ReportRowStyle(key), FontStyle::Plain) << key;
    }
    EXPECT_EQ(feed.Counter("AKTIVA"), 1);
    EXPECT_EQ(feed.ReportRowStyle("AKTIVA"), FontStyle::Bold);
    EXPECT_EQ(feed.ReportCellText("AKTIVA", 2), ws_.grids().Bilanca.cell(2, 1));
}

TEST_F(FeedTest, CountersOutsideTheGridGiveEmptyPlainAndNeverWrap) {
    ReportFeed& feed = set_.feed();
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    for (std::int32_t counter : {-1, 20, max}) {
        feed.SetCounter("POK", counter);
        EXPECT_EQ(feed.ReportCellText("POK", 2), "") << counter;
        EXPECT_EQ(feed.ReportRowStyle("POK"), FontStyle::Plain) << counter;
    }
    EXPECT_FALSE(feed.ReportNextRow("POK"));
    EXPECT_EQ(feed.Counter("POK"), max);
}

TEST_F(FeedTest, AReportWhoseFlagIsClearIsRefusedAndNothingRuns) {
    set_.feed().SetReportReady("PASIVA", false);
    const auto jobs = set_.PrintBilanca(Inputs());
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_FALSE(jobs[0].refused);
    EXPECT_TRUE(jobs[1].refused);
    EXPECT_TRUE(jobs[1].pages.empty());
    EXPECT_EQ(set_.feed().Counter("PASIVA"), 56);
    EXPECT_FALSE(set_.feed().ReportReady("PASIVA"));

    set_.feed().SetReportReady("PASIVA", true);
    EXPECT_FALSE(set_.PrintBilanca(Inputs())[1].refused);
}

}  // namespace
}  // namespace movik::test
