#include "document/FileIO.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "document/TextLines.h"
#include "model/CroatianPlural.h"

namespace movik {

namespace {

// The calls of FileCalls: the replacement when a test set one, else the system's.
int Open(const FileCalls& calls, const char* path, int flags) {
    return calls.open ? calls.open(path, flags) : ::open(path, flags);
}
std::ptrdiff_t Write(const FileCalls& calls, int fd, const void* data, std::size_t size) {
    return calls.write ? calls.write(fd, data, size) : ::write(fd, data, size);
}
// Creates a file of a new name from pattern (six X before kTempSuffix) as O_EXCL does, with
// mode narrowed by the umask: the kernel applies the umask, so nothing ever reads or changes it.
int CreateUnique(char* pattern, mode_t mode) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const std::size_t length = std::strlen(pattern);
    const std::size_t suffix = std::strlen(kTempSuffix);
    if (length < 6 + suffix) {
        errno = EINVAL;
        return -1;
    }
    char* letters = pattern + length - suffix - 6;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Fresh from the system every time: a generator's state would be copied into forked
        // processes, which would then try the same names.
        unsigned char bytes[6] = {};
        if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
            const auto mixed = static_cast<std::uint64_t>(::getpid()) * 1000003u +
                               static_cast<std::uint64_t>(attempt) + ::clock();
            std::memcpy(bytes, &mixed, sizeof bytes);
        }
        for (int i = 0; i < 6; ++i) {
            letters[i] = kLetters[bytes[i] % (sizeof kLetters - 1)];
        }
        const int fd = ::open(pattern, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}
int MakeTemp(const FileCalls& calls, char* pattern, mode_t mode) {
    return calls.makeTemp ? calls.makeTemp(pattern, mode) : CreateUnique(pattern, mode);
}
int Flush(const FileCalls& calls, int fd) {
    return calls.flush ? calls.flush(fd) : ::fdatasync(fd);
}
int Rename(const FileCalls& calls, const char* from, const char* to) {
    return calls.rename ? calls.rename(from, to) : ::rename(from, to);
}
int CheckWritable(const FileCalls& calls, const char* path) {
    return calls.checkWritable ? calls.checkWritable(path)
                               : ::faccessat(AT_FDCWD, path, W_OK, AT_EACCESS);
}

// Reads fd into bytes until take says how much of a chunk to keep and that reading is over, or
// the end. take(chunk) returns the bytes of chunk to keep; done is set when they end the read.
// False on a read error.
template <class Take>
bool ReadUntil(int fd, std::string& bytes, Take take) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        bool done = false;
        const std::size_t keep = take(std::string_view(buffer, static_cast<std::size_t>(n)), done);
        bytes.append(buffer, keep);
        if (done) {
            return true;
        }
    }
}

std::string NotSaved(const std::string& path, std::string_view reason, bool hadOldFile) {
    std::string message = "Datoteka " + path + " nije snimljena: " + std::string(reason) + ".";
    if (hadOldFile) {
        message += " Prethodni sadržaj datoteke nije promijenjen.";
    }
    return message;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether fd is the file that path names now (not one put there or removed meanwhile).
bool StillNamedBy(int fd, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Removes the temporary file path when no save holds its lock: a save that is still writing
// keeps its lock until the file is renamed, so only what an interrupted save left is removed.
void RemoveIfUnlocked(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        StillNamedBy(fd, path)) {
        ::unlink(path.c_str());
    }
    ::close(fd);
}

// Removes the regular files that interrupted saves of target left beside it. Links, folders,
// files of saves still running and every name outside our own pattern for this target are left
// alone.
void RemoveStaleTempFiles(const std::string& target, const std::string& keep) {
    const std::string folder = FolderOf(target);
    const std::string name = NameOf(target);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string entryName = entry->d_name;
        if (!IsTempFileOf(entryName, name)) {
            continue;
        }
        const std::string path = folder + "/" + entryName;
        if (path != keep) {
            RemoveIfUnlocked(path);
        }
    }
    ::closedir(dir);
}

class SystemFileWriter final : public FileWriter {
  public:
    explicit SystemFileWriter(FileCalls calls) : calls_(std::move(calls)) {}

    Result WriteWhole(const std::string& path, const std::vector<std::uint8_t>& content) override {
        SafeFileWriter file(calls_);
        Result r = file.Open(path);
        if (r) {
            r = file.Append(content.data(), content.size());
        }
        return r ? file.Commit() : r;
    }

  private:
    FileCalls calls_;
};

}  // namespace

SafeFileWriter::SafeFileWriter(FileCalls calls) : calls_(std::move(calls)) {}

SafeFileWriter::~SafeFileWriter() {
    Discard();
}

