#include "document/DocumentCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

#include "document/Cp1250.h"
#include "document/Extended.h"
#include "model/StatementRows.h"
#include "model/Templates.h"
#include "model/Utf8.h"

namespace movik {

namespace {

// Header: two short strings.
constexpr std::size_t kPotpisCapacity = 64;
constexpr std::size_t kVerzijaOffset = 1 + kPotpisCapacity;  // 65
constexpr std::size_t kVerzijaCapacity = 16;
static_assert(kVerzijaOffset + 1 + kVerzijaCapacity == kHeaderSize);

// Document block, offsets from its start.
constexpr std::size_t kTextCapacity = 255;
constexpr std::size_t kPoduzeceOffset = 0;
constexpr std::size_t kSjedisteOffset = 256;
constexpr std::size_t kDatumOdOffset = 512;
constexpr std::size_t kDatumDoOffset = 520;
constexpr std::size_t kBrojDionicaOffset = 528;
// The two bytes after the share count, which earlier files leave at 0: the currency mark.
constexpr std::size_t kValutaOffset = 538;
constexpr std::size_t kBilancaOffset = 540;
constexpr std::size_t kRacunOffset = 26236;
constexpr std::size_t kCFIndOffset = 38656;
constexpr std::size_t kCFFreeOffset = 47088;
constexpr std::size_t kPokOffset = 54704;

// Row layouts: reserved bytes first, then the text, then the doubles. Each table's layout is
// written once and both encoding and decoding read it.
template <class RowT, std::size_t N>
struct RowLayout {
    std::size_t tableOffset;  // from the block's start
    std::size_t rowSize;
    std::size_t textOffset;
    std::array<std::pair<std::size_t, double RowT::*>, N> doubles;  // offset in the row, field
    std::string_view name;  // named in the message of a text the file cannot hold
};

constexpr RowLayout<TStavkaBilanca, 4> kBilancaLayout{kBilancaOffset,
                                                      292,
                                                      4,
                                                      {{{260, &TStavkaBilanca::IznosPrethodna},
                                                        {268, &TStavkaBilanca::UdioPrethodna},
                                                        {276, &TStavkaBilanca::IznosTekuca},
                                                        {284, &TStavkaBilanca::UdioTekuca}}},
                                                      "Bilanca"};
constexpr RowLayout<TStavkaRacun, 2> kRacunLayout{
    kRacunOffset,
    276,
    4,
    {{{260, &TStavkaRacun::Iznos}, {268, &TStavkaRacun::Udio}}},
    "Račun dobiti i gubitka"};
constexpr std::size_t kIznosRowSize = 272;
constexpr RowLayout<TStavkaIznos, 1> IznosLayout(std::size_t offset, std::string_view name) {
    return {offset, kIznosRowSize, 8, {{{264, &TStavkaIznos::Iznos}}}, name};
}
constexpr auto kCFIndLayout = IznosLayout(kCFIndOffset, "Indirektna metoda novčanog toka");
constexpr auto kCFFreeLayout = IznosLayout(kCFFreeOffset, "Metoda slobodnog novčanog toka");
constexpr auto kPokLayout = IznosLayout(kPokOffset, "Pokazatelji");

// A row ends with its last double.
template <class RowT, std::size_t N>
constexpr bool EndsWithLastDouble(const RowLayout<RowT, N>& layout) {
    return layout.doubles.back().first + 8 == layout.rowSize;
}
static_assert(EndsWithLastDouble(kBilancaLayout) && EndsWithLastDouble(kRacunLayout) &&
              EndsWithLastDouble(kPokLayout));
static_assert(kBilancaOffset + kBilancaRows * kBilancaLayout.rowSize == kRacunOffset);
static_assert(kRacunOffset + kRacunRows * kRacunLayout.rowSize == kCFIndOffset);
static_assert(kCFIndOffset + kCFIndRows * kIznosRowSize == kCFFreeOffset);
static_assert(kCFFreeOffset + kCFFreeRows * kIznosRowSize == kPokOffset);
static_assert(kPokOffset + kPokRows * kIznosRowSize == kDocumentBlockSize);

// ---- little-endian doubles -------------------------------------------------------------------

void PutDouble(std::uint8_t* at, double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) {
        at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

double GetDouble(const std::uint8_t* at) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) {
        bits |= static_cast<std::uint64_t>(at[i]) << (8 * i);
    }
    return std::bit_cast<double>(bits);
}

// ---- short strings ---------------------------------------------------------------------------

// The first character of a UTF-8 text that Windows-1250 cannot hold (or a malformed byte).
std::string FirstUnencodable(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t len = StepUtf8(text, i);
        const std::string_view one = text.substr(i, len);
        if (!IsCp1250Text(one)) {
            return std::string(one);
        }
        i += len;
    }
    return {};
}

