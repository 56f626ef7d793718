#include "analysis/StandingTable.h"

#include <algorithm>

#include "document/Csv.h"
#include "model/Dates.h"
#include "model/NumberFormat.h"
#include "model/Templates.h"

namespace movik {

namespace {

constexpr std::size_t kNoGroup = static_cast<std::size_t>(-1);
constexpr int kFixedBefore = 2;  // company and period before the measures

std::string QuartileRowName(StandingTable::RowKind kind) {
    switch (kind) {
        case StandingTable::RowKind::Q1:
            return "Q1 (prvi kvartil)";
        case StandingTable::RowKind::Median:
            return "Medijan";
        case StandingTable::RowKind::Q3:
            return "Q3 (treći kvartil)";
        default:
            return {};
    }
}

double QuartileOf(const Quartiles& q, StandingTable::RowKind kind) {
    return kind == StandingTable::RowKind::Q1       ? q.q1
           : kind == StandingTable::RowKind::Median ? q.median
                                                    : q.q3;
}

}  // namespace

StandingEntry StandingEntryOf(const DocumentSummary& s) {
    return {s.file,          s.company,           s.ok ? s.from : 0,
            s.ok ? s.to : 0, s.ok && s.converted, StandingDocumentOf(s)};
}

StandingTable::StandingTable(std::vector<StandingEntry> entries, RegionalSettings rs)
    : rs_(std::move(rs)), entries_(std::move(entries)) {
    std::vector<StandingDocument> figures;
    figures.reserve(entries_.size());
    for (StandingEntry& e : entries_) {
        figures.push_back(std::move(e.figures));
    }
    standing_ = Standing(figures, measures());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        entries_[i].figures = std::move(figures[i]);
    }
    for (const StandingGroup& g : standing_.groups()) {
        if (currency_ && *currency_ != g.currency) {
            currency_.reset();
            break;
        }
        currency_ = g.currency;
    }
    Layout();
}

StandingTable StandingTable::Of(const ComparisonTable& table, const RegionalSettings& rs) {
    std::vector<StandingEntry> entries;
    entries.reserve(static_cast<std::size_t>(table.rowCount()));
    for (int r = 0; r < table.rowCount(); ++r) {
        entries.push_back(StandingEntryOf(table.Summary(r)));
    }
    return StandingTable(std::move(entries), rs);
}

void StandingTable::SortDocuments(std::vector<std::size_t>& documents) const {
    if (sortColumn_ < 0) {
        return;
    }
    // Keys once per document: a percentile rank or a period's end, else a collation key.
    struct Key {
        std::size_t entry;
        std::optional<double> number;
        std::string text;
    };
    const std::optional<std::size_t> m = MeasureOfColumn(sortColumn_);
    const bool numeric = m || sortColumn_ == kFixedBefore - 1;
    std::vector<Key> keys;
    keys.reserve(documents.size());
    for (const std::size_t e : documents) {
        Key k{e, std::nullopt, {}};
        if (m) {
            const std::optional<Rank> r = standing_.RankOf(e, *m);
            k.number = r ? std::optional(r->percentile) : std::nullopt;
        } else if (numeric) {
            k.number = entries_[e].to != 0 ? std::optional(entries_[e].to) : std::nullopt;
        } else {
            k.text = CollationKey(sortColumn_ == 0 ? entries_[e].company : entries_[e].file);
        }
        keys.push_back(std::move(k));
    }
    // Empty cells last either way.
    std::stable_sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        if (numeric) {
            if (!a.number || !b.number) {
                return a.number.has_value() && !b.number.has_value();
            }
            return ascending_ ? *a.number < *b.number : *b.number < *a.number;
        }
        return ascending_ ? a.text < b.text : b.text < a.text;
    });
    for (std::size_t i = 0; i < keys.size(); ++i) {
        documents[i] = keys[i].entry;
    }
}

void StandingTable::Layout() {
    rows_.clear();
    for (std::size_t g = 0; g < standing_.groups().size(); ++g) {
        std::vector<std::size_t> members = standing_.groups()[g].members;
        SortDocuments(members);
        for (const std::size_t e : members) {
            rows_.push_back({RowKind::Document, g, e});
        }
        if (standing_.groups()[g].ranked()) {
            for (const RowKind k : {RowKind::Q1, RowKind::Median, RowKind::Q3}) {
                rows_.push_back({k, g, 0});
            }
        } else {
            rows_.push_back({RowKind::Note, g, 0});
        }
    }
    std::vector<std::size_t> outside;
    for (std::size_t e = 0; e < entries_.size(); ++e) {
        if (!standing_.GroupOf(e)) {
            outside.push_back(e);
        }
    }
    SortDocuments(outside);
    for (const std::size_t e : outside) {
        rows_.push_back({RowKind::Document, kNoGroup, e});
    }
}

void StandingTable::SortBy(int c, bool ascending) {
    sortColumn_ = c;
    ascending_ = ascending;
    Layout();
}

std::optional<std::size_t> StandingTable::MeasureOfColumn(int c) const {
    const int m = c - kFixedBefore;
    if (m < 0 || m >= static_cast<int>(measures().size())) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(m);
}

