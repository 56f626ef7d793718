// movik-cli convert DOKUMENT.mvk --to-eur [-o IZLAZ.mvk]: a kuna document in euros, written
// through the safe writer to IZLAZ or over the document; a document already in euros is refused.

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
    if (!ConvertToEuro(ws)) {
        Fail(std::string(kAlreadyInEuro));  // nothing written
    }
    const std::string* out = args.option("-o");
    SaveTo(ws, out != nullptr ? *out : path);
    // The document now says it is in euros; printing and workbooks take "eurima i centima".
    std::cerr << "movik-cli: iznosi preračunati u eure po tečaju " << kKunaPerEuroText
              << " kn za 1 euro; dokument je označen kao dokument u eurima\n";
    return 0;
}

}  // namespace movik::cli
