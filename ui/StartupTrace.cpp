#include "ui/StartupTrace.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace movik {

namespace {

double NowMs(bool monotonic = false) {
    timespec now{};
    clock_gettime(monotonic ? CLOCK_MONOTONIC : CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// The process's start in the same clock: field 22 of /proc/self/stat, in clock ticks since boot.
double ProcessStartMs() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) {
        return NowMs();
    }
    const char* field = text.c_str() + close + 2;  // the state, field 3
    for (int i = 3; i < 22 && *field != '\0'; ++field) {
        if (*field == ' ') {
            ++i;
        }
    }
    return double(std::strtoull(field, nullptr, 10)) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

}  // namespace

void StartupMark(const char* name) {
    static const bool enabled = std::getenv("MOVIK_STARTUP_TRACE") != nullptr;
    if (!enabled) {
        return;
    }
    // A launcher may pass the moment it started us (CLOCK_MONOTONIC, ns): finer than the ticks.
    static const char* const launched = std::getenv("MOVIK_STARTUP_T0");
    static const double start =
        launched != nullptr ? double(std::strtoull(launched, nullptr, 10)) / 1e6 : ProcessStartMs();
    const bool monotonic = launched != nullptr;
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    std::fprintf(stderr, "movik start-up %7.1f ms (thread's CPU %5.1f ms)  %s\n",
                 NowMs(monotonic) - start, double(cpu.tv_sec) * 1e3 + double(cpu.tv_nsec) / 1e6,
                 name);
    if (const char* quitAt = std::getenv("MOVIK_STARTUP_QUIT_AT");
        quitAt != nullptr && std::string(quitAt) == name) {
        std::_Exit(0);
    }
}

}  // namespace movik
