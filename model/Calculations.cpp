// The statement calculations and the consistency checks.
//
// Every formula adds and subtracts its terms left to right in the order written, in 80-bit
// extended precision, and stores the result as a double. Later rows that name an earlier row of
// the same statement use its stored value. No step allocates.

#include "model/Calculations.h"

#include <cmath>

#include "model/StatementRows.h"

namespace movik {

namespace {

using Ext = long double;

// The tolerance of the consistency checks: a difference passes when it is strictly smaller.
constexpr Ext kTolerance = 0.01L;

using B = BilancaRow;
using R = RacunRow;

constexpr double TStavkaBilanca::*kPrev = &TStavkaBilanca::IznosPrethodna;
constexpr double TStavkaBilanca::*kCur = &TStavkaBilanca::IznosTekuca;

// A term of a total is a row position; a negative position subtracts that row. Terms are
// template arguments so that every total unrolls into plain additions.
template <int N, class TableT, class Field>
Ext Term(const TableT& t, Field field) {
    if constexpr (N > 0) {
        return t.row(N).*field;
    } else {
        return -static_cast<Ext>(t.row(-N).*field);
    }
}

// The terms added left to right (adding a negated term is the same as subtracting it).
template <int... Terms, class TableT, class Field>
Ext Sum(const TableT& t, Field field) {
    return (Ext{0} + ... + Term<Terms>(t, field));
}

// A balance sheet total, first for the previous year and then for the current year.
template <int... Terms>
void BTotal(BilancaTable& b, int row) {
    b.row(row).IznosPrethodna = static_cast<double>(Sum<Terms...>(b, kPrev));
    b.row(row).IznosTekuca = static_cast<double>(Sum<Terms...>(b, kCur));
}

// An income statement total.
template <int... Terms>
void RTotal(RacunTable& r, int row) {
    r.row(row).Iznos = static_cast<double>(Sum<Terms...>(r, &TStavkaRacun::Iznos));
}

// The share of a value in a base, in percent: division first, then x100. A base of exactly 0
// gives 0, so no share outlives the calculation that made it.
double Share(double value, Ext base) {
    if (base == 0) {
        return 0;
    }
    return static_cast<double>(value / base * 100);
}

// Shares of a group of income statement rows in the amount of row baseRow.
template <int... Rows>
void RShares(RacunTable& r, int baseRow) {
    const Ext base = r.row(baseRow).Iznos;
    ((r.row(Rows).Udio = Share(r.row(Rows).Iznos, base)), ...);
}

// Readers of balance sheet and income statement amounts shared by the cash flow statements and
// the indicators.
struct Inputs {
    const BilancaTable& b;
    const RacunTable& r;

    Ext Prev(int n) const { return b.row(n).IznosPrethodna; }
    Ext Cur(int n) const { return b.row(n).IznosTekuca; }
    // Increase over the year: current minus previous.
    Ext Inc(int n) const { return Cur(n) - b.row(n).IznosPrethodna; }
    // Decrease over the year: previous minus current.
    Ext Dec(int n) const { return Prev(n) - b.row(n).IznosTekuca; }
    // Both years together: current plus previous.
    Ext Both(int n) const { return Cur(n) + b.row(n).IznosPrethodna; }
    Ext R(int n) const { return r.row(n).Iznos; }
};

// Writer and reader of a single-amount statement.
template <class TableT>
struct Rows {
    TableT& t;

