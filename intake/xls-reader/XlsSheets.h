#pragma once
// The .xls reader program's own work: the cells of an .xls workbook, asked of FreeXL, within the
// limits. FreeXL sits behind XlsSource, so the same reading runs over FreeXL in the program and
// over answers made up from arbitrary bytes in its fuzz target, where FreeXL's own faults on
// damaged files (contained by the program's process) cannot hide a fault of this code.

#include <freexl.h>

#include <memory>
#include <string>
#include <vector>

#include "intake/Workbook.h"

namespace movik::workbook {

// What the reader asks of an .xls workbook, as FreeXL answers it. False (or nullptr) is a
// damaged file.
class XlsSource {
  public:
    virtual ~XlsSource() = default;
    virtual bool Encrypted() = 0;
    virtual bool SheetCount(unsigned int& count) = 0;
    virtual const char* SheetName(unsigned short index) = 0;
    // Makes the sheet the one Cell reads, and gives its size.
    virtual bool Select(unsigned short index, unsigned int& rows, unsigned short& cols) = 0;
    virtual bool Cell(unsigned int row, unsigned short col, FreeXL_CellValue& value) = 0;
};

// FreeXL over the .xls at path; throws ReadError when it cannot open it.
std::unique_ptr<XlsSource> OpenWithFreeXl(const std::string& path);

// The sheets named in wanted (all when empty); throws ReadError with the user's message on
// damage, a password or a limit.
WorkbookData ReadXlsSheets(XlsSource& source, const std::vector<std::string>& wanted,
                           const WorkbookLimits& limits);

}  // namespace movik::workbook
