#include "document/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
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
int MakeTemp(const FileCalls& calls, char* pattern) {
    return calls.makeTemp ? calls.makeTemp(pattern)
                          : ::mkstemps(pattern, static_cast<int>(std::strlen(kTempSuffix)));
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

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
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

// Removes the regular files that interrupted saves of target left beside it. Links, folders and
// every name outside our own pattern for this target are left alone.
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
        struct stat info {};
        if (path != keep && ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            ::unlink(path.c_str());
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
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
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
    if (path.empty()) {
        return Result::Fail(CannotCreateMessage(path));
    }
    // A symbolic link keeps pointing at the document: the new file replaces its target.
    target_ = path;
    struct stat linkInfo {};
    if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target_ = resolved;
            std::free(resolved);
        }
    }

    struct stat info {};
    hadOldFile_ = ::stat(target_.c_str(), &info) == 0;
    // Only a regular file is replaced: renaming over a folder, pipe or device (or a link to
    // one) would swap a system object for a plain file, and writing to it is no safe save.
    if (hadOldFile_ && !S_ISREG(info.st_mode)) {
        return Result::Fail(CannotCreateMessage(path));
    }
    // Renaming would replace even a file the user may not write; such a file stays as it is.
    if (hadOldFile_ && CheckWritable(calls_, target_.c_str()) != 0) {
        return Result::Fail(CannotCreateMessage(path));
    }
    mode_ = hadOldFile_ ? (info.st_mode & 07777) : (0666 & ~CurrentUmask());

    // Hidden and with our own suffix, so that one an interrupted save leaves behind is
    // recognisable and the next save of the same target can remove it.
    std::string tempName = FolderOf(target_) + "/." + NameOf(target_) + ".XXXXXX" + kTempSuffix;
    int fd = MakeTemp(calls_, tempName.data());
    if (fd < 0 && errno == ENAMETOOLONG) {
        // A name at the length limit leaves no room for the suffix: use a short one beside it.
        tempName = FolderOf(target_) + "/.movik-XXXXXX" + kTempSuffix;
        fd = MakeTemp(calls_, tempName.data());
    }
    if (fd < 0) {
        return Result::Fail(CannotCreateMessage(path));
    }
    fd_ = fd;
    tempName_ = tempName;
    return Result::Ok();
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
    if (::fchmod(fd_, mode_) != 0) {
        // Some file systems keep no modes; the content matters more than the mode.
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
    RemoveStaleTempFiles(target_, placed);
    // Make the rename itself durable; failure here loses nothing already written.
    const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return Result::Ok();
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
