#pragma once
// The one table that says where each position of the official annual form (GFI-POD) goes in
// Movik's statements. Codes are written as the form writes the formulas in its labels
// ("032+033", "054 do 062", "-135"), once for the versions 4.x and 6.x (business years 2021 on)
// and once for version 3 (2016 to 2020). The help prints the same table.

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "model/Statements.h"

namespace movik {

enum class FormVersion { V3, V4 };

// Which part of the sum a row takes: all of it, or only a positive or a negative outcome (as a
// positive amount), for the one form row that the statements split into two rows by sign.
enum class FormPart { Whole, Positive, Negative };

struct FormMappingRow {
    Statement statement;  // Bilanca (both years) or Racun (the current year)
    int row;              // Movik's row, by position
    std::string_view codes4;
    std::string_view codes3;
    FormPart part;
    std::string_view note;  // which form rows were added here because they have no row of their own
};

// The totals the reconciliation compares.
enum class FormTotal {
    TotalAssets,
    TotalLiabilities,
    Equity,
    Revenue,
    Expenses,
    ResultBeforeTax,
    NetResult,
};

struct FormNotCarriedRow {
    std::string_view codes4;
    std::string_view codes3;
    std::string_view note;
    std::array<bool, 7> affects;  // by FormTotal: the totals whose difference it explains
};

struct FormTotalRow {
    FormTotal total;
    std::string_view caption;
    bool bothYears;       // balance sheet totals: previous and current year
    Statement statement;  // where Movik holds it
    int row;
    std::string_view code4;
    std::string_view code3;
};

const std::vector<FormMappingRow>& FormMapping();
const std::vector<FormNotCarriedRow>& FormNotCarried();
const std::array<FormTotalRow, 7>& FormTotals();

inline std::string_view CodesOf(const FormMappingRow& m, FormVersion v) {
    return v == FormVersion::V3 ? m.codes3 : m.codes4;
}

// One term of a formula: a code with its sign.
struct FormTerm {
    int code;
    int sign;  // +1 or -1
};

// Reads a formula as the form writes it: "003+010+020+031+036", "AOP 004 do 009",
// "068 do 070+076+077+084+087+090", "180-181". Empty when text is no such formula, or when it
// has more than maxTerms terms (then *tooLong is set, where given): the ranges are expanded
// only that far.
std::vector<FormTerm> ParseFormFormula(std::string_view text, std::size_t maxTerms = 1000,
                                       bool* tooLong = nullptr);

}  // namespace movik
