#pragma once
// A private CUPS scheduler for the printing tests: its own configuration and spool in a
// temporary folder, listening on a socket there, with (unless asked otherwise) one default queue
// "reports" that writes each job to a file. CUPS_SERVER points the test process (libcups and the
// CUPS tools it runs) at it; nothing of the machine's own print system is touched.
//
// The scheduler keeps the document of every job in its spool, so each job's PDF can be read back
// after the job has completed, even though the file queue overwrites its output per job.

#include <cups/cups.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace movik::test {

class PrivateCups {
  public:
    enum class Queue {
        Accepting,  // a default queue that prints
        Rejecting,  // a default queue that refuses every job (cupsreject)
        None,       // no queue at all: a system without printers
    };

    struct Job {
        int id = 0;
        std::string title;
        ipp_jstate_t state = IPP_JSTATE_PENDING;
    };

    explicit PrivateCups(Queue queue) {
        char pattern[] = "/tmp/movik-cups-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            problem_ = "no temporary folder for the scheduler";
            return;
        }
        dir_ = pattern;
        // The scheduler drops to its own user (lp) for filters and backends: the folders must be
        // reachable for it.
        ::chmod(dir_.c_str(), 0755);
        for (const char* sub : {"cache", "spool", "spool/tmp", "log", "out"}) {
            std::filesystem::create_directories(dir_ / sub);
        }
        ::chmod((dir_ / "out").c_str(), 0777);
        WriteConfiguration();

