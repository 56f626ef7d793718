#pragma once
// The standing of compared documents as a table, as the comparison window's view "Položaj u
// skupini" shows it and its exports write it: the groups in year order, each with its
// documents (percentile rank and quarter per measure) and then its first quartile, median and
// third quartile as three rows (or one row saying why the group has no standing); documents in
// no group last. Sorting orders the documents within each group. No widgets.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/Comparison.h"
#include "analysis/Standing.h"
#include "model/Regional.h"

namespace movik {

// One compared document: what the table names it by, and its figures.
struct StandingEntry {
    std::string file;
    std::string company;
    double from = 0;  // day numbers; 0 for none
    double to = 0;
    bool converted = false;  // its money figures were converted from kunas
    StandingDocument figures;
};

// The entry of a comparison row (in the table's currency).
StandingEntry StandingEntryOf(const DocumentSummary& s);

class StandingTable {
  public:
    enum class RowKind { Document, Q1, Median, Q3, Note };
    struct Row {
        RowKind kind;
        std::size_t group;  // for every kind but a document in no group
        std::size_t entry;  // for a document
    };

    StandingTable(std::vector<StandingEntry> entries, RegionalSettings rs);
    // The comparison's rows, in its order.
    static StandingTable Of(const ComparisonTable& table, const RegionalSettings& rs);

    const Standing& standing() const { return standing_; }
    const std::vector<StandingEntry>& entries() const { return entries_; }
    const std::vector<StandingMeasure>& measures() const { return StandingMeasures(); }
    // The one currency of every group, when there is one (captions of money measures).
    std::optional<Valuta> currency() const { return currency_; }

    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Company, period, the measures, file.
    int columnCount() const { return static_cast<int>(measures().size()) + 3; }
    const Row& row(int r) const { return rows_[static_cast<std::size_t>(r)]; }
    // The measure a column shows; nullopt for the company, period and file columns.
    std::optional<std::size_t> MeasureOfColumn(int c) const;
    std::string Caption(int c) const;
    // The cell as shown: a document's "63,64 (2.)" (percentile rank, quarter), a quartile row's
    // value in the measure's format with two more decimals; "" where nothing is computed.
    std::string Text(int r, int c) const;
    // A document's percentile rank or a quartile row's value; nullopt elsewhere.
    std::optional<double> Number(int r, int c) const;
    // A document's quarter in the measure (1 the best); nullopt without one.
    std::optional<int> Quarter(int r, int c) const;
    // The cell spelled out for a tooltip and a screen reader.
    std::string Description(int r, int c) const;
    // The pattern of a quartile row's value of measure m ("#,##0.0000%").
    std::string QuartilePattern(std::size_t m) const;

    // Documents within each group by column c (empty cells last either way).
    void SortBy(int c, bool ascending);

    // The table as shown, semicolon-separated (Windows-1250), header first; or a line at a time.
    std::string Csv() const;
    void CsvLines(const std::function<void(const std::string& line)>& sink) const;

    // "Skupina 2024 (EUR, n = 7)".
    std::string GroupLabel(std::size_t g) const;

  private:
    void Layout();
    // The documents in the order of the sort column.
    void SortDocuments(std::vector<std::size_t>& documents) const;

    RegionalSettings rs_;
    std::vector<StandingEntry> entries_;
    Standing standing_;
    std::optional<Valuta> currency_;
    std::vector<Row> rows_;
    int sortColumn_ = -1;
    bool ascending_ = true;
};

// The legend of the cells, for the exports and the help.
inline constexpr const char* kStandingLegend =
    "U ćeliji: percentilni rang u skupini (0–100) i u zagradi četvrtina: (1.) najbolja, "
    "(2.) druga, (3.) treća, (4.) najslabija četvrtina. Dani plaćanja dobavljačima nemaju "
    "smjer: samo rang. Skupina: dokumenti s krajem razdoblja u istoj godini, u jednoj valuti; "
    "Q1, medijan i Q3 linearnom interpolacijom (kao QUARTILE.INC).";

}  // namespace movik
