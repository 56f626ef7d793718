#pragma once
// File input and output for documents and exports: the safe writer (a file is replaced only by
// complete new content) and reading the beginning of a file with limits.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/Result.h"

namespace movik {

// The system calls the file layer makes where a refusal by the system matters: tests replace
// one to make it fail as it would for a folder or file the user may not write or read (which
// file modes cannot show when the tests run as the superuser). An empty function means the real
// call, with its meaning (a result below 0 with errno set is a failure).
struct FileCalls {
    std::function<int(const char* path, int flags)> open;                             // ::open
    std::function<std::ptrdiff_t(int fd, const void* data, std::size_t size)> write;  // ::write
    // Creates and opens a new file from pattern, whose six X are followed by kTempSuffix: the
    // X become letters and digits of a name that did not exist (open with O_CREAT | O_EXCL,
    // mode as given, narrowed by the umask as every new file is).
    std::function<int(char* pattern, unsigned mode)> makeTemp;
    // 0 when the effective user may write the existing file at path (faccessat, W_OK).
    std::function<int(const char* path)> checkWritable;
    std::function<int(int fd)> flush;                             // ::fdatasync
    std::function<int(const char* from, const char* to)> rename;  // ::rename
};

// The ending of the hidden temporary file a save writes beside its target before renaming it
// over the target: ".NAME.XXXXXX.movik-tmp" for the target NAME.
inline constexpr const char* kTempSuffix = ".movik-tmp";

// True when fileName (no folder) is a temporary file of a save of the target named targetName:
// "." + targetName + "." + six letters or digits + kTempSuffix.
bool IsTempFileOf(const std::string& fileName, const std::string& targetName);

// "Cannot create file %s" and "Cannot open file %s": the file layer's two English messages.
std::string CannotCreateMessage(const std::string& path);
std::string CannotOpenMessage(const std::string& path);
// "Datoteka %s ne postoji": a path that names nothing (ReadStatus::Missing).
std::string MissingFileMessage(const std::string& path);

// A count of bytes in words: 1 bajt, 2 bajta, 5 bajtova, 11 bajtova, 21 bajt.
std::string BytesText(std::size_t count);

// Where bytes go when a document or an export is saved; tests substitute one that fails.
class FileWriter {
  public:
    virtual ~FileWriter() = default;
    // Writes the whole content to path without ever destroying an existing file at path: the
    // bytes go to a temporary file beside it that is renamed over path only when complete.
    // After a successful save, temporary files that earlier interrupted saves of the same target
    // left behind are removed (only those of our own pattern for that target).
    virtual Result WriteWhole(const std::string& path,
                              const std::vector<std::uint8_t>& content) = 0;
};

// A file written in pieces with the guarantees of a document save: the pieces go to a hidden
// temporary file beside path (".NAME.XXXXXX.movik-tmp", a name of its own for every save), which
// Commit flushes to disk and renames over path. Only a regular file that the user may write is
// replaced, keeping its mode, and its owner and group where the system lets the user give them
// (else the saving user's); a new file gets the usual mode under the umask, which is never
// changed. A symbolic link, dangling or not, keeps pointing where it pointed: the file it leads
// to is written. Commit then removes what interrupted writes of the same target left behind:
// a save holds a lock on its temporary file, so one still being written is never taken for
// one left behind. A failure, or destruction before Commit, removes the temporary file and
// leaves path as it was.
class SafeFileWriter {
  public:
    explicit SafeFileWriter(FileCalls calls = {});
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file for path; "Cannot create file %s" when that is refused.
    Result Open(const std::string& path);
    Result Append(const void* data, std::size_t size);
    Result Commit();

  private:
    void Discard();
    Result Fail(std::string_view reason);
    // The hidden temporary file beside the target, created and locked.
    Result CreateTempFile();
    // The old file's owner, group and mode on the temporary file, as far as the user may.
    void KeepOwnerAndMode() const;

    FileCalls calls_;
    std::string path_;
    std::string target_;
    std::string tempName_;
    int fd_ = -1;
    // A second descriptor of the temporary file holding its lock until it is renamed.
    int lockFd_ = -1;
    bool hadOldFile_ = false;
    unsigned mode_ = 0;
    unsigned owner_ = 0;
    unsigned group_ = 0;
};

// The file path names after following its symbolic links (each relative one from its link's
// folder): path itself when it is no link, the missing file a dangling link points at. Empty
// when the links go round in a loop or too deep.
std::string FollowLinks(const std::string& path);

// The real writer (POSIX: mkstemps, write with byte counts checked, fdatasync, close, rename).
std::unique_ptr<FileWriter> MakeSystemFileWriter(FileCalls calls = {});

// The low-level write call the system writer uses, with the meaning of ::write (bytes written,
// or -1 with errno set). Tests pass one that fails part-way; an empty function means ::write.
using WriteCall = std::function<std::ptrdiff_t(int fd, const void* data, std::size_t size)>;
std::unique_ptr<FileWriter> MakeSystemFileWriter(WriteCall writeCall);

enum class ReadStatus { Read, Missing, Failed, TooLarge };

struct ReadOutcome {
    ReadStatus status = ReadStatus::Failed;
    std::string bytes;  // what was read when Read
};

// The first `size` bytes of the regular file at path (fewer when the file is shorter). A path
// that names nothing (or is empty) is Missing; a folder, pipe or device, or a file that cannot be
// opened or read, is Failed.
ReadOutcome ReadFileStart(const std::string& path, std::size_t size, const FileCalls& calls = {});

// The bytes of path up to and including the end of its line `lines` (or to its end), from a
// file or a pipe. TooLarge when more than maxBytes would be needed; Failed when path cannot be
// opened or read or is a folder.
ReadOutcome ReadLines(const std::string& path, std::size_t lines, std::size_t maxBytes,
                      const FileCalls& calls = {});

}  // namespace movik