void SafeFileWriter::Discard() {
    for (int* fd : {&fd_, &lockFd_}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
    if (!tempName_.empty()) {
        ::unlink(tempName_.c_str());
        tempName_.clear();
    }
}

Result SafeFileWriter::Fail(std::string_view reason) {
    Discard();
    return Result::Fail(NotSaved(path_, reason, hadOldFile_));
}

Result SafeFileWriter::Open(const std::string& path) {
    Discard();
    path_ = path;
    // A symbolic link keeps pointing where it pointed: the file it leads to is written.
    target_ = path.empty() ? std::string() : FollowLinks(path);
    if (target_.empty()) {
        return Result::Fail(CannotCreateMessage(path));
    }
    struct stat info {};
    hadOldFile_ = ::stat(target_.c_str(), &info) == 0;
    // Only a regular file is replaced: renaming over a folder, pipe or device would swap a
    // system object for a plain file, and writing to it is no safe save.
    if (hadOldFile_ && !S_ISREG(info.st_mode)) {
        return Result::Fail(CannotCreateMessage(path));
    }
    // Renaming would replace even a file the user may not write; such a file stays as it is.
    if (hadOldFile_ && CheckWritable(calls_, target_.c_str()) != 0) {
        return Result::Fail(CannotCreateMessage(path));
    }
    mode_ = info.st_mode & 07777;
    owner_ = info.st_uid;
    group_ = info.st_gid;
    return CreateTempFile();
}

Result SafeFileWriter::CreateTempFile() {
    // Never more open than the old file while the new content is written; a new file gets the
    // usual mode under the umask from the kernel.
    const mode_t mode = hadOldFile_ ? (mode_ & 0777) : 0666;
    for (int attempt = 0; attempt < 10; ++attempt) {
        // Hidden and with our own suffix, so that one an interrupted save leaves behind is
        // recognisable and the next save of the same target can remove it.
        std::string tempName = FolderOf(target_) + "/." + NameOf(target_) + ".XXXXXX" + kTempSuffix;
        int fd = MakeTemp(calls_, tempName.data(), mode);
        if (fd < 0 && errno == ENAMETOOLONG) {
            // A name at the length limit leaves no room for the suffix: use a short one beside it.
            tempName = FolderOf(target_) + "/.movik-XXXXXX" + kTempSuffix;
            fd = MakeTemp(calls_, tempName.data(), mode);
        }
        if (fd < 0) {
            return Result::Fail(CannotCreateMessage(path_));
        }
        fd_ = fd;
        tempName_ = tempName;
        // The lock tells another save that this file is in use. Another save may have removed
        // the file between its creation and the lock: then it is made anew.
        if (::flock(fd, LOCK_EX) != 0 || StillNamedBy(fd, tempName)) {
            lockFd_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
            return Result::Ok();
        }
        ::close(fd_);
        fd_ = -1;
        tempName_.clear();
    }
    return Result::Fail(CannotCreateMessage(path_));
}

Result SafeFileWriter::Append(const void* data, std::size_t size) {
    if (fd_ < 0) {
        return Result::Fail(CannotCreateMessage(path_));
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t written = 0;
    while (written < size) {
        const std::size_t rest = size - written;
        const std::ptrdiff_t n = Write(calls_, fd_, bytes + written, rest);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // Zero or negative is a failure; a full disk often shows as a short write first and
        // then a write that stores nothing.
        if (n <= 0 || static_cast<std::size_t>(n) > rest) {
            return Fail("pisanje nije uspjelo (disk je možda pun)");
        }
        written += static_cast<std::size_t>(n);
    }
    return Result::Ok();
}

Result SafeFileWriter::Commit() {
    if (fd_ < 0) {
        return Result::Fail(CannotCreateMessage(path_));
    }
    if (hadOldFile_) {
        KeepOwnerAndMode();
    }
    // A file system that cannot sync at all (EINVAL, ENOTSUP) still took every byte.
    if (Flush(calls_, fd_) != 0 && errno != EINVAL && errno != ENOTSUP) {
        return Fail("zapisivanje na disk nije uspjelo (disk je možda pun)");
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        return Fail("zatvaranje datoteke nije uspjelo (disk je možda pun)");
    }
    if (Rename(calls_, tempName_.c_str(), target_.c_str()) != 0) {
        return Fail("novi sadržaj nije moguće postaviti na mjesto datoteke");
    }
    const std::string placed = tempName_;
    tempName_.clear();
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
    RemoveStaleTempFiles(target_, placed);
    // Make the rename itself durable; failure here loses nothing already written.
    const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return Result::Ok();
}

void SafeFileWriter::KeepOwnerAndMode() const {
    // Only the superuser may give a file away; a member of the old file's group may keep that
    // group. Where neither is allowed the saving user's stay: the content matters more.
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && (info.st_uid != owner_ || info.st_gid != group_) &&
        ::fchown(fd_, owner_, group_) != 0 && info.st_gid != group_) {
        [[maybe_unused]] const int groupKept = ::fchown(fd_, static_cast<uid_t>(-1), group_);
    }
    // After the owner: changing it clears the set-user and set-group bits. Some file systems
    // keep no modes, and then the content still counts.
    [[maybe_unused]] const int modeKept = ::fchmod(fd_, mode_);
}

std::string FollowLinks(const std::string& path) {
    std::string current = path;
    // As the system's own limit of links followed in one path.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::string linked(static_cast<std::size_t>(PATH_MAX), '\0');
        const ssize_t n = ::readlink(current.c_str(), linked.data(), linked.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= linked.size()) {
            return {};
        }
        linked.resize(static_cast<std::size_t>(n));
        current = linked.front() == '/' ? linked : FolderOf(current) + "/" + linked;
    }
    return {};
}

