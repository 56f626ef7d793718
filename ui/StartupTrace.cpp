#include "ui/StartupTrace.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace movik {

namespace {

double NowMs() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
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
    static const double start = ProcessStartMs();
    std::fprintf(stderr, "movik start-up %7.1f ms  %s\n", NowMs() - start, name);
}

}  // namespace movik
