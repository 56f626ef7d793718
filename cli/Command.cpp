#include "cli/Command.h"

#include <algorithm>

#include "model/StatementFacts.h"

namespace movik::cli {

void Fail(const std::string& message) {
    throw Failure{message};
}

const std::string* Arguments::option(const std::string& name) const {
    const std::string* found = nullptr;
    for (const auto& [n, v] : options) {
        if (n == name) {
            found = &v;
        }
    }
    return found;
}

bool Arguments::flag(const std::string& name) const {
    return std::find(flags.begin(), flags.end(), name) != flags.end();
}

void RequireCount(const Arguments& args, std::size_t count) {
    if (args.positional.size() != count) {
        Fail("Pogrešan broj argumenata za '" + args.positional[0] + "' (vidi movik-cli --help)");
    }
}

Statement ParseStatement(const std::string& name, bool importable) {
    for (const StatementFacts& facts : kStatementFacts) {
        if (name != facts.key) {
            continue;
        }
        if (importable && !facts.imports) {
            Fail("Uvoziti se mogu samo bilanca i racun, ne '" + name + "'");
        }
        return facts.statement;
    }
    Fail("Nepoznat izvještaj: '" + name + "' (bilanca, racun, cfind, cffree, pokazatelji)");
}

void OpenAsWindow(Workspace& ws, const std::string& path) {
    // The stored values are shown as read; a share count that differs from the empty field's 0
    // runs the refresh cycle (the workspace does that).
    if (const OpenOutcome opened = ws.OpenDocument(path); !opened) {
        Fail(opened.message());
    }
}

void SaveTo(Workspace& ws, const std::string& path) {
    const auto writer = MakeSystemFileWriter();
    if (const Result saved = ws.SaveDocumentAs(path, *writer); !saved) {
        Fail(saved.message());
    }
}

}  // namespace movik::cli
