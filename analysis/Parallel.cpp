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

void SummarizeInOrder(const PathSource& next, int jobs, const SummaryWork& work,
                      const SummarySink& sink, const std::atomic<bool>* stop) {
    if (jobs <= 1) {
        while (!Stopped(stop)) {
            std::optional<std::string> path = next();
            if (!path) {
                break;
            }
            sink(RunWork(work, *path));
        }
        return;
    }

    const std::size_t window = static_cast<std::size_t>(jobs) * 16;
    std::mutex m;
    std::condition_variable workReady;
    std::condition_variable resultReady;
    std::deque<std::pair<std::size_t, std::string>> pending;
    std::map<std::size_t, DocumentSummary> finished;
    bool closing = false;

    const auto worker = [&] {
        std::unique_lock lock(m);
        for (;;) {
            workReady.wait(lock, [&] { return !pending.empty() || closing; });
            if (closing) {
                return;
            }
            auto [index, path] = std::move(pending.front());
            pending.pop_front();
            lock.unlock();
            DocumentSummary summary = RunWork(work, path);
            lock.lock();
            finished.emplace(index, std::move(summary));
            resultReady.notify_one();
        }
    };

    std::vector<std::thread> threads;
    const auto close = [&] {
        {
            std::lock_guard lock(m);
            closing = true;
        }
        workReady.notify_all();
        for (std::thread& t : threads) {
            t.join();
        }
        threads.clear();
    };
    for (int i = 0; i < jobs; ++i) {
        threads.emplace_back(worker);
    }

    try {
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
                {
                    std::lock_guard lock(m);
                    pending.emplace_back(issued++, std::move(*path));
                }
                workReady.notify_one();
            }
            if (sourceDone && emitted == issued) {
                break;
            }
            std::unique_lock lock(m);
            resultReady.wait(lock, [&] { return finished.count(emitted) != 0 || Stopped(stop); });
            // Hand on every result that is next in order; the lock is not held while the sink runs.
            for (auto it = finished.find(emitted); it != finished.end();
                 it = finished.find(emitted)) {
                DocumentSummary summary = std::move(it->second);
                finished.erase(it);
                ++emitted;
                lock.unlock();
                sink(std::move(summary));
                lock.lock();
            }
        }
    } catch (...) {
        close();
        throw;
    }
    close();
}

}  // namespace movik
