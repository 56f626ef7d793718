#include "analysis/SummaryFormats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "analysis/EuroConversion.h"
#include "document/Csv.h"
#include "model/Dates.h"
#include "model/NumberFormat.h"
#include "model/Templates.h"
#include "model/Utf8.h"

namespace movik {

namespace {

std::string IsoDate(double day) {
    if (day == 0) {
        return {};
    }
    const CivilDate d = CivilFromDayNumber(day);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string Warnings(const DocumentSummary& s) {
    std::string all;
    for (const std::string& w : s.warnings) {
        all += (all.empty() ? "" : " | ") + w;
    }
    return all;
}

// An indicator with the decimals its grid row shows.
std::string JsonIndicator(double value, int indicatorIndex) {
    const std::string_view pattern =
        TemplateRow(Statement::Pok, kIndicatorRows[static_cast<std::size_t>(indicatorIndex)])
            .Format;
    return JsonNumber(RoundedAsShown(value, DecimalsShown(pattern, value)));
}

constexpr std::size_t kFileWidth = 26;
constexpr std::size_t kCompanyWidth = 22;
constexpr std::size_t kPeriodWidth = 29;
constexpr std::size_t kAmountWidth = 17;
constexpr std::size_t kCurrencyWidth = 6;
constexpr std::size_t kScoreWidth = 11;
constexpr std::size_t kBandWidth = 23;

// The scores' columns: each model's value and band, then the quick test's means and DuPont's
// factors.
void AppendScoreCaptions(std::vector<std::string>& cells) {
    for (int i = 0; i < kNamedScoreCount; ++i) {
        const NamedScoreFacts& f = kNamedScores[static_cast<std::size_t>(i)];
        cells.emplace_back(f.caption);
        if (f.model) {
            cells.push_back(std::string(f.caption) + " – zona");
        }
    }
}

void AppendScoreCells(std::vector<std::string>& cells, const DocumentSummary& s,
                      const RegionalSettings& rs) {
    for (int i = 0; i < kNamedScoreCount; ++i) {
        const std::optional<double> v =
            s.ok ? s.namedScores[static_cast<std::size_t>(i)].value : std::nullopt;
        cells.push_back(ScoreText(v, rs));
        if (kNamedScores[static_cast<std::size_t>(i)].model) {
            cells.emplace_back(NamedScoreBand(i, v));
        }
    }
}

// "EUR" or "HRK"; amounts converted from kunas are marked "EUR*" (the note says from what).
std::string CurrencyCell(const DocumentSummary& s) {
    if (!s.ok) {
        return {};
    }
    return std::string(CurrencyCode(s.currency)) + (s.converted ? "*" : "");
}
// The terminal table's amounts, with captions short enough for their columns.
struct TxtAmount {
    KeyAmount amount;
    const char* caption;
};
constexpr TxtAmount kTxtAmounts[] = {{KeyAmount::TotalAssets, "Ukupna aktiva"},
                                     {KeyAmount::Equity, "Kapital"},
                                     {KeyAmount::Revenue, "Ukupni prihodi"},
                                     {KeyAmount::NetResult, "Neto rezultat"}};

}  // namespace

// Cut or padded to width characters; right-aligned when right. A cut keeps the start, or for
// a file path its end, where the names differ.
std::string Column(const std::string& text, std::size_t width, bool right, bool keepEnd) {
    const std::size_t length = Utf8Length(text);
    std::string cut = text;
    if (length > width) {
        if (keepEnd) {
            cut = "…" + text.substr(Utf8Offset(text, length - (width - 1)));
        } else {
            cut = Utf8Left(text, width - 1) + "…";
        }
    }
    const std::string pad(width - Utf8Length(cut), ' ');
    return right ? pad + cut : cut + pad;
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    // Only a text that is not valid UTF-8 is copied, with its bad bytes replaced.
    std::string replaced;
    if (!IsUtf8(text)) {
        replaced = ValidUtf8(text);
        text = replaced;
    }
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    if (value == 0) {
        return "0";  // also for -0
    }
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, end);
}

std::string JsonAmount(double value) {
    return JsonNumber(RoundedAsShown(value, 2));
}

std::string Base64(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            out += k <= n ? kAlphabet[(v >> (18 - 6 * k)) & 0x3F] : '=';
        }
    }
    return out;
}

std::string PeriodText(const DocumentSummary& s, const RegionalSettings& rs) {
    if (!s.ok || (s.from == 0 && s.to == 0)) {
        return {};
    }
    return PeriodText(s.from, s.to, rs.shortDateFormat);
}

std::string SummaryHeader(SummaryFormat format, std::optional<Valuta> currency) {
    switch (format) {
        case SummaryFormat::Csv: {
            std::vector<std::string> cells = {"Datoteka", "Ispravna", "Pogreška",
                                              "Poduzeće", "Sjedište", "Od",
                                              "Do",       "Valuta",   "Preračunato iz kuna"};
            for (const KeyAmountFacts& k : kKeyAmounts) {
                cells.emplace_back(k.caption);
            }
            for (std::size_t i = 0; i < kIndicatorRows.size(); ++i) {
                cells.push_back(IndicatorCaption(static_cast<int>(i), currency));
            }
            AppendScoreCaptions(cells);
            cells.emplace_back("Upozorenja");
            return CsvLine(cells);
        }
        case SummaryFormat::Jsonl:
            return {};
        case SummaryFormat::Txt: {
            std::string line = Column("Datoteka", kFileWidth, false) + "  " +
                               Column("Poduzeće", kCompanyWidth, false) + "  " +
                               Column("Razdoblje", kPeriodWidth, false) + "  " +
                               Column("Valuta", kCurrencyWidth, false);
            for (const TxtAmount& k : kTxtAmounts) {
                line += "  " + Column(k.caption, kAmountWidth, true);
            }
            for (const ScoreModelFacts& m : kScoreModels) {
                line += "  " + Column(std::string(m.name), kScoreWidth, true) + "  " +
                        Column("Zona", kBandWidth, false);
            }
            return line + "  Napomena\n";
        }
    }
    return {};
}

