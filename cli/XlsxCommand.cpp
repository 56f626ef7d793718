// movik-cli xlsx DOKUMENT.mvk -o IZLAZ.xlsx [--unit TEXT]: the document as a spreadsheet workbook.

#include "cli/Command.h"
#include "reports/DocumentWorkbook.h"

namespace movik::cli {

int RunXlsx(const Arguments& args, Workspace& ws) {
    RequireCount(args, 2);
    const std::string* out = args.option("-o");
    if (out == nullptr || out->empty()) {
        Fail("Naredbi 'xlsx' nedostaje -o IZLAZ.xlsx");
    }
    OpenAsWindow(ws, args.positional[1]);
    const std::string* unit = args.option("--unit");
    const Workbook book =
        DocumentWorkbook(ws, unit != nullptr ? *unit : std::string(AmountUnitText(ws.currency())));
    if (const Result written = WriteXlsx(book, *out); !written) {
        Fail(written.message());
    }
    return 0;
}

}  // namespace movik::cli
