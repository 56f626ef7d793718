// movik-cli new: a new document with the general data given, as the window's fields set them.

#include <sys/stat.h>

#include <cstdio>

#include "cli/Command.h"
#include "document/Cp1250.h"
#include "model/Dates.h"
#include "model/Utf8.h"

namespace movik::cli {

namespace {

// YYYY-MM-DD as a day number; the date must exist.
double ParseDate(const std::string& text) {
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3 ||
        text[4] != '-' || text[7] != '-') {
        Fail("Neispravan datum '" + text + "' (očekuje se GGGG-MM-DD)");
    }
    const double day = DayNumber(y, m, d);
    const CivilDate back = CivilFromDayNumber(day);
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
    if (!IsCp1250Text(text)) {
        Fail(std::string(what) + " sadrži znak koji se ne može zapisati u datoteku (Windows-1250)");
    }
    if (Utf8Length(text) > 255) {
        Fail(std::string(what) + " je dulji od 255 znakova");
    }
    return text;
}

}  // namespace

int RunNew(const Arguments& args, Workspace& ws) {
    RequireCount(args, 2);
    const std::string& target = args.positional[1];
    struct stat info {};
    if (!args.flag("--force") && ::lstat(target.c_str(), &info) == 0) {
        Fail("Datoteka " + target + " već postoji (--force je zamjenjuje)");
    }
    // The user's operations on a new document, as the window's fields forward them.
    ws.NewDocument();
    if (const auto* v = args.option("--company")) {
        ws.SetCompany(CheckedText(*v, "Naziv poduzeća"));
    }
    if (const auto* v = args.option("--seat")) {
        ws.SetSeat(CheckedText(*v, "Sjedište"));
    }
    double from = ws.fields().DatumOd;
    double to = ws.fields().DatumDo;
    if (const auto* v = args.option("--from")) {
        from = ParseDate(*v);
    }
    if (const auto* v = args.option("--to")) {
        to = ParseDate(*v);
    }
    if (from != 0 && to != 0 && to < from) {
        // Say which date the user did not give, or the message blames a date nobody typed.
        std::string defaulted;
        if (args.option("--to") == nullptr) {
            defaulted = " (zadani završetak " + FormatShortDate(to, kCroatianDatePattern) + ")";
        } else if (args.option("--from") == nullptr) {
            defaulted = " (zadani početak " + FormatShortDate(from, kCroatianDatePattern) + ")";
        }
        Fail("Završetak razdoblja ne može biti prije njegova početka" + defaulted);
    }
    ws.SetPeriod(from, to);
    ws.ConfirmPeriod();
    if (const auto* v = args.option("--shares")) {
        ws.SetShareCount(ParseShares(*v));
    }
    if (const auto* v = args.option("--currency")) {
        const std::optional<Valuta> currency = CurrencyFromCode(*v);
        if (!currency) {
            Fail("Nepoznata valuta '" + *v + "' (EUR ili HRK)");
        }
        ws.SetCurrency(*currency);
    }
    ws.ShowGeneralData();
    SaveTo(ws, target);
    return 0;
}

}  // namespace movik::cli
