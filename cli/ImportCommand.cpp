// movik-cli import: a semicolon-separated file read into a document's balance sheet or income
// statement, as the window imports it, and the document saved.

#include <iostream>

#include "cli/Command.h"

namespace movik::cli {

int RunImport(const Arguments& args, Workspace& ws) {
    RequireCount(args, 4);
    const Statement s = ParseStatement(args.positional[2], true);
    OpenAsWindow(ws, args.positional[1]);
    std::string note;
    if (const Result imported = ws.ImportCsvFile(s, args.positional[3], &note); !imported) {
        Fail(imported.message());
    }
    if (!note.empty()) {
        std::cerr << "movik-cli: " << note << '\n';
    }
    const std::string* out = args.option("-o");
    SaveTo(ws, out ? *out : args.positional[1]);
    return 0;
}

}  // namespace movik::cli
