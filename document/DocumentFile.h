#pragma once
// The document file (.mvk): an 82-byte header and the 59,872-byte document block.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/Document.h"

namespace movik {

inline constexpr std::size_t kHeaderSize = 82;
inline constexpr std::size_t kDocumentFileSize = kHeaderSize + kDocumentBlockSize;  // 59,954

// The whole file image of the document: header, then the block laid over KeptBlock.
// Fails (returns false, sets error) only when a text cannot be held in Windows-1250.
bool EncodeDocumentFile(const TDokument& doc, std::vector<std::uint8_t>& out, std::string& error);

// Replaces the document block of doc with a file image (at least kDocumentFileSize bytes; extra
// bytes ignored). The header of doc stays; Bilanca rows 53 and 54 get their template texts.
// Non-finite numbers are kept as they are; they crash nothing downstream.
void DecodeDocumentFile(const std::uint8_t* image, TDokument& doc);

// Where bytes go when a document is saved; tests substitute one that fails part-way.
class FileWriter {
  public:
    virtual ~FileWriter() = default;
    // Writes the whole content to path without ever destroying an existing file at path: the
    // bytes go to a temporary file beside it that is renamed over path only when complete.
    // Returns an empty text on success, else the message to show.
    virtual std::string WriteWhole(const std::string& path,
                                   const std::vector<std::uint8_t>& content) = 0;
};

// The real writer (POSIX: open, write with byte counts checked, fsync, close, rename).
std::unique_ptr<FileWriter> MakeSystemFileWriter();

// The low-level write call the system writer uses, with the meaning of ::write (bytes written,
// or -1 with errno set). Tests pass one that fails part-way; an empty function means ::write.
using WriteCall = std::function<std::ptrdiff_t(int fd, const void* data, std::size_t size)>;
std::unique_ptr<FileWriter> MakeSystemFileWriter(WriteCall writeCall);

// Writes doc to doc.ImeDatoteke. On success clears Izmijenjen and returns "". On failure returns
// the message ("Cannot create file %s" when the file cannot be created, a Croatian message for a
// failed or short write) and leaves doc and the old file untouched.
std::string SaveDocument(TDokument& doc, FileWriter& writer);
std::string SaveDocument(TDokument& doc);

// True when header bytes 0 to 64 hold the signature the program writes (length 64, "Movik" and
// 59 blanks).
bool HasDocumentSignature(const std::uint8_t* image);

enum class OpenResult { Opened, Missing, Failed };
// Reads path over doc's block and sets ImeDatoteke (no recalculation). A missing file changes
// nothing (Missing). A file that cannot be read ("Cannot open file %s"), is shorter than 59,954
// bytes or lacks the signature (a Croatian message naming it: "... nije Movik dokument") gives
// Failed, error set, doc unchanged.
OpenResult OpenDocument(const std::string& path, TDokument& doc, std::string& error);

}  // namespace movik
