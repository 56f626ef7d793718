// movik-cli: the headless tool. It drives the same Workspace as the window, so a document that
// passes through it gets exactly the texts, figures and bytes the window would give.

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/PdfCommand.h"
#include "cli/SummaryCommand.h"
#include "document/Cp1250.h"
#include "document/Csv.h"
#include "document/DocumentFile.h"
#include "document/Workspace.h"
#include "model/Dates.h"
#include "model/StatementFacts.h"
#include "regional/Regional.h"

namespace {

using movik::Statement;
using movik::Workspace;

constexpr const char* kUsage =
    "Uporaba:\n"
    "  movik-cli new OUT.mvk [--company TEKST] [--seat TEKST] [--from GGGG-MM-DD]\n"
    "                        [--to GGGG-MM-DD] [--shares N] [--force]\n"
    "  movik-cli recalc FILE.mvk [-o OUT.mvk]\n"
    "  movik-cli export FILE.mvk IZVJESTAJ [-o OUT.csv]   (-o - piše na standardni izlaz)\n"
    "  movik-cli import FILE.mvk IZVJESTAJ IN.csv [-o OUT.mvk]\n"
    "  movik-cli check FILE.mvk\n"
    "  movik-cli pdf FILE.mvk -o OUT.pdf [--report IZVJESTAJ|sve] [--unit TEKST]\n"
    "                        (stranice kao pri ispisu; zadano: sva izvješća, jedinica\n"
    "                        'kunama i lipama'; -o - piše na standardni izlaz)\n"
    "  movik-cli summary PUT... [-o OUT] [--format csv|jsonl|txt] [-j N]\n"
    "                        [--files-from DATOTEKA|-]\n"
    "                        (sažetak svakog dokumenta, redak po dokumentu redom putova;\n"
    "                        mapa: sve datoteke *.mvk u njoj i podmapama, po nazivu;\n"
    "                        --files-from čita putove redak po redak, - sa standardnog\n"
    "                        ulaza; zadano: txt na standardni izlaz, -j broj jezgri;\n"
    "                        izlazni kod 1 ako neka datoteka nije pročitana)\n"
    "  movik-cli --help\n"
    "\n"
    "IZVJESTAJ: bilanca, racun, cfind, cffree, pokazatelji (import: bilanca, racun).\n"
    "'new' ne piše preko postojeće datoteke bez --force. Naredba koja ne uspije ne mijenja\n"
    "postojeću datoteku.\n"
    "Opcija --locale NAZIV (hr_HR, en_US, C, ...) bira separatore i kratki format datuma;\n"
    "bez nje vrijede postavke sustava (LC_ALL, LC_NUMERIC, LANG).\n"
    "Izlazni kod: 0 uspjeh, 1 'check' je našao upozorenje, 2 pogreška.\n";

// Any failure: one line on standard error and exit code 2.
struct Failure {
    std::string message;
};

[[noreturn]] void Fail(const std::string& message) {
    throw Failure{message};
}

// The locale named by the environment, as the C library would choose it for numbers.
std::string SystemLocaleName() {
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(var);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "C";
}

// The settings of a locale. A name Qt does not know is an error when the user gave it
// (--locale); the system's own name falls back to the C settings, as the window's QLocale does.
movik::RegionalSettings SettingsOf(const std::string& localeName, bool givenByUser) {
    if (auto settings = movik::RegionalFromLocaleName(localeName)) {
        return *settings;
    }
    if (givenByUser) {
        Fail("Nepoznata lokalizacija: " + localeName);
    }
    return *movik::RegionalFromLocaleName("C");
}

int CurrentYear() {
    const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    return static_cast<int>(std::chrono::year_month_day(today).year());
}

std::optional<Statement> StatementNamed(const std::string& name) {
    for (const movik::StatementFacts& facts : movik::kStatementFacts) {
        if (name == facts.key) {
            return facts.statement;
        }
    }
    return std::nullopt;
}

Statement ParseStatement(const std::string& name, bool importable) {
    const auto s = StatementNamed(name);
    if (!s) {
        Fail("Nepoznat izvještaj: '" + name + "' (bilanca, racun, cfind, cffree, pokazatelji)");
    }
    if (importable && !movik::FactsOf(*s).imports) {
        Fail("Uvoziti se mogu samo bilanca i racun, ne '" + name + "'");
    }
    return *s;
}

// YYYY-MM-DD as a day number; the date must exist.
double ParseDate(const std::string& text) {
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3 ||
        text[4] != '-' || text[7] != '-') {
        Fail("Neispravan datum '" + text + "' (očekuje se GGGG-MM-DD)");
    }
    const double day = movik::DayNumber(y, m, d);
    const movik::CivilDate back = movik::CivilFromDayNumber(day);
    if (y < 1 || back.year != y || back.month != m || back.day != d) {
        Fail("Neispravan datum '" + text + "'");
    }
    return day;
}

