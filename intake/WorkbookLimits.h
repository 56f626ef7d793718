#pragma once
// What the workbook readers (the .xlsx reader here, the .xls reader program) share: the failure
// they throw, its messages, the limits' wording and the key of a cell.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "intake/Workbook.h"

namespace movik::workbook {

inline std::uint64_t Key(int row, int col) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) |
           static_cast<std::uint32_t>(col);
}

// Excel's own bounds: 1,048,576 rows and 16,384 columns.
constexpr int kMaxRows = 1 << 20;
constexpr int kMaxColumns = 1 << 14;

// A failure while reading: its message for the user.
struct ReadError {
    std::string message;
};

inline const char* const kDamaged = "Radna knjiga je oštećena ili nepotpuna";
inline const char* const kEncrypted =
    "Radna knjiga je zaštićena lozinkom (šifrirana): spremite je u Excelu bez lozinke pa je "
    "uvezite ponovno";

std::string TooLarge(const std::string& what);

// The characters of a piece of UTF-8 text: the bytes that start one (a character split between
// two pieces counts once).
std::size_t Characters(std::string_view s);

// The refusal of a cell's text longer than limits.textBytes characters.
std::string TextTooLong(const WorkbookLimits& limits);

std::string Mib(std::size_t bytes);

bool Wanted(const std::vector<std::string>& wanted, const std::string& name);

// An .xls that FreeXL, or the caller's own look at the compound file, cannot read.
ReadError DamagedXls();

inline const char* const kNoMemory = "Nedovoljno memorije za čitanje radne knjige";

}  // namespace movik::workbook
