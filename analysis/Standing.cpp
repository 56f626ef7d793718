#include "analysis/Standing.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "analysis/SummaryScores.h"
#include "model/CroatianPlural.h"
#include "model/Dates.h"
#include "model/NumberFormat.h"
#include "model/StatementRows.h"
#include "model/Templates.h"

namespace movik {

namespace {

std::string_view PatternOfIndicator(int indicator) {
    return TemplateRow(Statement::Pok, kIndicatorRows[static_cast<std::size_t>(indicator)]).Format;
}

// The decimals a pattern shows at most ("#,##0.00%" 2, "#,##0;" 0, "#,###.##" 2).
int DecimalsOf(std::string_view pattern) {
    int n = 0;
    for (std::size_t i = pattern.find('.') + 1; i > 0 && i < pattern.size(); ++i) {
        if (pattern[i] != '0' && pattern[i] != '#') {
            break;
        }
        ++n;
    }
    return n;
}

// An indicator as the grid shows it (rounded to its decimals), so ties are those a reader sees
// and a summary's JSON lines give the same standing as the window.
double IndicatorValue(const DocumentSummary& s, const StandingMeasure& m) {
    const auto i = static_cast<std::size_t>(m.indicator);
    if (!s.ok || s.indicatorNotComputable[i] || !std::isfinite(s.indicators[i])) {
        return kNoValue;
    }
    const double v = s.indicators[i];
    return RoundedAsShown(v, DecimalsShown(PatternOfIndicator(m.indicator), v));
}

StandingMeasure Indicator(int row, Direction direction) {
    const auto at = std::find(kIndicatorRows.begin(), kIndicatorRows.end(), row);
    StandingMeasure m;
    m.id = std::to_string(row);
    m.label = m.id;
    m.indicator = static_cast<int>(at - kIndicatorRows.begin());
    m.direction = direction;
    m.decimals = DecimalsOf(PatternOfIndicator(m.indicator));
    m.money = IsMoneyIndicatorRow(row);
    m.jsonObject = "indicators";
    m.valueOf = &IndicatorValue;
    return m;
}

// A score as the summary's JSON line holds it (rounded to four decimals), so the window and a
// standing computed from JSON lines agree.
double ScoreValue(const DocumentSummary& s, const StandingMeasure& m) {
    for (const NamedScore& named : s.namedScores) {
        if (named.key == m.id) {
            return s.ok && named.value ? RoundedAsShown(*named.value, 4) : kNoValue;
        }
    }
    return kNoValue;
}

// A named score of the summary (its key as the JSON line nests it under "scores").
StandingMeasure Score(std::string_view key, std::string_view label, Direction direction) {
    StandingMeasure m;
    m.id = std::string(key);
    m.label = std::string(label);
    for (const NamedScoreFacts& f : kNamedScores) {
        if (f.key == key) {
            m.name = std::string(f.caption);
        }
    }
    m.direction = direction;
    m.decimals = 4;
    m.jsonObject = "scores";
    m.valueOf = &ScoreValue;
    return m;
}

}  // namespace

const std::vector<StandingMeasure>& StandingMeasures() {
    using D = Direction;
    static const std::vector<StandingMeasure> measures = {
        Indicator(2, D::HigherIsBetter),   // current liquidity
        Indicator(3, D::HigherIsBetter),   // immediate liquidity
        Indicator(4, D::HigherIsBetter),   // days of sufficient liquidity
        Indicator(6, D::LowerIsBetter),    // days to collect from customers
        Indicator(7, D::None),             // days to pay suppliers: neither way is better
        Indicator(8, D::LowerIsBetter),    // days current assets are tied up
        Indicator(9, D::LowerIsBetter),    // days total assets are tied up
        Indicator(11, D::HigherIsBetter),  // profit margin
        Indicator(12, D::HigherIsBetter),  // return on assets
        Indicator(13, D::HigherIsBetter),  // return on equity
        Indicator(14, D::HigherIsBetter),  // earnings per share
        Indicator(16, D::LowerIsBetter),   // long-term liabilities to total assets
        Indicator(17, D::HigherIsBetter),  // equity to total assets
        Indicator(18, D::HigherIsBetter),  // interest coverage
        Indicator(19, D::HigherIsBetter),  // book value per share
        Score("altman_z_pp", "Z''", D::HigherIsBetter),
        Score("altman_z_p", "Z'", D::HigherIsBetter),
        Score("springate", "Springate", D::HigherIsBetter),
        Score("kralicek_df", "DF", D::HigherIsBetter),
        Score("quicktest.overall", "Q. test", D::LowerIsBetter),  // a grade: 1 is the best
    };
    return measures;
}

std::string MeasureCaption(const StandingMeasure& m, std::optional<Valuta> currency) {
    if (m.indicator < 0) {
        return m.name;
    }
    // Without the grid's numbering within its group ("1. ").
    const std::string caption = IndicatorCaption(m.indicator, currency);
    const std::size_t dot = caption.find(". ");
    return dot != std::string::npos && dot <= 2 ? caption.substr(dot + 2) : caption;
}

StandingDocument StandingDocumentOf(const DocumentSummary& s) {
    StandingDocument d;
    d.currency = s.currency;
    if (s.ok && s.to != 0 && std::isfinite(s.to)) {
        d.year = CivilFromDayNumber(s.to).year;
    }
    for (const StandingMeasure& m : StandingMeasures()) {
        d.values.push_back(s.ok && m.valueOf ? m.valueOf(s, m) : kNoValue);
    }
    return d;
}

double QuantileInc(const std::vector<double>& sorted, double p) {
    const double h = static_cast<double>(sorted.size() - 1) * p;
    const auto low = static_cast<std::size_t>(std::floor(h));
    if (low + 1 >= sorted.size()) {
        return sorted[low];
    }
    return sorted[low] + (h - static_cast<double>(low)) * (sorted[low + 1] - sorted[low]);
}

double PercentileRank(const std::vector<double>& sorted, double value) {
    const auto below = std::lower_bound(sorted.begin(), sorted.end(), value);
    const auto above = std::upper_bound(below, sorted.end(), value);
    const double equal = static_cast<double>(above - below);
    return 100.0 * (static_cast<double>(below - sorted.begin()) + equal / 2) /
           static_cast<double>(sorted.size());
}

std::optional<int> QuarterOf(double percentile, Direction direction) {
    if (direction == Direction::None || !HasValue(percentile)) {
        return std::nullopt;
    }
    const double better = direction == Direction::HigherIsBetter ? percentile : 100 - percentile;
    return better >= 75 ? 1 : better >= 50 ? 2 : better >= 25 ? 3 : 4;
}

std::string_view QuarterName(int quarter) {
    switch (quarter) {
        case 1:
            return "najbolja četvrtina";
        case 2:
            return "druga četvrtina";
        case 3:
            return "treća četvrtina";
        default:
            return "najslabija četvrtina";
    }
}

std::string SmallGroupNote(const StandingGroup& g) {
    return "Skupina " + g.Label() + " (" + std::string(CurrencyCode(g.currency)) + ") ima " +
           CountText(static_cast<long long>(g.members.size()), "dokument", "dokumenta",
                     "dokumenata") +
           ": za položaj u skupini treba ih najmanje " + std::to_string(kStandingMinimum) + ".";
}

Standing::Standing(const std::vector<StandingDocument>& documents,
                   const std::vector<StandingMeasure>& measures)
    : groupOf_(documents.size(), -1), ranks_(documents.size() * measures.size()) {
    for (const StandingMeasure& m : measures) {
        directions_.push_back(m.direction);
    }
    // Year, then euros before kunas.
    std::map<std::pair<int, int>, std::size_t> index;
    std::vector<std::pair<int, int>> keys;
    for (std::size_t d = 0; d < documents.size(); ++d) {
        if (!documents[d].year) {
            continue;
        }
        const std::pair<int, int> key(*documents[d].year,
                                      documents[d].currency == Valuta::Eur ? 0 : 1);
        auto [at, added] = index.try_emplace(key, groups_.size());
        if (added) {
            groups_.push_back({key.first, documents[d].currency, {}, {}, {}});
        }
        groups_[at->second].members.push_back(d);
    }
    std::sort(groups_.begin(), groups_.end(), [](const StandingGroup& a, const StandingGroup& b) {
        return std::tuple(a.year, a.currency != Valuta::Eur) <
               std::tuple(b.year, b.currency != Valuta::Eur);
    });
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        for (const std::size_t d : groups_[g].members) {
            groupOf_[d] = static_cast<int>(g);
        }
        RankGroup(groups_[g], documents);
    }
}

