#pragma once
// The background reading of the comparison's documents: one batch of paths on a thread of its
// own, the rows handed over as they come. A stop takes effect at once: the waiting reader is
// woken and a document still being read is abandoned (its thread ends on its own), and the paths
// not yet read are kept, so a stopped load can go on later.

#include <atomic>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "analysis/Parallel.h"

namespace movik {

class ComparisonLoad {
  public:
    // Starts reading paths (files, or folders searched for documents) with work, which must own
    // what it uses (it may be abandoned).
    ComparisonLoad(std::vector<std::string> paths, SummaryWork work);
    // Stops, as Stop does.
    ~ComparisonLoad();
    ComparisonLoad(const ComparisonLoad&) = delete;
    ComparisonLoad& operator=(const ComparisonLoad&) = delete;

    // The rows read since the last call, in path order.
    std::vector<DocumentSummary> TakeReady();
    // How many documents the batch has, -1 until every path is listed.
    int total() const { return total_; }
    // How many have been read.
    int done() const { return done_; }
    // True once the last row is ready (or the load stopped): none follows.
    bool finished() const { return finished_; }

    // Stops the load and returns the paths not read: the listed documents after the last row
    // handed over, or the batch's own paths when the listing had not ended. Rows ready before
    // the stop can still be taken.
    std::vector<std::string> Stop();

  private:
    void Run(SummaryWork work);

    std::vector<std::string> paths_;
    std::vector<std::string> listed_;  // the loader thread's until it has ended
    std::stop_source stop_;
    std::atomic<int> total_{-1};
    std::atomic<int> done_{0};
    std::atomic<bool> finished_{false};
    std::mutex m_;
    std::vector<DocumentSummary> ready_;
    std::thread thread_;
    bool stopped_ = false;
};

}  // namespace movik
