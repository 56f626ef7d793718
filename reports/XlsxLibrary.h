#pragma once
// libxlsxwriter, opened the first time a workbook is written rather than when the program
// starts (it brings libcrypto and minizip). Only the functions the workbook writer calls.

#include <xlsxwriter.h>

namespace movik {

struct XlsxLibrary {
    decltype(&workbook_new) newWorkbook;
    decltype(&workbook_set_properties) setProperties;
    decltype(&workbook_add_format) addFormat;
    decltype(&workbook_add_worksheet) addWorksheet;
    decltype(&workbook_close) close;
    decltype(&format_set_num_format) setNumberFormat;
    decltype(&format_set_bold) setBold;
    decltype(&format_set_align) setAlign;
    decltype(&worksheet_write_string) writeString;
    decltype(&worksheet_write_number) writeNumber;
    decltype(&worksheet_write_blank) writeBlank;
    decltype(&worksheet_set_column) setColumn;
    decltype(&worksheet_set_landscape) setLandscape;
    decltype(&worksheet_fit_to_pages) fitToPages;
    decltype(&worksheet_repeat_rows) repeatRows;
    decltype(&worksheet_freeze_panes) freezePanes;
    decltype(&lxw_strerror) errorText;
};

// The library, opened once for the whole run (safe from any thread); nullptr when it is not
// installed or lacks one of the functions.
const XlsxLibrary* Xlsx();

}  // namespace movik