std::string SummaryLine(SummaryFormat format, const DocumentSummary& s,
                        const RegionalSettings& rs) {
    switch (format) {
        case SummaryFormat::Csv: {
            std::vector<std::string> cells = {s.file, s.ok ? "da" : "ne", s.error, s.company,
                                              s.seat};
            cells.push_back(s.ok && s.from != 0 ? FormatShortDate(s.from, rs.shortDateFormat) : "");
            cells.push_back(s.ok && s.to != 0 ? FormatShortDate(s.to, rs.shortDateFormat) : "");
            cells.push_back(s.ok ? std::string(CurrencyCode(s.currency)) : "");
            cells.push_back(s.ok && s.converted ? "da" : "");
            for (int i = 0; i < kKeyAmountCount; ++i) {
                cells.push_back(s.ok ? s.amountTexts[i] : "");
            }
            for (std::size_t i = 0; i < kIndicatorRows.size(); ++i) {
                cells.push_back(s.ok ? s.indicatorTexts[i] : "");
            }
            AppendScoreCells(cells, s, rs);
            cells.push_back(Warnings(s));
            return CsvLine(cells);
        }
        case SummaryFormat::Jsonl: {
            std::string j = "{\"file\":" + JsonString(s.file) +
                            ",\"ok\":" + (s.ok ? "true" : "false") +
                            ",\"error\":" + (s.ok ? "null" : JsonString(s.error));
            // A failed row has every field, null where nothing was read.
            const auto text = [&s](const std::string& t) { return s.ok ? JsonString(t) : "null"; };
            const auto date = [&s](double d) {
                return s.ok && d != 0 ? JsonString(IsoDate(d)) : "null";
            };
            j += ",\"company\":" + text(s.company) + ",\"seat\":" + text(s.seat);
            j += ",\"from\":" + date(s.from) + ",\"to\":" + date(s.to);
            j += ",\"currency\":" + (s.ok ? JsonString(CurrencyCode(s.currency)) : "null");
            j += ",\"converted\":" + std::string(!s.ok ? "null" : s.converted ? "true" : "false");
            for (const KeyAmountFacts& k : kKeyAmounts) {
                j += ",\"" + std::string(k.field) +
                     "\":" + (s.ok ? JsonAmount(s.amounts[static_cast<int>(k.amount)]) : "null");
            }
            if (s.ok) {
                j += ",\"indicators\":{";
                for (std::size_t i = 0; i < kIndicatorRows.size(); ++i) {
                    // The grid shows 0 where a denominator is 0; a reader of the numbers
                    // must not take that for a figure.
                    j += (i ? ",\"" : "\"") + std::to_string(kIndicatorRows[i]) + "\":" +
                         (s.indicatorNotComputable[i]
                              ? std::string("null")
                              : JsonIndicator(s.indicators[i], static_cast<int>(i)));
                }
                j += "},\"scores\":" + ScoresJson(s.scores);
            } else {
                j += ",\"indicators\":null,\"scores\":null";
            }
            j += ",\"warnings\":[";
            for (std::size_t i = 0; i < s.warnings.size(); ++i) {
                j += (i ? "," : "") + JsonString(s.warnings[i]);
            }
            // A name that is not UTF-8 is shown with U+FFFD in "file" and kept byte for byte in
            // "file_base64"; null when "file" already is the name.
            j += "],\"file_base64\":";
            j += IsUtf8(s.file) ? "null" : JsonString(Base64(s.file));
            return j + "}\n";
        }
        case SummaryFormat::Txt: {
            std::string line = Column(s.file, kFileWidth, false, true) + "  " +
                               Column(s.company, kCompanyWidth, false) + "  " +
                               Column(PeriodText(s, rs), kPeriodWidth, false) + "  " +
                               Column(CurrencyCell(s), kCurrencyWidth, false);
            for (const TxtAmount& k : kTxtAmounts) {
                line += "  " + Column(s.ok ? s.amountTexts[static_cast<int>(k.amount)] : "",
                                      kAmountWidth, true);
            }
            for (const ScoreModelFacts& m : kScoreModels) {
                const std::optional<double> v = s.ok ? s.scores.of(m.model).value : std::nullopt;
                line += "  " + Column(ScoreText(v, rs), kScoreWidth, true) + "  " +
                        Column(v ? std::string(BandOf(m.model, *v).words) : "", kBandWidth, false);
            }
            std::string note = s.ok ? Warnings(s) : "POGREŠKA: " + s.error;
            if (s.ok && s.converted) {
                note = "* preračunato iz kuna (" + std::string(kKunaPerEuroText) + " kn = 1 EUR)" +
                       (note.empty() ? "" : "; " + note);
            }
            line += note.empty() ? "" : "  " + note;
            return line + "\n";
        }
    }
    return {};
}

}  // namespace movik
