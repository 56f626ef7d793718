#pragma once
// The data feed of the six statement reports. Each report key has a 32-bit row counter and a
// limit; the reports pull their detail rows one at a time and print the texts of the statement
// grids (exactly as the window shows them), with the row's font style from the template.
//
//   Key       Grid            Counter start  Limit
//   "AKTIVA"  agBilanca       0              56
//   "PASIVA"  agBilanca       56             88
//   "RACUN"   agRacun         0              45
//   "CFIND"   agCFInd         0              31
//   "CFFREE"  agCFFree        0              28
//   "POK"     agPokazatelji   0              19
//
// Keys compare exactly (case-sensitive); any other key gives false / "" / plain and changes
// nothing. Every key also has a ReportReady flag (set on construction), cleared while its report
// runs; a report whose flag is clear refuses to run.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/GridTexts.h"

namespace movik {

enum class FontStyle { Plain, Bold };

inline constexpr std::array<std::string_view, 6> kReportKeys = {"AKTIVA", "PASIVA", "RACUN",
                                                                "CFIND",  "CFFREE", "POK"};

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
    std::array<std::int32_t, 6> counters_{};
    std::array<bool, 6> ready_{};
};

}  // namespace movik
