#include "intake/WorkbookLimits.h"

#include <algorithm>

namespace movik::workbook {

std::string TooLarge(const std::string& what) {
    return "Radna knjiga je prevelika za uvoz (" + what + ")";
}

std::size_t Characters(std::string_view s) {
    return static_cast<std::size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string TextTooLong(const WorkbookLimits& limits) {
    return TooLarge("tekst dulji od " + std::to_string(limits.textBytes) + " znakova");
}

std::string Mib(std::size_t bytes) {
    return std::to_string(bytes >> 20) + " MB";
}

bool Wanted(const std::vector<std::string>& wanted, const std::string& name) {
    return wanted.empty() || std::find(wanted.begin(), wanted.end(), name) != wanted.end();
}

ReadError DamagedXls() {
    return ReadError{std::string(kDamaged) + " (.xls)"};
}

}  // namespace movik::workbook

namespace movik {

namespace {

const SheetCell kEmptyCell;

}  // namespace

using workbook::Key;

const SheetCell& SheetData::At(int row, int col) const {
    const auto it = cells.find(Key(row, col));
    return it == cells.end() ? kEmptyCell : it->second;
}

const SheetData* WorkbookData::Find(std::string_view name) const {
    for (const SheetData& s : sheets) {
        if (s.name == name) {
            return &s;
        }
    }
    return nullptr;
}

std::string ColumnName(int col) {
    std::string name;
    for (int c = col + 1; c > 0; c = (c - 1) / 26) {
        name.insert(name.begin(), static_cast<char>('A' + (c - 1) % 26));
    }
    return name;
}

}  // namespace movik
