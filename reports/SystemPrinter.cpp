#include "reports/SystemPrinter.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>

#include "reports/CupsLibrary.h"

namespace movik {

namespace {

using Clock = std::chrono::steady_clock;

// How often a wait on the server looks at the deadline and the cancel flag (libcups waits for
// an answer in steps of at least a second).
constexpr double kWaitSliceSeconds = 0.1;

struct DestDeleter {
    void operator()(cups_dest_t* dest) const { Cups()->freeDests(1, dest); }
};

struct HttpDeleter {
    void operator()(http_t* http) const { Cups()->close(http); }
};

// What a wait on the server checks each slice: give up once the job's time is over or the
// program is closing.
struct WaitState {
    Clock::time_point deadline;
    const std::atomic<bool>* cancel = nullptr;
    bool timedOut = false;
};

int KeepWaiting(http_t*, void* data) {
    auto* state = static_cast<WaitState*>(data);
    if (state->cancel != nullptr && state->cancel->load()) {
        return 0;
    }
    if (Clock::now() >= state->deadline) {
        state->timedOut = true;
        return 0;
    }
    return 1;
}

std::string TrimmedReason(std::string why) {
    while (!why.empty() && (why.back() == '.' || why.back() == ' ')) {
        why.pop_back();
    }
    return why;
}

std::string LastCupsError() {
    const char* text = Cups()->lastErrorString();
    return text != nullptr ? text : std::string();
}

// The server as the user can look it up: a local socket by its path, else host and port.
std::string ServerName(const std::string& server) {
    if (!server.empty() && server.front() == '/') {
        return "„" + server + "”";
    }
    return "„" + server + ":" + std::to_string(Cups()->port()) + "”";
}

PrintOutcome Failed(PrintStatus status, const std::string& jobName, const std::string& reason) {
    PrintOutcome outcome;
    outcome.status = status;
    outcome.reason = reason;
    outcome.message = FailedJobMessage(jobName, reason);
    return outcome;
}

PrintOutcome Refused(const std::string& jobName, const std::string& cupsReason) {
    std::string reason = "sustav za ispis odbio je posao";
    const std::string why = TrimmedReason(cupsReason);
    if (!why.empty()) {
        reason += " (" + why + ")";
    }
    return Failed(PrintStatus::Refused, jobName, reason);
}

PrintOutcome NoAnswer(const std::string& jobName, const std::string& server,
                      const PrintLimits& limits) {
    return Failed(PrintStatus::Unreachable, jobName,
                  "poslužitelj za ispis " + ServerName(server) + " ne odgovara (čekano " +
                      std::to_string((limits.jobMs + 999) / 1000) + " s)");
}

// A server on this machine (a socket, or localhost) that nobody listens on: no print system
// runs here, which is the case of a system without printers. Asked with one plain connect,
// which on this machine is answered at once.
bool NobodyListensHere(const std::string& server) {
    int fd = -1;
    int result = -1;
    if (!server.empty() && server.front() == '/') {
        sockaddr_un address{};
        if (server.size() >= sizeof address.sun_path) {
            return false;
        }
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, server.c_str(), server.size());
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        result = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    } else if (server == "localhost" || server == "127.0.0.1") {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(Cups()->port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        result = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    } else {
        return false;
    }
    const int error = errno;
    if (fd >= 0) {
        ::close(fd);
    }
    return result != 0 && (error == ENOENT || error == ECONNREFUSED);
}

// A failure after the connection: the server's silence when the wait ran out, else the print
// system's refusal.
PrintOutcome FailureAfterConnecting(const WaitState& wait, const std::string& jobName,
                                    const std::string& server, const PrintLimits& limits) {
    if (wait.timedOut) {
        return NoAnswer(jobName, server, limits);
    }
    if (wait.cancel != nullptr && wait.cancel->load()) {
        return Failed(PrintStatus::Unreachable, jobName, "ispis je prekinut");
    }
    return Refused(jobName, LastCupsError());
}

}  // namespace

std::string FailedJobMessage(const std::string& jobName, const std::string& reason) {
    return "Izvješće „" + jobName + "” nije ispisano: " + TrimmedReason(reason) + ".";
}

PrintOutcome PrintPdfOnDefaultPrinter(const QByteArray& pdf, const std::string& jobName,
                                      const PrintLimits& limits) {
    // Without libcups there is no print system on this machine: like a system without printers.
    const CupsLibrary* cups = Cups();
    if (cups == nullptr) {
        return {};
    }
    // The server of this user (CUPS_SERVER, client.conf, else the local scheduler), on a
    // connection of our own whose every wait is bounded.
    const std::string server = cups->server();
    std::unique_ptr<http_t, HttpDeleter> http(cups->connect(server.c_str(), cups->port(), nullptr,
                                                            AF_UNSPEC, cups->encryption(), 1,
                                                            limits.connectMs, nullptr));
    if (!http) {
        if (NobodyListensHere(server)) {
            return {};
        }
        return Failed(PrintStatus::Unreachable, jobName,
                      "poslužitelj za ispis " + ServerName(server) + " nije dostupan");
    }
    WaitState wait{Clock::now() + std::chrono::milliseconds(limits.jobMs), limits.cancel};
    cups->setTimeout(http.get(), kWaitSliceSeconds, KeepWaiting, &wait);

    // The default destination of this user (lpoptions, PRINTER, then the scheduler's default).
    // None at all: the system has no printer, and that is no error.
    std::unique_ptr<cups_dest_t, DestDeleter> dest(
        cups->getNamedDest(http.get(), nullptr, nullptr));
    if (!dest) {
        if (wait.timedOut || (limits.cancel != nullptr && limits.cancel->load())) {
            return FailureAfterConnecting(wait, jobName, server, limits);
        }
        return {};
    }
    const char* printer = dest->name;

    // The destination's saved options (lpoptions), with the report's page set-up over them.
    cups_option_t* options = nullptr;
    int optionCount = 0;
    for (int i = 0; i < dest->num_options; ++i) {
        optionCount =
            cups->addOption(dest->options[i].name, dest->options[i].value, optionCount, &options);
    }
    optionCount = cups->addOption("media", "iso_a4_210x297mm", optionCount, &options);
    optionCount = cups->addOption("copies", "1", optionCount, &options);
    optionCount = cups->addOption("sides", "one-sided", optionCount, &options);
    optionCount = cups->addOption("orientation-requested", "3", optionCount, &options);  // portrait
    const int jobId = cups->createJob(http.get(), printer, jobName.c_str(), optionCount, options);
    cups->freeOptions(optionCount, options);
    if (jobId <= 0) {
        return FailureAfterConnecting(wait, jobName, server, limits);
    }

    auto cancelJob = [&] {
        // Only when the server still answers; a silent one would only make us wait again.
        if (!wait.timedOut) {
            cups->cancelJob(http.get(), printer, jobId, 0);
        }
    };
    if (cups->startDocument(http.get(), printer, jobId, jobName.c_str(), CUPS_FORMAT_PDF, 1) !=
        HTTP_STATUS_CONTINUE) {
        PrintOutcome failed = FailureAfterConnecting(wait, jobName, server, limits);
        cancelJob();
        return failed;
    }
    const http_status_t written =
        cups->writeRequestData(http.get(), pdf.constData(), static_cast<std::size_t>(pdf.size()));
    const ipp_status_t finished = cups->finishDocument(http.get(), printer);
    if (written != HTTP_STATUS_CONTINUE || finished > IPP_STATUS_OK_CONFLICTING) {
        PrintOutcome failed = FailureAfterConnecting(wait, jobName, server, limits);
        cancelJob();
        return failed;
    }

    PrintOutcome outcome;
    outcome.status = PrintStatus::Printed;
    outcome.jobId = jobId;
    outcome.printer = printer;
    return outcome;
}

}  // namespace movik
