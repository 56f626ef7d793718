// The statement calculations and the consistency checks.
//
// Every formula adds and subtracts its terms left to right in the order written, in 80-bit
// extended precision, and stores the result as a double. Later rows that name an earlier row of
// the same statement use its stored value. No step allocates.

#include "model/Calculations.h"

#include <cmath>

namespace movik {

namespace {

using Ext = long double;

// The tolerance of the consistency checks: a difference passes when it is strictly smaller.
constexpr Ext kTolerance = 0.01L;

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
    BTotal<3, 9, 18, 27>(b, 2);
    BTotal<33, 34, 35, 36, 37>(b, 32);
    BTotal<39, 40, 41, 42, 43, 44>(b, 38);
    BTotal<46, 47, 48, 49, 50, 51>(b, 45);
    BTotal<32, 38, 45, 52>(b, 31);
    BTotal<1, 2, 31, 53, 54>(b, 55);
    BTotal<58, 59, 60, 61, 62, -63, 64, -65>(b, 57);
    BTotal<68, 69, 70, 71, 72, 73, 74>(b, 67);
    BTotal<76, 77, 78, 79, 80, 81, 82, 83, 84, 85>(b, 75);
    BTotal<57, 66, 67, 75, 86>(b, 87);

    // Every row of both halves is a share of total assets (row 55), never of row 87.
    const Ext basePrev = b.row(55).IznosPrethodna;
    const Ext baseCur = b.row(55).IznosTekuca;
    for (TStavkaBilanca& row : b.rows) {
        row.UdioPrethodna = Share(row.IznosPrethodna, basePrev);
        row.UdioTekuca = Share(row.IznosTekuca, baseCur);
    }
}

void CalcRacun(TDokument& doc) {
    RacunTable& r = doc.Racun;
    // RTotal<terms>(r, row): the row becomes its terms added left to right.
    RTotal<2, 3, 4, 5, 6>(r, 1);
    RTotal<12, 13, 14>(r, 11);
    RTotal<16, 17>(r, 15);
    RTotal<20, 21>(r, 19);
    RTotal<19, 22>(r, 18);
    RTotal<11, 15, 18, 23, 24, 25>(r, 10);
    RTotal<10, -8, 9>(r, 7);
    RTotal<27, 28, 29, 30, 31, 32>(r, 26);
    RTotal<34, 35>(r, 33);
    RTotal<1, 26>(r, 36);
    RTotal<7, 33>(r, 37);
    RTotal<36, 38>(r, 40);
    r.row(40).Udio = 100;
    RTotal<37, 39>(r, 41);
    r.row(41).Udio = 100;
    RTotal<40, -41>(r, 42);
    r.row(42).Udio = 100;
    RTotal<42, -43, -44>(r, 45);

    // RShares<rows>(r, base): each row's share in the amount of the base row.
    RShares<45, 43, 44>(r, 42);
    RShares<1, 2, 3, 4, 5, 6, 26, 27, 28, 29, 30, 31, 32, 36, 38>(r, 40);
    RShares<7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 33, 34, 35, 37,
            39>(r, 41);
}

void CalcCFInd(TDokument& doc) {
    const Inputs in{doc.Bilanca, doc.Racun};
    Rows<CFIndTable> row{doc.CFInd};

    // Operating activities.
    row.Set(1, in.R(45));
    row.Set(2, in.R(19));
    row.Set(3, row(1) + row(2));
    row.Set(4, in.Dec(32));
    row.Set(5, in.Dec(38));
    row.Set(6, in.Dec(53));
    row.Set(7, in.Inc(79) + in.Inc(80) + in.Inc(81) + in.Inc(82) + in.Inc(83) + in.Inc(85));
    row.Set(9, in.Inc(66));
    row.Set(8, in.Inc(86));
    row.Set(10, row(3) + row(4) + row(5) + row(6) + row(7) + row(9) + row(8));

    // Investing activities; own shares bought back are shown apart, in row 17.
    row.Set(11, in.Dec(3) - in.R(20));
    row.Set(12, in.Dec(9) - in.R(21));
    row.Set(13, in.Dec(18) - in.Dec(25));
    row.Set(14, in.Dec(27));
    row.Set(15, in.Dec(45) - in.Dec(50));
    row.Set(16, row(11) + row(12) + row(13) + row(14) + row(15));

    // Financing activities.
    row.Set(17, in.Dec(25) + in.Dec(50));
    row.Set(18, in.Inc(57) - in.Inc(1) - in.R(45) - in.Inc(54));
    row.Set(19, in.Inc(68));
    row.Set(20, in.Inc(69));
    row.Set(21, in.Inc(70));
    row.Set(22, in.Inc(71) + in.Inc(72) + in.Inc(73) + in.Inc(74));
    row.Set(23, in.Inc(76));
    row.Set(24, in.Inc(77));
    row.Set(25, in.Inc(78));
    row.Set(26, in.Inc(84));
    row.Set(27, row(18) + row(19) + row(20) + row(21) + row(22) + row(23) + row(24) + row(25) +
                    row(26) + row(17));

    // Total, and the same figure from the cash balances.
    row.Set(28, row(10) + row(16) + row(27));
    row.Set(29, in.Prev(52));
    row.Set(30, in.Cur(52));
    row.Set(31, row(30) - row(29));
}

void CalcCFFree(TDokument& doc) {
    const Inputs in{doc.Bilanca, doc.Racun};
    Rows<CFFreeTable> row{doc.CFFree};

    // Gross cash flow.
    row.Set(1, in.R(42) + in.R(33));
    row.Set(2, in.R(43));
    row.Set(3, in.R(19));
    row.Set(4, row(1) - row(2) + row(3));

    // Gross investment: an increase of an asset is a use of cash.
    row.Set(6, in.Inc(52));
    row.Set(7, in.Inc(40));
    row.Set(8, in.Inc(32));
    row.Set(9, in.Inc(45) + in.Inc(44) + in.Inc(43) + in.Inc(42) + in.Inc(41) + in.Inc(39));
    row.Set(10, in.Inc(53));
    row.Set(11, in.Inc(80));
    row.Set(12, in.Inc(85) + in.Inc(83) + in.Inc(82) + in.Inc(81) + in.Inc(79));
    row.Set(13, in.Inc(86));
    row.Set(15, in.Inc(2));
    row.Set(16, in.R(19));
    row.Set(14, row(15) + row(16));
    row.Set(17, in.Inc(66));
    row.Set(5, row(6) + row(7) + row(8) + row(9) + row(10) - row(11) - row(12) - row(13));
    row.Set(18, row(5) + row(14) - row(17));

    // Free cash flow.
    row.Set(19, row(4) - row(18));
    row.Set(20, in.Inc(58) + in.Inc(59) + in.Inc(60) + in.Inc(61) - in.Inc(1));
    row.Set(21, row(19) + row(20));

    // Financing.
    row.Set(22, -in.R(33));
    row.Set(23, (in.Cur(62) - in.Cur(63) + in.Cur(64) - in.Cur(65)) -
                    (in.Prev(62) - in.Prev(63) + in.Prev(64) - in.Prev(65)) - in.R(45) -
                    in.Inc(54));
    row.Set(24, in.Inc(67));
    row.Set(25, in.Inc(76));
    row.Set(26, in.Inc(78) + in.Inc(77));
    row.Set(27, in.Inc(84));
    row.Set(28, row(22) + row(23) + row(24) + row(25) + row(26) + row(27));
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
    ratio(2, in.Both(31), in.Both(75));
    ratio(3, in.Cur(52) + in.Prev(52) + in.Cur(45) + in.Prev(45) + in.Cur(38) + in.Prev(38),
          in.Both(75));
    ratio(4, in.Both(31) * days * 0.5L, in.R(7) - in.R(24) - in.R(23) - in.R(18));
    // B. Activity.
    ratio(6, in.Both(40) * days * 0.5L, in.R(2) + in.R(3));
    ratio(7, in.Both(80) * days * 0.5L, in.R(7));
    ratio(8, in.Both(31) * days * 0.5L, in.R(1));
    ratio(9, in.Both(55) * days * 0.5L, in.R(1));
    // C. Profitability.
    ratio(11, in.R(45) * 100, in.R(1));
    ratio(12, in.R(45) * 100, in.Both(55) * 0.5L);
    ratio(13, in.R(45) * 100, in.Both(57) * 0.5L);
    ratio(14, in.R(45), shares);
    // D. Indebtedness and coverage.
    ratio(16, (in.Both(67) + in.Both(66)) * 100, in.Both(55));
    ratio(17, in.Both(57) * 100, in.Both(55));
    ratio(18, in.R(42) + in.R(33), in.R(33));
    ratio(19, in.Both(57) * 0.5L, shares);
}

}  // namespace

