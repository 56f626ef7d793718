#pragma once
// Builds official annual forms (GFI-POD) as .xlsx files with libxlsxwriter, following the
// public description of the form: sheets RefStr, Bilanca and RDG, labels in column A, codes in
// G, the previous year in I and the current year in J, every row whose label states a formula
// written as an Excel formula with its result. Version 3 is derived from 4.x as the description
// states (three fair-value rows instead of six, every code from retained earnings on 3 lower).

#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/intake/FormRows.h"

namespace movik::test {

struct BuiltRow {
    int code = 0;
    std::string label;
    std::vector<std::pair<int, int>> formula;  // code, sign
    bool positivePart = false;
};

// The test's own reading of a label's formula (independent of the product's).
inline std::vector<std::pair<int, int>> LabelFormula(const std::string& label) {
    std::vector<std::pair<int, int>> terms;
    const auto open = label.rfind('(');
    if (open == std::string::npos || label.back() != ')') {
        return terms;
    }
    std::string f = label.substr(open + 1, label.size() - open - 2);
    if (f.rfind("AOP ", 0) == 0) {
        f = f.substr(4);
    }
    if (f.empty() || std::isdigit(static_cast<unsigned char>(f[0])) == 0) {
        return terms;
    }
    int sign = 1;
    std::size_t i = 0;
    while (i < f.size()) {
        const int a = std::stoi(f.substr(i, 3));
        i += 3;
        if (f.compare(i, 4, " do ") == 0) {
            const int b = std::stoi(f.substr(i + 4, 3));
            i += 7;
            for (int c = a; c <= b; ++c) {
                terms.push_back({c, sign});
            }
        } else {
            terms.push_back({a, sign});
        }
        if (i < f.size()) {
            sign = f[i] == '-' ? -1 : 1;
            ++i;
        }
    }
    return terms;
}

inline std::vector<BuiltRow> FormRowsOf(bool version3) {
    std::vector<BuiltRow> rows;
    std::string_view all = kFormRows4;
    std::size_t pos = 0;
    while ((pos = all.find('\n', pos)) != std::string_view::npos && pos + 1 < all.size()) {
        const std::size_t end = all.find('\n', pos + 1);
        const std::string line(all.substr(pos + 1, end - pos - 1));
        pos = end;
        if (line.empty()) {
            continue;
        }
        BuiltRow r;
        r.code = std::stoi(line.substr(0, 3));
        r.label = line.substr(4);
        if (version3) {
            if (r.code >= 81 && r.code <= 83) {
                continue;
            }
            if (r.code == 77) {
                r.label = "V. REZERVE FER VRIJEDNOSTI (078 do 080)";
            }
            if (r.code >= 84) {
                r.code -= 3;
            }
            // Version 3 writes "(003+010)" without "AOP", with its own codes.
            const auto open = r.label.rfind("(AOP ");
            if (open != std::string::npos) {
                std::string f = r.label.substr(open + 5);
                std::string shifted;
                for (std::size_t i = 0; i < f.size();) {
                    if (std::isdigit(static_cast<unsigned char>(f[i])) != 0) {
                        int c = std::stoi(f.substr(i, 3));
                        c = c >= 84 ? c - 3 : c;
                        char buf[16];
                        std::snprintf(buf, sizeof buf, "%03d", c);
                        shifted += buf;
                        i += 3;
                    } else {
                        shifted += f[i++];
                    }
                }
                r.label = r.label.substr(0, open) + "(" + shifted;
            }
        }
        r.formula = LabelFormula(r.label);
        const std::string lower = [&] {
            std::string s = r.label;
            std::transform(s.begin(), s.end(), s.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            return s;
        }();
        r.positivePart = r.formula.size() == 2 && r.formula[0].second != r.formula[1].second &&
                         ((lower.find("dobit") != std::string::npos) !=
                          (lower.find("gubit") != std::string::npos));
        rows.push_back(r);
    }
    return rows;
}

struct FormPlan {
    bool version3 = false;
    int year = 2023;
    std::string company = "Primjer d.o.o.";
    std::string place = "Zagreb";
    std::string periodFrom = "01.01.2023";
    std::string periodTo = "31.12.2023";
    // Amounts of rows without a formula, by code: previous, current year. Others are 0.
    std::map<int, std::array<double, 2>> leaves;
    // A sum row written with this amount instead of its formula (a form disagreeing with itself).
    std::map<int, std::array<double, 2>> stated;
    bool cachedResults = true;  // false: formula cells without their results
    bool quarterly = false;     // RDG numbered from 001, as the listed companies' form
    // The company name and the OIB typed as numbers instead of texts, when given.
    std::optional<double> companyNumber;
    std::optional<double> oibNumber;
    // The printed form's layout: a heading row and a row of column numbers (1 to 5) above the
    // positions, as numbers or as texts, and the two repeated where a page breaks.
    enum class ColumnNumbers { None, Numbers, Texts };
    ColumnNumbers columnNumbers = ColumnNumbers::None;
    bool pageBreaks = false;
    // Without cachedResults: how a formula's missing result is written ("" none at all, or
    // "<v></v>", "<v/>").
    std::string emptyResult;
    // The balance sheet's profit and loss of the year written as references to the income
    // statement's result of the period (=RDG!J68), as programs write them.
    bool profitAsReference = false;
    // Cells written as texts instead of amounts, by code: previous, current year ("" keeps the
    // amount).
    std::map<int, std::array<std::string, 2>> texts;
    // The form's cross-rules kept by the amounts (see FormValues); false leaves them as given.
    bool crossRulesKept = true;
    // The income statement's labels written without the formulas they state.
    bool bareRdgLabels = false;
};

// Every row's amount: leaves as given, sums from their parts.
inline std::map<int, std::array<double, 2>> SumValues(const std::vector<BuiltRow>& rows,
                                                      const FormPlan& plan) {
    std::map<int, const BuiltRow*> byCode;
    for (const BuiltRow& r : rows) {
        byCode[r.code] = &r;
    }
    std::map<int, std::array<double, 2>> values;
    std::function<std::array<double, 2>(int)> value = [&](int code) -> std::array<double, 2> {
        if (auto it = values.find(code); it != values.end()) {
            return it->second;
        }
        const BuiltRow& r = *byCode.at(code);
        std::array<double, 2> v{};
        if (auto it = plan.stated.find(code); it != plan.stated.end()) {
            values[code] = it->second;  // the other sums refer to the amount as it stands
            return it->second;
        }
        if (r.formula.empty()) {
            if (auto it = plan.leaves.find(code); it != plan.leaves.end()) {
                v = it->second;
            }
        } else {
            for (const auto& [c, sign] : r.formula) {
                const auto part = value(c);
                v[0] += sign * part[0];
                v[1] += sign * part[1];
            }
            if (r.positivePart) {
                v = {std::max(v[0], 0.0), std::max(v[1], 0.0)};
            }
        }
        values[code] = v;
        return v;
    };
    for (const BuiltRow& r : rows) {
        value(r.code);
    }
    return values;
}

// Every row's amount as a consistent form has it: leaves as given, sums from their parts, and
// the form's cross-rules kept (unless plan.crossRulesKept is false): the balance sheet's profit
// and loss of the year are the income statement's of the period, and the other short-term
// liabilities (AOP 124, in version 3 121) take what makes the liabilities equal the assets.
inline std::map<int, std::array<double, 2>> FormValues(const std::vector<BuiltRow>& rows,
                                                       const FormPlan& plan) {
    if (!plan.crossRulesKept || plan.quarterly) {
        return SumValues(rows, plan);
    }
    const int shift = plan.version3 ? 3 : 0;
    FormPlan kept = plan;
    auto values = SumValues(rows, kept);
    kept.leaves[88 - shift] = values.at(187 - shift);
    kept.leaves[89 - shift] = values.at(188 - shift);
    values = SumValues(rows, kept);
    for (std::size_t y = 0; y < 2; ++y) {
        kept.leaves[124 - shift][y] += values.at(65)[y] - values.at(126 - shift)[y];
    }
    return SumValues(rows, kept);
}

// Removes the cached results of formula cells from every sheet of the .xlsx at path.
inline void DropCachedResults(const std::string& path, const std::string& emptyResult = "") {
    int err = 0;
    zip_t* z = zip_open(path.c_str(), 0, &err);
    if (z == nullptr) {
        throw std::runtime_error("zip_open");
    }
    std::vector<std::string> keep;  // buffers must live until zip_close
    keep.reserve(16);
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        const std::string name = zip_get_name(z, static_cast<zip_uint64_t>(i), 0);
        if (name.rfind("xl/worksheets/sheet", 0) != 0) {
            continue;
        }
        zip_stat_t st;
        zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st);
        std::string xml(st.size, '\0');
        zip_file_t* f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0);
        zip_fread(f, xml.data(), st.size);
        zip_fclose(f);
        keep.push_back(
            std::regex_replace(xml, std::regex("</f><v>[^<]*</v>"), "</f>" + emptyResult));
        zip_source_t* src = zip_source_buffer(z, keep.back().data(), keep.back().size(), 0);
        zip_file_replace(z, static_cast<zip_uint64_t>(i), src, 0);
    }
    zip_close(z);
}

