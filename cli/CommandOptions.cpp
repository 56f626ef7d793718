#include "cli/CommandOptions.h"

#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "regional/Regional.h"

namespace movik::cli {

const std::string* CommandOptions::value(const std::string& name) const {
    const auto found = values.find(name);
    return found == values.end() ? nullptr : &found->second;
}

CommandOptions ReadOptions(const std::string& command, const std::vector<std::string>& args,
                           const std::set<std::string>& withValue,
                           const std::set<std::string>& flags, std::size_t positionals) {
    CommandOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--locale" || withValue.count(a) != 0) {
            if (i + 1 >= args.size()) {
                throw std::runtime_error("Opciji " + a + " nedostaje vrijednost");
            }
            (a == "--locale" ? options.locale : options.values[a]) = args[++i];
        } else if (flags.count(a) != 0) {
            options.flags.insert(a);
        } else if (a.size() > 1 && a[0] == '-') {
            throw std::runtime_error("Opcija " + a + " ne pripada naredbi '" + command + "'");
        } else {
            options.positional.push_back(a);
        }
    }
    if (options.positional.size() != positionals) {
        throw std::runtime_error("Pogrešan broj argumenata za '" + command +
                                 "' (vidi movik-cli --help)");
    }
    return options;
}

std::string LocaleNameFor(const CommandOptions& options) {
    if (!options.locale.empty()) {
        return options.locale;
    }
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(var);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "C";
}

RegionalSettings SettingsFor(const CommandOptions& options) {
    if (auto settings = RegionalFromLocaleName(LocaleNameFor(options))) {
        return *settings;
    }
    if (!options.locale.empty()) {
        throw std::runtime_error("Nepoznata lokalizacija: " + options.locale);
    }
    return *RegionalFromLocaleName("C");
}

std::unique_ptr<Workspace> OpenWorkspace(const std::string& path, const RegionalSettings& rs) {
    const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    const int year = static_cast<int>(std::chrono::year_month_day(today).year());
    auto ws = std::make_unique<Workspace>(rs, year);
    const OpenOutcome opened = ws->OpenDocument(path);
    if (!opened) {
        throw std::runtime_error(opened.message());
    }
    return ws;
}

}  // namespace movik::cli