// Writes text as a short string of the given capacity at `at`: length byte, then the characters.
// Bytes beyond the length are left as they are. Texts longer than the capacity are cut. A text
// Windows-1250 cannot hold fails, naming the field (and the row, when row > 0).
Result PutShortString(std::uint8_t* at, std::size_t capacity, std::string_view text,
                      std::string_view field, int row) {
    // A UTF-8 text of at most `capacity` bytes has at most that many characters.
    std::string cutText;
    if (text.size() > capacity && Utf8Length(text) > capacity) {
        cutText = Utf8Left(text, capacity);
        text = cutText;
    }
    const std::optional<std::string> bytes = Utf8ToCp1250(text);
    if (!bytes) {
        const std::string fieldName =
            row > 0 ? std::string(field) + ", red " + std::to_string(row) : std::string(field);
        return Result::Fail(
            "Dokument nije snimljen: tekst \xE2\x80\x9E" + fieldName +
            "\xE2\x80\x9C sadrži znak \xE2\x80\x9E" + FirstUnencodable(text) +
            "\xE2\x80\x9C koji se ne može spremiti u datoteku (kodna stranica Windows-1250).");
    }
    const std::size_t length = std::min(bytes->size(), capacity);
    at[0] = static_cast<std::uint8_t>(length);
    std::memcpy(at + 1, bytes->data(), length);
    return Result::Ok();
}

std::string GetShortString(const std::uint8_t* at) {
    const std::size_t length = at[0];  // at most 255: always within a 256-byte field
    return Cp1250ToUtf8(std::string_view(reinterpret_cast<const char*>(at + 1), length));
}

template <class TableT, class RowT, std::size_t N>
Result PutRows(std::uint8_t* block, const TableT& table, const RowLayout<RowT, N>& layout) {
    for (int r = 1; r <= TableT::kRows; ++r) {
        std::uint8_t* row =
            block + layout.tableOffset + static_cast<std::size_t>(r - 1) * layout.rowSize;
        const RowT& s = table.row(r);
        if (Result put =
                PutShortString(row + layout.textOffset, kTextCapacity, s.Tekst, layout.name, r);
            !put) {
            return put;
        }
        for (const auto& [offset, field] : layout.doubles) {
            PutDouble(row + offset, s.*field);
        }
    }
    return Result::Ok();
}

template <class TableT, class RowT, std::size_t N>
void GetRows(const std::uint8_t* block, TableT& table, const RowLayout<RowT, N>& layout) {
    for (int r = 1; r <= TableT::kRows; ++r) {
        const std::uint8_t* row =
            block + layout.tableOffset + static_cast<std::size_t>(r - 1) * layout.rowSize;
        RowT& s = table.row(r);
        s.Tekst = GetShortString(row + layout.textOffset);
        for (const auto& [offset, field] : layout.doubles) {
            s.*field = GetDouble(row + offset);
        }
    }
}

bool SameDouble(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
           (std::isnan(a) && std::isnan(b));
}

// The currency mark: the Windows-1250 currency sign "¤" followed by "E" (euros) or "K" (kunas).
// Two bytes an earlier file holds as zeros; junk there is taken for a mark only when it is
// exactly one of these two pairs.
constexpr std::uint8_t kValutaSign = 0xA4;

std::optional<Valuta> GetValuta(const std::uint8_t* at) {
    if (at[0] != kValutaSign) {
        return std::nullopt;
    }
    if (at[1] == 'E') {
        return Valuta::Eur;
    }
    if (at[1] == 'K') {
        return Valuta::Hrk;
    }
    return std::nullopt;
}

// Writes the document's mark (SetDocumentCurrency keeps one only against the period). A mark
// no longer held is cleared to the zeros of an unmarked file; other bytes there are kept.
void PutValuta(std::uint8_t* at, const TDokument& doc) {
    if (doc.OznakaValute) {
        at[0] = kValutaSign;
        at[1] = *doc.OznakaValute == Valuta::Eur ? 'E' : 'K';
    } else if (GetValuta(at)) {
        at[0] = 0;
        at[1] = 0;
    }
}

}  // namespace

