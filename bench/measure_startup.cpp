// Measures the real movik program: the time from starting the process to its main window's first
// expose on the X server (the window shown, with the document of the command line loaded), and
// the resident memory of the process after start-up. Needs an X server (DISPLAY); see
// scripts/measure-startup.sh, which runs it under Xvfb.
//
//   measure_startup [--runs N] [--min-width W] [--floor FLOOR] PROGRAM [ARGUMENTS...]
//
// With --min-width only windows created at least W pixels wide count as the main window (the
// start-up screen before it is smaller); the first window of any size is reported as well.
// With --floor, each run first starts FLOOR (a minimal program showing one window) and then
// PROGRAM, alternating under the same conditions, and the medians of both and their ratio are
// reported: on a shared machine the ratio means more than either time.
//
// libxcb is loaded at run time, so the benchmarks build without linking it.

#include <dlfcn.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Xcb {
    decltype(&xcb_connect) connect;
    decltype(&xcb_connection_has_error) hasError;
    decltype(&xcb_get_setup) getSetup;
    decltype(&xcb_setup_roots_iterator) rootsIterator;
    decltype(&xcb_change_window_attributes) changeAttributes;
    decltype(&xcb_get_input_focus) getInputFocus;
    decltype(&xcb_get_input_focus_reply) getInputFocusReply;
    decltype(&xcb_flush) flush;
    decltype(&xcb_poll_for_event) pollForEvent;
    decltype(&xcb_get_file_descriptor) fileDescriptor;
    decltype(&xcb_disconnect) disconnect;

    bool Load() {
        void* lib = dlopen("libxcb.so.1", RTLD_NOW);
        if (lib == nullptr) {
            return false;
        }
        auto get = [lib](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(lib, name));
            return fn != nullptr;
        };
        return get(connect, "xcb_connect") && get(hasError, "xcb_connection_has_error") &&
               get(getSetup, "xcb_get_setup") && get(rootsIterator, "xcb_setup_roots_iterator") &&
               get(changeAttributes, "xcb_change_window_attributes") &&
               get(getInputFocus, "xcb_get_input_focus") &&
               get(getInputFocusReply, "xcb_get_input_focus_reply") && get(flush, "xcb_flush") &&
               get(pollForEvent, "xcb_poll_for_event") &&
               get(fileDescriptor, "xcb_get_file_descriptor") && get(disconnect, "xcb_disconnect");
    }
};

struct Run {
    double firstMs = -1;  // the first window of any size mapped (the start-up screen)
    double mapMs = -1;
    double exposeMs = -1;  // -1: the expose came before its window could be watched
    long rssKb = -1;
};