// The heading and the row of column numbers the printed form carries above its positions.
inline void WriteHeading(lxw_worksheet* ws, int row, const FormPlan& plan) {
    using C = FormPlan::ColumnNumbers;
    const std::array<std::pair<int, const char*>, 5> columns = {{{0, "Naziv pozicije"},
                                                                 {6, "AOP oznaka"},
                                                                 {7, "Rbr. bilješke"},
                                                                 {8, "Prethodna godina"},
                                                                 {9, "Tekuća godina"}}};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const auto [col, heading] = columns[i];
        const auto r = static_cast<lxw_row_t>(row);
        worksheet_write_string(ws, r, static_cast<lxw_col_t>(col), heading, nullptr);
        const auto number = static_cast<double>(i + 1);
        if (plan.columnNumbers == C::Numbers) {
            worksheet_write_number(ws, r + 1, static_cast<lxw_col_t>(col), number, nullptr);
        } else {
            worksheet_write_string(ws, r + 1, static_cast<lxw_col_t>(col),
                                   std::to_string(i + 1).c_str(), nullptr);
        }
    }
}

// Where each code stands (sheet row from 0), with the headings, column numbers, page numbers
// and notes of the printed form's layout written around the positions.
inline std::map<int, int> FormLayout(const std::vector<BuiltRow>& rows, const FormPlan& plan,
                                     lxw_worksheet* bilanca, lxw_worksheet* rdg) {
    const bool numbered = plan.columnNumbers != FormPlan::ColumnNumbers::None;
    const int firstRdg = plan.version3 ? 125 : 128;
    // Pages break before the equity and liabilities and before the financial income.
    const std::array<int, 2> breaks = {67, plan.version3 ? 154 : 157};
    std::map<int, int> rowOf;
    int bRow = 7;
    int rRow = 8;  // the sheets' rows differ, as in the real form
    if (numbered) {
        WriteHeading(bilanca, bRow - 2, plan);
        WriteHeading(rdg, rRow - 2, plan);
    }
    int page = 1;
    for (const BuiltRow& r : rows) {
        const bool onRdg = r.code >= firstRdg;
        int& next = onRdg ? rRow : bRow;
        lxw_worksheet* ws = onRdg ? rdg : bilanca;
        if (numbered && plan.pageBreaks &&
            std::find(breaks.begin(), breaks.end(), r.code) != breaks.end()) {
            // The page's number (column G, no label), a note, then the headings again.
            worksheet_write_number(ws, static_cast<lxw_row_t>(next), 6, ++page, nullptr);
            worksheet_write_string(ws, static_cast<lxw_row_t>(next + 1), 0,
                                   "Napomena: iznosi su u cijelim jedinicama valute", nullptr);
            WriteHeading(ws, next + 2, plan);
            next += 4;
        }
        rowOf[r.code] = next++;
    }
    return rowOf;
}

