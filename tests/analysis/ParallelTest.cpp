// Many documents on many threads: paths walked in name order, results handed on in path order.

#include "analysis/Parallel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <random>
#include <stdexcept>
#include <thread>

namespace movik {
namespace {

namespace fs = std::filesystem;

PathSource Numbers(int n) {
    return [i = 0, n]() mutable {
        return i < n ? std::optional<std::string>(std::to_string(i++)) : std::nullopt;
    };
}

// Work that takes a random while, so later paths often finish first.
DocumentSummary Slow(const std::string& path) {
    thread_local std::mt19937 rng(std::hash<std::thread::id>()(std::this_thread::get_id()));
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 300));
    if (path == "13") {
        throw std::runtime_error("pukla");
    }
    DocumentSummary s;
    s.file = path;
    s.ok = true;
    return s;
}

TEST(SummarizeInOrder, HandsResultsOnInPathOrderForAnyNumberOfThreads) {
    for (const int jobs : {1, 2, 7}) {
        std::vector<std::string> got;
        SummarizeInOrder(Numbers(500), jobs, Slow,
                         [&](DocumentSummary&& s) { got.push_back(s.file); });
        ASSERT_EQ(got.size(), 500u) << jobs;
        for (int i = 0; i < 500; ++i) {
            ASSERT_EQ(got[i], std::to_string(i)) << jobs;
        }
    }
}

TEST(SummarizeInOrder, AThrowingWorkBecomesAFailedRowAndTheRestGoesOn) {
    std::vector<DocumentSummary> got;
    SummarizeInOrder(Numbers(20), 3, Slow, [&](DocumentSummary&& s) { got.push_back(s); });
    ASSERT_EQ(got.size(), 20u);
    EXPECT_FALSE(got[13].ok);
    EXPECT_EQ(got[13].error, "pukla");
    EXPECT_TRUE(got[14].ok);
}

TEST(SummarizeInOrder, KeepsOnlyABoundedWindowInFlight) {
    std::atomic<int> started{0};
    int handed = 0;
    int mostAhead = 0;
    SummarizeInOrder(
        Numbers(2000), 2,
        [&](const std::string& p) {
            ++started;
            return Slow(p);
        },
        [&](DocumentSummary&&) {
            ++handed;
            mostAhead = std::max(mostAhead, started.load() - handed);
        });
    EXPECT_EQ(handed, 2000);
    EXPECT_LE(mostAhead, 2 * 16);
}

TEST(SummarizeInOrder, StopsStartingWorkWhenAsked) {
    std::stop_source stop;
    int handed = 0;
    SummarizeInOrder(
        Numbers(100000), 2, Slow,
        [&](DocumentSummary&&) {
            if (++handed == 10) {
                stop.request_stop();
            }
        },
        stop.get_token());
    EXPECT_LT(handed, 100);
}

// A reader that blocks until released (a slow .xls, a stalled network share).
struct BlockingReader {
    std::mutex m;
    std::condition_variable cv;
    bool released = false;
    std::atomic<int> blocked{0};

    DocumentSummary Read(const std::string& path) {
        if (path == "3") {
            ++blocked;
            std::unique_lock lock(m);
            cv.wait(lock, [this] { return released; });
        }
        DocumentSummary s;
        s.file = path;
        s.ok = true;
        return s;
    }
    void Release() {
        {
            std::lock_guard lock(m);
            released = true;
        }
        cv.notify_all();
    }
};

// A stop asked from another thread while a reader blocks wakes the run, which returns without
// waiting for the reader, for any number of threads; the abandoned reader's thread ends once the
// reader returns, and its result goes nowhere.
TEST(SummarizeInOrder, AStopReturnsAtOnceWhileAReaderBlocks) {
    for (const int jobs : {1, 2, 4}) {
        auto reader = std::make_shared<BlockingReader>();
        std::stop_source stop;
        std::vector<std::string> got;
        auto run = std::async(std::launch::async, [&] {
            SummarizeInOrder(
                Numbers(50), jobs, [reader](const std::string& path) { return reader->Read(path); },
                [&](DocumentSummary&& s) { got.push_back(s.file); }, stop.get_token());
        });
        while (reader->blocked == 0) {
            std::this_thread::yield();
        }
        stop.request_stop();
        // Not a timing: a run that waited for the reader would never end before the release.
        ASSERT_EQ(run.wait_for(std::chrono::seconds(20)), std::future_status::ready) << jobs;
        run.get();
        EXPECT_GE(AbandonedWorkersRunning(), 1) << jobs;
        // Only results in order, none past the blocked reader's path.
        ASSERT_LE(got.size(), 3u) << jobs;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i], std::to_string(i)) << jobs;
        }
        const std::size_t handedAtStop = got.size();
        reader->Release();
        for (int i = 0; i < 2000 && AbandonedWorkersRunning() > 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_EQ(AbandonedWorkersRunning(), 0) << jobs;
        EXPECT_EQ(got.size(), handedAtStop) << jobs;
    }
}

TEST(SummarizeInOrder, ASinkThatThrowsEndsTheRun) {
    int handed = 0;
    EXPECT_THROW(SummarizeInOrder(Numbers(1000), 2, Slow,
                                  [&](DocumentSummary&&) {
                                      if (++handed == 5) {
                                          throw std::runtime_error("disk full");
                                      }
                                  }),
                 std::runtime_error);
    EXPECT_EQ(handed, 5);
}

// A list of paths that fails part way (an unreadable list) ends the run with its error; what was
// handed on before is in path order, and no worker is left running.
TEST(SummarizeInOrder, ASourceThatThrowsEndsTheRun) {
    for (const int jobs : {1, 2, 4}) {
        SCOPED_TRACE(jobs);
        const PathSource failing = [numbers = Numbers(1000), given = 0]() mutable {
            if (++given > 100) {
                throw std::runtime_error("list unreadable");
            }
            return numbers();
        };
        std::vector<std::string> got;
        EXPECT_THROW(SummarizeInOrder(failing, jobs, Slow,
                                      [&](DocumentSummary&& s) { got.push_back(s.file); }),
                     std::runtime_error);
        EXPECT_LE(got.size(), 100u);
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i], std::to_string(i));
        }
    }
}

TEST(DocumentPaths, WalksFoldersInNameOrderAndKeepsOnlyDocuments) {
    const fs::path root = fs::temp_directory_path() / ("movik-paths-" + std::to_string(::getpid()));
    fs::remove_all(root);
    for (const char* f : {"b/z.mvk", "b/a.MVK", "a.mvk", "c.txt", "b/c/d.mvk", "e.mvk/x.mvk",
                          "f.xlsx", "~$f.xlsx"}) {
        fs::create_directories((root / f).parent_path());
        std::ofstream(root / f) << "x";
    }
    fs::create_directory_symlink(root, root / "b" / "loop");
    DocumentPaths paths(std::vector<std::string>{"given.mvk", root.string(), "also.txt"});
    std::vector<std::string> got;
    while (auto p = paths.Next()) {
        const bool below = p->rfind(root.string(), 0) == 0;
        got.push_back(below ? fs::path(*p).lexically_relative(root).string() : *p);
    }
    fs::remove_all(root);
    // An office program's lock file beside a workbook is no form.
    const std::vector<std::string> expected = {"given.mvk", "a.mvk",       "b/a.MVK", "b/c/d.mvk",
                                               "b/z.mvk",   "e.mvk/x.mvk", "f.xlsx",  "also.txt"};
    EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace movik
