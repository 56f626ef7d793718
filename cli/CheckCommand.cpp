// movik-cli check: the consistency warning of a document as opened (exit code 1 when there is one).

#include <iostream>

#include "cli/Command.h"

namespace movik::cli {

int RunCheck(const Arguments& args, Workspace& ws) {
    RequireCount(args, 2);
    OpenAsWindow(ws, args.positional[1]);
    if (ws.warning().empty()) {
        return 0;
    }
    std::cout << ws.warning() << '\n';
    return 1;
}

}  // namespace movik::cli
