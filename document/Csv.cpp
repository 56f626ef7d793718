#include "document/Csv.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "document/Cp1250.h"
#include "document/FileIO.h"
#include "document/TextLines.h"
#include "model/CroatianPlural.h"
#include "model/NumberFormat.h"
#include "model/StatementFacts.h"

namespace movik {

namespace {

constexpr std::string_view kNarrowNoBreakSpace = "\xE2\x80\xAF";  // U+202F
constexpr std::string_view kNoBreakSpace = "\xC2\xA0";  // U+00A0, byte 0xA0 in Windows-1250

}  // namespace

void AppendCsvCell(std::string& out, std::string_view cell, CsvCellRule rule) {
    const std::size_t start = out.size();
    if (std::all_of(cell.begin(), cell.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        out += cell;  // ASCII is written as it is
    } else if (cell.find(kNarrowNoBreakSpace) == std::string_view::npos) {
        out += Utf8ToCp1250Lossy(cell);
    } else {
        std::string text(cell);
        for (std::size_t at; (at = text.find(kNarrowNoBreakSpace)) != std::string::npos;) {
            text.replace(at, kNarrowNoBreakSpace.size(), kNoBreakSpace);
        }
        out += Utf8ToCp1250Lossy(text);
    }
    // Windows-1250 is one byte a character, so the separator and quote are plain bytes here.
    bool quote = false;
    for (std::size_t i = start; i < out.size(); ++i) {
        char& c = out[i];
        if (c == '\r' || c == '\n') {
            c = ' ';
        } else if (c == ';' && rule == CsvCellRule::SeparatorReplaced) {
            c = ',';
        } else if (c == ';' || c == '"') {
            quote = quote || rule == CsvCellRule::Quoted;
        }
    }
    if (quote) {
        std::string quoted = "\"";
        for (std::size_t i = start; i < out.size(); ++i) {
            quoted += out[i];
            if (out[i] == '"') {
                quoted += '"';
            }
        }
        out.replace(start, std::string::npos, quoted + '"');
    }
    out += ';';
}

std::string CsvLine(const std::vector<std::string>& cells) {
    std::string line;
    for (const std::string& c : cells) {
        AppendCsvCell(line, c, CsvCellRule::Quoted);
    }
    return line.append(kLineEnd);
}

namespace {

// The pieces a line must have and the grid column each piece goes to (0 = not used).
struct ImportLayout {
    int pieces;
    int columns[6];
};

// Piece p of a line goes to grid column p + 1, except the row text (piece 1), which is not read.
std::optional<ImportLayout> ImportLayoutOf(Statement s) {
    const StatementFacts& facts = FactsOf(s);
    if (!facts.imports) {
        return std::nullopt;
    }
    ImportLayout layout{facts.columns - 1, {}};
    for (int p = 0; p < layout.pieces; ++p) {
        layout.columns[p] = p == 1 ? 0 : p + 1;
    }
    return layout;
}

// The other of the two separator conventions ("," thousands with "." decimals, and the reverse).
RegionalSettings OtherConvention(const RegionalSettings& rs) {
    RegionalSettings other = rs;
    const bool commaDecimal = rs.decimalSeparator == ",";
    other.thousandsSeparator = commaDecimal ? "," : ".";
    other.decimalSeparator = commaDecimal ? "." : ",";
    return other;
}

bool IsBlank(std::string_view piece) {
    return piece.find_first_not_of(' ') == std::string_view::npos;
}

// True when the amount ends in the decimal separator and exactly two digits.
bool HasTwoDecimals(std::string_view piece, const std::string& decimal) {
    const std::size_t end = piece.find_last_not_of(' ');
    if (end == std::string_view::npos || end < decimal.size() + 2) {
        return false;
    }
    const std::string_view tail = piece.substr(0, end + 1);
    return tail.substr(tail.size() - 2).find_first_not_of("0123456789") == std::string_view::npos &&
           tail.substr(tail.size() - 2 - decimal.size(), decimal.size()) == decimal;
}

// True when the amount has digits beyond the cents after its decimal separator that are not
// all 0 ("420.000,005", "1.234,5678"), so that the grid's two decimals round it.
bool HasMoreThanTwoDecimals(std::string_view piece, const std::string& decimal) {
    const std::size_t end = piece.find_last_not_of(' ');
    const std::size_t at = piece.rfind(decimal);
    if (end == std::string_view::npos || at == std::string_view::npos || at > end) {
        return false;
    }
    const std::string_view decimals =
        piece.substr(at + decimal.size(), end + 1 - at - decimal.size());
    return decimals.size() > 2 &&
           decimals.find_first_not_of("0123456789") == std::string_view::npos &&
           decimals.substr(2).find_first_not_of('0') != std::string_view::npos;
}

// The pieces of line cut with empty pieces kept; the empty piece after a final ";" (which the
// export writes after every cell) is not counted. Views into line.
std::vector<std::string_view> AllPieces(std::string_view line) {
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t at = line.find(';', start);
        pieces.push_back(line.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos) {
            break;
        }
        start = at + 1;
    }
    if (pieces.size() > 1 && pieces.back().empty()) {
        pieces.pop_back();
    }
    if (pieces.size() == 1 && pieces.front().empty()) {
        pieces.clear();
    }
    return pieces;
}

// The 1-based column in the file of the piece-th non-empty piece of line.
std::size_t FileColumnOf(std::string_view line, std::size_t piece) {
    const std::vector<std::string_view> all = AllPieces(line);
    std::size_t seen = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!all[i].empty() && seen++ == piece) {
            return i + 1;
        }
    }
    return piece + 1;
}

