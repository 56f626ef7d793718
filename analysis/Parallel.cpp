#include "analysis/Parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace movik {

namespace {

DocumentSummary RunWork(const SummaryWork& work, const std::string& path) {
    try {
        return work(path);
    } catch (...) {
        DocumentSummary failed;
        failed.file = path;
        failed.error = CurrentExceptionText();
        return failed;
    }
}

std::atomic<int> abandonedRunning{0};

}  // namespace

std::string CurrentExceptionText() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "nema dovoljno memorije";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "neočekivana pogreška";
    }
}

int AbandonedWorkersRunning() {
    return abandonedRunning.load();
}

int DefaultJobs() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
}

namespace {

void SummarizeOneByOne(const PathSource& next, const SummaryWork& work, const SummarySink& sink) {
    while (std::optional<std::string> path = next()) {
        sink(RunWork(work, *path));
    }
}

// What the pool's threads share. It lives as long as the last of them: a thread whose work was
// abandoned keeps it until the work returns.
struct PoolState {
    explicit PoolState(SummaryWork w) : work(std::move(w)) {}
    SummaryWork work;
    std::mutex m;
    std::condition_variable workReady;
    std::condition_variable resultReady;
    std::deque<std::pair<std::size_t, std::string>> pending;
    std::map<std::size_t, DocumentSummary> finished;
    bool closing = false;
    bool woken = false;      // a stop was asked: the waiting caller returns
    bool abandoned = false;  // the threads are detached and count themselves out as they end
};

void Work(const std::shared_ptr<PoolState>& state) {
    PoolState& s = *state;
    std::unique_lock lock(s.m);
    for (;;) {
        s.workReady.wait(lock, [&] { return !s.pending.empty() || s.closing; });
        if (s.closing) {
            return;
        }
        auto [index, path] = std::move(s.pending.front());
        s.pending.pop_front();
        lock.unlock();
        DocumentSummary summary = RunWork(s.work, path);
        lock.lock();
        if (!s.closing) {  // an abandoned result is dropped
            s.finished.emplace(index, std::move(summary));
            s.resultReady.notify_one();
        }
    }
}

// Worker threads that summarize the paths issued to them, numbered, and keep the results until
// they are taken in their order. When the pool ends its threads are joined, or, abandoned, left
// to end on their own.
class OrderedPool {
  public:
    OrderedPool(int jobs, SummaryWork work) : state_(std::make_shared<PoolState>(std::move(work))) {
        try {
            for (int i = 0; i < jobs; ++i) {
                threads_.emplace_back([state = state_]() mutable {
                    Work(state);
                    std::unique_lock lock(state->m);
                    const bool abandoned = state->abandoned;
                    lock.unlock();
                    state.reset();  // the last thread of an abandoned pool frees it
                    if (abandoned) {
                        --abandonedRunning;
                    }
                });
            }
        } catch (...) {
            Close();
            throw;
        }
    }
    ~OrderedPool() { Close(); }
    OrderedPool(const OrderedPool&) = delete;
    OrderedPool& operator=(const OrderedPool&) = delete;

    void Issue(std::size_t index, std::string path) {
        {
            std::lock_guard lock(state_->m);
            state_->pending.emplace_back(index, std::move(path));
        }
        state_->workReady.notify_one();
    }

    // Wakes HandOn and makes it return (a stop was asked); any thread may call it.
    void Wake() {
        {
            std::lock_guard lock(state_->m);
            state_->woken = true;
        }
        state_->resultReady.notify_all();
    }

    // Waits for result `due` (or a wake), then hands on to sink every result that is next in
    // order, without holding the lock while the sink runs. Returns the next result due.
    std::size_t HandOn(std::size_t due, const SummarySink& sink) {
        PoolState& s = *state_;
        std::unique_lock lock(s.m);
        s.resultReady.wait(lock, [&] { return s.finished.count(due) != 0 || s.woken; });
        for (auto it = s.finished.find(due); it != s.finished.end(); it = s.finished.find(due)) {
            DocumentSummary summary = std::move(it->second);
            s.finished.erase(it);
            ++due;
            lock.unlock();
            sink(std::move(summary));
            lock.lock();
        }
        return due;
    }

    // Ends the pool without waiting for the works in flight: their threads run on, counted in
    // AbandonedWorkersRunning, and end as their work returns.
    void Abandon() {
        {
            std::lock_guard lock(state_->m);
            state_->closing = true;
            state_->abandoned = true;
            abandonedRunning += static_cast<int>(threads_.size());
        }
        state_->workReady.notify_all();
        for (std::thread& t : threads_) {
            t.detach();
        }
        threads_.clear();
    }

  private:
    void Close() {
        {
            std::lock_guard lock(state_->m);
            state_->closing = true;
        }
        state_->workReady.notify_all();
        for (std::thread& t : threads_) {
            t.join();
        }
        threads_.clear();
    }

    std::shared_ptr<PoolState> state_;
    std::vector<std::thread> threads_;
};

}  // namespace

void SummarizeInOrder(const PathSource& next, int jobs, const SummaryWork& work,
                      const SummarySink& sink, std::stop_token stop) {
    if (jobs <= 1 && !stop.stop_possible()) {
        SummarizeOneByOne(next, work, sink);
        return;
    }
    // Paths are read ahead of the results by at most a window, so memory stays bounded.
    const int threads = std::max(jobs, 1);
    const std::size_t window = static_cast<std::size_t>(threads) * 16;
    OrderedPool pool(threads, work);
    const std::stop_callback wake(stop, [&pool] { pool.Wake(); });
    std::size_t issued = 0;
    std::size_t emitted = 0;
    bool sourceDone = false;
    while (!stop.stop_requested()) {
        while (!sourceDone && issued - emitted < window) {
            std::optional<std::string> path = next();
            if (!path) {
                sourceDone = true;
                break;
            }
            pool.Issue(issued++, std::move(*path));
        }
        if (sourceDone && emitted == issued) {
            return;
        }
        emitted = pool.HandOn(emitted, sink);
    }
    pool.Abandon();
}

}  // namespace movik
