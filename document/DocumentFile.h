#pragma once
// The document file (.mvk) on disk: saving through the safe writer and opening with the checks
// a document must pass. The byte image itself is DocumentCodec's; file access is FileIO's.

#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "document/DocumentCodec.h"
#include "document/FileIO.h"
#include "model/Document.h"

namespace movik {

// Writes doc to doc.ImeDatoteke. On success clears Izmijenjen. On failure gives the message
// ("Cannot create file %s" when the file cannot be created, a Croatian message for a failed or
// short write) and leaves doc and the old file untouched.
Result SaveDocument(TDokument& doc, FileWriter& writer);
Result SaveDocument(TDokument& doc);

// The outcome of opening a document file: opened, missing (nothing happened; the caller decides
// whether that is worth a word) or failed with the message to show the user.
class [[nodiscard]] OpenOutcome {
  public:
    static OpenOutcome Opened() { return OpenOutcome(false, Result::Ok()); }
    // message: what to say when the caller reports a missing file.
    static OpenOutcome Missing(std::string message) {
        return OpenOutcome(true, Result::Fail(std::move(message)));
    }
    static OpenOutcome Failed(std::string message) {
        return OpenOutcome(false, Result::Fail(std::move(message)));
    }

    bool ok() const { return result_.ok(); }
    explicit operator bool() const { return ok(); }
    bool missing() const { return missing_; }
    // Ok when opened; else the failure with its message (for a missing file too).
    const Result& result() const { return result_; }
    const std::string& message() const { return result_.message(); }

  private:
    OpenOutcome(bool missing, Result result) : missing_(missing), result_(std::move(result)) {}
    bool missing_;
    Result result_;
};

inline std::ostream& operator<<(std::ostream& out, const OpenOutcome& outcome) {
    return out << (outcome.missing() ? "(missing) " : "") << outcome.result();
}

// Reads path over doc's block and sets ImeDatoteke (no recalculation). A missing file changes
// nothing (Missing, with "Datoteka %s ne postoji"). A file that cannot be read ("Cannot open
// file %s"), is shorter than 59,954 bytes or lacks the signature (a Croatian message naming it:
// "... nije Movik dokument") fails with that message, doc unchanged. calls replace system calls
// in tests.
OpenOutcome OpenDocument(const std::string& path, TDokument& doc, const FileCalls& calls = {});

// What OpenDocument does with the bytes it read from path (the file's first kDocumentFileSize
// bytes or more; extra bytes are ignored): the same checks and messages, doc filled and
// ImeDatoteke set to path on success, unchanged otherwise. Never reports a missing file.
OpenOutcome OpenDocumentBytes(const std::string& path, std::string_view bytes, TDokument& doc);

}  // namespace movik
