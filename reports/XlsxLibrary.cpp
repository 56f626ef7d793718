#include "reports/XlsxLibrary.h"

#include "system/LibraryFunctions.h"

namespace movik {

namespace {

bool Open(XlsxLibrary& xlsx) {
    LibraryFunctions library("libxlsxwriter.so.4");
    library.Find(xlsx.newWorkbook, "workbook_new");
    library.Find(xlsx.setProperties, "workbook_set_properties");
    library.Find(xlsx.addFormat, "workbook_add_format");
    library.Find(xlsx.addWorksheet, "workbook_add_worksheet");
    library.Find(xlsx.close, "workbook_close");
    library.Find(xlsx.setNumberFormat, "format_set_num_format");
    library.Find(xlsx.setBold, "format_set_bold");
    library.Find(xlsx.setAlign, "format_set_align");
    library.Find(xlsx.writeString, "worksheet_write_string");
    library.Find(xlsx.writeNumber, "worksheet_write_number");
    library.Find(xlsx.writeBlank, "worksheet_write_blank");
    library.Find(xlsx.setColumn, "worksheet_set_column");
    library.Find(xlsx.setLandscape, "worksheet_set_landscape");
    library.Find(xlsx.fitToPages, "worksheet_fit_to_pages");
    library.Find(xlsx.repeatRows, "worksheet_repeat_rows");
    library.Find(xlsx.freezePanes, "worksheet_freeze_panes");
    library.Find(xlsx.errorText, "lxw_strerror");
    return library.complete();
}

}  // namespace

const XlsxLibrary* Xlsx() {
    static XlsxLibrary xlsx;
    static const bool opened = Open(xlsx);
    return opened ? &xlsx : nullptr;
}

}  // namespace movik
