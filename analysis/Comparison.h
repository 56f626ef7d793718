#pragma once
// The comparison table of many documents: one row per document (failed files included, with
// their error), columns for the general data, the key amounts and the indicators, sorting by any
// column, and grouping by company in period order with each key amount's change against the
// company's previous period. The window shows it; it knows nothing of widgets.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Summary.h"
#include "model/Regional.h"

namespace movik {

// The display pattern of the change columns (a percentage number followed by "%").
inline constexpr std::string_view kChangeFormat = "#,##0.0%";

struct ComparisonColumn {
    enum class Kind {
        Company,
        Seat,
        Period,
        Currency,
        Amount,
        Change,
        Indicator,
        Score,      // a named score's value (kNamedScores)
        ScoreBand,  // the band of a model's score, in words; sorts by the score
        File,
        Status
    };
    Kind kind;
    int index = 0;  // key amount, indicator or named score position
};

class ComparisonTable {
  public:
    explicit ComparisonTable(RegionalSettings rs);

    // Adds the rows of the summaries whose file is not in the table yet (a file or folder
    // added twice adds nothing twice); returns how many were there already. Rows are in one
    // currency: when the documents mix euros and kunas, the kuna documents' amounts are shown
    // converted to euros (summaries made with their euro figures), so changes across the
    // changeover compare euros with euros.
    int Add(std::vector<DocumentSummary> summaries);
    // Removes the rows at these positions of the current order.
    void Remove(std::vector<int> rows);
    void Clear();

    // Grouped: rows of one company together in period order, with the change columns shown;
    // failed files last. Companies go in name order, or, once sorted by a column, by that
    // column (a company by its latest period's cell) while each company's rows stay in period
    // order, so every change still compares a period with the one before it. Ungrouping
    // removes the change columns and the sort orders single rows.
    void SetGrouped(bool grouped);
    bool grouped() const { return grouped_; }
    // The currency of every amount shown; nullopt for an empty table.
    std::optional<Valuta> currency() const { return currency_; }
    void SortBy(int column, bool ascending);

    int rowCount() const { return static_cast<int>(order_.size()); }
    int columnCount() const { return static_cast<int>(columns_.size()); }
    const ComparisonColumn& column(int c) const { return columns_[static_cast<std::size_t>(c)]; }
    std::string Caption(int c) const;
    // The cell's text, with the locale's separators.
    std::string Text(int row, int c) const;
    // The cell's number (amounts, changes, indicators, scores); nullopt for texts and empty
    // cells.
    std::optional<double> Number(int row, int c) const;
    const DocumentSummary& Summary(int row) const;
    // Which added document a row shows: stays with the document when the rows are sorted or
    // grouped (it changes only when rows are added or removed).
    std::size_t EntryOf(int row) const { return order_[static_cast<std::size_t>(row)]; }
    // The change in percent of a key amount against the company's previous period; nullopt for
    // the first period, a previous amount of 0, and a document of the same company and period
    // as another (no change between two versions of one period).
    std::optional<double> Change(int row, int amountIndex) const;
    // The file of another document of the same company and the same period, "" when none.
    const std::string& SamePeriodAs(int row) const;

    // The table as shown, as semicolon-separated lines (header row first), Windows-1250.
    std::string Csv() const;

  private:
    struct Entry {
        DocumentSummary original;  // as summarised
        DocumentSummary summary;   // as shown: in the table's currency
        std::string companyKey;
        std::array<std::optional<double>, kKeyAmountCount> changes;
        std::string samePeriodAs;
    };
    const Entry& At(int row) const;
    // The number a column sorts by: the cell's, or for a band its score's.
    std::optional<double> SortNumber(int row, int c) const;
    // In the grouped order: the companies' blocks ordered by the sort column.
    void OrderCompanies();
    void BuildColumns();
    void ApplyCurrency();
    void ComputeTrends();
    void Reorder();

    RegionalSettings rs_;
    std::vector<Entry> entries_;
    std::vector<std::size_t> order_;  // row -> entry
    std::vector<ComparisonColumn> columns_;
    std::optional<Valuta> currency_;
    bool grouped_ = false;
    bool showChanges_ = false;
    int sortColumn_ = -1;
    bool ascending_ = true;
};

// The note of a document of the same company and period as otherFile.
std::string SamePeriodNote(const std::string& otherFile);

// A sort key of a text: letter case ignored and the Croatian letters in their alphabet's place
// (c, č, ć, d, dž, đ, ... s, š, ... z, ž).
std::string CollationKey(const std::string& text);

}  // namespace movik
