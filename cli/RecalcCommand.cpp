// movik-cli recalc: a document opened, recalculated by the refresh cycle and saved.

#include "cli/Command.h"

namespace movik::cli {

int RunRecalc(const Arguments& args, Workspace& ws) {
    RequireCount(args, 2);
    OpenAsWindow(ws, args.positional[1]);
    ws.RefreshCycle();
    const std::string* out = args.option("-o");
    SaveTo(ws, out ? *out : args.positional[1]);
    return 0;
}

}  // namespace movik::cli
