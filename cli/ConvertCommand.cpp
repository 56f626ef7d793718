#include "cli/ConvertCommand.h"

#include <iostream>
#include <stdexcept>

#include "analysis/EuroConversion.h"
#include "cli/CommandOptions.h"

namespace movik::cli {

int ConvertCommand(const std::vector<std::string>& args) {
    const CommandOptions options = ReadOptions("convert", args, {"-o"}, {"--to-eur"}, 1);
    if (options.flags.count("--to-eur") == 0) {
        throw std::runtime_error("Naredbi 'convert' treba --to-eur (preračun iz kuna u eure)");
    }
    const std::string& path = options.positional[0];
    const auto ws = OpenWorkspace(path, SettingsFor(options));
    ConvertToEuro(*ws);
    const std::string* out = options.value("-o");
    const auto writer = MakeSystemFileWriter();
    if (const Result saved = ws->SaveDocumentAs(out != nullptr ? *out : path, *writer); !saved) {
        throw std::runtime_error(saved.message());
    }
    // The amount unit is a setting of the window, not of the file: say what the amounts are now.
    std::cerr << "movik-cli: iznosi preračunati u eure po tečaju " << kKunaPerEuroText
              << " kn za 1 euro; pri ispisu zadajte jedinicu --unit \"" << kEuroUnit << "\"\n";
    return 0;
}

}  // namespace movik::cli
