#include "analysis/Parallel.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
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

bool Stopped(const std::atomic<bool>* stop) {
    return stop != nullptr && stop->load();
}

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

int DefaultJobs() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
}

namespace {

void SummarizeOneByOne(const PathSource& next, const SummaryWork& work, const SummarySink& sink,
                       const std::atomic<bool>* stop) {
    while (!Stopped(stop)) {
        std::optional<std::string> path = next();
        if (!path) {
            break;
        }
        sink(RunWork(work, *path));
    }
}

// Worker threads that summarize the paths issued to them, numbered, and keep the results until
// they are taken in their order. The threads are joined when the pool ends, on every path.
class OrderedPool {
  public:
    OrderedPool(int jobs, const SummaryWork& work) : work_(work) {
        try {
            for (int i = 0; i < jobs; ++i) {
                threads_.emplace_back([this] { Work(); });
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
            std::lock_guard lock(m_);
            pending_.emplace_back(index, std::move(path));
        }
        workReady_.notify_one();
    }

    // Waits for result `due` (or a stop), then hands on to sink every result that is next in
    // order, without holding the lock while the sink runs. Returns the next result due.
    std::size_t HandOn(std::size_t due, const SummarySink& sink, const std::atomic<bool>* stop) {
        std::unique_lock lock(m_);
        resultReady_.wait(lock, [&] { return finished_.count(due) != 0 || Stopped(stop); });
        for (auto it = finished_.find(due); it != finished_.end(); it = finished_.find(due)) {
            DocumentSummary summary = std::move(it->second);
            finished_.erase(it);
            ++due;
            lock.unlock();
            sink(std::move(summary));
            lock.lock();
        }
        return due;
    }

  private:
    void Work() {
        std::unique_lock lock(m_);
        for (;;) {
            workReady_.wait(lock, [&] { return !pending_.empty() || closing_; });
            if (closing_) {
                return;
            }
            auto [index, path] = std::move(pending_.front());
            pending_.pop_front();
            lock.unlock();
            DocumentSummary summary = RunWork(work_, path);
            lock.lock();
            finished_.emplace(index, std::move(summary));
            resultReady_.notify_one();
        }
    }

    void Close() {
        {
            std::lock_guard lock(m_);
            closing_ = true;
        }
        workReady_.notify_all();
        for (std::thread& t : threads_) {
            t.join();
        }
        threads_.clear();
    }

    const SummaryWork& work_;
    std::mutex m_;
    std::condition_variable workReady_;
    std::condition_variable resultReady_;
    std::deque<std::pair<std::size_t, std::string>> pending_;
    std::map<std::size_t, DocumentSummary> finished_;
    bool closing_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace

void SummarizeInOrder(const PathSource& next, int jobs, const SummaryWork& work,
                      const SummarySink& sink, const std::atomic<bool>* stop) {
    if (jobs <= 1) {
        SummarizeOneByOne(next, work, sink, stop);
        return;
    }
    // Paths are read ahead of the results by at most a window, so memory stays bounded.
    const std::size_t window = static_cast<std::size_t>(jobs) * 16;
    OrderedPool pool(jobs, work);
    std::size_t issued = 0;
    std::size_t emitted = 0;
    bool sourceDone = false;
    while (!Stopped(stop)) {
        while (!sourceDone && issued - emitted < window) {
            std::optional<std::string> path = next();
            if (!path) {
                sourceDone = true;
                break;
            }
            pool.Issue(issued++, std::move(*path));
        }
        if (sourceDone && emitted == issued) {
            break;
        }
        emitted = pool.HandOn(emitted, sink, stop);
    }
}

}  // namespace movik
