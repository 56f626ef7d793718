#include "cli/Command.h"

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cstdio>
#include <iostream>

#include "model/StatementFacts.h"
#include "regional/Regional.h"

namespace movik::cli {

void Fail(const std::string& message) {
    throw Failure{message};
}

RegionalSettings SettingsOf(const std::optional<std::string>& localeName) {
    if (!localeName) {
        return SystemRegional();
    }
    const std::optional<RegionalSettings> named = RegionalFromLocaleName(*localeName);
    if (!named) {
        Fail("Nepoznata lokalizacija: " + *localeName);
    }
    return *named;
}

StreamOutput::StreamOutput(const std::optional<std::string>& path) {
    if (!path || *path == "-") {
        return;
    }
    file_.emplace();
    if (const Result opened = file_->Open(*path); !opened) {
        Fail(opened.message());
    }
    buffer_.reserve(kBufferSize);
}

void StreamOutput::Write(std::string_view bytes) {
    if (!file_) {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!std::cout) {
            Fail("Pisanje na standardni izlaz nije uspjelo");
        }
        return;
    }
    buffer_ += bytes;
    if (buffer_.size() >= kBufferSize) {
        Drain();
    }
}

void StreamOutput::Commit() {
    if (!file_) {
        std::cout.flush();
        if (!std::cout) {
            Fail("Pisanje na standardni izlaz nije uspjelo");
        }
        return;
    }
    Drain();
    if (const Result committed = file_->Commit(); !committed) {
        Fail(committed.message());
    }
}

void StreamOutput::Drain() {
    if (const Result written = file_->Append(buffer_.data(), buffer_.size()); !written) {
        Fail(written.message());
    }
    buffer_.clear();
}

std::string OneLine(std::string message) {
    for (char& c : message) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') {
            c = '?';
        }
    }
    return message;
}

OffscreenArguments::OffscreenArguments() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "movik-cli: %s\n", qPrintable(text));
        }
    });
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

std::string LockForWriting(DocumentLock& lock, const std::string& path) {
    if (lock.Take(path) != DocumentLock::Outcome::HeldByOther) {
        return "";
    }
    return HeldDocumentMessage(path, lock.holder()) +
           "; zatvorite ga ondje ili ga zapišite pod drugim imenom";
}

void SaveTo(Workspace& ws, const std::string& path) {
    DocumentLock lock;
    if (const std::string held = LockForWriting(lock, path); !held.empty()) {
        Fail(held);
    }
    const auto writer = MakeSystemFileWriter();
    if (const Result saved = ws.SaveDocumentAs(path, *writer); !saved) {
        Fail(saved.message());
    }
}

}  // namespace movik::cli
