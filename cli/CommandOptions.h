#pragma once
// Argument reading shared by the commands that live in their own files (chart, convert, xlsx):
// the document path, options with values, flags and --locale, and the document opened as a
// freshly started window opens it. Failures throw std::runtime_error with the Croatian
// message; main reports it in one line with exit code 2.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/Workspace.h"

namespace movik::cli {

struct CommandOptions {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // option -> value (the last one given)
    std::set<std::string> flags;
    std::string locale;  // --locale, empty for the system's

    const std::string* value(const std::string& name) const;
};

// Reads args (what follows the command's name): withValue options take the next argument,
// flags stand alone; anything else that starts with '-' is refused. Exactly `positionals`
// positional arguments are required.
CommandOptions ReadOptions(const std::string& command, const std::vector<std::string>& args,
                           const std::set<std::string>& withValue,
                           const std::set<std::string>& flags, std::size_t positionals);

// The regional settings of --locale, or of the system (LC_ALL, LC_NUMERIC, LANG; C when Qt does
// not know it).
RegionalSettings SettingsFor(const CommandOptions& options);
// The locale's name for Qt: --locale or the system's.
std::string LocaleNameFor(const CommandOptions& options);

// A workspace with path opened as the window opens it; throws with the file layer's message.
std::unique_ptr<Workspace> OpenWorkspace(const std::string& path, const RegionalSettings& rs);

}  // namespace movik::cli
