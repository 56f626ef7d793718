#include "ui/CommandLine.h"

namespace movik {

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine result;
    if (arguments.size() < 2) {
        return result;
    }
    const QString& first = arguments.at(1);
    if (first == QStringLiteral("-h") || first == QStringLiteral("--help")) {
        result.help = true;
    } else if (first == QStringLiteral("--")) {
        if (arguments.size() > 2) {
            result.documentPath = arguments.at(2);
        }
    } else {
        result.documentPath = first;
    }
    return result;
}

QString UsageText() {
    return QStringLiteral(
        "Uporaba: movik [DOKUMENT.mvk]\n"
        "\n"
        "Pokreće Movik s novim dokumentom ili otvara DOKUMENT.mvk. Dokument koji ne postoji\n"
        "zanemaruje se i ostaje novi dokument.\n"
        "\n"
        "  -h, --help   ispisuje ovu pomoć\n"
        "  --           ono što slijedi je dokument, i kad počinje s \"-\"\n"
        "\n"
        "Brojevi se pišu prema LC_NUMERIC, datumi prema LC_TIME (LC_ALL vrijedi za oboje, LANG\n"
        "kad njih nema). Bez regionalnih postavki (C ili POSIX) vrijede hrvatske: 1.234,56 i\n"
        "31. 12. 2024.\n");
}

}  // namespace movik