long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// One connection for all runs (a server may reset when its last client leaves).
bool MeasureOnce(const Xcb& x, xcb_connection_t* c, char** command, int minWidth, Run& run) {
    // Events of an earlier run's windows are of no interest.
    std::free(x.getInputFocusReply(c, x.getInputFocus(c), nullptr));
    while (xcb_generic_event_t* old = x.pollForEvent(c)) {
        std::free(old);
    }

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(command[0], command);
        std::perror(command[0]);
        _exit(127);
    }

    bool exposed = false;
    std::set<xcb_window_t> mainWindows;  // created wide enough to be the main window
    while (!exposed && Ms(start, Clock::now()) < 10000) {
        pollfd fd{x.fileDescriptor(c), POLLIN, 0};
        poll(&fd, 1, 50);
        while (xcb_generic_event_t* e = x.pollForEvent(c)) {
            const Clock::time_point now = Clock::now();
            switch (e->response_type & 0x7f) {
                case XCB_CREATE_NOTIFY: {
                    const auto* create = reinterpret_cast<xcb_create_notify_event_t*>(e);
                    if (create->width >= minWidth) {
                        mainWindows.insert(create->window);
                    }
                    const std::uint32_t mask = XCB_EVENT_MASK_EXPOSURE;
                    x.changeAttributes(c, create->window, XCB_CW_EVENT_MASK, &mask);
                    x.flush(c);
                    break;
                }
                case XCB_MAP_NOTIFY: {
                    const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
                    if (run.firstMs < 0) {
                        run.firstMs = Ms(start, now);
                    }
                    if (run.mapMs < 0 && mainWindows.count(map->window) != 0) {
                        run.mapMs = Ms(start, now);
                    }
                    break;
                }
                case XCB_EXPOSE: {
                    const auto* expose = reinterpret_cast<xcb_expose_event_t*>(e);
                    if (mainWindows.count(expose->window) != 0) {
                        run.exposeMs = Ms(start, now);
                        exposed = true;
                    }
                    break;
                }
                default:
                    break;
            }
            std::free(e);
        }
        if (run.mapMs >= 0 && !exposed && Ms(start, Clock::now()) > run.mapMs + 1000) {
            break;  // mapped before its window could be watched: the map time stands for it
        }
    }
    // Resident memory once the window has shown and painted.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    run.rssKb = ResidentKb(pid);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    return run.mapMs >= 0;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty()
               ? -1
               : (v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 10;
    int minWidth = 0;
    int first = 1;
    char* floorArgv[2] = {nullptr, nullptr};
    for (;;) {
        if (first + 1 < argc && std::string(argv[first]) == "--runs") {
            runs = std::max(1, std::atoi(argv[first + 1]));
            first += 2;
        } else if (first + 1 < argc && std::string(argv[first]) == "--floor") {
            floorArgv[0] = argv[first + 1];
            first += 2;
        } else if (first + 1 < argc && std::string(argv[first]) == "--min-width") {
            minWidth = std::max(0, std::atoi(argv[first + 1]));
            first += 2;
        } else {
            break;
        }
    }
    if (first >= argc || std::string(argv[first]) == "--help") {
        std::fprintf(stderr,
                     "usage: measure_startup [--runs N] [--min-width W] [--floor FLOOR] PROGRAM "
                     "[ARGUMENTS...]\n");
        return first >= argc ? 2 : 0;
    }
    Xcb x{};
    if (!x.Load()) {
        std::fprintf(stderr, "libxcb.so.1 could not be loaded\n");
        return 2;
    }
    xcb_connection_t* c = x.connect(nullptr, nullptr);
    if (x.hasError(c)) {
        std::fprintf(stderr, "no X server (DISPLAY)\n");
        return 2;
    }
    const xcb_window_t root = x.rootsIterator(x.getSetup(c)).data->root;
    const std::uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    x.changeAttributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    std::vector<double> shown;
    std::vector<double> firsts;
    std::vector<double> rss;
    std::vector<double> floors;
    for (int i = 0; i < runs; ++i) {
        if (floorArgv[0] != nullptr) {
            Run floorRun;
            if (!MeasureOnce(x, c, floorArgv, minWidth, floorRun)) {
                std::fprintf(stderr, "run %d: the floor's window did not show\n", i + 1);
                return 1;
            }
            floors.push_back(floorRun.exposeMs >= 0 ? floorRun.exposeMs : floorRun.mapMs);
            std::printf("run %2d: floor window shown after %7.1f ms\n", i + 1, floors.back());
        }
        Run run;
        if (!MeasureOnce(x, c, argv + first, minWidth, run)) {
            std::fprintf(stderr, "run %d: the window did not show\n", i + 1);
            return 1;
        }
        const double t = run.exposeMs >= 0 ? run.exposeMs : run.mapMs;
        std::printf(
            "run %2d: first window %7.1f ms, mapped %7.1f ms, first expose %7.1f ms%s, VmRSS "
            "%6.1f MB\n",
            i + 1, run.firstMs, run.mapMs, t, run.exposeMs >= 0 ? "" : " (map)",
            run.rssKb / 1024.0);
        shown.push_back(t);
        firsts.push_back(run.firstMs);
        rss.push_back(run.rssKb / 1024.0);
    }
    x.disconnect(c);
    std::printf(
        "median: first window after %.1f ms, window shown after %.1f ms, VmRSS %.1f MB "
        "(%d runs)\n",
        Median(firsts), Median(shown), Median(rss), runs);
    if (!floors.empty()) {
        // The first window (the start-up screen) against the floor too: the main window comes
        // after it, so its ratio is the least the main window's can be.
        std::printf("median: floor window shown after %.1f ms; ratio %.2f (first window %.2f)\n",
                    Median(floors), Median(shown) / Median(floors),
                    Median(firsts) / Median(floors));
    }
    return 0;
}