double ParseShares(const std::string& text) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        Fail("Neispravan broj dionica '" + text + "' (cijeli broj od 0 do 9999999999)");
    }
    return static_cast<double>(std::stoll(text));
}

std::string CheckedText(const std::string& text, const char* what) {
    if (!movik::IsCp1250Text(text)) {
        Fail(std::string(what) + " sadrži znak koji se ne može zapisati u datoteku (Windows-1250)");
    }
    if (movik::Utf8Length(text) > 255) {
        Fail(std::string(what) + " je dulji od 255 znakova");
    }
    return text;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    auto writer = movik::MakeSystemFileWriter();
    const movik::Result written =
        writer->WriteWhole(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    if (!written) {
        Fail(written.message());
    }
}

// Opens a document as a freshly started window does: the stored values are shown as read, and a
// share count that differs from the empty field's 0 runs the refresh cycle (Workspace does that).
void OpenAsWindow(Workspace& ws, const std::string& path) {
    if (const movik::OpenOutcome opened = ws.OpenDocument(path); !opened) {
        Fail(opened.message());
    }
}

void SaveTo(Workspace& ws, const std::string& path) {
    const auto writer = movik::MakeSystemFileWriter();
    if (const movik::Result saved = ws.SaveDocumentAs(path, *writer); !saved) {
        Fail(saved.message());
    }
}

struct Arguments {
    std::vector<std::string> positional;
    bool force = false;
    std::vector<std::pair<std::string, std::string>> options;  // name, value

    const std::string* option(const std::string& name) const {
        const std::string* found = nullptr;
        for (const auto& [n, v] : options) {
            if (n == name)
                found = &v;
        }
        return found;
    }
};

Arguments ParseArguments(int argc, char** argv, std::optional<std::string>& localeName,
                         bool& help) {
    static const std::vector<std::string> withValue = {"--company", "--seat",   "--from",
                                                       "--to",      "--shares", "--locale",
                                                       "-o",        "--report", "--unit"};
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            help = true;
        } else if (a == "--force") {
            args.force = true;
        } else if (std::find(withValue.begin(), withValue.end(), a) != withValue.end()) {
            if (i + 1 >= argc) {
                Fail("Opciji " + a + " nedostaje vrijednost");
            }
            if (a == "--locale") {
                localeName = argv[++i];
            } else {
                args.options.emplace_back(a, argv[++i]);
            }
        } else if (a.size() > 1 && a[0] == '-') {
            Fail("Nepoznata opcija: " + a);
        } else {
            args.positional.push_back(a);
        }
    }
    return args;
}

void RequireOptions(const Arguments& args, std::initializer_list<const char*> allowed) {
    for (const auto& [name, value] : args.options) {
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
            Fail("Opcija " + name + " ne pripada ovoj naredbi");
        }
    }
}

void RequireCount(const Arguments& args, std::size_t count) {
    if (args.positional.size() != count) {
        Fail("Pogrešan broj argumenata za '" + args.positional[0] + "' (vidi movik-cli --help)");
    }
}

int CommandNew(const Arguments& args, Workspace& ws) {
    RequireCount(args, 2);
    RequireOptions(args, {"--company", "--seat", "--from", "--to", "--shares"});
    const std::string& target = args.positional[1];
    struct stat info {};
    if (!args.force && ::lstat(target.c_str(), &info) == 0) {
        Fail("Datoteka " + target + " već postoji (--force je zamjenjuje)");
    }
    // The user's operations on a new document, as the window's fields forward them.
    ws.NewDocument();
    if (const auto* v = args.option("--company"))
        ws.SetCompany(CheckedText(*v, "Naziv poduzeća"));
    if (const auto* v = args.option("--seat"))
        ws.SetSeat(CheckedText(*v, "Sjedište"));
    double from = ws.fields().DatumOd;
    double to = ws.fields().DatumDo;
    if (const auto* v = args.option("--from"))
        from = ParseDate(*v);
    if (const auto* v = args.option("--to"))
        to = ParseDate(*v);
    if (from != 0 && to != 0 && to < from) {
        // Say which date the user did not give, or the message blames a date nobody typed.
        std::string defaulted;
        if (args.option("--to") == nullptr) {
            defaulted = " (zadani završetak " + movik::FormatShortDate(to, "dd.MM.yyyy.") + ")";
        } else if (args.option("--from") == nullptr) {
            defaulted = " (zadani početak " + movik::FormatShortDate(from, "dd.MM.yyyy.") + ")";
        }
        Fail("Završetak razdoblja ne može biti prije njegova početka" + defaulted);
    }
    ws.SetPeriod(from, to);
    ws.ConfirmPeriod();
    if (const auto* v = args.option("--shares"))
        ws.SetShareCount(ParseShares(*v));
    ws.ShowGeneralData();
    SaveTo(ws, args.positional[1]);
    return 0;
}

