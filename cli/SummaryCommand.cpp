#include "cli/Command.h"

#include <unistd.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/Comparison.h"
#include "analysis/DocumentPaths.h"
#include "analysis/Parallel.h"
#include "analysis/Summary.h"
#include "analysis/SummaryFormats.h"
#include "document/FileIO.h"
#include "model/CroatianPlural.h"
#include "regional/Regional.h"
#include "reports/ComparisonReport.h"
#include "reports/ComparisonWorkbook.h"
#include "reports/ReportPaint.h"

namespace movik::cli {

namespace {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The comparison table of every document, as the window's "Usporedba" exports it.
enum class TableFormat { None, Pdf, Xlsx };

struct Options {
    std::vector<std::string> paths;
    std::optional<std::string> filesFrom;
    std::optional<std::string> out;
    SummaryFormat format = SummaryFormat::Txt;
    TableFormat table = TableFormat::None;
    int jobs = 0;
    std::optional<std::string> locale;
    bool inEuro = false;  // --currency EUR
};

// More threads than this only wait on the disk and each other.
constexpr int kMaxJobs = 256;

int ParseJobs(const std::string& text) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos || std::stoi(text) < 1 ||
        std::stoi(text) > kMaxJobs) {
        throw UsageError("Neispravan broj dretvi '" + text + "' (cijeli broj od 1 do " +
                         std::to_string(kMaxJobs) + ")");
    }
    return std::stoi(text);
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                throw UsageError("Opciji " + a + " nedostaje vrijednost");
            }
            return argv[++i];
        };
        if (a == "-o") {
            o.out = value();
        } else if (a == "--format") {
            const std::string f = value();
            // The last --format given holds.
            o.table = TableFormat::None;
            if (f == "csv") {
                o.format = SummaryFormat::Csv;
            } else if (f == "jsonl") {
                o.format = SummaryFormat::Jsonl;
            } else if (f == "txt") {
                o.format = SummaryFormat::Txt;
            } else if (f == "pdf") {
                o.table = TableFormat::Pdf;
            } else if (f == "xlsx") {
                o.table = TableFormat::Xlsx;
            } else {
                throw UsageError("Nepoznat format '" + f + "' (csv, jsonl, txt, pdf, xlsx)");
            }
        } else if (a == "-j") {
            o.jobs = ParseJobs(value());
        } else if (a.rfind("-j", 0) == 0 && a.size() > 2 && a[2] != '-') {
            o.jobs = ParseJobs(a.substr(2));
        } else if (a == "--currency") {
            const std::string c = value();
            if (CurrencyFromCode(c) != Valuta::Eur) {
                throw UsageError("Sažetak se preračunava samo u eure (--currency EUR), ne '" + c +
                                 "'");
            }
            o.inEuro = true;
        } else if (a == "--files-from") {
            o.filesFrom = value();
        } else if (a == "--locale") {
            o.locale = value();
        } else if (a == "--") {
            for (++i; i < argc; ++i) {
                o.paths.emplace_back(argv[i]);
            }
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError("Nepoznata opcija: " + a);
        } else {
            o.paths.push_back(a);
        }
    }
    if (o.paths.empty() && !o.filesFrom) {
        throw UsageError("Naredbi 'summary' nedostaju putanje (vidi movik-cli --help)");
    }
    if (o.table != TableFormat::None && (!o.out || *o.out == "-" || o.out->empty())) {
        throw UsageError("Formatima pdf i xlsx treba -o IZLAZ (datoteka, ne standardni izlaz)");
    }
    return o;
}

// The progress line on a terminal: count, rate and, once every path is known, the time left.
class Progress {
  public:
    Progress() : enabled_(::isatty(STDERR_FILENO) == 1), start_(Clock::now()), last_(start_) {}

    bool enabled() const { return enabled_; }
    void Done(std::size_t done, std::optional<std::size_t> total) {
        if (!enabled_) {
            return;
        }
        const auto now = Clock::now();
        if (now - start_ < std::chrono::seconds(1) ||
            now - last_ < std::chrono::milliseconds(200)) {
            return;
        }
        last_ = now;
        const double seconds = std::chrono::duration<double>(now - start_).count();
        const double perMinute = done / seconds * 60.0;
        const auto documents = [](std::size_t n) {
            return CountText(static_cast<long long>(n), "dokument", "dokumenta", "dokumenata");
        };
        char line[160];
        if (total && *total >= done && done > 0) {
            const double left = (*total - done) * seconds / done;
            std::snprintf(line, sizeof line, "\r%zu / %s, %.0f u minuti, još %.0f s   ", done,
                          documents(*total).c_str(), perMinute, left);
        } else {
            std::snprintf(line, sizeof line, "\r%s, %.0f u minuti   ", documents(done).c_str(),
                          perMinute);
        }
        std::cerr << line << std::flush;
        shown_ = true;
    }
    void Finish() {
        if (shown_) {
            std::cerr << "\r\033[K" << std::flush;
        }
    }

  private:
    using Clock = std::chrono::steady_clock;
    bool enabled_;
    bool shown_ = false;
    Clock::time_point start_;
    Clock::time_point last_;
};

