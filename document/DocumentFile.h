#pragma once
// The document file (.mvk) on disk: saving through the safe writer and opening with the checks
// a document must pass. The byte image itself is DocumentCodec's; file access is FileIO's.

#include <string>

#include "document/DocumentCodec.h"
#include "document/FileIO.h"
#include "model/Document.h"

namespace movik {

// Writes doc to doc.ImeDatoteke. On success clears Izmijenjen. On failure gives the message
// ("Cannot create file %s" when the file cannot be created, a Croatian message for a failed or
// short write) and leaves doc and the old file untouched.
Result SaveDocument(TDokument& doc, FileWriter& writer);
Result SaveDocument(TDokument& doc);

enum class OpenResult { Opened, Missing, Failed };
// Reads path over doc's block and sets ImeDatoteke (no recalculation). A missing file changes
// nothing (Missing). A file that cannot be read ("Cannot open file %s"), is shorter than 59,954
// bytes or lacks the signature (a Croatian message naming it: "... nije Movik dokument") gives
// Failed, error set, doc unchanged. calls replace system calls in tests.
OpenResult OpenDocument(const std::string& path, TDokument& doc, std::string& error,
                        const FileCalls& calls = {});

}  // namespace movik
