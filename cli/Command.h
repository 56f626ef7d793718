#pragma once
// The interface of a movik-cli command. Every command is one entry of the table in main.cpp
// (name, its usage lines, the options it takes, the function that runs it) and one file
// (cli/NewCommand.cpp, cli/ExportCommand.cpp, ...) that defines that function, declared below.
// main.cpp parses the arguments, checks them against the entry, builds the workspace under the
// chosen regional settings and calls the function; the function returns the exit code or calls
// Fail, which main reports as one line on standard error with exit code 2.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/DocumentLock.h"
#include "document/FileIO.h"
#include "document/Workspace.h"
#include "model/Statements.h"

namespace movik::cli {

// A failure of the running command: its one-line message.
struct Failure {
    std::string message;
};

[[noreturn]] void Fail(const std::string& message);

// The command line after the program's own options (--locale, --help) are taken out.
struct Arguments {
    std::vector<std::string> positional;  // positional[0] is the command's name
    std::vector<std::string> flags;       // options without a value ("--force")
    std::vector<std::pair<std::string, std::string>> options;  // name, value
    std::optional<std::string> locale;  // --locale as given; nullopt for the system's

    // The value of the last option name given; nullptr when not given.
    const std::string* option(const std::string& name) const;
    bool flag(const std::string& name) const;
};

using CommandFunction = int (*)(const Arguments& args, Workspace& ws);
// A command over many documents that reads its own arguments (everything but its name, --locale
// included) and reports its own errors; returns the exit code.
using WholeCommandFunction = int (*)(int argc, char** argv);

struct Command {
    const char* name;
    const char* usage;  // its lines in --help, each starting "  movik-cli " and ending "\n"
    std::vector<std::string> options;  // options that take a value ("-o", "--report", ...)
    std::vector<std::string> flags;    // options without a value ("--force")
    CommandFunction run;
    WholeCommandFunction runWhole = nullptr;  // instead of run, for a command of its own parsing
};

// ---- Helpers the commands share ----------------------------------------------------------------

// Fails unless the command got exactly count positional arguments (its name included).
void RequireCount(const Arguments& args, std::size_t count);

// The statement named by its key (bilanca, racun, cfind, cffree, pokazatelji); with importable,
// only one that imports. Fails on any other name.
Statement ParseStatement(const std::string& name, bool importable);

// Opens a document as a freshly started window does; fails with the file layer's message.
void OpenAsWindow(Workspace& ws, const std::string& path);

// Takes the lock of the document at path for the time of a write: "" when it may be written
// (also where no lock can be made), else why not (a window has it open).
std::string LockForWriting(DocumentLock& lock, const std::string& path);

// Saves the workspace's document to path, unless a window has it open; fails with the reason.
void SaveTo(Workspace& ws, const std::string& path);

// The regional settings: those of a locale the user named with --locale (an unknown name fails),
// else the system's, read as the window reads them.
RegionalSettings SettingsOf(const std::optional<std::string>& localeName);

// The message as one line of standard error: control characters (a line break in a file name)
// show as "?".
std::string OneLine(std::string message);

// The command line of a Qt application on the offscreen platform, which needs no display
// ("-platform offscreen" wins over QT_QPA_PLATFORM). Making one also keeps Qt's own notes (a
// missing runtime folder and the like) off standard error, which carries only our one-line
// errors. It must outlive the application built from argc and argv.
struct OffscreenArguments {
    OffscreenArguments();
    int argc = 3;
    char name[10] = "movik-cli";
    char platformOption[10] = "-platform";
    char platform[10] = "offscreen";
    char* argv[4] = {name, platformOption, platform, nullptr};
};

// Where a command's lines go as they are made: standard output (no path, or "-"), or through the
// safe writer to a file that replaces the old one only when complete (a killed run leaves a
// temporary file the next run to the same path removes). Failures go through Fail.
class StreamOutput {
  public:
    explicit StreamOutput(const std::optional<std::string>& path);
    void Write(std::string_view bytes);
    void Commit();

  private:
    static constexpr std::size_t kBufferSize = 1 << 16;
    void Drain();

    std::optional<SafeFileWriter> file_;
    std::string buffer_;
};

// ---- The commands, one file each ----------------------------------------------------------------

int RunNew(const Arguments& args, Workspace& ws);       // NewCommand.cpp
int RunRecalc(const Arguments& args, Workspace& ws);    // RecalcCommand.cpp
int RunExport(const Arguments& args, Workspace& ws);    // ExportCommand.cpp
int RunImport(const Arguments& args, Workspace& ws);    // ImportCommand.cpp
int RunCheck(const Arguments& args, Workspace& ws);     // CheckCommand.cpp
int RunPdf(const Arguments& args, Workspace& ws);       // PdfCommand.cpp
int RunChart(const Arguments& args, Workspace& ws);     // ChartCommand.cpp
int RunConvert(const Arguments& args, Workspace& ws);   // ConvertCommand.cpp
int RunXlsx(const Arguments& args, Workspace& ws);      // XlsxCommand.cpp
int RunForm(const Arguments& args, Workspace& ws);      // FormCommand.cpp
int RunSummary(int argc, char** argv);                  // SummaryCommand.cpp
int RunStanding(const Arguments& args, Workspace& ws);  // StandingCommand.cpp

}  // namespace movik::cli