// Writes the form described by plan to path (.xlsx).
inline void WriteForm(const std::string& path, const FormPlan& plan) {
    const std::vector<BuiltRow> rows = FormRowsOf(plan.version3);
    const auto values = FormValues(rows, plan);
    lxw_workbook* wb = workbook_new(path.c_str());
    lxw_worksheet* title = workbook_add_worksheet(wb, "Naslovna");
    worksheet_write_string(title, 0, 0, "GODIŠNJI FINANCIJSKI IZVJEŠTAJ", nullptr);
    lxw_worksheet* ref = workbook_add_worksheet(wb, "RefStr");
    worksheet_write_string(ref, 3, 2, plan.periodFrom.c_str(), nullptr);
    worksheet_write_string(ref, 3, 5, plan.periodTo.c_str(), nullptr);
    worksheet_write_number(ref, 11, 5, plan.year, nullptr);
    if (plan.oibNumber) {
        worksheet_write_number(ref, 26, 2, *plan.oibNumber, nullptr);
    } else {
        worksheet_write_string(ref, 26, 2, "12345678903", nullptr);
    }
    if (plan.companyNumber) {
        worksheet_write_number(ref, 28, 2, *plan.companyNumber, nullptr);
    } else {
        worksheet_write_string(ref, 28, 2, plan.company.c_str(), nullptr);
    }
    worksheet_write_string(ref, 30, 2, "10000", nullptr);
    worksheet_write_string(ref, 30, 5, plan.place.c_str(), nullptr);
    worksheet_write_string(ref, 32, 2, "Ilica 1", nullptr);
    lxw_worksheet* bilanca = workbook_add_worksheet(wb, "Bilanca");
    lxw_worksheet* rdg = workbook_add_worksheet(wb, "RDG");
    const int firstRdg = plan.version3 ? 125 : 128;
    const std::map<int, int> rowOf = FormLayout(rows, plan, bilanca, rdg);  // code -> sheet row
    for (const BuiltRow& r : rows) {
        lxw_worksheet* ws = r.code < firstRdg ? bilanca : rdg;
        const auto row = static_cast<lxw_row_t>(rowOf.at(r.code));
        std::string label = r.label;
        if (plan.bareRdgLabels && r.code >= firstRdg && label.back() == ')') {
            label = label.substr(0, label.rfind(" ("));
        }
        worksheet_write_string(ws, row, 0, label.c_str(), nullptr);
        const int shown = plan.quarterly && r.code >= firstRdg ? r.code - firstRdg + 1 : r.code;
        worksheet_write_number(ws, row, 6, shown, nullptr);
        for (std::size_t y = 0; y < 2; ++y) {
            const auto col = static_cast<lxw_col_t>(8 + y);
            const std::string letter(1, static_cast<char>('I' + y));
            const double v = values.at(r.code)[y];
            if (auto it = plan.texts.find(r.code);
                it != plan.texts.end() && !it->second[y].empty()) {
                worksheet_write_string(ws, row, col, it->second[y].c_str(), nullptr);
                continue;
            }
            if (auto it = plan.stated.find(r.code); it != plan.stated.end()) {
                worksheet_write_number(ws, row, col, it->second[y], nullptr);
                continue;
            }
            std::string f;
            const int profit = plan.version3 ? 85 : 88;
            if (plan.profitAsReference && (r.code == profit || r.code == profit + 1)) {
                const int result = r.code + 99;  // 088 -> 187 (4.x), 085 -> 184 (3)
                f = "RDG!" + letter + std::to_string(rowOf.at(result) + 1);
            } else if (r.formula.empty()) {
                worksheet_write_number(ws, row, col, v, nullptr);
                continue;
            }
            for (const auto& [c, sign] : r.formula) {
                f += (sign < 0 ? "-" : (f.empty() ? "" : "+")) + letter +
                     std::to_string(rowOf.at(c) + 1);
            }
            if (r.positivePart) {
                f = "MAX(" + f + ",0)";
            }
            worksheet_write_formula_num(ws, row, col, ("=" + f).c_str(), nullptr, v);
        }
    }
    workbook_close(wb);
    if (!plan.cachedResults) {
        DropCachedResults(path, plan.emptyResult);
    }
}

}  // namespace movik::test
