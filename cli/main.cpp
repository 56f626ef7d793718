// movik-cli: the headless tool. It drives the same Workspace as the window, so a document that
// passes through it gets exactly the texts, figures and bytes the window would give. Each command
// is one line of the table below and one file (cli/Command.h describes the interface).

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "document/Workspace.h"
#include "regional/Regional.h"

namespace {

using movik::cli::Arguments;
using movik::cli::Command;
using movik::cli::Fail;

// The commands, in the order --help lists them.
const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"new",
         "  movik-cli new DOKUMENT.mvk [--company TEKST] [--seat TEKST]\n"
         "                        [--from GGGG-MM-DD] [--to GGGG-MM-DD] [--shares N]\n"
         "                        [--currency EUR|HRK] [--force]\n"
         "                        (valuta zadano po razdoblju: završetak od 1. 1. 2023.\n"
         "                        nadalje EUR, prije HRK)\n",
         {"--company", "--seat", "--from", "--to", "--shares", "--currency"},
         {"--force"},
         movik::cli::RunNew},
        {"recalc",
         "  movik-cli recalc DOKUMENT.mvk [-o IZLAZ.mvk]\n",
         {"-o"},
         {},
         movik::cli::RunRecalc},
        {"export",
         "  movik-cli export DOKUMENT.mvk IZVJESTAJ [-o IZLAZ.csv]\n"
         "                        (-o - piše na standardni izlaz)\n",
         {"-o"},
         {},
         movik::cli::RunExport},
        {"import",
         "  movik-cli import DOKUMENT.mvk IZVJESTAJ ULAZ.csv [-o IZLAZ.mvk]\n",
         {"-o"},
         {},
         movik::cli::RunImport},
        {"check",
         "  movik-cli check DOKUMENT.mvk\n"
         "                        (ispisuje valutu dokumenta i upozorenje, ako ga ima)\n",
         {},
         {},
         movik::cli::RunCheck},
        {"pdf",
         "  movik-cli pdf DOKUMENT.mvk -o IZLAZ.pdf [--report IZVJESTAJ|bonitet|sve]\n"
         "                        [--unit TEKST]\n"
         "                        (stranice kao pri ispisu; zadano: sva izvješća, jedinica\n"
         "                        po valuti dokumenta, 'eurima i centima' ili 'kunama i\n"
         "                        lipama'; bonitet: ocjena boniteta; -o - piše na standardni\n"
         "                        izlaz)\n",
         {"-o", "--report", "--unit"},
         {},
         movik::cli::RunPdf},
        {"chart",
         "  movik-cli chart DOKUMENT.mvk --kind structure|income -o IZLAZ.png|IZLAZ.svg\n"
         "                        [--width PX --height PX] [--unit TEKST]  (format po\n"
         "                        nastavku imena; jedinica iznosa na osi, zadano po valuti\n"
         "                        dokumenta)\n",
         {"--kind", "-o", "--width", "--height", "--unit"},
         {},
         movik::cli::RunChart},
        {"convert",
         "  movik-cli convert DOKUMENT.mvk --to-eur [-o IZLAZ.mvk]\n"
         "                        (iznosi / 7,53450, na cente; dokument u eurima se ne\n"
         "                        preračunava ponovo: izlazni kod 2)\n",
         {"-o"},
         {"--to-eur"},
         movik::cli::RunConvert},
        {"xlsx",
         "  movik-cli xlsx DOKUMENT.mvk -o IZLAZ.xlsx [--unit TEKST]\n"
         "                        (jedinica zadano po valuti)\n",
         {"-o", "--unit"},
         {},
         movik::cli::RunXlsx},
        {"form",
         "  movik-cli form OBRAZAC.xlsx|OBRAZAC.xls -o IZLAZ.mvk [--force] [--accept-differences]\n"
         "  movik-cli form OBRAZAC... --dir MAPA [--force] [--accept-differences]\n"
         "                        (službeni godišnji obrazac GFI-POD u novi dokument; ispisuje\n"
         "                        provjeru zbrojeva obrasca i usklađenje ukupnih iznosa; s --dir\n"
         "                        dokument dobiva ime \"PODUZEĆE GODINA.mvk\"; obrazac koji se ne\n"
         "                        slaže sam sa sobom zapisuje se samo uz --accept-differences;\n"
         "                        izlazni kod 1 ako neki obrazac nije uvezen)\n",
         {"-o", "--dir"},
         {"--force", "--accept-differences"},
         movik::cli::RunForm},
        {"summary",
         "  movik-cli summary PUTANJA... [-o IZLAZ] [--format csv|jsonl|txt|pdf|xlsx]\n"
         "                        [-j N] [--files-from DATOTEKA|-] [--currency EUR]\n"
         "                        (sažetak svakog dokumenta ili obrasca GFI-POD, redak po\n"
         "                        dokumentu redom putanja; pdf i xlsx: tablica usporedbe\n"
         "                        kao u prozoru, uz -o IZLAZ; mapa: sve datoteke *.mvk,\n"
         "                        *.xlsx i *.xls u njoj i podmapama; --files-from čita\n"
         "                        putanje redak po redak, - sa standardnog ulaza; zadano:\n"
         "                        txt na standardni izlaz, -j broj jezgri; svaki redak\n"
         "                        navodi valutu dokumenta; --currency EUR preračunava iznose\n"
         "                        dokumenata u kunama u eure kao 'convert' i označava ih;\n"
         "                        svaki redak nosi i ocjene boniteta (Altman, Springate,\n"
         "                        Kralicek, DuPont); izlazni kod 1 ako neka datoteka nije\n"
         "                        pročitana)\n",
         {},
         {},
         nullptr,
         movik::cli::RunSummary},
        {"standing",
         "  movik-cli standing SAŽETAK.jsonl... [--format txt|csv|jsonl|xlsx|pdf] [-o IZLAZ]\n"
         "                        (položaj u skupini iz redaka 'summary --format jsonl', - sa\n"
         "                        standardnog ulaza: skupina su dokumenti s krajem razdoblja u\n"
         "                        istoj godini, u jednoj valuti; po pokazatelju Q1, medijan i Q3\n"
         "                        skupine te percentilni rang i četvrtina dokumenta, 1 najbolja;\n"
         "                        skupina manja od 5 dokumenata nema položaja; xlsx i pdf uz -o)\n",
         {"-o", "--format"},
         {},
         movik::cli::RunStanding},
    };
    return commands;
}

