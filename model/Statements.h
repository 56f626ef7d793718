#pragma once
// Statement rows and the five statement tables. A row is its position in its table, counted from 1.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace movik {

// The five statements, in the order in which every table-wide loop visits them.
enum class Statement { Bilanca, Racun, CFInd, CFFree, Pok };
inline constexpr std::array<Statement, 5> kAllStatements = {
    Statement::Bilanca, Statement::Racun, Statement::CFInd, Statement::CFFree, Statement::Pok};

inline constexpr int kBilancaRows = 88;
inline constexpr int kRacunRows = 45;
inline constexpr int kCFIndRows = 31;
inline constexpr int kCFFreeRows = 28;
inline constexpr int kPokRows = 19;

int RowCount(Statement s);

// One template row of a statement (the chart of positions). Texts are UTF-8.
struct TPozicija {
    std::int32_t Rbr;         // stored row number; nothing reads it (grids number rows by position)
    std::string_view Vrsta;   // style code: "" or "b"
    bool Izracunata;          // true for rows the calculations produce; such rows are never edited
    std::string_view Tekst;   // row text with its leading blanks
    std::string_view Format;  // display pattern of the row's amount (used by Pok only)
};

// Value rows, one layout per kind of table. Texts are UTF-8 in memory.
struct TStavkaBilanca {
    std::string Tekst;
    double IznosPrethodna = 0;
    double UdioPrethodna = 0;
    double IznosTekuca = 0;
    double UdioTekuca = 0;
};

struct TStavkaRacun {
    std::string Tekst;
    double Iznos = 0;
    double Udio = 0;
};

struct TStavkaIznos {
    std::string Tekst;
    double Iznos = 0;
};

// A fixed-length table addressed by position, counted from 1.
template <class Row, int N>
struct Table {
    static constexpr int kRows = N;
    std::array<Row, N> rows{};

    Row& row(int n) { return rows[static_cast<std::size_t>(n - 1)]; }
    const Row& row(int n) const { return rows[static_cast<std::size_t>(n - 1)]; }
};

using BilancaTable = Table<TStavkaBilanca, kBilancaRows>;
using RacunTable = Table<TStavkaRacun, kRacunRows>;
using CFIndTable = Table<TStavkaIznos, kCFIndRows>;
using CFFreeTable = Table<TStavkaIznos, kCFFreeRows>;
using PokTable = Table<TStavkaIznos, kPokRows>;

}  // namespace movik
