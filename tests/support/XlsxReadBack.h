#pragma once
// A workbook read back with openpyxl (Debian's python3-openpyxl) through read-xlsx.py: every
// non-empty cell with its type, value, number format and boldness, per sheet, with the sheet's
// frozen cell and the width of column B.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace movik::test {

struct XlsxCell {
    bool number = false;
    std::string text;  // the value as openpyxl gives it (a number as Python's repr)
    std::string format;
    bool bold = false;
};

struct XlsxSheet {
    std::string frozen;
    double widthB = 0;  // the width of column B (0 when the workbook sets none)
    std::map<std::pair<int, int>, XlsxCell> cells;  // (row, column), 1-based
};

inline std::map<std::string, XlsxSheet> ReadXlsx(const std::string& script,
                                                 const std::string& path) {
    const std::string command = "/usr/bin/python3 '" + script + "' '" + path + "'";
    std::map<std::string, XlsxSheet> sheets;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return sheets;
    }
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    EXPECT_EQ(::pclose(pipe), 0) << "openpyxl could not read " << path;
    std::stringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) {
            f.push_back(field);
        }
        if (f.size() == 4 && f[0] == "S") {
            sheets[f[1]].frozen = f[2];
            sheets[f[1]].widthB = std::strtod(f[3].c_str(), nullptr);
        } else if (f.size() == 8 && f[0] == "C") {
            sheets[f[1]].cells[{std::stoi(f[2]), std::stoi(f[3])}] = {f[4] == "n", f[5], f[6],
                                                                      f[7] == "1"};
        }
    }
    return sheets;
}

}  // namespace movik::test
