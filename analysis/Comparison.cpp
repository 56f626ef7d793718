#include "analysis/Comparison.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>
#include <tuple>

#include "analysis/SummaryFormats.h"
#include "document/Csv.h"
#include "model/NumberFormat.h"
#include "model/Utf8.h"

namespace movik {

namespace {

// Weights that put č, ć after c, đ after d, š after s and ž after z.
void AppendLetter(std::string& key, char base, int variant) {
    key += base;
    key += static_cast<char>('0' + variant);
}

// The order of a period (end, then start); nullopt for a date that is no number, which sorts
// as empty.
std::optional<std::pair<double, double>> PeriodKey(const DocumentSummary& s) {
    if (!std::isfinite(s.to) || !std::isfinite(s.from)) {
        return std::nullopt;
    }
    return std::pair(s.to, s.from);
}

// The same as one strict order: periods that are no number after every other.
std::tuple<bool, double, double> PeriodOrder(const DocumentSummary& s) {
    const std::optional<std::pair<double, double>> key = PeriodKey(s);
    return key ? std::tuple(false, key->first, key->second) : std::tuple(true, 0.0, 0.0);
}

}  // namespace

std::string SamePeriodNote(const std::string& otherFile) {
    return "Isto poduzeće i razdoblje kao u datoteci „" + otherFile + "”: promjena se ne računa.";
}

std::string CollationKey(const std::string& text) {
    std::string key;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            AppendLetter(key, static_cast<char>(std::tolower(c)), 0);
            continue;
        }
        // The Croatian letters take two bytes; any other character is kept byte by byte.
        char32_t cp = 0;
        if (DecodeUtf8(text, i, cp) != 2) {
            cp = 0;
        }
        switch (cp) {
            case 0x10C:
            case 0x10D:
                AppendLetter(key, 'c', 1);
                ++i;
                continue;  // Č č
            case 0x106:
            case 0x107:
                AppendLetter(key, 'c', 2);
                ++i;
                continue;  // Ć ć
            case 0x110:
            case 0x111:
                AppendLetter(key, 'd', 2);
                ++i;
                continue;  // Đ đ
            case 0x160:
            case 0x161:
                AppendLetter(key, 's', 1);
                ++i;
                continue;  // Š š
            case 0x17D:
            case 0x17E:
                AppendLetter(key, 'z', 1);
                ++i;
                continue;  // Ž ž
            default:
                AppendLetter(key, static_cast<char>(c), 0);
        }
    }
    return key;
}

ComparisonTable::ComparisonTable(RegionalSettings rs) : rs_(std::move(rs)) {
    BuildColumns();
}

void ComparisonTable::BuildColumns() {
    using K = ComparisonColumn::Kind;
    columns_ = {{K::Company, 0}, {K::Seat, 0}, {K::Period, 0}, {K::Currency, 0}};
    for (int i = 0; i < kKeyAmountCount; ++i) {
        columns_.push_back({K::Amount, i});
        if (showChanges_) {
            columns_.push_back({K::Change, i});
        }
    }
    for (int i = 0; i < static_cast<int>(kIndicatorRows.size()); ++i) {
        columns_.push_back({K::Indicator, i});
    }
    for (int i = 0; i < kNamedScoreCount; ++i) {
        columns_.push_back({K::Score, i});
        if (kNamedScores[static_cast<std::size_t>(i)].model) {
            columns_.push_back({K::ScoreBand, i});
        }
    }
    columns_.push_back({K::Status, 0});
    columns_.push_back({K::File, 0});
}

int ComparisonTable::Add(std::vector<DocumentSummary> summaries) {
    std::set<std::string> files;
    for (const Entry& e : entries_) {
        files.insert(e.summary.file);
    }
    int already = 0;
    for (DocumentSummary& s : summaries) {
        if (!files.insert(s.file).second) {
            ++already;
            continue;
        }
        Entry e;
        e.companyKey = CollationKey(s.company);
        e.original = std::move(s);
        entries_.push_back(std::move(e));
    }
    ApplyCurrency();
    ComputeTrends();
    Reorder();
    return already;
}

void ComparisonTable::Remove(std::vector<int> rows) {
    std::vector<bool> gone(entries_.size(), false);
    for (const int r : rows) {
        if (r >= 0 && r < rowCount()) {
            gone[order_[static_cast<std::size_t>(r)]] = true;
        }
    }
    std::vector<Entry> kept;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!gone[i]) {
            kept.push_back(std::move(entries_[i]));
        }
    }
    entries_ = std::move(kept);
    ApplyCurrency();
    ComputeTrends();
    Reorder();
}

