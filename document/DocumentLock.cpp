#include "document/DocumentLock.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "document/FileIO.h"

namespace movik {

namespace {

std::string ThisHost() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return name;
}

std::string ThisUser() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr) {
        return found->pw_name;
    }
    return std::to_string(::geteuid());
}

LockHolder Me() {
    return {ThisUser(), ThisHost(), static_cast<long>(::getpid())};
}

// The record: the user, the computer and the process, one a line.
LockHolder ReadHolder(int fd) {
    char buffer[1024];
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
    LockHolder holder;
    if (n <= 0) {
        return holder;
    }
    std::vector<std::string> lines;
    std::string_view text(buffer, static_cast<std::size_t>(n));
    while (!text.empty() && lines.size() < 3) {
        const std::size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    lines.resize(3);
    holder.user = lines[0];
    holder.host = lines[1];
    char* rest = nullptr;
    const long pid = std::strtol(lines[2].c_str(), &rest, 10);
    holder.pid = (rest != nullptr && *rest == '\0' && pid > 0) ? pid : 0;
    return holder;
}

void WriteHolder(int fd, const LockHolder& holder) {
    const std::string record =
        holder.user + "\n" + holder.host + "\n" + std::to_string(holder.pid) + "\n";
    // A record that cannot be written still leaves the file locked; only the name is missing.
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(fd, record.data(), record.size(), 0);
    }
}

bool HasRecord(const LockHolder& holder) {
    return !holder.user.empty() || !holder.host.empty() || holder.pid != 0;
}

// Whether the recorded holder may still have the document: a process of another computer
// cannot be looked at; one of this computer runs unless the system says there is none.
bool MayStillRun(const LockHolder& holder) {
    if (holder.host != ThisHost()) {
        return true;
    }
    return holder.pid > 0 && (::kill(static_cast<pid_t>(holder.pid), 0) == 0 || errno == EPERM);
}

// Whether fd is the file that path names now.
bool Names(const std::string& path, int fd) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

}  // namespace

std::string HolderText(const LockHolder& holder) {
    if (!HasRecord(holder)) {
        return "drugi program";
    }
    std::string text = "korisnik " + (holder.user.empty() ? std::string("?") : holder.user);
    if (!holder.host.empty()) {
        text += " na računalu " + holder.host;
    }
    if (holder.pid > 0) {
        text += ", proces " + std::to_string(holder.pid);
    }
    return text;
}

std::string HeldDocumentMessage(const std::string& path, const LockHolder& holder) {
    return "Dokument " + path + " nije snimljen: otvoren je u drugom prozoru Movika, ima ga " +
           HolderText(holder);
}

std::string LockFileOf(const std::string& path) {
    std::string target = FollowLinks(path);
    if (target.empty()) {
        target = path;
    }
    const std::size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "/." + name + ".movik-lock";
}

DocumentLock::~DocumentLock() {
    Release();
}

DocumentLock::DocumentLock(DocumentLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      lockPath_(std::move(other.lockPath_)),
      holder_(std::move(other.holder_)) {}

DocumentLock& DocumentLock::operator=(DocumentLock&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
        lockPath_ = std::move(other.lockPath_);
        holder_ = std::move(other.holder_);
    }
    return *this;
}

DocumentLock::Outcome DocumentLock::Take(const std::string& path) {
    Release();
    holder_ = {};
    const std::string lockPath = LockFileOf(path);
    // A lock file removed or replaced between opening and locking it is opened anew.
    for (int attempt = 0; attempt < 10; ++attempt) {
        switch (TryOnce(lockPath)) {
            case Attempt::Taken:
                return Outcome::Taken;
            case Attempt::HeldByOther:
                return Outcome::HeldByOther;
            case Attempt::NotPossible:
                return Outcome::NotPossible;
            case Attempt::Retry:
                break;
        }
    }
    return Outcome::NotPossible;
}

DocumentLock::Attempt DocumentLock::TryOnce(const std::string& lockPath) {
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        // No lock can be made here; one that is there still says who has the document.
        const int readable = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (readable < 0) {
            return Attempt::NotPossible;
        }
        holder_ = ReadHolder(readable);
        const bool locked = ::flock(readable, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        ::close(readable);
        if (locked || (HasRecord(holder_) && MayStillRun(holder_))) {
            return Attempt::HeldByOther;
        }
        // Another user's stale lock file, in a folder where it may be replaced.
        return ::unlink(lockPath.c_str()) == 0 ? Attempt::Retry : Attempt::NotPossible;
    }
    bool flockWorks = true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            holder_ = ReadHolder(fd);
            ::close(fd);
            return Attempt::HeldByOther;
        }
        // A file system without flock: the record alone tells.
        flockWorks = false;
    } else if (!Names(lockPath, fd)) {
        ::close(fd);
        return Attempt::Retry;
    }
    // With flock, a holder on this computer that still ran would hold the lock; what it left
    // is stale. Another computer's record stands while its process may run.
    const LockHolder recorded = ReadHolder(fd);
    if (HasRecord(recorded) && (!flockWorks || recorded.host != ThisHost()) &&
        MayStillRun(recorded)) {
        holder_ = recorded;
        ::close(fd);
        return Attempt::HeldByOther;
    }
    WriteHolder(fd, Me());
    fd_ = fd;
    lockPath_ = lockPath;
    return Attempt::Taken;
}

void DocumentLock::Release() {
    if (fd_ < 0) {
        return;
    }
    // Removed while still locked, so nobody takes a file that is about to go.
    if (Names(lockPath_, fd_)) {
        ::unlink(lockPath_.c_str());
    }
    ::close(fd_);
    fd_ = -1;
    lockPath_.clear();
}

bool DocumentLock::Locks(const std::string& path) const {
    return fd_ >= 0 && Names(LockFileOf(path), fd_);
}

}  // namespace movik
