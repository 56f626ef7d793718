#pragma once
// The statement rows the program names: totals, results and the rows that the calculations,
// the checks, the summary, the euro conversion, the charts and the statement facts read by
// meaning. Each is named here once; every other place uses the name. A row is its position in
// its table, counted from 1; the templates hold every row's text.

#include <array>
#include <cstddef>

#include "model/Statements.h"

namespace movik {

// Bilanca, the balance sheet: assets are rows 1 to AssetsOffBalance, equity and liabilities the
// rest.
struct BilancaRow {
    static constexpr int SubscribedCapitalUnpaid = 1;  // A.Potraživanja za upisani a neuplaćeni…
    static constexpr int FixedAssets = 2;              // B.Dugotrajna imovina
    static constexpr int CurrentAssets = 31;           // C.Kratkotrajna imovina (obrtna sredstva)
    static constexpr int Inventories = 32;             // I.  Zalihe
    static constexpr int Cash = 52;                    // IV.Novac na računu i u blagajni
    static constexpr int PrepaidExpenses = 53;         // D.Aktivna vremenska razgraničenja
    static constexpr int LossAboveCapital = 54;        // E.Gubitak iznad visine kapitala
    static constexpr int TotalAssets = 55;             // F.UKUPNA AKTIVA
    static constexpr int AssetsOffBalance = 56;        // G.Izvanbilančni zapisi (of the assets)
    static constexpr int Equity = 57;                  // A.Kapital i rezerve
    static constexpr int RetainedEarnings = 62;        // V.a)  Zadržana dobit
    static constexpr int LossCarriedForward = 63;      // V.b)  Preneseni gubitak
    static constexpr int ProfitOfYear = 64;            // VI.a) Dobit tekuće godine
    static constexpr int LossOfYear = 65;              // VI.b) Gubitak tekuće godine
    static constexpr int LongTermProvisions = 66;      // B.Dugoročna rezerv. za rizike i trošk.
    static constexpr int LongTermLiabilities = 67;     // C.Dugoročne obveze
    static constexpr int ShortTermLiabilities = 75;    // D.Kratkoročne obveze
    static constexpr int AccruedExpenses = 86;         // E.Pasivna vremenska razgraničenja
    static constexpr int TotalEquityAndLiabilities = 87;  // F.UKUPNA PASIVA
};

// Racun, the income statement.
struct RacunRow {
    static constexpr int OperatingRevenue = 1;    // A. Poslovni prihodi
    static constexpr int SalesDomestic = 2;       // 1.Prihodi od prodaje u zemlji
    static constexpr int SalesAbroad = 3;         // 2.Prihodi od prodaje u inozemstvu
    static constexpr int OperatingExpenses = 7;   // B. Poslovni rashodi
    static constexpr int Depreciation = 19;       // 3.1. Amortizacija dugotrajne imovine
    static constexpr int FinancialRevenue = 26;   // C. Financijski prihodi
    static constexpr int FinancialExpenses = 33;  // D. Financijski rashodi
    static constexpr int TotalRevenue = 40;       // Ukupni prihodi
    static constexpr int TotalExpenses = 41;      // Ukupni rashodi
    static constexpr int ResultBeforeTax = 42;    // Rezultat prije poreza
    static constexpr int ProfitTax = 43;          // Porez na dobit
    static constexpr int NetResult = 45;          // REZULTAT POSLIJE POREZA
};

// CFInd, the cash flow by the indirect method.
struct CFIndRow {
    static constexpr int OperatingCashFlow = 10;  // A. Novčani tok od poslovnih aktivnosti
    static constexpr int InvestingCashFlow = 16;  // B. Novčani tok od investicijskih aktivnosti
    static constexpr int FinancingCashFlow = 27;  // C. Novčani tok od financijskih aktivnosti
    static constexpr int TotalCashFlow = 28;      // UKUPNI NOVČANI TOK
    static constexpr int CashChange = 31;         // PROMJENA STANJA NOVČANIH SREDSTAVA
};

// CFFree, the free cash flow.
struct CFFreeRow {
    static constexpr int FreeCashFlow = 21;       // SLOBODNI NOVČANI TOK
    static constexpr int FinancingCashFlow = 28;  // NOVČANI TOK OD FINANCIRANJA
};

// Pok, the indicators: four groups, each under its heading row.
struct PokRow {
    static constexpr int LiquidityHeading = 1;       // A. LIKVIDNOST
    static constexpr int ActivityHeading = 5;        // B. AKTIVNOST
    static constexpr int ProfitabilityHeading = 10;  // C. PROFITABILNOST
    static constexpr int EarningsPerShare = 14;      // 4. Zarada po dionici
    static constexpr int IndebtednessHeading = 15;   // D. ZADUŽENOST I POKRIĆE
    static constexpr int BookValuePerShare = 19;     // 4. Knjigovodstvena vrijednost 1 dionice
};

// The indicators' group headings, in grid order; no calculation writes them.
inline constexpr std::array<int, 4> kIndicatorHeadingRows = {
    PokRow::LiquidityHeading, PokRow::ActivityHeading, PokRow::ProfitabilityHeading,
    PokRow::IndebtednessHeading};

constexpr bool IsIndicatorHeading(int row) {
    for (const int heading : kIndicatorHeadingRows) {
        if (row == heading) {
            return true;
        }
    }
    return false;
}

// The indicator grid's rows that hold an indicator (every row but the headings), in grid order.
inline constexpr std::array<int, kPokRows - kIndicatorHeadingRows.size()> kIndicatorRows = [] {
    std::array<int, kPokRows - kIndicatorHeadingRows.size()> rows{};
    std::size_t n = 0;
    for (int row = 1; row <= kPokRows; ++row) {
        if (!IsIndicatorHeading(row)) {
            rows[n++] = row;
        }
    }
    return rows;
}();

// Indicators measured in money (per share); the others are ratios, the same in any currency.
constexpr bool IsMoneyIndicatorRow(int row) {
    return row == PokRow::EarningsPerShare || row == PokRow::BookValuePerShare;
}

}  // namespace movik
