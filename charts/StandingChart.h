#pragma once
// The picture of a standing: one measure across the groups (years) as box plots — the box from
// the first to the third quartile with the median across it, the whiskers to the group's least
// and greatest value (no value is drawn as an outlier) — and the chosen documents' values as
// points over them, each company named in the legend.

#include <string>
#include <vector>

#include "analysis/StandingTable.h"
#include "charts/ChartData.h"

namespace movik {

// The picture of measure m: a box per ranked group with quartiles in m (a group of fewer than
// five documents or values has none), the documents of files (in the table) as points, one
// series per company in the order first chosen. The note names the groups without a box.
ChartPicture StandingBoxChart(const StandingTable& table, std::size_t m,
                              const std::vector<std::string>& files);

// The pictures of every measure, named by its caption, for the charts window.
std::vector<std::pair<std::string, ChartPicture>> StandingBoxCharts(
    const StandingTable& table, const std::vector<std::string>& files);

}  // namespace movik