int CommandRecalc(const Arguments& args, Workspace& ws) {
    RequireCount(args, 2);
    RequireOptions(args, {"-o"});
    OpenAsWindow(ws, args.positional[1]);
    ws.RefreshCycle();
    const std::string* out = args.option("-o");
    SaveTo(ws, out ? *out : args.positional[1]);
    return 0;
}

int CommandExport(const Arguments& args, Workspace& ws) {
    RequireCount(args, 3);
    RequireOptions(args, {"-o"});
    const Statement s = ParseStatement(args.positional[2], false);
    OpenAsWindow(ws, args.positional[1]);
    const std::string bytes = ws.ExportCsv(s);
    const std::string* out = args.option("-o");
    if (out != nullptr && *out == "-") {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        if (!std::cout) {
            Fail("Pisanje na standardni izlaz nije uspjelo");
        }
    } else {
        WriteWholeFile(out ? *out : movik::DefaultCsvName(s), bytes);
    }
    return 0;
}

int CommandImport(const Arguments& args, Workspace& ws) {
    RequireCount(args, 4);
    RequireOptions(args, {"-o"});
    const Statement s = ParseStatement(args.positional[2], true);
    std::string bytes;
    if (const movik::Result read = movik::ReadImportFile(args.positional[3], s, bytes); !read) {
        Fail(read.message());
    }
    OpenAsWindow(ws, args.positional[1]);
    std::string note;
    if (const movik::Result imported = ws.ImportCsv(s, bytes, &note); !imported) {
        Fail(imported.message());
    }
    if (!note.empty()) {
        std::cerr << "movik-cli: " << note << '\n';
    }
    const std::string* out = args.option("-o");
    SaveTo(ws, out ? *out : args.positional[1]);
    return 0;
}

int CommandCheck(const Arguments& args, Workspace& ws) {
    RequireCount(args, 2);
    RequireOptions(args, {});
    OpenAsWindow(ws, args.positional[1]);
    if (ws.warning().empty()) {
        return 0;
    }
    std::cout << ws.warning() << '\n';
    return 1;
}

int CommandPdf(const Arguments& args, Workspace& ws) {
    RequireCount(args, 2);
    RequireOptions(args, {"-o", "--report", "--unit"});
    const std::string* out = args.option("-o");
    if (out == nullptr || out->empty()) {
        Fail("Naredbi 'pdf' nedostaje -o OUT.pdf");
    }
    const std::string* report = args.option("--report");
    const std::string which = report ? *report : "sve";
    if (const movik::Result known = movik::cli::CheckPdfReport(which); !known) {
        Fail(known.message());
    }
    const std::string* unit = args.option("--unit");
    OpenAsWindow(ws, args.positional[1]);
    if (const movik::Result written =
            movik::cli::WritePdf(ws, which, unit ? *unit : "kunama i lipama", *out);
        !written) {
        Fail(written.message());
    }
    return 0;
}

int Run(int argc, char** argv) {
    std::optional<std::string> localeName;  // set by --locale
    bool help = false;
    const Arguments args = ParseArguments(argc, argv, localeName, help);
    if (help) {
        std::cout << kUsage;
        return 0;
    }
    if (args.positional.empty()) {
        Fail("Nedostaje naredba (vidi movik-cli --help)");
    }
    Workspace ws(localeName ? SettingsOf(*localeName, true) : SettingsOf(SystemLocaleName(), false),
                 CurrentYear());
    const std::string& command = args.positional[0];
    if (command == "new")
        return CommandNew(args, ws);
    if (command == "recalc")
        return CommandRecalc(args, ws);
    if (command == "export")
        return CommandExport(args, ws);
    if (command == "import")
        return CommandImport(args, ws);
    if (command == "check")
        return CommandCheck(args, ws);
    if (command == "pdf")
        return CommandPdf(args, ws);
    Fail("Nepoznata naredba: " + command + " (vidi movik-cli --help)");
}

// An error is one line: control characters (a line break in a file name) show as "?".
void ReportError(std::string message) {
    for (char& c : message) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') {
            c = '?';
        }
    }
    std::cerr << "movik-cli: " << message << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    // "summary" takes its own options; everything but the command's name goes to it (--help
    // stays with the usage of every command).
    const bool help = std::any_of(argv + 1, argv + argc, [](const char* a) {
        return std::string(a) == "--help" || std::string(a) == "-h";
    });
    for (int i = 1; i < argc && !help; ++i) {
        const std::string a = argv[i];
        if (a == "--locale") {
            ++i;
        } else if (a.empty() || a[0] != '-') {
            if (a == "summary") {
                std::vector<char*> rest(argv + 1, argv + argc);
                rest.erase(rest.begin() + (i - 1));
                return movik::cli::RunSummary(static_cast<int>(rest.size()), rest.data());
            }
            break;
        }
    }
    try {
        return Run(argc, argv);
    } catch (const Failure& f) {
        ReportError(f.message);
    } catch (const std::exception& e) {
        ReportError(e.what());
    }
    return 2;
}