void ComparisonTable::Clear() {
    entries_.clear();
    order_.clear();
    currency_.reset();
}

// Euros as soon as one readable document is in euros and another in kunas; else the one
// currency of them all.
void ComparisonTable::ApplyCurrency() {
    bool euro = false;
    bool kuna = false;
    for (const Entry& e : entries_) {
        if (e.original.ok) {
            (e.original.currency == Valuta::Eur ? euro : kuna) = true;
        }
    }
    currency_.reset();
    if (euro || kuna) {
        currency_ = euro ? Valuta::Eur : Valuta::Hrk;
    }
    for (Entry& e : entries_) {
        e.summary = euro && kuna ? InCurrency(e.original, Valuta::Eur) : e.original;
    }
}

void ComparisonTable::SetGrouped(bool grouped) {
    grouped_ = grouped;
    showChanges_ = grouped;
    sortColumn_ = -1;
    BuildColumns();
    Reorder();
}

void ComparisonTable::SortBy(int column, bool ascending) {
    sortColumn_ = column;
    ascending_ = ascending;
    Reorder();
}

// Every company's documents in period order; each key amount against the one before.
void ComparisonTable::ComputeTrends() {
    std::map<std::string, std::vector<std::size_t>> byCompany;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        entries_[i].changes.fill(std::nullopt);
        entries_[i].samePeriodAs.clear();
        if (entries_[i].summary.ok) {
            byCompany[entries_[i].companyKey].push_back(i);
        }
    }
    for (auto& [company, list] : byCompany) {
        std::stable_sort(list.begin(), list.end(), [this](std::size_t a, std::size_t b) {
            const DocumentSummary& x = entries_[a].summary;
            const DocumentSummary& y = entries_[b].summary;
            return PeriodOrder(x) < PeriodOrder(y);
        });
        for (std::size_t k = 1; k < list.size(); ++k) {
            Entry& before = entries_[list[k - 1]];
            const DocumentSummary& prev = before.summary;
            Entry& cur = entries_[list[k]];
            if (std::pair(prev.to, prev.from) == std::pair(cur.summary.to, cur.summary.from)) {
                // Two documents of one period: marked, and no change between them.
                cur.samePeriodAs = prev.file;
                if (before.samePeriodAs.empty()) {
                    before.samePeriodAs = cur.summary.file;
                }
                continue;
            }
            for (int a = 0; a < kKeyAmountCount; ++a) {
                const double before = prev.amounts[a];
                if (before != 0 && std::isfinite(before)) {
                    cur.changes[a] = (cur.summary.amounts[a] - before) / std::fabs(before) * 100.0;
                }
            }
        }
    }
}

void ComparisonTable::Reorder() {
    order_.resize(entries_.size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    if (grouped_) {
        std::stable_sort(order_.begin(), order_.end(), [this](std::size_t a, std::size_t b) {
            const Entry& x = entries_[a];
            const Entry& y = entries_[b];
            if (x.summary.ok != y.summary.ok) {
                return x.summary.ok;  // failed files last
            }
            if (x.companyKey.empty() != y.companyKey.empty()) {
                return y.companyKey.empty();  // documents without a company name after the rest
            }
            if (x.companyKey != y.companyKey) {
                return x.companyKey < y.companyKey;
            }
            return PeriodOrder(x.summary) < PeriodOrder(y.summary);
        });
        if (sortColumn_ >= 0 && sortColumn_ < columnCount()) {
            OrderCompanies();
        }
        return;
    }
    if (sortColumn_ < 0 || sortColumn_ >= columnCount()) {
        return;
    }
    // Keys once per entry, then a stable sort; empty cells go last either way.
    std::vector<std::optional<double>> numbers(entries_.size());
    std::vector<std::string> texts(entries_.size());
    std::vector<std::size_t> plain = order_;
    for (std::size_t r = 0; r < plain.size(); ++r) {
        const int row = static_cast<int>(r);
        numbers[r] = SortNumber(row, sortColumn_);
        if (!numbers[r]) {
            texts[r] = CollationKey(Text(row, sortColumn_));
        }
    }
    const ComparisonColumn col = column(sortColumn_);
    const bool numeric =
        col.kind == ComparisonColumn::Kind::Amount || col.kind == ComparisonColumn::Kind::Change ||
        col.kind == ComparisonColumn::Kind::Indicator ||
        col.kind == ComparisonColumn::Kind::Score || col.kind == ComparisonColumn::Kind::ScoreBand;
    const bool byPeriod = col.kind == ComparisonColumn::Kind::Period;
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
        if (numeric) {
            if (!numbers[a] || !numbers[b]) {
                return numbers[a].has_value() && !numbers[b].has_value();
            }
            return ascending_ ? *numbers[a] < *numbers[b] : *numbers[b] < *numbers[a];
        }
        if (byPeriod) {
            const std::optional<std::pair<double, double>> pa = PeriodKey(entries_[a].summary);
            const std::optional<std::pair<double, double>> pb = PeriodKey(entries_[b].summary);
            if (!pa || !pb) {
                return pa.has_value() && !pb.has_value();
            }
            return ascending_ ? *pa < *pb : *pb < *pa;
        }
        if (texts[a].empty() != texts[b].empty()) {
            return texts[b].empty();
        }
        return ascending_ ? texts[a] < texts[b] : texts[b] < texts[a];
    });
}