std::string StandingTable::Caption(int c) const {
    if (const std::optional<std::size_t> m = MeasureOfColumn(c)) {
        return MeasureCaption(measures()[*m], currency_);
    }
    return c == 0 ? "Poduzeće / skupina" : c == 1 ? "Razdoblje" : "Datoteka";
}

std::string StandingTable::GroupLabel(std::size_t g) const {
    const StandingGroup& group = standing_.groups()[g];
    return "Skupina " + group.Label() + " (" + std::string(CurrencyCode(group.currency)) +
           ", n = " + std::to_string(group.members.size()) + ")";
}

std::string StandingTable::QuartilePattern(std::size_t m) const {
    const StandingMeasure& measure = measures()[m];
    const bool percent =
        measure.indicator >= 0 &&
        TemplateRow(Statement::Pok, kIndicatorRows[static_cast<std::size_t>(measure.indicator)])
                .Format.find('%') != std::string_view::npos;
    return "#,##0." + std::string(static_cast<std::size_t>(measure.decimals + 2), '0') +
           (percent ? "%" : "");
}

std::optional<double> StandingTable::Number(int r, int c) const {
    const Row& at = row(r);
    const std::optional<std::size_t> m = MeasureOfColumn(c);
    if (!m || at.kind == RowKind::Note) {
        return std::nullopt;
    }
    if (at.kind == RowKind::Document) {
        const std::optional<Rank> rank = standing_.RankOf(at.entry, *m);
        return rank ? std::optional(rank->percentile) : std::nullopt;
    }
    const std::optional<Quartiles>& q = standing_.groups()[at.group].quartiles[*m];
    return q ? std::optional(QuartileOf(*q, at.kind)) : std::nullopt;
}

std::optional<int> StandingTable::Quarter(int r, int c) const {
    const Row& at = row(r);
    const std::optional<std::size_t> m = MeasureOfColumn(c);
    if (!m || at.kind != RowKind::Document) {
        return std::nullopt;
    }
    const std::optional<Rank> rank = standing_.RankOf(at.entry, *m);
    return rank ? rank->quarter : std::nullopt;
}

std::string StandingTable::Text(int r, int c) const {
    const Row& at = row(r);
    const std::optional<std::size_t> m = MeasureOfColumn(c);
    if (at.kind == RowKind::Document) {
        const StandingEntry& e = entries_[at.entry];
        if (c == 0) {
            return (e.converted ? "* " : "") + e.company;
        }
        if (c == 1) {
            return e.to != 0 ? PeriodText(e.from, e.to, rs_.shortDateFormat) : "";
        }
        if (!m) {
            return e.file;
        }
        const std::optional<double> p = Number(r, c);
        if (!p) {
            return {};
        }
        const std::optional<int> q = Quarter(r, c);
        return FormatNumber(*p, "0.00", rs_) + (q ? " (" + std::to_string(*q) + ".)" : "");
    }
    if (c == 0) {
        return GroupLabel(at.group);
    }
    if (c == 1) {
        return at.kind == RowKind::Note
                   ? "bez položaja (n < " + std::to_string(kStandingMinimum) + ")"
                   : QuartileRowName(at.kind);
    }
    const std::optional<double> v = Number(r, c);
    return v && m ? FormatNumber(*v, QuartilePattern(*m), rs_) : "";
}

std::string StandingTable::Description(int r, int c) const {
    const Row& at = row(r);
    const std::optional<std::size_t> m = MeasureOfColumn(c);
    if (at.kind == RowKind::Note) {
        return SmallGroupNote(standing_.groups()[at.group]);
    }
    if (at.kind == RowKind::Document && at.group == kNoGroup) {
        return std::string(kNoGroupNote);
    }
    if (!m) {
        return Text(r, c);
    }
    const std::string caption = Caption(c);
    if (at.kind != RowKind::Document) {
        const std::string text = Text(r, c);
        return text.empty() ? caption + ": manje od " + std::to_string(kStandingMinimum) +
                                  " izračunljivih vrijednosti u skupini"
                            : caption + ", " + QuartileRowName(at.kind) + ": " + text;
    }
    const std::optional<double> p = Number(r, c);
    if (!p) {
        return caption +
               ": nema ranga (vrijednost se ne može izračunati ili ih je u skupini "
               "premalo)";
    }
    const std::optional<int> q = Quarter(r, c);
    return caption + ": percentilni rang " + FormatNumber(*p, "0.00", rs_) + ", " +
           (q ? std::string(QuarterName(*q)) : std::string("bez smjera (ne ocjenjuje se)"));
}

void StandingTable::CsvLines(const std::function<void(const std::string& line)>& sink) const {
    std::vector<std::string> cells;
    for (int c = 0; c < columnCount(); ++c) {
        cells.push_back(Caption(c));
    }
    sink(CsvLine(cells));
    for (int r = 0; r < rowCount(); ++r) {
        cells.clear();
        for (int c = 0; c < columnCount(); ++c) {
            cells.push_back(Text(r, c));
        }
        sink(CsvLine(cells));
    }
}

std::string StandingTable::Csv() const {
    std::string out;
    CsvLines([&out](const std::string& line) { out += line; });
    return out;
}

}  // namespace movik
