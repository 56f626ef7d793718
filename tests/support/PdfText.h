#pragma once
// Reading PDFs back in tests through poppler's tools: the text (pdftotext -layout, every run of
// blanks and line breaks made one blank, since the tool spaces words by its own measure) and the
// fields of pdfinfo.

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace movik::test {

// Standard output of a shell command.
inline std::string CommandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            out.append(buffer, n);
        }
        ::pclose(pipe);
    }
    return out;
}

// text with every run of blanks, tabs, line and page breaks made one blank, trimmed.
inline std::string OneLine(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
        if (!blank) {
            out += c;
        } else if (!out.empty() && out.back() != ' ') {
            out += ' ';
        }
    }
    if (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

// The PDF's text, in reading order line by line, as one line.
inline std::string PdfText(const std::string& path) {
    return OneLine(CommandOutput("pdftotext -layout -enc UTF-8 '" + path + "' - 2>/dev/null"));
}

// The value of pdfinfo's "name:" line ("" when missing).
inline std::string PdfInfo(const std::string& path, const std::string& name) {
    std::istringstream lines(CommandOutput("pdfinfo '" + path + "' 2>/dev/null"));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(name + ":", 0) == 0) {
            return OneLine(line.substr(name.size() + 1));
        }
    }
    return {};
}

// The first of texts (each made one line; empty ones skipped) that does not follow the ones
// before it in text, or "" when all appear in order.
inline std::string FirstOutOfOrder(const std::string& text, const std::vector<std::string>& texts) {
    std::size_t at = 0;
    for (const std::string& t : texts) {
        const std::string wanted = OneLine(t);
        if (wanted.empty()) {
            continue;
        }
        const std::size_t found = text.find(wanted, at);
        if (found == std::string::npos) {
            return wanted;
        }
        at = found + wanted.size();
    }
    return {};
}

}  // namespace movik::test
