#include "reports/SystemPrinter.h"

#include <cups/cups.h>

#include <memory>

namespace movik {

namespace {

struct DestDeleter {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};

std::string LastCupsError() {
    const char* text = cupsLastErrorString();
    return text != nullptr ? text : std::string();
}

PrintOutcome Refused(const std::string& jobName, const std::string& reason) {
    PrintOutcome outcome;
    outcome.status = PrintStatus::Refused;
    outcome.message = RefusedJobMessage(jobName, reason);
    return outcome;
}

}  // namespace

std::string RefusedJobMessage(const std::string& jobName, const std::string& reason) {
    std::string message =
        "Izvješće „" + jobName + "” nije ispisano: sustav za ispis odbio je posao";
    std::string why = reason;
    while (!why.empty() && (why.back() == '.' || why.back() == ' ')) {
        why.pop_back();
    }
    if (!why.empty()) {
        message += " (" + why + ")";
    }
    return message + ".";
}

PrintOutcome PrintPdfOnDefaultPrinter(const QByteArray& pdf, const std::string& jobName) {
    // The default destination of this user (lpoptions, PRINTER, then the scheduler's default).
    // None at all, or no scheduler to ask: the system has no printer, and that is no error.
    std::unique_ptr<cups_dest_t, DestDeleter> dest(
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    if (!dest) {
        return {};
    }
    const char* printer = dest->name;

    // The destination's saved options (lpoptions), with the report's page set-up over them.
    cups_option_t* options = nullptr;
    int optionCount = 0;
    for (int i = 0; i < dest->num_options; ++i) {
        optionCount =
            cupsAddOption(dest->options[i].name, dest->options[i].value, optionCount, &options);
    }
    optionCount = cupsAddOption("media", "iso_a4_210x297mm", optionCount, &options);
    optionCount = cupsAddOption("copies", "1", optionCount, &options);
    optionCount = cupsAddOption("sides", "one-sided", optionCount, &options);
    optionCount = cupsAddOption("orientation-requested", "3", optionCount, &options);  // portrait
    const int jobId =
        cupsCreateJob(CUPS_HTTP_DEFAULT, printer, jobName.c_str(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (jobId <= 0) {
        return Refused(jobName, LastCupsError());
    }

    if (cupsStartDocument(CUPS_HTTP_DEFAULT, printer, jobId, jobName.c_str(), CUPS_FORMAT_PDF, 1) !=
        HTTP_STATUS_CONTINUE) {
        const std::string reason = LastCupsError();
        cupsCancelJob2(CUPS_HTTP_DEFAULT, printer, jobId, 0);
        return Refused(jobName, reason);
    }
    const http_status_t written = cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(),
                                                       static_cast<std::size_t>(pdf.size()));
    const ipp_status_t finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, printer);
    if (written != HTTP_STATUS_CONTINUE || finished > IPP_STATUS_OK_CONFLICTING) {
        const std::string reason = LastCupsError();
        cupsCancelJob2(CUPS_HTTP_DEFAULT, printer, jobId, 0);
        return Refused(jobName, reason);
    }

    PrintOutcome outcome;
    outcome.status = PrintStatus::Printed;
    outcome.jobId = jobId;
    return outcome;
}

}  // namespace movik
