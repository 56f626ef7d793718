#pragma once
// Print jobs sent to the default printer from a worker thread, so the window never waits on the
// print system. One batch at a time: its jobs are rendered and submitted in order (the balance
// sheet's "Aktiva" before "Pasiva"), and the batch stops at the first job that does not print.
// The batch's outcome is handed to the finished callback on the thread that owns the worker
// (the window's), from its event loop.

#include <QByteArray>
#include <QObject>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "reports/SystemPrinter.h"

namespace movik {

class PrintWorker {
  public:
    struct Job {
        std::string name;                    // the print job's name
        std::function<QByteArray()> render;  // runs on the worker: the job's PDF (empty: skip)
        // The report's title as the window shows it ("Račun dobiti i gubitka"), which messages
        // use; the name when empty.
        std::string title;
    };

    PrintWorker();
    // Gives up a running batch at its next wait on the server and waits for the thread.
    ~PrintWorker();
    PrintWorker(const PrintWorker&) = delete;
    PrintWorker& operator=(const PrintWorker&) = delete;

    void SetLimits(int connectMs, int jobMs);
    // Called with each batch's outcome: Printed when every job printed (or there was none),
    // else the first job's outcome that was not Printed, its message naming the job by title;
    // sent lists the titles of the jobs printed before it.
    std::function<void(const PrintOutcome&)> finished;

    // True from Start until the finished callback has run.
    bool busy() const { return busy_; }
    // Starts the batch; false (nothing started) while another one runs.
    bool Start(std::vector<Job> jobs);

  private:
    void Deliver(PrintOutcome outcome);

    QObject context_;  // delivers outcomes on the owner's thread; lives as long as the worker
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    bool busy_ = false;
    int connectMs_;
    int jobMs_;
};

}  // namespace movik
