#pragma once
// Printing to the system's default printer (CUPS). A report is handed over as the bytes of a
// rendered PDF and submitted as one named job; the scheduler's answer is checked, so a job that
// the print system refuses is reported instead of passing for printed. Every wait on the print
// server is bounded (PrintLimits), so a server that accepts and never answers ends in an error
// naming it instead of an endless wait. Safe to call from any thread (one call per thread at a
// time): it opens its own connection.

#include <QByteArray>
#include <atomic>
#include <string>
#include <vector>

namespace movik {

enum class PrintStatus {
    Printed,      // the scheduler accepted the job (it has a job id)
    NoPrinter,    // no default printer (or no print system running here): nothing was sent
    Refused,      // the print system refused or lost the job
    Unreachable,  // the print server could not be reached or did not answer in time
};

struct [[nodiscard]] PrintOutcome {
    PrintStatus status = PrintStatus::NoPrinter;
    int jobId = 0;        // the scheduler's job id when printed
    std::string reason;   // Refused/Unreachable: why, in Croatian, without the job's name
    std::string message;  // Refused/Unreachable: a Croatian sentence that names the report
    std::string printer;  // Printed: the printer the job went to
    // A batch's outcome (PrintWorker): the titles of its jobs that were sent, in order.
    std::vector<std::string> sent;
};

struct PrintLimits {
    int connectMs = 5000;  // connecting to the print server
    int jobMs = 15000;     // the whole exchange of one job with the server, after connecting
    // When set and true, the job is given up at the next wait (the program is closing).
    const std::atomic<bool>* cancel = nullptr;
};

// Sends pdf to the default printer as the job jobName (the report's name): A4, one copy,
// one-sided. Returns once the scheduler has the whole job; it does not wait for the paper.
PrintOutcome PrintPdfOnDefaultPrinter(const QByteArray& pdf, const std::string& jobName,
                                      const PrintLimits& limits = {});

// The message of a failed report job: the report's name and the reason.
std::string FailedJobMessage(const std::string& jobName, const std::string& reason);

}  // namespace movik
