// movik-cli export: one statement's grid as a semicolon-separated file, as the window exports it.

#include <iostream>

#include "cli/Command.h"
#include "document/Csv.h"

namespace movik::cli {

int RunExport(const Arguments& args, Workspace& ws) {
    RequireCount(args, 3);
    const Statement s = ParseStatement(args.positional[2], false);
    OpenAsWindow(ws, args.positional[1]);
    const std::string* out = args.option("-o");
    if (out != nullptr && *out == "-") {
        const std::string bytes = ws.ExportCsv(s);
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        if (!std::cout) {
            Fail("Pisanje na standardni izlaz nije uspjelo");
        }
        return 0;
    }
    const auto writer = MakeSystemFileWriter();
    if (const Result written = ws.ExportCsvFile(s, out ? *out : DefaultCsvName(s), *writer);
        !written) {
        Fail(written.message());
    }
    return 0;
}

}  // namespace movik::cli