// True when piece, read under rs, could as well be a whole amount written with the other
// convention's thousands separator: exactly one separator, the decimal one, followed by exactly
// three digits ("485,000" under a decimal comma), and the two readings differ.
bool IsAmbiguousAmount(std::string_view piece, const RegionalSettings& rs,
                       const RegionalSettings& other) {
    const std::size_t first = piece.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return false;
    }
    std::string_view text = piece.substr(first, piece.find_last_not_of(' ') - first + 1);
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    const std::string& decimal = rs.decimalSeparator;
    const std::size_t at = text.find(decimal);
    if (at == std::string_view::npos || at == 0 || text.size() != at + decimal.size() + 3) {
        return false;
    }
    const auto digitsOnly = [](std::string_view part) {
        return part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!digitsOnly(text.substr(0, at)) || !digitsOnly(text.substr(at + decimal.size()))) {
        return false;
    }
    const std::optional<double> here = ReadAmount(piece, rs);
    const std::optional<double> there = ReadAmount(piece, other);
    return here && there && *here != *there;
}

// True when piece is the row number row (blanks around it allowed).
bool IsRowNumber(std::string_view piece, std::size_t row) {
    const std::size_t first = piece.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return false;
    }
    return piece.substr(first, piece.find_last_not_of(' ') - first + 1) == std::to_string(row);
}

// A refusal when the lines are not shaped as s's export writes them: a line with more cells
// than s has, or every line shaped as another statement's file (which would otherwise be read
// into the wrong rows, or fail by chance). Ok when the shape may be s's.
Result CheckShape(Statement s, const std::vector<std::string_view>& lines) {
    const int own = FactsOf(s).columns - 1;
    std::optional<std::size_t> commonCount;
    bool allSame = true;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::size_t count = AllPieces(lines[k]).size();
        if (count == 0) {
            continue;
        }
        if (!commonCount) {
            commonCount = count;
        }
        allSame = allSame && count == *commonCount;
        if (count > static_cast<std::size_t>(own)) {
            return Result::Fail(
                "Datoteka nije uvezena: nije tablica izvještaja „" + std::string(FactsOf(s).title) +
                "” (redak " + std::to_string(k + 1) + " ima " +
                CountText(static_cast<long long>(count), "stupac", "stupca", "stupaca") +
                ", a izvještaj ih ima " + std::to_string(own) + ").");
        }
    }
    if (!commonCount || !allSame || *commonCount == static_cast<std::size_t>(own)) {
        return Result::Ok();
    }
    for (const StatementFacts& other : kStatementFacts) {
        if (other.imports && other.statement != s &&
            static_cast<std::size_t>(other.columns - 1) == *commonCount) {
            return Result::Fail("Datoteka nije uvezena: to je tablica izvještaja „" +
                                std::string(other.title) + "”, a ne izvještaja „" +
                                std::string(FactsOf(s).title) + "”.");
        }
    }
    return Result::Ok();
}

