#pragma once
// The program's command line: an optional document to open at start-up, or a request for help.

#include <QString>
#include <QStringList>

namespace movik {

struct CommandLine {
    bool help = false;     // -h or --help: print the usage and start nothing
    QString documentPath;  // the document to open; empty for a new document
};

// Reads arguments as QCoreApplication::arguments() gives them (the program first). The first
// argument is the document; "--" before it lets a document's name begin with "-".
CommandLine ParseCommandLine(const QStringList& arguments);

// The usage text that --help prints.
QString UsageText();

}  // namespace movik