void ComparisonTable::OrderCompanies() {
    // The companies' blocks of rows (in period order), each with the cell of its latest period
    // as its key; failed files stay last, in their order.
    struct Block {
        std::size_t begin;
        std::size_t end;
        std::optional<double> number;
        std::string text;
    };
    std::vector<Block> blocks;
    std::size_t failedFrom = order_.size();
    for (std::size_t r = 0; r < order_.size(); ++r) {
        const Entry& e = entries_[order_[r]];
        if (!e.summary.ok) {
            failedFrom = r;
            break;
        }
        if (blocks.empty() || entries_[order_[blocks.back().begin]].companyKey != e.companyKey) {
            blocks.push_back({r, r, std::nullopt, {}});
        }
        blocks.back().end = r + 1;
    }
    for (Block& block : blocks) {
        const int latest = static_cast<int>(block.end - 1);
        block.number = SortNumber(latest, sortColumn_);
        if (!block.number) {
            block.text = CollationKey(Text(latest, sortColumn_));
        }
    }
    std::stable_sort(blocks.begin(), blocks.end(), [this](const Block& a, const Block& b) {
        if (a.number.has_value() != b.number.has_value()) {
            return a.number.has_value();  // companies without a number last either way
        }
        if (a.number) {
            return ascending_ ? *a.number < *b.number : *b.number < *a.number;
        }
        return ascending_ ? a.text < b.text : b.text < a.text;
    });
    std::vector<std::size_t> order;
    order.reserve(order_.size());
    for (const Block& block : blocks) {
        order.insert(order.end(), order_.begin() + static_cast<std::ptrdiff_t>(block.begin),
                     order_.begin() + static_cast<std::ptrdiff_t>(block.end));
    }
    order.insert(order.end(), order_.begin() + static_cast<std::ptrdiff_t>(failedFrom),
                 order_.end());
    order_ = std::move(order);
}

const std::string& ComparisonTable::SamePeriodAs(int row) const {
    return At(row).samePeriodAs;
}

const ComparisonTable::Entry& ComparisonTable::At(int row) const {
    return entries_[order_[static_cast<std::size_t>(row)]];
}

const DocumentSummary& ComparisonTable::Summary(int row) const {
    return At(row).summary;
}

std::optional<double> ComparisonTable::Change(int row, int amountIndex) const {
    return At(row).changes[static_cast<std::size_t>(amountIndex)];
}

std::string ComparisonTable::Caption(int c) const {
    const ComparisonColumn& col = column(c);
    switch (col.kind) {
        case ComparisonColumn::Kind::Company:
            return "Poduzeće";
        case ComparisonColumn::Kind::Seat:
            return "Sjedište";
        case ComparisonColumn::Kind::Period:
            return "Razdoblje";
        case ComparisonColumn::Kind::Currency:
            return "Valuta";
        case ComparisonColumn::Kind::Amount:
            return std::string(kKeyAmounts[static_cast<std::size_t>(col.index)].caption);
        case ComparisonColumn::Kind::Change:
            return "Promjena (%)";
        case ComparisonColumn::Kind::Indicator:
            return IndicatorCaption(col.index, currency_);
        case ComparisonColumn::Kind::Score:
            return std::string(kNamedScores[static_cast<std::size_t>(col.index)].caption);
        case ComparisonColumn::Kind::ScoreBand:
            return std::string(kNamedScores[static_cast<std::size_t>(col.index)].caption) +
                   " – zona";
        case ComparisonColumn::Kind::Status:
            return "Upozorenje / pogreška";
        case ComparisonColumn::Kind::File:
            return "Datoteka";
    }
    return {};
}