constexpr const char* kUsageEnd =
    "  movik-cli --help\n"
    "\n"
    "IZVJESTAJ: bilanca, racun, cfind, cffree, pokazatelji (import: bilanca, racun).\n"
    "'new' ne piše preko postojeće datoteke bez --force. Naredba koja ne uspije ne\n"
    "mijenja postojeću datoteku. Dokument otvoren u prozoru Movika naredbe ne\n"
    "pišu (pogreška, izlazni kod 2).\n"
    "Opcija --locale NAZIV (hr_HR, en_US, ...) bira separatore i kratki format\n"
    "datuma; bez nje brojevi slijede LC_NUMERIC, a datumi LC_TIME (LC_ALL vrijedi za\n"
    "oboje, LANG kad njih nema). Bez regionalnih postavki\n"
    "(C ili POSIX) vrijede hrvatske: 1.234,56 i 31. 12. 2024.\n"
    "Izlazni kod: 0 uspjeh, 1 'check' je našao upozorenje, 2 pogreška.\n";

std::string Usage() {
    std::string usage = "Uporaba:\n";
    for (const Command& command : Commands()) {
        usage += command.usage;
    }
    return usage + kUsageEnd;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Every option that takes a value, in any command or of the program itself.
bool TakesValue(const std::string& name) {
    if (name == "--locale") {
        return true;
    }
    return std::any_of(Commands().begin(), Commands().end(),
                       [&name](const Command& c) { return Contains(c.options, name); });
}

bool IsFlag(const std::string& name) {
    return std::any_of(Commands().begin(), Commands().end(),
                       [&name](const Command& c) { return Contains(c.flags, name); });
}

Arguments ParseArguments(int argc, char** argv, std::optional<std::string>& localeName,
                         bool& help) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            help = true;
        } else if (IsFlag(a)) {
            args.flags.push_back(a);
        } else if (TakesValue(a)) {
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

// Fails on an option (with or without a value) that the command does not take.
void RequireOptions(const Arguments& args, const Command& command) {
    for (const auto& [name, value] : args.options) {
        if (!Contains(command.options, name)) {
            Fail("Opcija " + name + " ne pripada ovoj naredbi");
        }
    }
    for (const std::string& name : args.flags) {
        if (!Contains(command.flags, name)) {
            Fail("Opcija " + name + " ne pripada ovoj naredbi");
        }
    }
}

// A command that reads its own arguments gets all of them but its name (unless --help asks for
// the usage of every command); nullopt when the command is another one.
std::optional<int> RunWhole(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            return std::nullopt;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--locale") {
            ++i;
        } else if (!a.empty() && a[0] != '-') {
            for (const Command& command : Commands()) {
                if (a == command.name && command.runWhole != nullptr) {
                    std::vector<char*> rest(argv + 1, argv + argc);
                    rest.erase(rest.begin() + (i - 1));
                    return command.runWhole(static_cast<int>(rest.size()), rest.data());
                }
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

int Run(int argc, char** argv) {
    if (const std::optional<int> code = RunWhole(argc, argv)) {
        return *code;
    }
    std::optional<std::string> localeName;  // set by --locale
    bool help = false;
    Arguments args = ParseArguments(argc, argv, localeName, help);
    args.locale = localeName;
    if (help) {
        std::cout << Usage();
        return 0;
    }
    if (args.positional.empty()) {
        Fail("Nedostaje naredba (vidi movik-cli --help)");
    }
    const std::string& name = args.positional[0];
    const auto command = std::find_if(Commands().begin(), Commands().end(),
                                      [&name](const Command& c) { return name == c.name; });
    if (command == Commands().end()) {
        Fail("Nepoznata naredba: " + name + " (vidi movik-cli --help)");
    }
    RequireOptions(args, *command);
    movik::Workspace ws(movik::cli::SettingsOf(localeName), movik::LocalYear());
    return command->run(args, ws);
}

// An error is one line: control characters (a line break in a file name) show as "?".
void ReportError(const std::string& message) {
    std::cerr << "movik-cli: " << movik::cli::OneLine(message) << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const movik::cli::Failure& f) {
        ReportError(f.message);
    } catch (const std::exception& e) {
        ReportError(e.what());
    }
    return 2;
}
