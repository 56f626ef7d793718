#include "document/Csv.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "document/Cp1250.h"
#include "document/FileIO.h"
#include "model/NumberFormat.h"

namespace movik {

namespace {

constexpr std::string_view kNarrowNoBreakSpace = "\xE2\x80\xAF";  // U+202F
constexpr char kNoBreakSpaceByte = '\xA0';

// Length of the UTF-8 sequence that starts with lead (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

// Appends a cell in Windows-1250. A character the code page cannot hold becomes "?", except the
// narrow no-break space of some locales' thousands separator, which becomes the no-break space.
// The separator and line breaks cannot appear inside a cell, or the line would read back shifted.
void AppendCell(std::string& out, std::string_view cell) {
    std::optional<std::string> bytes = Utf8ToCp1250(cell);
    if (!bytes) {
        bytes.emplace();
        std::size_t i = 0;
        while (i < cell.size()) {
            const std::size_t len =
                std::min(SequenceLength(static_cast<unsigned char>(cell[i])), cell.size() - i);
            const std::string_view one = cell.substr(i, len);
            if (std::optional<std::string> b = Utf8ToCp1250(one)) {
                *bytes += *b;
            } else if (one == kNarrowNoBreakSpace) {
                *bytes += kNoBreakSpaceByte;
            } else {
                *bytes += '?';
            }
            i += len;
        }
    }
    for (char& c : *bytes) {
        if (c == ';') {
            c = ',';
        } else if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    out += *bytes;
    out += ';';
}

// The pieces a line must have and the grid column each piece goes to (0 = not used).
struct ImportLayout {
    int pieces;
    int columns[6];
};

std::optional<ImportLayout> ImportLayoutOf(Statement s) {
    switch (s) {
        case Statement::Bilanca:
            return ImportLayout{6, {1, 0, 3, 4, 5, 6}};
        case Statement::Racun:
            return ImportLayout{4, {1, 0, 3, 4, 0, 0}};
        default:
            return std::nullopt;
    }
}

// Splits text into lines ending in CR LF or LF; a final line end does not start another line.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = next;
    }
    return lines;
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

// The 1-based column in the file of the piece-th non-empty piece of line.
std::size_t FileColumnOf(std::string_view line, std::size_t piece) {
    TBrkApart all;
    all.BaseString = std::string(line);
    all.AllowEmptyString = true;
    all.BreakApart();
    std::size_t seen = 0;
    for (std::size_t i = 0; i < all.StringList.size(); ++i) {
        if (!all.StringList[i].empty() && seen++ == piece) {
            return i + 1;
        }
    }
    return piece + 1;
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
    switch (s) {
        case Statement::Bilanca:
            return "bilanca.csv";
        case Statement::Racun:
            return "racun dobiti i gubitka.csv";
        case Statement::CFInd:
            return "indirektna metoda novcanog toka.csv";
        case Statement::CFFree:
            return "metoda slobodnog novcanog toka.csv";
        case Statement::Pok:
            return "pokazatelji.csv";
    }
    throw std::invalid_argument("unknown statement");
}

std::string ExportCsv(Statement /*s*/, const GridTexts& grid) {
    // Every grid's listed columns are 1 to its last: the fixed column 0 is never written.
    std::string out;
    out.reserve(static_cast<std::size_t>(grid.rowCount()) * 128);
    for (int row = 0; row < grid.rowCount(); ++row) {
        for (int col = 1; col < grid.columnCount(); ++col) {
            AppendCell(out, grid.cell(col, row));
        }
        out += "\r\n";
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

Result ImportCsv(Statement s, std::string_view fileBytes, GridTexts& grid,
                 const RegionalSettings& rs, std::string* note) {
    const std::optional<ImportLayout> layout = ImportLayoutOf(s);
    if (!layout) {
        return Result::Fail("Uvoz je moguć samo u bilancu i u račun dobiti i gubitka.");
    }
    // A file saved as UTF-8 with a byte order mark is read as UTF-8; anything else is
    // Windows-1250, as the export writes it.
    // Only the lines the grid can take are read, however long the file is.
    std::size_t lineEnds = 0;
    for (std::size_t i = 0; i < fileBytes.size(); ++i) {
        if (fileBytes[i] == '\n' && ++lineEnds == static_cast<std::size_t>(grid.rowCount())) {
            fileBytes = fileBytes.substr(0, i + 1);
            break;
        }
    }
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    std::string text;
    if (fileBytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        text = std::string(fileBytes.substr(kUtf8Bom.size()));
    } else {
        text = Cp1250ToUtf8(fileBytes);
    }

    std::vector<std::string_view> lines = SplitLines(text);
    if (lines.size() > static_cast<std::size_t>(grid.rowCount())) {
        lines.resize(static_cast<std::size_t>(grid.rowCount()));
    }

    // Check every line before any cell changes.
    std::vector<std::vector<std::string>> pieces;
    pieces.reserve(lines.size());
    TBrkApart splitter;
    splitter.BreakString = ";";
    splitter.AllowEmptyString = false;
    for (const std::string_view line : lines) {
        splitter.BaseString = line;
        splitter.BreakApart();
        if (splitter.StringList.size() < static_cast<std::size_t>(layout->pieces)) {
            return Result::Fail("List index out of bounds (" +
                                std::to_string(splitter.StringList.size()) + ")");
        }
        pieces.push_back(std::move(splitter.StringList));
    }

    // Every amount piece (lines 1 on; line 0 is the header) must read as an amount, all in the
    // regional convention or all in the other one; otherwise nothing is imported.
    const std::vector<int> amountPieces =
        s == Statement::Bilanca ? std::vector<int>{2, 4} : std::vector<int>{2};
    const RegionalSettings other = OtherConvention(rs);
    std::optional<std::pair<std::size_t, int>> firstBad;  // line, piece
    bool otherReadsAll = other.decimalSeparator != rs.decimalSeparator;
    for (std::size_t k = 1; k < pieces.size(); ++k) {
        for (const int p : amountPieces) {
            const std::string& piece = pieces[k][static_cast<std::size_t>(p)];
            if (IsBlank(piece)) {
                continue;
            }
            if (!firstBad && !IsAmountText(piece, rs)) {
                firstBad = {k, p};
            }
            if (otherReadsAll &&
                (!IsAmountText(piece, other) || !HasTwoDecimals(piece, other.decimalSeparator))) {
                otherReadsAll = false;
            }
        }
    }
    const bool readOther = firstBad.has_value() && otherReadsAll;
    if (firstBad && !readOther) {
        const auto [k, p] = *firstBad;
        return Result::Fail(
            "Datoteka nije uvezena: u retku " + std::to_string(k + 1) + ", stupcu " +
            std::to_string(FileColumnOf(lines[k], static_cast<std::size_t>(p))) +
            " nije ispravan iznos (\"" + pieces[k][static_cast<std::size_t>(p)] + "\").");
    }

    for (std::size_t k = 0; k < pieces.size(); ++k) {
        for (int p = 0; p < layout->pieces; ++p) {
            const int col = layout->columns[p];
            if (col == 0) {
                continue;
            }
            std::string& cell = grid.cell(col, static_cast<int>(k));
            const std::string& piece = pieces[k][static_cast<std::size_t>(p)];
            const bool amount = k > 0 && std::find(amountPieces.begin(), amountPieces.end(), p) !=
                                             amountPieces.end();
            if (amount && IsBlank(piece)) {
                cell.clear();
            } else if (amount && readOther) {
                cell = FormatNumber(AmountFromText(piece, other), AmountFormat, rs);
            } else {
                cell = piece;
            }
        }
    }
    if (readOther && note != nullptr) {
        *note = "Iznosi su pročitani s \"" + other.thousandsSeparator + "\" za tisućice i \"" +
                other.decimalSeparator + "\" za decimale, kako ih datoteka piše.";
    }
    return Result::Ok();
}

}  // namespace movik
