#include "charts/StandingChart.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

namespace movik {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// A group's box in measure m: its least and greatest value and its quartiles.
ChartBox BoxOf(const StandingTable& t, const StandingGroup& g, std::size_t m) {
    const Quartiles& q = *g.quartiles[m];
    ChartBox box{kNone, q.q1, q.median, q.q3, kNone};
    for (const std::size_t e : g.members) {
        const double v = t.entries()[e].figures.values[m];
        if (HasValue(v)) {
            box.low = std::isnan(box.low) ? v : std::min(box.low, v);
            box.high = std::isnan(box.high) ? v : std::max(box.high, v);
        }
    }
    return box;
}

// "2024", or "2024 (HRK)" when groups of one year differ in currency.
std::string CategoryOf(const StandingTable& t, const StandingGroup& g) {
    return t.currency() ? g.Label()
                        : g.Label() + " (" + std::string(CurrencyCode(g.currency)) + ")";
}

}  // namespace

ChartPicture StandingBoxChart(const StandingTable& t, std::size_t m,
                              const std::vector<std::string>& files) {
    const StandingMeasure& measure = t.measures()[m];
    ChartPanel panel;
    panel.style = SeriesStyle::BoxPlots;
    panel.title = MeasureCaption(measure, t.currency());
    panel.percent = t.QuartilePattern(m).back() == '%';
    panel.boxName =
        "Skupina: od Q1 do Q3, crta je medijan, brkovi do najmanje i najveće vrijednosti";
    std::vector<std::size_t> shown;  // groups with a box
    std::string without;
    for (std::size_t g = 0; g < t.standing().groups().size(); ++g) {
        const StandingGroup& group = t.standing().groups()[g];
        if (group.quartiles[m]) {
            shown.push_back(g);
            panel.categories.push_back(CategoryOf(t, group));
            panel.boxes.push_back(BoxOf(t, group, m));
        } else {
            without += (without.empty() ? "" : ", ") + CategoryOf(t, group);
        }
    }
    // The chosen documents, a series per company (as its first row spells it).
    const std::set<std::string> chosen(files.begin(), files.end());
    std::map<std::string, std::size_t> seriesOf;
    for (std::size_t k = 0; k < shown.size(); ++k) {
        for (const std::size_t e : t.standing().groups()[shown[k]].members) {
            const StandingEntry& entry = t.entries()[e];
            const double v = entry.figures.values[m];
            if (chosen.count(entry.file) == 0 || !HasValue(v)) {
                continue;
            }
            const auto [at, added] =
                seriesOf.try_emplace(CollationKey(entry.company), panel.series.size());
            if (added) {
                panel.series.push_back({entry.company, std::vector<double>(shown.size(), kNone)});
            }
            panel.series[at->second].values[k] = v;
        }
    }
    ChartPicture picture;
    picture.title = "Raspon u skupini – " + panel.title;
    if (!without.empty()) {
        picture.note = "Bez raspona (manje od " + std::to_string(kStandingMinimum) +
                       " dokumenata ili vrijednosti): " + without + ".";
    }
    picture.panels.push_back(std::move(panel));
    return picture;
}

std::vector<std::pair<std::string, ChartPicture>> StandingBoxCharts(
    const StandingTable& t, const std::vector<std::string>& files) {
    std::vector<std::pair<std::string, ChartPicture>> pictures;
    for (std::size_t m = 0; m < t.measures().size(); ++m) {
        pictures.emplace_back(MeasureCaption(t.measures()[m], t.currency()),
                              StandingBoxChart(t, m, files));
    }
    return pictures;
}

}  // namespace movik
