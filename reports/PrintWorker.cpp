#include "reports/PrintWorker.h"

#include <utility>

namespace movik {

PrintWorker::PrintWorker() {
    const PrintLimits defaults;
    connectMs_ = defaults.connectMs;
    jobMs_ = defaults.jobMs;
}

PrintWorker::~PrintWorker() {
    cancel_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
}

void PrintWorker::SetLimits(int connectMs, int jobMs) {
    connectMs_ = connectMs;
    jobMs_ = jobMs;
}

bool PrintWorker::Start(std::vector<Job> jobs) {
    if (busy_) {
        return false;
    }
    if (thread_.joinable()) {
        thread_.join();  // the last batch's thread has delivered its outcome and is ending
    }
    busy_ = true;
    const PrintLimits limits{connectMs_, jobMs_, &cancel_};
    thread_ = std::thread([this, limits, jobs = std::move(jobs)] {
        PrintOutcome outcome;
        outcome.status = PrintStatus::Printed;
        std::vector<std::string> sent;
        for (const Job& job : jobs) {
            if (cancel_) {
                return;
            }
            const QByteArray pdf = job.render();
            if (pdf.isEmpty()) {
                continue;
            }
            outcome = PrintPdfOnDefaultPrinter(pdf, job.name, limits);
            const std::string& title = job.title.empty() ? job.name : job.title;
            if (outcome.status != PrintStatus::Printed) {
                if (!outcome.reason.empty()) {
                    outcome.message = FailedJobMessage(title, outcome.reason);
                }
                break;
            }
            sent.push_back(title);
        }
        outcome.sent = std::move(sent);
        Deliver(std::move(outcome));
    });
    return true;
}

void PrintWorker::Deliver(PrintOutcome outcome) {
    // Queued to the owner's thread; dropped with context_ if the worker is gone by then.
    QMetaObject::invokeMethod(
        &context_,
        [this, outcome = std::move(outcome)] {
            busy_ = false;
            if (finished) {
                finished(outcome);
            }
        },
        Qt::QueuedConnection);
}

}  // namespace movik
