// movik-cli standing: each document's standing in its group, from the JSON lines that
// movik-cli summary --format jsonl writes (one run or many, concatenated in any order).

#include <QByteArray>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "analysis/EuroConversion.h"
#include "analysis/StandingFormats.h"
#include "analysis/StandingTable.h"
#include "cli/Command.h"
#include "document/FileIO.h"
#include "model/Dates.h"
#include "model/NumberFormat.h"
#include "reports/ReportPaint.h"
#include "reports/StandingReport.h"

namespace movik::cli {

namespace {

// A day number of an ISO date "2024-12-31"; 0 for null or anything else.
double DayOf(const QJsonValue& v) {
    const QString text = v.toString();
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-') {
        return 0;
    }
    bool okYear = false;
    bool okMonth = false;
    bool okDay = false;
    const int year = text.left(4).toInt(&okYear);
    const int month = text.mid(5, 2).toInt(&okMonth);
    const int day = text.mid(8, 2).toInt(&okDay);
    if (!okYear || !okMonth || !okDay || month < 1 || month > 12 || day < 1 || day > 31) {
        return 0;
    }
    return DayNumber(year, month, day);
}

// One summary line as standing sees it; a line that is no summary fails with where it is.
StandingEntry EntryOf(const QByteArray& line, const std::string& where) {
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(line, &error);
    const QJsonObject o = json.object();
    if (error.error != QJsonParseError::NoError || !json.isObject() ||
        !o.value("file").isString()) {
        Fail(where + ": redak nije sažetak dokumenta (movik-cli summary --format jsonl)");
    }
    StandingEntry e;
    e.file = o.value("file").toString().toStdString();
    e.company = o.value("company").toString().toStdString();
    e.figures.values.assign(StandingMeasures().size(), kNoValue);
    if (!o.value("ok").toBool()) {
        return e;  // a file summary could not read: in no group
    }
    e.from = DayOf(o.value("from"));
    e.to = DayOf(o.value("to"));
    if (e.to != 0) {
        e.figures.year = CivilFromDayNumber(e.to).year;
    }
    const std::optional<Valuta> currency =
        CurrencyFromCode(o.value("currency").toString().toStdString());
    e.figures.currency = currency.value_or(PeriodCurrency(e.to));
    e.converted = o.value("converted").toBool();
    // The measures' keys made once: the object that holds each, and its id in it.
    // A dot in an id nests it further ("scores" -> "quicktest" -> "overall").
    static const std::vector<QStringList> keys = [] {
        std::vector<QStringList> list;
        for (const StandingMeasure& m : StandingMeasures()) {
            list.push_back(QString::fromStdString(m.jsonObject + "." + m.id).split(u'.'));
        }
        return list;
    }();
    for (std::size_t m = 0; m < keys.size(); ++m) {
        QJsonValue v = o;
        for (const QString& key : keys[m]) {
            v = v.toObject().value(key);
        }
        if (v.isDouble()) {
            e.figures.values[m] = v.toDouble();
        }
    }
    return e;
}

// Every line of the files named ("-" standard input); empty lines are skipped.
std::vector<StandingEntry> ReadSummaries(const std::vector<std::string>& paths) {
    std::vector<StandingEntry> entries;
    for (const std::string& path : paths) {
        std::ifstream file;
        if (path != "-") {
            file.open(path, std::ios::binary);
            if (!file) {
                Fail("Cannot open file " + path);
            }
        }
        std::istream& in = path == "-" ? std::cin : file;
        std::string line;
        for (long number = 1; std::getline(in, line); ++number) {
            if (line.find_first_not_of(" \t\r") == std::string::npos) {
                continue;
            }
            entries.push_back(EntryOf(QByteArray::fromRawData(line.data(), qsizetype(line.size())),
                                      path + ":" + std::to_string(number)));
        }
        if (in.bad()) {
            Fail("Cannot read file " + path);
        }
    }
    return entries;
}

// In one currency, as the comparison shows them: when euros and kunas mix, the kuna
// documents' money measures are divided by the fixed rate (a summary written with
// --currency EUR holds them in euros already).
void InOneCurrency(std::vector<StandingEntry>& entries) {
    bool euro = false;
    bool kuna = false;
    for (const StandingEntry& e : entries) {
        if (e.figures.year) {
            (e.figures.currency == Valuta::Eur ? euro : kuna) = true;
        }
    }
    if (!euro || !kuna) {
        return;
    }
    for (StandingEntry& e : entries) {
        if (e.figures.currency != Valuta::Hrk) {
            continue;
        }
        for (std::size_t m = 0; m < StandingMeasures().size(); ++m) {
            if (StandingMeasures()[m].money && HasValue(e.figures.values[m])) {
                e.figures.values[m] = RoundedAsShown(e.figures.values[m] / kKunaPerEuro,
                                                     StandingMeasures()[m].decimals);
            }
        }
        e.figures.currency = Valuta::Eur;
        e.converted = true;
    }
}

}  // namespace

int RunStanding(const Arguments& args, Workspace& ws) {
    if (args.positional.size() < 2) {
        Fail("Naredbi 'standing' nedostaju datoteke sažetka (vidi movik-cli --help)");
    }
    const std::string* formatName = args.option("--format");
    const std::string format = formatName != nullptr ? *formatName : "txt";
    if (format != "txt" && format != "csv" && format != "jsonl" && format != "xlsx" &&
        format != "pdf") {
        Fail("Nepoznat format '" + format + "' (txt, csv, jsonl, xlsx, pdf)");
    }
    const std::string* out = args.option("-o");
    const bool file = format == "xlsx" || format == "pdf";
    if (file && (out == nullptr || out->empty() || *out == "-")) {
        Fail("Formatima pdf i xlsx treba -o IZLAZ (datoteka, ne standardni izlaz)");
    }
    std::vector<StandingEntry> entries =
        ReadSummaries({args.positional.begin() + 1, args.positional.end()});
    InOneCurrency(entries);
    const StandingTable table(std::move(entries), ws.settings());
    if (!file) {
        StreamOutput output(out != nullptr ? std::optional(*out) : std::nullopt);
        const auto sink = [&output](const std::string& line) { output.Write(line); };
        if (format == "jsonl") {
            StandingJsonl(table, sink);
        } else if (format == "csv") {
            table.CsvLines(sink);
        } else {
            StandingTxt(table, sink);
        }
        output.Commit();
    } else if (format == "xlsx") {
        if (const Result written = WriteXlsx(StandingWorkbook(table), *out); !written) {
            Fail(written.message());
        }
    } else {
        OffscreenArguments offscreen;
        QGuiApplication app(offscreen.argc, offscreen.argv);
        if (const Result written =
                SavePdf(StandingReportJobs(table), QStringLiteral("Položaj u skupini"), *out,
                        QPageLayout::Landscape);
            !written) {
            Fail(written.message());
        }
    }
    return 0;
}

}  // namespace movik::cli
