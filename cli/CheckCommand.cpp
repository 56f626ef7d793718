// movik-cli check: the document's currency, and its consistency warning as opened (exit code 1
// when there is one).

#include <iostream>

#include "cli/Command.h"

namespace movik::cli {

int RunCheck(const Arguments& args, Workspace& ws) {
    RequireCount(args, 2);
    OpenAsWindow(ws, args.positional[1]);
    const TDokument& doc = ws.document();
    std::cout << "Valuta: " << CurrencyCode(ws.currency())
              << (doc.OznakaValute ? " (označena u dokumentu)" : " (po razdoblju)") << '\n';
    if (ws.warning().empty()) {
        return 0;
    }
    std::cout << ws.warning() << '\n';
    return 1;
}

}  // namespace movik::cli