// The pieces of a line to import: cut with empty pieces dropped, except that a line with every
// cell in place whose only empty cells are amounts keeps them (an empty amount is 0; dropping
// it would shift the later cells). *kept tells which way the line was cut.
std::vector<std::string> ImportPieces(std::string_view line, std::size_t count,
                                      const std::vector<int>& amountPieces, bool* kept) {
    const std::vector<std::string_view> all = AllPieces(line);
    *kept = all.size() == count;
    for (std::size_t p = 0; *kept && p < all.size(); ++p) {
        if (all[p].empty() && std::find(amountPieces.begin(), amountPieces.end(),
                                        static_cast<int>(p)) == amountPieces.end()) {
            *kept = false;
        }
    }
    if (*kept) {
        return std::vector<std::string>(all.begin(), all.end());
    }
    TBrkApart splitter;
    splitter.BaseString = std::string(line);
    splitter.BreakString = ";";
    splitter.AllowEmptyString = false;
    splitter.BreakApart();
    return std::move(splitter.StringList);
}

}  // namespace

void TBrkApart::BreakApart() {
    StringList.clear();
    std::string_view rest = BaseString;
    while (true) {
        const std::size_t at =
            BreakString.empty() ? std::string_view::npos : rest.find(BreakString);
        const std::string_view piece = rest.substr(0, at);
        if (!piece.empty() || AllowEmptyString) {
            StringList.emplace_back(piece);
        }
        if (at == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(at + BreakString.size());
    }
}

std::string DefaultCsvName(Statement s) {
    return std::string(FactsOf(s).csvName);
}

std::string ExportCsv(Statement /*s*/, const GridTexts& grid) {
    // Every grid's listed columns are 1 to its last: the fixed column 0 is never written.
    std::string out;
    out.reserve(static_cast<std::size_t>(grid.rowCount()) * 128);
    for (int row = 0; row < grid.rowCount(); ++row) {
        for (int col = 1; col < grid.columnCount(); ++col) {
            AppendCsvCell(out, grid.cell(col, row), CsvCellRule::SeparatorReplaced);
        }
        out += kLineEnd;
    }
    return out;
}

Result ReadImportFile(const std::string& path, Statement s, std::string& bytes,
                      const FileCalls& calls) {
    const std::size_t linesWanted = static_cast<std::size_t>(RowCount(s)) + 1;  // header row too
    ReadOutcome read = ReadLines(path, linesWanted, kMaxImportBytes, calls);
    if (read.status == ReadStatus::TooLarge) {
        return Result::Fail("Datoteka " + path + " nije uvezena: njezinih prvih " +
                            std::to_string(linesWanted) + " redaka ima više od " +
                            std::to_string(kMaxImportBytes / (1024 * 1024)) +
                            " MB, pa to nije tablica izvještaja.");
    }
    if (read.status != ReadStatus::Read) {
        return Result::Fail(CannotOpenMessage(path));
    }
    bytes = std::move(read.bytes);
    return Result::Ok();
}

namespace {

// The text of the lines an import into a grid of rows rows reads: a file saved as UTF-8 with a
// byte order mark is read as UTF-8, anything else as Windows-1250, as the export writes it.
// Only the lines the grid can take are decoded, however long the file is.
std::string DecodeImportText(std::string_view fileBytes, std::size_t rows) {
    fileBytes = fileBytes.substr(0, TakeLines(fileBytes, rows));
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (fileBytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        return std::string(fileBytes.substr(kUtf8Bom.size()));
    }
    return Cp1250ToUtf8(fileBytes);
}

// The pieces of s's lines that hold amounts (the input columns, counted from piece 0).
std::vector<int> AmountPiecesOf(Statement s) {
    std::vector<int> amountPieces;
    for (const int col : FactsOf(s).inputColumns) {
        if (col != 0) {
            amountPieces.push_back(col - 1);
        }
    }
    return amountPieces;
}

// The lines of an import cut into their pieces, line 0 being the header.
struct ImportLines {
    std::vector<std::string_view> lines;
    std::vector<std::vector<std::string>> pieces;
    // Per line: whether it was cut with its empty pieces kept.
    std::vector<bool> keptEmpty;

    // "u retku 6, stupcu 3": where piece p of line k stands in the file (both counted from 1).
    std::string Place(std::size_t k, int p) const {
        const std::size_t column = keptEmpty[k]
                                       ? static_cast<std::size_t>(p) + 1
                                       : FileColumnOf(lines[k], static_cast<std::size_t>(p));
        return "u retku " + std::to_string(k + 1) + ", stupcu " + std::to_string(column);
    }
};

// Cuts every line into its pieces. Refused at the first line with too few pieces, or whose row
// number is not its row.
Result CutImportLines(const ImportLayout& layout, const std::vector<int>& amountPieces,
                      ImportLines& cut) {
    cut.pieces.reserve(cut.lines.size());
    for (const std::string_view line : cut.lines) {
        bool kept = false;
        std::vector<std::string> linePieces =
            ImportPieces(line, static_cast<std::size_t>(layout.pieces), amountPieces, &kept);
        if (linePieces.size() < static_cast<std::size_t>(layout.pieces)) {
            return Result::Fail("List index out of bounds (" + std::to_string(linePieces.size()) +
                                ")");
        }
        cut.pieces.push_back(std::move(linePieces));
        cut.keptEmpty.push_back(kept);
        // Lines go to rows by position: a missing or extra line would shift every later row.
        const std::size_t k = cut.pieces.size() - 1;
        if (k > 0 && !IsRowNumber(cut.pieces[k][0], k)) {
            return Result::Fail("Datoteka nije uvezena: " + cut.Place(k, 0) +
                                " stoji redni broj „" + cut.pieces[k][0] +
                                "”, a taj redak pripada stavci " + std::to_string(k) +
                                " (redak nedostaje ili je suvišan).");
        }
    }
    return Result::Ok();
}

// The amounts of an import, read in the one convention every amount reads in.
struct ImportAmounts {
    // By line and amount piece (line k's a-th amount at k * perLine + a); none for a blank one.
    std::vector<std::optional<double>> values;
    std::size_t perLine = 0;
    // The convention they were read in, and whether that is the other one than the regional.
    RegionalSettings convention;
    bool otherConvention = false;

    std::optional<double> At(std::size_t k, std::size_t a) const { return values[k * perLine + a]; }
};

// Reads every amount piece (lines 1 on), all in the regional convention or all in the other one;
// refused when neither reads them all, naming the first piece that fails in the convention more
// of the amounts read in.
Result ReadImportAmounts(const ImportLines& cut, const std::vector<int>& amountPieces,
                         const RegionalSettings& rs, ImportAmounts& amounts) {
    const RegionalSettings other = OtherConvention(rs);
    const bool otherDiffers = other.decimalSeparator != rs.decimalSeparator;
    std::optional<std::pair<std::size_t, int>> firstBad;       // line, piece
    std::optional<std::pair<std::size_t, int>> firstBadOther;  // line, piece
    std::size_t readRegional = 0;
    std::size_t readOtherCount = 0;
    // The amounts as read in each convention (each text read once).
    const std::size_t perLine = amountPieces.size();
    std::vector<std::optional<double>> regionalAmounts(cut.pieces.size() * perLine);
    std::vector<std::optional<double>> otherAmounts(cut.pieces.size() * perLine);
    for (std::size_t k = 1; k < cut.pieces.size(); ++k) {
        for (std::size_t a = 0; a < perLine; ++a) {
            const int p = amountPieces[a];
            const std::string& piece = cut.pieces[k][static_cast<std::size_t>(p)];
            if (IsBlank(piece)) {
                continue;
            }
            std::optional<double>& regional = regionalAmounts[k * perLine + a];
            regional = ReadAmount(piece, rs);
            if (regional) {
                ++readRegional;
            } else if (!firstBad) {
                firstBad = {k, p};
            }
            std::optional<double>& inOther = otherAmounts[k * perLine + a];
            if (otherDiffers) {
                inOther = ReadAmount(piece, other);
            }
            if (inOther && HasTwoDecimals(piece, other.decimalSeparator)) {
                ++readOtherCount;
            } else if (!firstBadOther) {
                firstBadOther = {k, p};
            }
        }
    }
    const bool readOther = firstBad.has_value() && otherDiffers && !firstBadOther.has_value();
    if (firstBad && !readOther) {
        const bool otherChosen = otherDiffers && readOtherCount > readRegional;
        const auto [k, p] = otherChosen ? *firstBadOther : *firstBad;
        return Result::Fail("Datoteka nije uvezena: " + cut.Place(k, p) +
                            " nije ispravan iznos („" + cut.pieces[k][static_cast<std::size_t>(p)] +
                            "”).");
    }
    amounts.values = std::move(readOther ? otherAmounts : regionalAmounts);
    amounts.perLine = perLine;
    amounts.convention = readOther ? other : rs;
    amounts.otherConvention = readOther;
    return Result::Ok();
}

// Refuses an amount read in the regional convention that could mean two amounts, and one
// beyond the limit.
Result CheckImportAmounts(const ImportLines& cut, const std::vector<int>& amountPieces,
                          const RegionalSettings& rs, const ImportAmounts& amounts) {
    const RegionalSettings other = OtherConvention(rs);
    const bool otherDiffers = other.decimalSeparator != rs.decimalSeparator;
    for (std::size_t k = 1; k < cut.pieces.size(); ++k) {
        for (std::size_t a = 0; a < amounts.perLine; ++a) {
            const int p = amountPieces[a];
            const std::string& piece = cut.pieces[k][static_cast<std::size_t>(p)];
            if (IsBlank(piece)) {
                continue;
            }
            if (!amounts.otherConvention && otherDiffers && IsAmbiguousAmount(piece, rs, other)) {
                return Result::Fail(
                    "Datoteka nije uvezena: " + cut.Place(k, p) + " iznos „" + piece +
                    "” nije jednoznačan: može biti " +
                    FormatNumber(*ReadAmount(piece, rs), AmountFormat, rs) + " ili " +
                    FormatNumber(*ReadAmount(piece, other), AmountFormat, rs) + ".");
            }
            // Judged as shown, to the cent: 99.999.999.999,995 shows as 100.000.000.000,00.
            if (!WithinAmountLimit(std::round(*amounts.At(k, a) * 100) / 100)) {
                return Result::Fail("Datoteka nije uvezena: " + cut.Place(k, p) + " („" + piece +
                                    "”): " + AmountLimitMessage(rs));
            }
        }
    }
    return Result::Ok();
}

// How many amounts have more decimals than cents (rounded as they go into the grid), and where
// the first one stands.
struct RoundedAmounts {
    std::size_t count = 0;
    std::string first;
};

RoundedAmounts CountRounded(const ImportLines& cut, const std::vector<int>& amountPieces,
                            const std::string& decimal) {
    RoundedAmounts rounded;
    for (std::size_t k = 1; k < cut.pieces.size(); ++k) {
        for (const int p : amountPieces) {
            if (HasMoreThanTwoDecimals(cut.pieces[k][static_cast<std::size_t>(p)], decimal) &&
                rounded.count++ == 0) {
                rounded.first = cut.Place(k, p);
            }
        }
    }
    return rounded;
}

// Writes the checked lines into the grid: the texts as they are, the amounts as typed amounts.
void FillImportedGrid(const ImportLines& cut, const ImportLayout& layout,
                      const std::vector<int>& amountPieces, const ImportAmounts& amounts,
                      const RegionalSettings& rs, GridTexts& grid) {
    for (std::size_t k = 0; k < cut.pieces.size(); ++k) {
        for (int p = 0; p < layout.pieces; ++p) {
            const int col = layout.columns[p];
            if (col == 0) {
                continue;
            }
            std::string& cell = grid.cell(col, static_cast<int>(k));
            const std::string& piece = cut.pieces[k][static_cast<std::size_t>(p)];
            const auto amountAt = std::find(amountPieces.begin(), amountPieces.end(), p);
            const bool amount = k > 0 && amountAt != amountPieces.end();
            if (amount && IsBlank(piece)) {
                cell.clear();
            } else if (amount) {
                // As a typed amount: in AmountFormat, so that the totals are computed from the
                // amounts the grid shows (more decimals would make them not add up).
                const auto a = static_cast<std::size_t>(amountAt - amountPieces.begin());
                cell = FormatNumber(*amounts.At(k, a), AmountFormat, rs);
            } else {
                cell = piece;
            }
        }
    }
}

// What the import did beyond the plain, in Croatian sentences: the rows a short file left as
// they were, the other separator convention, the amounts rounded to cents; "" when nothing.
std::string ImportNote(Statement s, std::size_t lineCount, const ImportAmounts& amounts,
                       const RoundedAmounts& rounded) {
    std::vector<std::string> remarks;
    // A short file fills the first rows only: the rest keep what they held.
    const int rows = RowCount(s);
    const int imported = static_cast<int>(lineCount) - 1;
    if (imported < rows) {
        std::string kept = imported + 1 == rows ? "redak " + std::to_string(rows) + " zadržao je"
                                                : "retci " + std::to_string(imported + 1) + "–" +
                                                      std::to_string(rows) + " zadržali su";
        remarks.push_back("Uvezeno je " + std::to_string(imported) + " od " + std::to_string(rows) +
                          " redaka; " + kept +
                          (imported + 1 == rows && amounts.perLine == 1 ? " dosadašnji iznos."
                                                                        : " dosadašnje iznose."));
    }
    if (amounts.otherConvention) {
        remarks.push_back("Iznosi su pročitani s „" + amounts.convention.thousandsSeparator +
                          "” za tisućice i „" + amounts.convention.decimalSeparator +
                          "” za decimale, kako ih datoteka piše.");
    }
    if (rounded.count > 0) {
        remarks.push_back("Iznosa s više od dvije decimale zaokruženih na cente: " +
                          std::to_string(rounded.count) + " (prvi " + rounded.first + ").");
    }
    std::string note;
    for (const std::string& remark : remarks) {
        note += (note.empty() ? "" : " ") + remark;
    }
    return note;
}

}  // namespace

Result ImportCsv(Statement s, std::string_view fileBytes, GridTexts& grid,
                 const RegionalSettings& rs, std::string* note) {
    const std::optional<ImportLayout> layout = ImportLayoutOf(s);
    if (!layout) {
        return Result::Fail("Uvoz je moguć samo u bilancu i u račun dobiti i gubitka.");
    }
    const std::string text = DecodeImportText(fileBytes, static_cast<std::size_t>(grid.rowCount()));
    ImportLines cut;
    cut.lines = SplitLines(text);

    // Every line is checked before any cell changes.
    if (Result shape = CheckShape(s, cut.lines); !shape) {
        return shape;
    }
    const std::vector<int> amountPieces = AmountPiecesOf(s);
    if (Result pieces = CutImportLines(*layout, amountPieces, cut); !pieces) {
        return pieces;
    }
    // A file of the header line alone (or empty) holds no amount: nothing is imported.
    if (cut.pieces.size() < 2) {
        return Result::Fail("Datoteka nema redaka s iznosima: ništa nije uvezeno.");
    }
    ImportAmounts amounts;
    if (Result read = ReadImportAmounts(cut, amountPieces, rs, amounts); !read) {
        return read;
    }
    if (Result checked = CheckImportAmounts(cut, amountPieces, rs, amounts); !checked) {
        return checked;
    }
    const RoundedAmounts rounded =
        CountRounded(cut, amountPieces, amounts.convention.decimalSeparator);

    FillImportedGrid(cut, *layout, amountPieces, amounts, rs, grid);
    if (note != nullptr) {
        *note = ImportNote(s, cut.pieces.size(), amounts, rounded);
    }
    return Result::Ok();
}

}  // namespace movik
