#include "reports/ReportFeed.h"

#include <limits>

#include "model/Templates.h"

namespace movik {

namespace {

// Index of key in kReportKeys, or -1.
int KeyIndex(std::string_view key) {
    for (std::size_t i = 0; i < kReportKeys.size(); ++i) {
        if (kReportKeys[i] == key)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

ReportFeed::ReportFeed(const StatementGrids& grids) : grids_(grids) {
    for (std::size_t i = 0; i < kReportFacts.size(); ++i) {
        counters_[i] = kReportFacts[i].report.start;
        ready_[i] = true;
    }
}

bool ReportFeed::ReportNextRow(std::string_view key) {
    const int k = KeyIndex(key);
    if (k < 0)
        return false;
    std::int32_t& counter = counters_[static_cast<std::size_t>(k)];
    const bool below = counter < kReportFacts[static_cast<std::size_t>(k)].report.limit;
    if (counter < std::numeric_limits<std::int32_t>::max())
        ++counter;
    return below;
}

std::string ReportFeed::ReportCellText(std::string_view key, int column) const {
    const int k = KeyIndex(key);
    if (k < 0)
        return {};
    const GridTexts& grid = grids_.of(kReportFacts[static_cast<std::size_t>(k)].statement);
    const std::int32_t row = counters_[static_cast<std::size_t>(k)];
    if (column < 0 || column >= grid.columnCount() || row < 0 || row >= grid.rowCount()) {
        return {};
    }
    return grid.cell(column, row);
}

FontStyle ReportFeed::ReportRowStyle(std::string_view key) const {
    const int k = KeyIndex(key);
    if (k < 0)
        return FontStyle::Plain;
    const Statement s = kReportFacts[static_cast<std::size_t>(k)].statement;
    const std::int32_t row = counters_[static_cast<std::size_t>(k)];
    if (row < 1 || row > RowCount(s))
        return FontStyle::Plain;
    const bool bold = TemplateRow(s, row).Vrsta.find('b') != std::string_view::npos;
    return bold ? FontStyle::Bold : FontStyle::Plain;
}

std::int32_t ReportFeed::Counter(std::string_view key) const {
    const int k = KeyIndex(key);
    return k < 0 ? 0 : counters_[static_cast<std::size_t>(k)];
}

void ReportFeed::SetCounter(std::string_view key, std::int32_t value) {
    const int k = KeyIndex(key);
    if (k >= 0)
        counters_[static_cast<std::size_t>(k)] = value;
}

std::int32_t ReportFeed::Limit(std::string_view key) {
    const int k = KeyIndex(key);
    return k < 0 ? 0 : kReportFacts[static_cast<std::size_t>(k)].report.limit;
}

bool ReportFeed::ReportReady(std::string_view key) const {
    const int k = KeyIndex(key);
    return k >= 0 && ready_[static_cast<std::size_t>(k)];
}

void ReportFeed::SetReportReady(std::string_view key, bool ready) {
    const int k = KeyIndex(key);
    if (k >= 0)
        ready_[static_cast<std::size_t>(k)] = ready;
}

}  // namespace movik
