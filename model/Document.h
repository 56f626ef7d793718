#pragma once
// TDokument: the one document of the run (header, general data, the five tables, state).

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "model/Currency.h"
#include "model/Statements.h"

namespace movik {

// Size of the document block as it lies in the file, after the 82-byte header.
inline constexpr std::size_t kDocumentBlockSize = 59872;

struct TDokument {
    // Header: the signature and version every file starts with, set by NewDocument and written
    // by every save. Opening checks the file's signature bytes and leaves these as they are, so a
    // later version's file is saved with this program's version.
    std::string Potpis;
    std::string Verzija;

    // General data.
    std::string Poduzece;    // company name, UTF-8, at most 255 Windows-1250 characters
    std::string Sjediste;    // company seat, same limits
    double DatumOd = 0;      // period start, days from 30 December 1899
    double DatumDo = 0;      // period end, same scale
    double BrojDionica = 0;  // number of shares (an extended real in the file)
    // The currency when it is not the one the period implies (a converted document, or the
    // user's choice); nullopt: the period's. See Currency.h.
    std::optional<Valuta> OznakaValute;

    BilancaTable Bilanca;
    RacunTable Racun;
    CFIndTable CFInd;
    CFFreeTable CFFree;
    PokTable Pok;

    // State, never stored.
    bool Izmijenjen = false;
    std::string ImeDatoteke;

    // The block as last read from a file (zeros for a fresh one). Saving lays the interpreted
    // fields over it, so reserved bytes and string tails survive open -> save unchanged.
    std::array<std::uint8_t, kDocumentBlockSize> KeptBlock{};
};

// The display pattern of every amount of Bilanca, Racun, CFInd and CFFree.
inline constexpr std::string_view AmountFormat = "#,##0.00";
// The display pattern of shares.
inline constexpr std::string_view ShareFormat = "0.00%";
// The display pattern of row numbers.
inline constexpr std::string_view RowNumberFormat = "##0";

// Resets the document to an empty one built from the templates. currentYear is the year of the
// system date (the period becomes 1 January to 31 December of it). KeptBlock is not touched.
void NewDocument(TDokument& doc, int currentYear);

}  // namespace movik