bool IsTempFileOf(const std::string& fileName, const std::string& targetName) {
    const std::string_view suffix = kTempSuffix;
    const std::size_t prefixSize = 1 + targetName.size() + 1;
    if (targetName.empty() || fileName.size() != prefixSize + 6 + suffix.size() ||
        fileName.compare(0, prefixSize, "." + targetName + ".") != 0 ||
        fileName.compare(prefixSize + 6, suffix.size(), suffix) != 0) {
        return false;
    }
    return std::all_of(fileName.begin() + static_cast<std::ptrdiff_t>(prefixSize),
                       fileName.begin() + static_cast<std::ptrdiff_t>(prefixSize + 6), [](char c) {
                           return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                  (c >= '0' && c <= '9');
                       });
}

std::string CannotCreateMessage(const std::string& path) {
    return "Cannot create file " + path;
}

std::string CannotOpenMessage(const std::string& path) {
    return "Cannot open file " + path;
}

std::string MissingFileMessage(const std::string& path) {
    return "Datoteka " + path + " ne postoji";
}

std::string BytesText(std::size_t count) {
    return CountText(static_cast<long long>(count), "bajt", "bajta", "bajtova");
}

std::unique_ptr<FileWriter> MakeSystemFileWriter(FileCalls calls) {
    return std::make_unique<SystemFileWriter>(std::move(calls));
}

std::unique_ptr<FileWriter> MakeSystemFileWriter(WriteCall writeCall) {
    FileCalls calls;
    calls.write = std::move(writeCall);
    return MakeSystemFileWriter(std::move(calls));
}

ReadOutcome ReadFileStart(const std::string& path, std::size_t size, const FileCalls& calls) {
    ReadOutcome outcome;
    struct stat info {};
    if (path.empty()) {
        outcome.status = ReadStatus::Missing;
        return outcome;
    }
    if (::stat(path.c_str(), &info) != 0) {
        outcome.status =
            (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Failed;
        return outcome;
    }
    // Directories, pipes and devices are no documents (a pipe could block the program forever).
    if (!S_ISREG(info.st_mode)) {
        return outcome;
    }
    const int fd = Open(calls, path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return outcome;
    }
    std::string bytes;
    const bool read = size == 0 || ReadUntil(fd, bytes, [&](std::string_view chunk, bool& done) {
                          const std::size_t keep = std::min(chunk.size(), size - bytes.size());
                          done = bytes.size() + keep == size;
                          return keep;
                      });
    ::close(fd);
    if (read) {
        outcome.status = ReadStatus::Read;
        outcome.bytes = std::move(bytes);
    }
    return outcome;
}

ReadOutcome ReadLines(const std::string& path, std::size_t lines, std::size_t maxBytes,
                      const FileCalls& calls) {
    ReadOutcome outcome;
    const int fd = Open(calls, path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return outcome;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return outcome;
    }
    std::string bytes;
    std::size_t lineEnds = 0;
    bool tooLarge = false;
    const bool read = lines == 0 || ReadUntil(fd, bytes, [&](std::string_view chunk, bool& done) {
                          std::size_t found = 0;
                          const std::size_t keep = TakeLines(chunk, lines - lineEnds, &found);
                          lineEnds += found;
                          done = lineEnds == lines;
                          if (bytes.size() + keep > maxBytes) {
                              tooLarge = true;
                              done = true;
                              return std::size_t{0};
                          }
                          return keep;
                      });
    ::close(fd);
    if (tooLarge) {
        outcome.status = ReadStatus::TooLarge;
    } else if (read) {
        outcome.status = ReadStatus::Read;
        outcome.bytes = std::move(bytes);
    }
    return outcome;
}

}  // namespace movik