void Standing::RankGroup(StandingGroup& g, const std::vector<StandingDocument>& documents) {
    g.counts.assign(directions_.size(), 0);
    g.quartiles.assign(directions_.size(), std::nullopt);
    std::vector<double> sorted;
    for (std::size_t m = 0; m < directions_.size(); ++m) {
        sorted.clear();
        for (const std::size_t d : g.members) {
            if (m < documents[d].values.size() && HasValue(documents[d].values[m])) {
                sorted.push_back(documents[d].values[m]);
            }
        }
        g.counts[m] = static_cast<int>(sorted.size());
        if (!g.ranked() || g.counts[m] < kStandingMinimum) {
            continue;
        }
        std::sort(sorted.begin(), sorted.end());
        g.quartiles[m] = Quartiles{QuantileInc(sorted, 0.25), QuantileInc(sorted, 0.5),
                                   QuantileInc(sorted, 0.75)};
        for (const std::size_t d : g.members) {
            const double v = m < documents[d].values.size() ? documents[d].values[m] : kNoValue;
            if (HasValue(v)) {
                Rank& r = ranks_[d * directions_.size() + m];
                r.percentile = PercentileRank(sorted, v);
                r.quarter = QuarterOf(r.percentile, directions_[m]);
            }
        }
    }
}

std::optional<std::size_t> Standing::GroupOf(std::size_t document) const {
    if (document >= groupOf_.size() || groupOf_[document] < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(groupOf_[document]);
}

std::optional<Rank> Standing::RankOf(std::size_t document, std::size_t measure) const {
    if (document >= groupOf_.size() || measure >= directions_.size()) {
        return std::nullopt;
    }
    const Rank& r = ranks_[document * directions_.size() + measure];
    return HasValue(r.percentile) ? std::optional<Rank>(r) : std::nullopt;
}

}  // namespace movik