namespace {

// The signature and the version, before the document's block.
Result PutHeader(std::uint8_t* image, const TDokument& doc) {
    if (Result put = PutShortString(image, kPotpisCapacity, doc.Potpis, "Potpis", 0); !put) {
        return put;
    }
    return PutShortString(image + kVerzijaOffset, kVerzijaCapacity, doc.Verzija, "Verzija", 0);
}

// The company, seat, period, share count and currency mark.
Result PutGeneralData(std::uint8_t* block, const TDokument& doc) {
    if (Result put = PutShortString(block + kPoduzeceOffset, kTextCapacity, doc.Poduzece,
                                    "Naziv poduzeća", 0);
        !put) {
        return put;
    }
    if (Result put =
            PutShortString(block + kSjedisteOffset, kTextCapacity, doc.Sjediste, "Sjedište", 0);
        !put) {
        return put;
    }
    PutDouble(block + kDatumOdOffset, doc.DatumOd);
    PutDouble(block + kDatumDoOffset, doc.DatumDo);

    // The kept extended real stays when it still means the same number, so values a double cannot
    // hold exactly survive open -> save.
    ExtendedBytes kept{};
    std::memcpy(kept.data(), block + kBrojDionicaOffset, kept.size());
    if (!SameDouble(DecodeExtended(kept), doc.BrojDionica)) {
        const ExtendedBytes fresh = EncodeExtended(doc.BrojDionica);
        std::memcpy(block + kBrojDionicaOffset, fresh.data(), fresh.size());
    }
    PutValuta(block + kValutaOffset, doc);
    return Result::Ok();
}

// Every statement's rows: text, amounts and shares.
Result PutStatementRows(std::uint8_t* block, const TDokument& doc) {
    Result put = PutRows(block, doc.Bilanca, kBilancaLayout);
    put = put ? PutRows(block, doc.Racun, kRacunLayout) : put;
    put = put ? PutRows(block, doc.CFInd, kCFIndLayout) : put;
    put = put ? PutRows(block, doc.CFFree, kCFFreeLayout) : put;
    return put ? PutRows(block, doc.Pok, kPokLayout) : put;
}

}  // namespace

Result EncodeDocumentFile(const TDokument& doc, std::vector<std::uint8_t>& out) {
    std::vector<std::uint8_t> image(kDocumentFileSize, 0);
    if (Result put = PutHeader(image.data(), doc); !put) {
        return put;
    }
    // The block starts as the bytes read, so what the program does not interpret is kept.
    std::uint8_t* block = image.data() + kHeaderSize;
    std::memcpy(block, doc.KeptBlock.data(), kDocumentBlockSize);
    for (const auto put : {PutGeneralData, PutStatementRows}) {
        if (Result written = put(block, doc); !written) {
            return written;
        }
    }
    out = std::move(image);
    return Result::Ok();
}

void DecodeDocumentFile(const std::uint8_t* image, TDokument& doc) {
    const std::uint8_t* block = image + kHeaderSize;
    std::memcpy(doc.KeptBlock.data(), block, kDocumentBlockSize);

    doc.Poduzece = GetShortString(block + kPoduzeceOffset);
    doc.Sjediste = GetShortString(block + kSjedisteOffset);
    doc.DatumOd = GetDouble(block + kDatumOdOffset);
    doc.DatumDo = GetDouble(block + kDatumDoOffset);
    ExtendedBytes shares{};
    std::memcpy(shares.data(), block + kBrojDionicaOffset, shares.size());
    doc.BrojDionica = DecodeExtended(shares);
    doc.OznakaValute = GetValuta(block + kValutaOffset);

    GetRows(block, doc.Bilanca, kBilancaLayout);
    GetRows(block, doc.Racun, kRacunLayout);
    GetRows(block, doc.CFInd, kCFIndLayout);
    GetRows(block, doc.CFFree, kCFFreeLayout);
    GetRows(block, doc.Pok, kPokLayout);

    // These two rows always carry the program's own texts.
    for (const int row : {BilancaRow::PrepaidExpenses, BilancaRow::LossAboveCapital}) {
        doc.Bilanca.row(row).Tekst = std::string(TemplateRow(Statement::Bilanca, row).Tekst);
    }
}

bool HasDocumentSignature(const std::uint8_t* image) {
    if (image[0] != kPotpisCapacity) {
        return false;
    }
    const std::string expected = "Movik" + std::string(kPotpisCapacity - 5, ' ');
    return std::equal(expected.begin(), expected.end(), image + 1,
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

}  // namespace movik
