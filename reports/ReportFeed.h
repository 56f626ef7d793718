#pragma once
// The data feed of the six statement reports. Each report key has a 32-bit row counter and a
// limit; the reports pull their detail rows one at a time and print the texts of the statement
// grids (exactly as the window shows them), with the row's font style from the template.
// The keys, their grids, counter starts and limits are the statement facts' reports
// (model/StatementFacts.h): "AKTIVA" 0/56 and "PASIVA" 56/88 over agBilanca, "RACUN" 0/45,
// "CFIND" 0/31, "CFFREE" 0/28, "POK" 0/19.
//
// Keys compare exactly (case-sensitive); any other key gives false / "" / plain and changes
// nothing. Every key also has a ReportReady flag (set on construction), cleared while its report
// runs; a report whose flag is clear refuses to run.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/GridTexts.h"
#include "model/StatementFacts.h"

namespace movik {

enum class FontStyle { Plain, Bold };

// The keys, in print order (from the statement facts).
inline constexpr std::array<std::string_view, kReportFacts.size()> kReportKeys = [] {
    std::array<std::string_view, kReportFacts.size()> keys{};
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i] = kReportFacts[i].report.key;
    return keys;
}();

class ReportFeed {
  public:
    // grids must outlive the feed (the workspace's grids).
    explicit ReportFeed(const StatementGrids& grids);

    // Increments the key's counter; true when the counter was below the key's limit before the
    // increment (the counter is then the row to print). The counter stops at the largest 32-bit
    // value instead of wrapping round.
    bool ReportNextRow(std::string_view key);
    // The text of grid cell (column, counter) of the key's grid; "" outside the grid.
    std::string ReportCellText(std::string_view key, int column) const;
    // Bold when the style code of the key's template row at the counter holds "b".
    FontStyle ReportRowStyle(std::string_view key) const;

    // The key's counter (0 for an unknown key) and setting it (ignored for an unknown key).
    std::int32_t Counter(std::string_view key) const;
    void SetCounter(std::string_view key, std::int32_t value);
    // The key's limit (0 for an unknown key).
    static std::int32_t Limit(std::string_view key);

    bool ReportReady(std::string_view key) const;
    void SetReportReady(std::string_view key, bool ready);

  private:
    const StatementGrids& grids_;
    std::array<std::int32_t, kReportKeys.size()> counters_{};
    std::array<bool, kReportKeys.size()> ready_{};
};

}  // namespace movik
