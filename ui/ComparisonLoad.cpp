#include "ui/ComparisonLoad.h"

#include <optional>

#include "analysis/DocumentPaths.h"

namespace movik {

ComparisonLoad::ComparisonLoad(std::vector<std::string> paths, SummaryWork work)
    : paths_(std::move(paths)) {
    thread_ = std::thread([this, work = std::move(work)] { Run(work); });
}

ComparisonLoad::~ComparisonLoad() {
    Stop();
}

void ComparisonLoad::Run(SummaryWork work) {
    std::string reading;  // the path being listed or read, for a failure's row
    try {
        // Listing first gives the progress its end.
        DocumentPaths walk(paths_);
        while (!stop_.stop_requested()) {
            std::optional<std::string> p = walk.Next();
            if (!p) {
                total_ = static_cast<int>(listed_.size());
                break;
            }
            listed_.push_back(std::move(*p));
        }
        std::size_t next = 0;
        SummarizeInOrder(
            [&]() -> std::optional<std::string> {
                if (total_ < 0 || next >= listed_.size()) {
                    return std::nullopt;
                }
                reading = listed_[next];
                return listed_[next++];
            },
            DefaultJobs(), work,
            [this](DocumentSummary&& s) {
                std::lock_guard lock(m_);
                ready_.push_back(std::move(s));
                ++done_;
            },
            stop_.get_token());
    } catch (...) {
        // Whatever went wrong ends this load as one failed row; the window stays usable.
        DocumentSummary failed;
        failed.file = reading.empty() && !paths_.empty() ? paths_.front() : reading;
        failed.error = "Učitavanje je prekinuto: " + CurrentExceptionText();
        std::lock_guard lock(m_);
        ready_.push_back(std::move(failed));
    }
    finished_ = true;
}

std::vector<DocumentSummary> ComparisonLoad::TakeReady() {
    std::vector<DocumentSummary> rows;
    std::lock_guard lock(m_);
    rows.swap(ready_);
    return rows;
}

std::vector<std::string> ComparisonLoad::Stop() {
    if (stopped_) {
        return {};
    }
    stopped_ = true;
    stop_.request_stop();
    if (thread_.joinable()) {
        thread_.join();  // at once: the reading of a slow file is abandoned, not waited for
    }
    if (total_ < 0) {
        return paths_;
    }
    const auto from = static_cast<std::ptrdiff_t>(done_.load());
    return {listed_.begin() + from, listed_.end()};
}

}  // namespace movik
