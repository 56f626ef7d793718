#pragma once
// A look at an OLE compound file (.xls, or any Office file saved with a password) before any
// library reads it: its header, its sector tables, its directory and the first records of its
// workbook stream. Only what the caller decides by is read.

#include <string_view>

namespace movik::workbook {

enum class CompoundFile {
    Workbook,     // a workbook stream, not encrypted as far as the check sees
    Encrypted,    // an "EncryptedPackage" stream, or the workbook's FILEPASS record
    Damaged,      // a header, sector table or directory that cannot be followed
    NotWorkbook,  // a compound file without a workbook stream (a Word document, say)
};

CompoundFile InspectCompoundFile(std::string_view bytes);

}  // namespace movik::workbook