    void Set(int n, Ext value) { t.row(n).Iznos = static_cast<double>(value); }
    Ext operator()(int n) const { return t.row(n).Iznos; }
};

}  // namespace

void CalcBilanca(TDokument& doc) {
    BilancaTable& b = doc.Bilanca;
    // BTotal<terms>(b, row): the row becomes its terms added left to right, in each year.
    BTotal<4, 5, 6, 7, 8>(b, 3);
    BTotal<10, 11, 12, 13, 14, 15, 16, 17>(b, 9);
    BTotal<19, 20, 21, 22, 23, 24, 25, 26>(b, 18);
    BTotal<28, 29, 30>(b, 27);
    BTotal<3, 9, 18, 27>(b, B::FixedAssets);
    BTotal<33, 34, 35, 36, 37>(b, 32);
    BTotal<39, 40, 41, 42, 43, 44>(b, 38);
    BTotal<46, 47, 48, 49, 50, 51>(b, 45);
    BTotal<32, 38, 45, B::Cash>(b, B::CurrentAssets);
    BTotal<B::SubscribedCapitalUnpaid, B::FixedAssets, B::CurrentAssets, B::PrepaidExpenses,
           B::LossAboveCapital>(b, B::TotalAssets);
    BTotal<58, 59, 60, 61, 62, -63, B::ProfitOfYear, -B::LossOfYear>(b, B::Equity);
    BTotal<68, 69, 70, 71, 72, 73, 74>(b, B::LongTermLiabilities);
    BTotal<76, 77, 78, 79, 80, 81, 82, 83, 84, 85>(b, B::ShortTermLiabilities);
    BTotal<B::Equity, B::LongTermProvisions, B::LongTermLiabilities, B::ShortTermLiabilities,
           B::AccruedExpenses>(b, B::TotalEquityAndLiabilities);

    // Every row of both halves is a share of total assets, never of total equity and
    // liabilities.
    const Ext basePrev = b.row(B::TotalAssets).IznosPrethodna;
    const Ext baseCur = b.row(B::TotalAssets).IznosTekuca;
    for (TStavkaBilanca& row : b.rows) {
        row.UdioPrethodna = Share(row.IznosPrethodna, basePrev);
        row.UdioTekuca = Share(row.IznosTekuca, baseCur);
    }
}

void CalcRacun(TDokument& doc) {
    RacunTable& r = doc.Racun;
    // RTotal<terms>(r, row): the row becomes its terms added left to right.
    RTotal<2, 3, 4, 5, 6>(r, R::OperatingRevenue);
    RTotal<12, 13, 14>(r, 11);
    RTotal<16, 17>(r, 15);
    RTotal<20, 21>(r, R::Depreciation);
    RTotal<R::Depreciation, 22>(r, 18);
    RTotal<11, 15, 18, 23, 24, 25>(r, 10);
    RTotal<10, -8, 9>(r, R::OperatingExpenses);
    RTotal<27, 28, 29, 30, 31, 32>(r, R::FinancialRevenue);
    RTotal<34, 35>(r, R::FinancialExpenses);
    RTotal<R::OperatingRevenue, R::FinancialRevenue>(r, 36);
    RTotal<R::OperatingExpenses, R::FinancialExpenses>(r, 37);
    RTotal<36, 38>(r, R::TotalRevenue);
    r.row(R::TotalRevenue).Udio = 100;
    RTotal<37, 39>(r, R::TotalExpenses);
    r.row(R::TotalExpenses).Udio = 100;
    RTotal<R::TotalRevenue, -R::TotalExpenses>(r, R::ResultBeforeTax);
    r.row(R::ResultBeforeTax).Udio = 100;
    RTotal<R::ResultBeforeTax, -R::ProfitTax, -44>(r, R::NetResult);

    // RShares<rows>(r, base): each row's share in the amount of the base row.
    RShares<R::NetResult, R::ProfitTax, 44>(r, R::ResultBeforeTax);
    RShares<1, 2, 3, 4, 5, 6, 26, 27, 28, 29, 30, 31, 32, 36, 38>(r, R::TotalRevenue);
    RShares<7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 33, 34, 35, 37,
            39>(r, R::TotalExpenses);
}

void CalcCFInd(TDokument& doc) {
    const Inputs in{doc.Bilanca, doc.Racun};
    Rows<CFIndTable> row{doc.CFInd};

    // Operating activities.
    row.Set(1, in.R(R::NetResult));
    row.Set(2, in.R(R::Depreciation));
    row.Set(3, row(1) + row(2));
    row.Set(4, in.Dec(32));
    row.Set(5, in.Dec(38));
    row.Set(6, in.Dec(B::PrepaidExpenses));
    row.Set(7, in.Inc(79) + in.Inc(80) + in.Inc(81) + in.Inc(82) + in.Inc(83) + in.Inc(85));
    row.Set(9, in.Inc(B::LongTermProvisions));
    row.Set(8, in.Inc(B::AccruedExpenses));
    row.Set(CFIndRow::OperatingCashFlow,
            row(3) + row(4) + row(5) + row(6) + row(7) + row(9) + row(8));

    // Investing activities; own shares bought back are shown apart, in row 17.
    row.Set(11, in.Dec(3) - in.R(20));
    row.Set(12, in.Dec(9) - in.R(21));
    row.Set(13, in.Dec(18) - in.Dec(25));
    row.Set(14, in.Dec(27));
    row.Set(15, in.Dec(45) - in.Dec(50));
    row.Set(CFIndRow::InvestingCashFlow, row(11) + row(12) + row(13) + row(14) + row(15));

    // Financing activities.
    row.Set(17, in.Dec(25) + in.Dec(50));
    row.Set(18, in.Inc(B::Equity) - in.Inc(B::SubscribedCapitalUnpaid) - in.R(R::NetResult) -
                    in.Inc(B::LossAboveCapital));
    row.Set(19, in.Inc(68));
    row.Set(20, in.Inc(69));
    row.Set(21, in.Inc(70));
    row.Set(22, in.Inc(71) + in.Inc(72) + in.Inc(73) + in.Inc(74));
    row.Set(23, in.Inc(76));
    row.Set(24, in.Inc(77));
    row.Set(25, in.Inc(78));
    row.Set(26, in.Inc(84));
    row.Set(CFIndRow::FinancingCashFlow, row(18) + row(19) + row(20) + row(21) + row(22) + row(23) +
                                             row(24) + row(25) + row(26) + row(17));

    // Total, and the same figure from the cash balances.
    row.Set(CFIndRow::TotalCashFlow, row(CFIndRow::OperatingCashFlow) +
                                         row(CFIndRow::InvestingCashFlow) +
                                         row(CFIndRow::FinancingCashFlow));
    row.Set(29, in.Prev(B::Cash));
    row.Set(30, in.Cur(B::Cash));
    row.Set(CFIndRow::CashChange, row(30) - row(29));
}

void CalcCFFree(TDokument& doc) {
    const Inputs in{doc.Bilanca, doc.Racun};
    Rows<CFFreeTable> row{doc.CFFree};

    // Gross cash flow.
    row.Set(1, in.R(R::ResultBeforeTax) + in.R(R::FinancialExpenses));
    row.Set(2, in.R(R::ProfitTax));
    row.Set(3, in.R(R::Depreciation));
    row.Set(4, row(1) - row(2) + row(3));

    // Gross investment: an increase of an asset is a use of cash.
    row.Set(6, in.Inc(B::Cash));
    row.Set(7, in.Inc(40));
    row.Set(8, in.Inc(32));
    row.Set(9, in.Inc(45) + in.Inc(44) + in.Inc(43) + in.Inc(42) + in.Inc(41) + in.Inc(39));
    row.Set(10, in.Inc(B::PrepaidExpenses));
    row.Set(11, in.Inc(80));
    row.Set(12, in.Inc(85) + in.Inc(83) + in.Inc(82) + in.Inc(81) + in.Inc(79));
    row.Set(13, in.Inc(B::AccruedExpenses));
    row.Set(15, in.Inc(B::FixedAssets));
    row.Set(16, in.R(R::Depreciation));
    row.Set(14, row(15) + row(16));
    row.Set(17, in.Inc(B::LongTermProvisions));
    row.Set(5, row(6) + row(7) + row(8) + row(9) + row(10) - row(11) - row(12) - row(13));
    row.Set(18, row(5) + row(14) - row(17));

    // Free cash flow.
    row.Set(19, row(4) - row(18));
    row.Set(20,
            in.Inc(58) + in.Inc(59) + in.Inc(60) + in.Inc(61) - in.Inc(B::SubscribedCapitalUnpaid));
    row.Set(CFFreeRow::FreeCashFlow, row(19) + row(20));

    // Financing.
    row.Set(22, -in.R(R::FinancialExpenses));
    row.Set(23,
            (in.Cur(62) - in.Cur(63) + in.Cur(B::ProfitOfYear) - in.Cur(B::LossOfYear)) -
                (in.Prev(62) - in.Prev(63) + in.Prev(B::ProfitOfYear) - in.Prev(B::LossOfYear)) -
                in.R(R::NetResult) - in.Inc(B::LossAboveCapital));
    row.Set(24, in.Inc(B::LongTermLiabilities));
    row.Set(25, in.Inc(76));
    row.Set(26, in.Inc(78) + in.Inc(77));
    row.Set(27, in.Inc(84));
    row.Set(CFFreeRow::FinancingCashFlow,
            row(22) + row(23) + row(24) + row(25) + row(26) + row(27));
}

namespace {

// The fifteen indicators as numerator and denominator, each handed to ratio(row, numerator,
// denominator) in the grid's order; CalcPok stores them and IndicatorsComputable looks at the
// denominators, so both read one list of formulas.
template <class Ratio>
void PokRatios(const TDokument& doc, Ratio&& ratio) {
    const Inputs in{doc.Bilanca, doc.Racun};
    const Ext days = static_cast<double>(static_cast<Ext>(doc.DatumDo) - doc.DatumOd + 1);
    const Ext shares = doc.BrojDionica;

    // A. Liquidity.
    ratio(2, in.Both(B::CurrentAssets), in.Both(B::ShortTermLiabilities));
    ratio(3,
          in.Cur(B::Cash) + in.Prev(B::Cash) + in.Cur(45) + in.Prev(45) + in.Cur(38) + in.Prev(38),
          in.Both(B::ShortTermLiabilities));
    ratio(4, in.Both(B::CurrentAssets) * days * 0.5L,
          in.R(R::OperatingExpenses) - in.R(24) - in.R(23) - in.R(18));
    // B. Activity.
    ratio(6, in.Both(40) * days * 0.5L, in.R(R::SalesDomestic) + in.R(R::SalesAbroad));
    ratio(7, in.Both(80) * days * 0.5L, in.R(R::OperatingExpenses));
    ratio(8, in.Both(B::CurrentAssets) * days * 0.5L, in.R(R::OperatingRevenue));
    ratio(9, in.Both(B::TotalAssets) * days * 0.5L, in.R(R::OperatingRevenue));
    // C. Profitability.
    ratio(11, in.R(R::NetResult) * 100, in.R(R::OperatingRevenue));
    ratio(12, in.R(R::NetResult) * 100, in.Both(B::TotalAssets) * 0.5L);
    ratio(13, in.R(R::NetResult) * 100, in.Both(B::Equity) * 0.5L);
    ratio(PokRow::EarningsPerShare, in.R(R::NetResult), shares);
    // D. Indebtedness and coverage.
    ratio(16, (in.Both(B::LongTermLiabilities) + in.Both(B::LongTermProvisions)) * 100,
          in.Both(B::TotalAssets));
    ratio(17, in.Both(B::Equity) * 100, in.Both(B::TotalAssets));
    ratio(18, in.R(R::ResultBeforeTax) + in.R(R::FinancialExpenses), in.R(R::FinancialExpenses));
    ratio(PokRow::BookValuePerShare, in.Both(B::Equity) * 0.5L, shares);
}

// Whether the indicator of row can be computed with den, its denominator stored as a double.
// The per-share indicators divide by the share count, which is zero only when it is 0. Every
// other denominator is an amount of money: amounts carry at most two decimals, so a sum of them
// that is not zero is at least a cent, and one below half a cent is what binary rounding left of
// a sum that cancels (zero money, which divided into anything gives an absurd figure).
bool Computable(int row, double den) {
    if (row == PokRow::EarningsPerShare || row == PokRow::BookValuePerShare) {
        return den != 0;
    }
    // A denominator that is not a number gives a figure that is not one either, as ever.
    return std::isnan(den) || !IsZeroMoney(den);
}

}  // namespace

bool IsZeroMoney(double amount) {
    // Written as "zero unless at least half a cent" so that NaN counts as zero.
    return !(std::fabs(amount) >= 0.005);
}

void CalcPok(TDokument& doc) {
    PokTable& pok = doc.Pok;
    // Numerator and denominator are each stored as a double; a denominator that is zero (for
    // money, below half a cent) leaves the indicator at 0. The four heading rows are never
    // written.
    PokRatios(doc, [&pok](int n, Ext numerator, Ext denominator) {
        pok.row(n).Iznos = 0;
        const auto num = static_cast<double>(numerator);
        const auto den = static_cast<double>(denominator);
        if (Computable(n, den)) {
            pok.row(n).Iznos = num / den;
        }
    });
}

std::array<bool, kPokRows> IndicatorsComputable(const TDokument& doc) {
    std::array<bool, kPokRows> computable{};
    PokRatios(doc, [&computable](int n, Ext, Ext denominator) {
        computable[static_cast<std::size_t>(n - 1)] =
            Computable(n, static_cast<double>(denominator));
    });
    return computable;
}

std::string CheckBalance(const TDokument& doc) {
    const TStavkaBilanca& assets = doc.Bilanca.row(B::TotalAssets);
    const TStavkaBilanca& liabilities = doc.Bilanca.row(B::TotalEquityAndLiabilities);
    // Written as "passes when smaller" so that a NaN difference never passes.
    const auto passes = [](Ext difference) { return std::fabs(difference) < kTolerance; };

    if (!passes(static_cast<Ext>(assets.IznosPrethodna) - liabilities.IznosPrethodna)) {
        return std::string(kWarningBalance);
    }
    if (!passes(static_cast<Ext>(assets.IznosTekuca) - liabilities.IznosTekuca)) {
        return std::string(kWarningBalance);
    }
    const double result = doc.Racun.row(R::NetResult).Iznos;
    if (result >= 0) {
        if (!passes(static_cast<Ext>(doc.Bilanca.row(B::ProfitOfYear).IznosTekuca) - result)) {
            return std::string(kWarningNetResult);
        }
    } else {
        // A loss: the balance sheet holds it as a positive amount.
        if (!passes(static_cast<Ext>(doc.Bilanca.row(B::LossOfYear).IznosTekuca) + result)) {
            return std::string(kWarningNetResult);
        }
    }
    // An empty date (day 0) is no period end or start to compare.
    if (doc.DatumOd != 0 && doc.DatumDo != 0 && std::floor(doc.DatumDo) < std::floor(doc.DatumOd)) {
        return std::string(kWarningPeriod);
    }
    return {};
}

BalanceDifferences DifferencesOf(const TDokument& doc) {
    const TStavkaBilanca& assets = doc.Bilanca.row(B::TotalAssets);
    const TStavkaBilanca& liabilities = doc.Bilanca.row(B::TotalEquityAndLiabilities);
    const double result = doc.Racun.row(R::NetResult).Iznos;
    BalanceDifferences d;
    d.previousYear =
        static_cast<double>(static_cast<Ext>(assets.IznosPrethodna) - liabilities.IznosPrethodna);
    d.currentYear =
        static_cast<double>(static_cast<Ext>(assets.IznosTekuca) - liabilities.IznosTekuca);
    d.netResult = result >= 0
                      ? static_cast<double>(
                            static_cast<Ext>(doc.Bilanca.row(B::ProfitOfYear).IznosTekuca) - result)
                      : static_cast<double>(
                            static_cast<Ext>(doc.Bilanca.row(B::LossOfYear).IznosTekuca) + result);
    return d;
}

std::string RecalculateAll(TDokument& doc) {
    CalcBilanca(doc);
    CalcRacun(doc);
    CalcCFInd(doc);
    CalcCFFree(doc);
    CalcPok(doc);
    return CheckBalance(doc);
}

}  // namespace movik
