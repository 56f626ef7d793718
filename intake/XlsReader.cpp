#include "intake/XlsReader.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>

#include "intake/CompoundFile.h"
#include "intake/WorkbookLimits.h"
#include "intake/XlsProtocol.h"

extern char** environ;

namespace movik::workbook {

namespace {

constexpr char kProgramName[] = "movik-xls-reader";
const char* const kCannotRead = "Radnu knjigu .xls nije moguće pročitati";

// A descriptor closed when it goes.
class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void Close() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

  private:
    int fd_;
};

// FreeXL reads only named files: the bytes go to the reader as an anonymous memory file.
int MemoryFile(std::string_view bytes) {
    const int fd = ::memfd_create("movik-xls", MFD_CLOEXEC);
    if (fd < 0) {
        throw ReadError{kCannotRead};
    }
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            throw ReadError{kCannotRead};
        }
        done += static_cast<std::size_t>(n);
    }
    ::lseek(fd, 0, SEEK_SET);
    return fd;
}

// The child with its standard input and output set, nothing else open, default signals.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args, int input,
            int output) {
    std::vector<char*> argv;
    std::string name = program;
    argv.push_back(name.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t all;
    sigset_t none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t child = -1;
    const int rc = ::posix_spawn(&child, program.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? child : -1;
}

// Reads the child's output until it ends, stopping the child when it sends too much or hangs.
void ReadFromChild(int fd, pid_t child, std::size_t maxOutput, std::chrono::milliseconds timeout,
                   ChildRun& run) {
    char buffer[1 << 15];
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(std::max<long>(left.count(), 0)));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled <= 0) {
            run.hung = true;
            ::kill(child, SIGKILL);
            return;
        }
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        run.output.append(buffer, static_cast<std::size_t>(n));
        if (run.output.size() > maxOutput) {
            run.tooMuch = true;
            ::kill(child, SIGKILL);
            return;
        }
    }
}

// The longest reply the limits allow: every cell's fixed part, every text, the sheet names.
std::size_t MaxReply(const WorkbookLimits& limits) {
    return limits.totalBytes + 32 * limits.cells + (std::size_t{1} << 20);
}

std::string FindReaderProgram() {
    namespace fs = std::filesystem;
    std::vector<fs::path> candidates;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path dir = self.parent_path();
        candidates = {dir / kProgramName, dir / ".." / MOVIK_XLS_READER_DIR / kProgramName};
    }
    for (const fs::path& c : candidates) {
        if (::access(c.c_str(), X_OK) == 0) {
            return c.lexically_normal().string();
        }
    }
    return std::string();
}

}  // namespace

const std::string& XlsReaderProgram() {
    static const std::string program = FindReaderProgram();
    return program;
}

ChildRun RunChild(const std::string& program, const std::vector<std::string>& args, int input,
                  std::size_t maxOutput, std::chrono::milliseconds timeout) {
    ChildRun run;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return run;
    }
    Fd readEnd(fds[0]);
    Fd writeEnd(fds[1]);
    const pid_t child = Spawn(program, args, input, writeEnd.get());
    writeEnd.Close();  // the child's end now: its end of output is the end of the pipe
    if (child < 0) {
        return run;
    }
    run.started = true;
    ReadFromChild(readEnd.get(), child, maxOutput, timeout, run);
    readEnd.Close();
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    run.exitedCleanly = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

WorkbookData ReadXlsBytes(std::string_view bytes, const std::vector<std::string>& wanted,
                          const WorkbookLimits& limits) {
    // What the caller can tell from the compound file itself, FreeXL never sees.
    switch (InspectCompoundFile(bytes)) {
        case CompoundFile::Encrypted:
            throw ReadError{kEncrypted};
        case CompoundFile::Damaged:
            throw DamagedXls();
        case CompoundFile::NotWorkbook:
            throw ReadError{"Datoteka nije radna knjiga programa Excel (.xlsx ili .xls)"};
        case CompoundFile::Workbook:
            break;
    }
    const std::string& program = XlsReaderProgram();
    if (program.empty()) {
        throw ReadError{std::string(kCannotRead) + ": nedostaje program " + kProgramName};
    }
    const Fd input(MemoryFile(bytes));
    const ChildRun run = RunChild(program, ReaderArguments(wanted, limits), input.get(),
                                  MaxReply(limits), std::chrono::seconds(30));
    if (!run.started) {
        throw ReadError{std::string(kCannotRead) + ": program " + kProgramName +
                        " se ne može pokrenuti"};
    }
    if (run.tooMuch) {
        throw ReadError{TooLarge("raspakirano više od " + Mib(limits.totalBytes))};
    }
    // A fault, a limit or a hang of the reader: FreeXL could not read the file.
    if (run.hung || !run.exitedCleanly) {
        throw DamagedXls();
    }
    return DecodeReply(run.output, limits);
}

}  // namespace movik::workbook
