#pragma once
// Printing to the system's default printer (CUPS). A report is handed over as the bytes of a
// rendered PDF and submitted as one named job; the scheduler's answer is checked, so a job that
// the print system refuses is reported instead of passing for printed.

#include <QByteArray>
#include <string>

namespace movik {

enum class PrintStatus {
    Printed,    // the scheduler accepted the job (it has a job id)
    NoPrinter,  // no default printer (or no print system): nothing was sent
    Refused,    // the print system refused or lost the job; message says so in Croatian
};

struct [[nodiscard]] PrintOutcome {
    PrintStatus status = PrintStatus::NoPrinter;
    int jobId = 0;        // the scheduler's job id when printed
    std::string message;  // when refused: a Croatian sentence that names the report
};

// Sends pdf to the default printer as the job jobName (the report's name): A4, one copy,
// one-sided. Returns once the scheduler has the whole job; it does not wait for the paper.
PrintOutcome PrintPdfOnDefaultPrinter(const QByteArray& pdf, const std::string& jobName);

// The message of a refused job: the report's name and the print system's own reason.
std::string RefusedJobMessage(const std::string& jobName, const std::string& reason);

}  // namespace movik