        const std::string cupsd = Tool("cupsd");
        if (cupsd.empty()) {
            problem_ = "cupsd is not installed (scripts/install-deps.sh installs cups-daemon)";
            return;
        }
        if (!StartScheduler(cupsd)) {
            return;
        }
        if (queue == Queue::None) {
            return;
        }
        const std::string q = " reports >>'" + (dir_ / "log/tools").string() + "' 2>&1";
        if (!RunTool("lpadmin", "-p reports -E -v 'file://" + (dir_ / "out/job.pdf").string() +
                                    "' -P '" + (dir_ / "reports.ppd").string() + "'" + " >>'" +
                                    (dir_ / "log/tools").string() + "' 2>&1") ||
            !RunTool("lpadmin", "-d" + q) ||
            (queue == Queue::Rejecting && !RunTool("cupsreject", q))) {
            setupFailed_ = "setting up the queue failed: " + ReadFile(dir_ / "log/tools");
        }
    }

    ~PrivateCups() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
        cupsSetServer(nullptr);
        ::unsetenv("CUPS_SERVER");
        if (!dir_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(dir_, ignored);
        }
    }

    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Empty when the scheduler runs; else why it could not start (the tests skip with it).
    const std::string& problem() const { return problem_; }
    // Empty when the queue was set up as asked; else the tools' output (the tests fail with it).
    const std::string& setupFailed() const { return setupFailed_; }

    // Every job the scheduler has seen, in the order of their ids.
    std::vector<Job> Jobs() const {
        cups_job_t* jobs = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
        std::vector<Job> out;
        for (int i = 0; i < count; ++i) {
            out.push_back({jobs[i].id, jobs[i].title ? jobs[i].title : "", jobs[i].state});
        }
        cupsFreeJobs(count, jobs);
        std::sort(out.begin(), out.end(), [](const Job& a, const Job& b) { return a.id < b.id; });
        return out;
    }

    // Waits until no job is pending or processing any more; false when that took too long.
    bool WaitUntilIdle(std::chrono::seconds limit = std::chrono::seconds(20)) const {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            bool busy = false;
            for (const Job& job : Jobs()) {
                busy = busy || job.state < IPP_JSTATE_STOPPED;
            }
            if (!busy) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // A job attribute as the scheduler holds it ("media", "copies", ...), as text; "" if absent.
    std::string JobAttribute(const Job& job, const char* name) const {
        ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
        const std::string uri = "ipp://localhost/jobs/" + std::to_string(job.id);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                     cupsUser());
        ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
        std::string value;
        if (ipp_attribute_t* a = ippFindAttribute(response, name, IPP_TAG_ZERO)) {
            char buffer[256];
            ippAttributeString(a, buffer, sizeof buffer);
            value = buffer;
        }
        ippDelete(response);
        return value;
    }

    // The document a job was submitted with (the bytes the program sent).
    std::filesystem::path Document(const Job& job) const {
        char name[32];
        std::snprintf(name, sizeof name, "d%05d-001", job.id);
        return dir_ / "spool" / name;
    }

    // The scheduler's own log (for failure messages).
    std::string Log() const { return ReadFile(dir_ / "log/error_log"); }

  private:
    static std::string ReadFile(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The CUPS programs live in /usr/sbin, which is not on every user's PATH.
    static std::string Tool(const std::string& name) {
        const std::string path = "/usr/sbin/" + name;
        return ::access(path.c_str(), X_OK) == 0 ? path : std::string();
    }

    static bool RunTool(const std::string& name, const std::string& arguments) {
        const std::string tool = Tool(name);
        return !tool.empty() && std::system(("'" + tool + "' " + arguments).c_str()) == 0;
    }

    void WriteConfiguration() const {
        const std::string d = dir_.string();
        std::ofstream(dir_ / "cupsd.conf") << "Listen " << d << "/cups.sock\n"
                                           << "Browsing Off\n"
                                           << "LogLevel warn\n"
                                           << "PreserveJobFiles Yes\n"
                                           << "PageLogFormat %j %{job-name}\n"
                                           << "<Policy default>\n"
                                           << "JobPrivateValues none\n"
                                           << "<Limit All>\n"
                                           << "Order Allow,Deny\n"
                                           << "</Limit>\n"
                                           << "</Policy>\n";
        // No User line: as root the scheduler keeps its own unprivileged default (it refuses
        // "User root").
        std::ofstream(dir_ / "cups-files.conf") << "FileDevice Yes\n"
                                                << "Printcap " << d << "/printcap\n"
                                                << "ServerRoot " << d << "\n"
                                                << "StateDir " << d << "\n"
                                                << "CacheDir " << d << "/cache\n"
                                                << "RequestRoot " << d << "/spool\n"
                                                << "TempDir " << d << "/spool/tmp\n"
                                                << "ErrorLog " << d << "/log/error_log\n"
                                                << "PageLog " << d << "/log/page_log\n";
        // An A4 queue whose one filter takes the PDF as it is.
        std::ofstream(dir_ / "reports.ppd")
            << "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
               "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
               "*PCFileName: \"REPORTS.PPD\"\n*Manufacturer: \"Movik\"\n"
               "*Product: \"(Movik test)\"\n*ModelName: \"Movik test queue\"\n"
               "*ShortNickName: \"Movik test queue\"\n*NickName: \"Movik test queue\"\n"
               "*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n*ColorDevice: False\n"
               "*DefaultColorSpace: Gray\n*FileSystem: False\n*Throughput: \"1\"\n"
               "*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n"
               "*cupsFilter: \"application/vnd.cups-pdf 0 -\"\n"
               "*OpenUI *PageSize: PickOne\n*OrderDependency: 10 AnySetup *PageSize\n"
               "*DefaultPageSize: A4\n*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
               "*CloseUI: *PageSize\n"
               "*OpenUI *PageRegion: PickOne\n*OrderDependency: 10 AnySetup *PageRegion\n"
               "*DefaultPageRegion: A4\n"
               "*PageRegion A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
               "*CloseUI: *PageRegion\n"
               "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"0 0 595 842\"\n"
               "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n";
    }

    bool StartScheduler(const std::string& cupsd) {
        const std::string conf = (dir_ / "cupsd.conf").string();
        const std::string files = (dir_ / "cups-files.conf").string();
        const std::string out = (dir_ / "log/cupsd.out").string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::vector<std::string> args = {cupsd, "-f", "-c", conf, "-s", files};
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        const int spawned =
            posix_spawn(&pid_, cupsd.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            pid_ = 0;
            problem_ = "cupsd could not be started";
            return false;
        }

        // The test process and the tools it runs talk to this scheduler only; no user default
        // printer (PRINTER, LPDEST) may override the scheduler's default.
        const std::string socket = (dir_ / "cups.sock").string();
        ::setenv("CUPS_SERVER", socket.c_str(), 1);
        ::unsetenv("PRINTER");
        ::unsetenv("LPDEST");
        cupsSetServer(socket.c_str());

        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = 0;
                problem_ = "cupsd stopped at once: " + ReadFile(out) + Log();
                return false;
            }
            if (http_t* http = httpConnect2(socket.c_str(), 0, nullptr, AF_UNSPEC,
                                            HTTP_ENCRYPTION_NEVER, 1, 200, nullptr)) {
                httpClose(http);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        problem_ = "cupsd did not answer on its socket: " + ReadFile(out) + Log();
        return false;
    }

    std::filesystem::path dir_;
    pid_t pid_ = 0;
    std::string problem_;
    std::string setupFailed_;
};

}  // namespace movik::test