std::optional<double> ComparisonTable::Number(int row, int c) const {
    const ComparisonColumn& col = column(c);
    const DocumentSummary& s = Summary(row);
    if (!s.ok) {
        return std::nullopt;
    }
    // NaN and infinities (a stored file may hold them) are no number to sort or chart: empty.
    const auto finite = [](std::optional<double> v) {
        return v && std::isfinite(*v) ? v : std::nullopt;
    };
    switch (col.kind) {
        case ComparisonColumn::Kind::Amount:
            return finite(s.amounts[static_cast<std::size_t>(col.index)]);
        case ComparisonColumn::Kind::Change:
            return finite(Change(row, col.index));
        case ComparisonColumn::Kind::Indicator:
            // No figure where the indicator cannot be computed (no shares, a denominator of 0).
            if (s.indicatorNotComputable[static_cast<std::size_t>(col.index)]) {
                return std::nullopt;
            }
            return finite(s.indicators[static_cast<std::size_t>(col.index)]);
        case ComparisonColumn::Kind::Score:
            return finite(s.namedScores[static_cast<std::size_t>(col.index)].value);
        default:
            return std::nullopt;
    }
}

std::optional<double> ComparisonTable::SortNumber(int row, int c) const {
    const ComparisonColumn& col = column(c);
    if (col.kind == ComparisonColumn::Kind::ScoreBand && Summary(row).ok) {
        return Summary(row).namedScores[static_cast<std::size_t>(col.index)].value;
    }
    return Number(row, c);
}

std::string ComparisonTable::Text(int row, int c) const {
    const ComparisonColumn& col = column(c);
    const DocumentSummary& s = Summary(row);
    switch (col.kind) {
        case ComparisonColumn::Kind::Company:
            return s.company;
        case ComparisonColumn::Kind::Seat:
            return s.seat;
        case ComparisonColumn::Kind::Period:
            return PeriodText(s, rs_);
        case ComparisonColumn::Kind::Currency:
            // Converted amounts carry a sign; the window's tooltip and the help name the rate.
            return s.ok ? std::string(CurrencyCode(s.currency)) + (s.converted ? "*" : "") : "";
        case ComparisonColumn::Kind::Amount:
            return s.ok ? s.amountTexts[static_cast<std::size_t>(col.index)] : "";
        case ComparisonColumn::Kind::Change: {
            const std::optional<double> change = Change(row, col.index);
            return change ? FormatNumber(*change, kChangeFormat, rs_) : "";
        }
        case ComparisonColumn::Kind::Indicator: {
            const auto i = static_cast<std::size_t>(col.index);
            return s.ok && !s.indicatorNotComputable[i] ? s.indicatorTexts[i] : "";
        }
        case ComparisonColumn::Kind::Score:
            return s.ok ? ScoreText(s.namedScores[static_cast<std::size_t>(col.index)].value, rs_)
                        : "";
        case ComparisonColumn::Kind::ScoreBand:
            return s.ok ? std::string(NamedScoreBand(
                              col.index, s.namedScores[static_cast<std::size_t>(col.index)].value))
                        : "";
        case ComparisonColumn::Kind::Status: {
            if (!s.ok) {
                return s.error;
            }
            std::string all;
            for (const std::string& w : s.warnings) {
                all += (all.empty() ? "" : "; ") + w;
            }
            if (const std::string& other = SamePeriodAs(row); !other.empty()) {
                all += (all.empty() ? "" : "; ") + SamePeriodNote(other);
            }
            return all;
        }
        case ComparisonColumn::Kind::File:
            return s.file;
    }
    return {};
}

std::string ComparisonTable::Csv() const {
    std::vector<std::string> cells;
    for (int c = 0; c < columnCount(); ++c) {
        cells.push_back(Caption(c));
    }
    std::string out = CsvLine(cells);
    for (int r = 0; r < rowCount(); ++r) {
        cells.clear();
        for (int c = 0; c < columnCount(); ++c) {
            cells.push_back(Text(r, c));
        }
        out += CsvLine(cells);
    }
    return out;
}

}  // namespace movik
