// movik-cli form: official annual forms (GFI-POD) into documents, one with -o or many into a
// folder with --dir, each with its check and reconciliation printed. A failed form does not stop
// the others; the exit code is 1 when any failed.

#include <sys/stat.h>

#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <set>

#include "cli/Command.h"
#include "document/FileIO.h"
#include "intake/OfficialForm.h"
#include "model/Utf8.h"
#include "regional/Regional.h"

namespace movik::cli {

namespace {

// A file name from the company and the period's year: characters a file name cannot hold become
// "_".
std::string DocumentName(const OfficialForm& form) {
    std::string name;
    for (const char c : form.company) {
        const auto u = static_cast<unsigned char>(c);
        name += (u < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' ||
                 c == '"' || c == '<' || c == '>' || c == '|')
                    ? '_'
                    : c;
    }
    while (!name.empty() && name.back() == ' ') {
        name.pop_back();
    }
    while (!name.empty() && (name.front() == ' ' || name.front() == '.')) {
        name.erase(0, 1);
    }
    if (name.empty()) {
        name = "obrazac";
    }
    // A file name holds 255 bytes; a long name (up to 255 characters, two bytes each where they
    // are not ASCII) is cut at a character to leave room for the year.
    return Utf8LeftBytes(name, 200) + " " + std::to_string(form.businessYear) + ".mvk";
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// One form: read, checked, reconciled, saved. The failure's message, or "" when written.
std::string ImportOneForm(const std::string& formPath, const std::optional<std::string>& out,
                          const std::optional<std::string>& dir, bool force, bool acceptDifferences,
                          std::set<std::string>& written, Workspace& ws) {
    const OfficialForm form = ReadOfficialFormFile(formPath, LocalYear());
    if (!form.ok) {
        return form.error;
    }
    ApplyOfficialForm(form, ws);
    std::cout << FormReport(form, Reconcile(form, ws.document()), ws.settings());
    if (!form.differences.empty() && !acceptDifferences) {
        return "Obrazac se ne slaže sam sa sobom (" + DifferencesText(form.differences.size()) +
               "); dokument nije zapisan (--accept-differences ga ipak zapisuje)";
    }
    std::string target = out ? *out : *dir + "/" + DocumentName(form);
    if (written.count(target) != 0) {
        return "Dokument " + target + " već je zapisan iz drugog obrasca u ovom pokretanju";
    }
    if (!force && Exists(target)) {
        return "Datoteka " + target + " već postoji (--force je zamjenjuje)";
    }
    DocumentLock lock;
    if (std::string held = LockForWriting(lock, target); !held.empty()) {
        return held;
    }
    const auto writer = MakeSystemFileWriter();
    if (const Result saved = ws.SaveDocumentAs(target, *writer); !saved) {
        return saved.message();
    }
    written.insert(target);
    std::cout << "Zapisano: " << target << "\n";
    return "";
}

// The same, with running out of memory a refusal of this form like any other.
std::string ImportOne(const std::string& formPath, const std::optional<std::string>& out,
                      const std::optional<std::string>& dir, bool force, bool acceptDifferences,
                      std::set<std::string>& written, Workspace& ws) {
    try {
        return ImportOneForm(formPath, out, dir, force, acceptDifferences, written, ws);
    } catch (const std::bad_alloc&) {
        return "Nedovoljno memorije za uvoz obrasca";
    }
}

}  // namespace

int RunForm(const Arguments& args, Workspace& ws) {
    const std::vector<std::string> forms(args.positional.begin() + 1, args.positional.end());
    const std::string* out = args.option("-o");
    const std::string* dir = args.option("--dir");
    if (forms.empty()) {
        Fail("Naredbi 'form' nedostaje obrazac (vidi movik-cli --help)");
    }
    if ((out == nullptr) == (dir == nullptr)) {
        Fail("Naredba 'form' treba -o IZLAZ.mvk (jedan obrazac) ili --dir MAPA (više obrazaca)");
    }
    if (out != nullptr && forms.size() != 1) {
        Fail("S -o se uvozi jedan obrazac; za više obrazaca navedite --dir MAPA");
    }
    if (dir != nullptr && !std::filesystem::is_directory(*dir)) {
        Fail("Mapa " + *dir + " ne postoji");
    }
    std::set<std::string> written;
    int failed = 0;
    for (const std::string& f : forms) {
        if (forms.size() > 1) {
            std::cout << "== " << f << "\n";
        }
        const std::string failure =
            ImportOne(f, out != nullptr ? std::optional<std::string>(*out) : std::nullopt,
                      dir != nullptr ? std::optional<std::string>(*dir) : std::nullopt,
                      args.flag("--force"), args.flag("--accept-differences"), written, ws);
        std::cout.flush();
        if (!failure.empty()) {
            ++failed;
            std::cerr << OneLine(f + ": " + failure) << "\n";
        }
        if (forms.size() > 1) {
            std::cout << "\n";
        }
    }
    return failed == 0 ? 0 : 1;
}

}  // namespace movik::cli