void CalcPok(TDokument& doc) {
    PokTable& pok = doc.Pok;
    // Numerator and denominator are each stored as a double; an exactly zero denominator leaves
    // the indicator at 0. The four heading rows (1, 5, 10, 15) are never written.
    PokRatios(doc, [&pok](int n, Ext numerator, Ext denominator) {
        pok.row(n).Iznos = 0;
        const auto num = static_cast<double>(numerator);
        const auto den = static_cast<double>(denominator);
        if (den != 0) {
            pok.row(n).Iznos = num / den;
        }
    });
}

std::array<bool, kPokRows> IndicatorsComputable(const TDokument& doc) {
    std::array<bool, kPokRows> computable{};
    PokRatios(doc, [&computable](int n, Ext, Ext denominator) {
        computable[static_cast<std::size_t>(n - 1)] = static_cast<double>(denominator) != 0;
    });
    return computable;
}

std::string CheckBalance(const TDokument& doc) {
    const TStavkaBilanca& assets = doc.Bilanca.row(55);
    const TStavkaBilanca& liabilities = doc.Bilanca.row(87);
    // Written as "passes when smaller" so that a NaN difference never passes.
    const auto passes = [](Ext difference) { return std::fabs(difference) < kTolerance; };

    if (!passes(static_cast<Ext>(assets.IznosPrethodna) - liabilities.IznosPrethodna)) {
        return std::string(kWarningBalance);
    }
    if (!passes(static_cast<Ext>(assets.IznosTekuca) - liabilities.IznosTekuca)) {
        return std::string(kWarningBalance);
    }
    const double result = doc.Racun.row(45).Iznos;
    if (result >= 0) {
        if (!passes(static_cast<Ext>(doc.Bilanca.row(64).IznosTekuca) - result)) {
            return std::string(kWarningNetResult);
        }
    } else {
        // A loss: row 65 holds it as a positive amount.
        if (!passes(static_cast<Ext>(doc.Bilanca.row(65).IznosTekuca) + result)) {
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
    const TStavkaBilanca& assets = doc.Bilanca.row(55);
    const TStavkaBilanca& liabilities = doc.Bilanca.row(87);
    const double result = doc.Racun.row(45).Iznos;
    BalanceDifferences d;
    d.previousYear =
        static_cast<double>(static_cast<Ext>(assets.IznosPrethodna) - liabilities.IznosPrethodna);
    d.currentYear =
        static_cast<double>(static_cast<Ext>(assets.IznosTekuca) - liabilities.IznosTekuca);
    d.netResult =
        result >= 0
            ? static_cast<double>(static_cast<Ext>(doc.Bilanca.row(64).IznosTekuca) - result)
            : static_cast<double>(static_cast<Ext>(doc.Bilanca.row(65).IznosTekuca) + result);
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
