// movik-cli convert DOKUMENT.mvk --to-eur [-o IZLAZ.mvk]: a kuna document in euros, written through
// the safe writer to IZLAZ or over the document.

#include <iostream>

#include "analysis/EuroConversion.h"
#include "cli/Command.h"

namespace movik::cli {

int RunConvert(const Arguments& args, Workspace& ws) {
    RequireCount(args, 2);
    if (!args.flag("--to-eur")) {
        Fail("Naredbi 'convert' treba --to-eur (preračun iz kuna u eure)");
    }
    const std::string& path = args.positional[1];
    OpenAsWindow(ws, path);
    ConvertToEuro(ws);
    const std::string* out = args.option("-o");
    SaveTo(ws, out != nullptr ? *out : path);
    // The amount unit is a setting of the window, not of the file: say what the amounts are now.
    std::cerr << "movik-cli: iznosi preračunati u eure po tečaju " << kKunaPerEuroText
              << " kn za 1 euro; pri ispisu zadajte jedinicu --unit \"" << kEuroUnit << "\"\n";
    return 0;
}

}  // namespace movik::cli