// The rows as the comparison window lays them out, written through the safe writer.
void WriteTable(TableFormat format, std::vector<DocumentSummary> rows, const RegionalSettings& rs,
                const std::string& path) {
    ComparisonTable table(rs);
    table.Add(std::move(rows));
    Result written = Result::Ok();
    if (format == TableFormat::Pdf) {
        // Fonts need a GUI application, on a platform that needs no display.
        OffscreenArguments offscreen;
        QGuiApplication app(offscreen.argc, offscreen.argv);
        written = SavePdf(ComparisonReportJobs(table), QStringLiteral("Usporedba dokumenata"), path,
                          QPageLayout::Landscape);
    } else {
        written = WriteXlsx(ComparisonWorkbook(table), path);
    }
    if (!written) {
        throw UsageError(written.message());
    }
}

// The lines of a list of paths (a file, or standard input for "-"), one path a line.
PathSource LinesOf(const std::string& listPath, std::shared_ptr<std::ifstream>& holder) {
    std::istream* in = &std::cin;
    if (listPath != "-") {
        holder = std::make_shared<std::ifstream>(listPath);
        if (!*holder) {
            throw UsageError("Cannot open file " + listPath);
        }
        in = holder.get();
    }
    return [in]() -> std::optional<std::string> {
        std::string line;
        while (std::getline(*in, line)) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (!line.empty()) {
                return line;
            }
        }
        return std::nullopt;
    };
}

// The documents to summarize: the paths given, then those listed, folders walked; counted as
// they are found.
class SummarySource {
  public:
    explicit SummarySource(const Options& o)
        : o_(o),
          listed_(o.filesFrom ? LinesOf(*o.filesFrom, listFile_) : PathSource()),
          paths_([this]() -> std::optional<std::string> {
              if (given_ < o_.paths.size()) {
                  return o_.paths[given_++];
              }
              return listed_ ? listed_() : std::nullopt;
          }) {}

    std::optional<std::string> Next() {
        std::optional<std::string> p = paths_.Next();
        if (p) {
            ++found_;
        } else {
            allFound_ = true;
        }
        return p;
    }
    // How many documents there are, once every one has been found.
    std::optional<std::size_t> found() const {
        return allFound_ ? std::optional<std::size_t>(found_) : std::nullopt;
    }

  private:
    const Options& o_;
    std::shared_ptr<std::ifstream> listFile_;
    PathSource listed_;
    std::size_t given_ = 0;
    DocumentPaths paths_;
    std::size_t found_ = 0;
    bool allFound_ = false;
};

// On a terminal the paths given are counted first (a walk of the folders), so the progress line
// can say how long is left; a list on standard input is counted as read.
std::optional<std::size_t> CountGiven(const Options& o, const Progress& progress) {
    if (!progress.enabled() || o.filesFrom) {
        return std::nullopt;
    }
    DocumentPaths count(o.paths);
    std::size_t total = 0;
    while (count.Next()) {
        ++total;
    }
    return total;
}

// Summarizes every document: the line formats write each line as it comes, a table is written
// once it has every row. False when a document could not be read (said on stderr).
bool SummarizeAll(const Options& o) {
    const RegionalSettings rs = SettingsOf(o.locale);
    const int year = LocalYear();
    SummarySource source(o);
    const bool table = o.table != TableFormat::None;
    std::optional<StreamOutput> out;
    if (!table) {
        out.emplace(o.out);
        out->Write(SummaryHeader(o.format, o.inEuro ? std::optional(Valuta::Eur) : std::nullopt));
    }
    std::vector<DocumentSummary> rows;
    Progress progress;
    const std::optional<std::size_t> total = CountGiven(o, progress);
    std::size_t done = 0;
    bool anyFailed = false;
    SummarizeInOrder([&source] { return source.Next(); }, o.jobs > 0 ? o.jobs : DefaultJobs(),
                     [&rs, year, &o, table](const std::string& path) {
                         // A table shows kunas and euros together in euros, as the window does:
                         // it needs every kuna document's figures in euros too.
                         DocumentSummary s = Summarize(path, rs, year, o.inEuro || table);
                         return o.inEuro ? InCurrency(std::move(s), Valuta::Eur) : s;
                     },
                     [&](DocumentSummary&& s) {
                         if (!s.ok) {
                             anyFailed = true;
                             progress.Finish();
                             std::cerr << "movik-cli: " << OneLine(s.error) << '\n';
                         }
                         if (table) {
                             rows.push_back(std::move(s));
                         } else {
                             out->Write(SummaryLine(o.format, s, rs));
                         }
                         const std::optional<std::size_t> found = source.found();
                         progress.Done(++done, found ? found : total);
                     });
    progress.Finish();
    if (table) {
        WriteTable(o.table, std::move(rows), rs, *o.out);
    } else {
        out->Commit();
    }
    return !anyFailed;
}

}  // namespace

int RunSummary(int argc, char** argv) {
    try {
        return SummarizeAll(Parse(argc, argv)) ? 0 : 1;
    } catch (const Failure& f) {
        std::cerr << "movik-cli: " << OneLine(f.message) << '\n';
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "movik-cli: " << OneLine(e.what()) << '\n';
        return 2;
    }
}

}  // namespace movik::cli
