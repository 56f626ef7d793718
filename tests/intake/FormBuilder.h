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
};

// Every row's amount: leaves as given, sums from their parts.
inline std::map<int, std::array<double, 2>> FormValues(const std::vector<BuiltRow>& rows,
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

// Removes the cached results of formula cells from every sheet of the .xlsx at path.
inline void DropCachedResults(const std::string& path) {
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
        keep.push_back(std::regex_replace(xml, std::regex("</f><v>[^<]*</v>"), "</f>"));
        zip_source_t* src = zip_source_buffer(z, keep.back().data(), keep.back().size(), 0);
        zip_file_replace(z, static_cast<zip_uint64_t>(i), src, 0);
    }
    zip_close(z);
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
    std::map<int, int> rowOf;  // code -> sheet row (from 0)
    int bRow = 7;
    int rRow = 8;  // the sheets' rows differ, as in the real form
    for (const BuiltRow& r : rows) {
        rowOf[r.code] = r.code < firstRdg ? bRow++ : rRow++;
    }
    for (const BuiltRow& r : rows) {
        lxw_worksheet* ws = r.code < firstRdg ? bilanca : rdg;
        const int row = rowOf[r.code];
        worksheet_write_string(ws, static_cast<lxw_row_t>(row), 0, r.label.c_str(), nullptr);
        const int shown = plan.quarterly && r.code >= firstRdg ? r.code - firstRdg + 1 : r.code;
        worksheet_write_number(ws, static_cast<lxw_row_t>(row), 6, shown, nullptr);
        for (int y = 0; y < 2; ++y) {
            const lxw_col_t col = static_cast<lxw_col_t>(8 + y);
            const char letter = static_cast<char>('I' + y);
            double v = values.at(r.code)[static_cast<std::size_t>(y)];
            if (auto it = plan.stated.find(r.code); it != plan.stated.end()) {
                worksheet_write_number(ws, static_cast<lxw_row_t>(row), col,
                                       it->second[static_cast<std::size_t>(y)], nullptr);
                continue;
            }
            if (r.formula.empty()) {
                worksheet_write_number(ws, static_cast<lxw_row_t>(row), col, v, nullptr);
                continue;
            }
            std::string f;
            for (const auto& [c, sign] : r.formula) {
                f += (sign < 0 ? "-" : (f.empty() ? "" : "+")) + std::string(1, letter) +
                     std::to_string(rowOf.at(c) + 1);
            }
            if (r.positivePart) {
                f = "MAX(" + f + ",0)";
            }
            worksheet_write_formula_num(ws, static_cast<lxw_row_t>(row), col, ("=" + f).c_str(),
                                        nullptr, v);
        }
    }
    workbook_close(wb);
    if (!plan.cachedResults) {
        DropCachedResults(path);
    }
}

}  // namespace movik::test
