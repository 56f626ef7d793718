// PDF output read back with poppler's tools: the texts, the title, the fonts, the safe write.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ReportTestSupport.h"
#include "reports/ReportPaint.h"
#include "tests/support/WorkspaceTestAccess.h"

namespace movik::test {
namespace {

namespace fs = std::filesystem;

std::string RunCommand(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        while (std::size_t n = fread(buf, 1, sizeof buf, p))
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

// pdftotext lays words out with its own spacing, so rows are compared without blanks.
std::string WithoutBlanks(std::string s) {
    std::erase(s, ' ');
    return s;
}

// The value of a "Name:   value" line of pdfinfo's output.
std::string InfoField(const std::string& info, const std::string& name) {
    std::istringstream lines(info);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(name + ":", 0) == 0) {
            const std::size_t start = line.find_first_not_of(' ', name.size() + 1);
            return start == std::string::npos ? "" : line.substr(start);
        }
    }
    return "<" + name + " missing>";
}

class PdfTest : public testing::TestWithParam<RegionalSettings> {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("movik-pdf-" + std::to_string(getpid()));
        fs::create_directories(dir_);
        OpenExample(ws_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // The PDF of all six reports, saved; its path.
    std::string SaveAll() {
        const std::string path = (dir_ / "sve.pdf").string();
        const auto jobs = set_.PrintAll(PrintInputsOf(ws_, "kunama i lipama"));
        EXPECT_EQ(SavePdf(jobs, QString::fromStdString(PdfTitle(ws_.document(), nullptr)), path),
                  "");
        return path;
    }

    fs::path dir_;
    Workspace ws_{GetParam(), 2024};
    ReportSet set_{ws_.grids()};
};

// Every row prints on one line of the page text, its cells in column order, exactly as the
// grid shows them.
TEST_P(PdfTest, PageTextIsTheGridTexts) {
    std::istringstream text(RunCommand("pdftotext -layout '" + SaveAll() + "' -"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        lines.push_back(WithoutBlanks(line));
    ASSERT_FALSE(lines.empty()) << "pdftotext gave nothing";

    struct Range {
        Statement s;
        int first, last;
    };
    const Range ranges[] = {{Statement::Bilanca, 1, 88},
                            {Statement::Racun, 1, 45},
                            {Statement::CFInd, 1, 31},
                            {Statement::CFFree, 1, 28},
                            {Statement::Pok, 1, 19}};
    std::size_t at = 0;
    for (const Range& range : ranges) {
        const GridTexts& grid = WorkspaceTestAccess::Grids(ws_).of(range.s);
        for (int r = range.first; r <= range.last; ++r) {
            auto holdsRow = [&](const std::string& line) {
                std::size_t pos = 0;
                for (int col = 1; col < grid.columnCount(); ++col) {
                    const std::string cell = WithoutBlanks(grid.cell(col, r));
                    if (cell.empty())
                        continue;
                    pos = line.find(cell, pos);
                    if (pos == std::string::npos)
                        return false;
                    pos += cell.size();
                }
                return true;
            };
            while (at < lines.size() && !holdsRow(lines[at]))
                ++at;
            ASSERT_LT(at, lines.size()) << "row " << r << " \"" << grid.cell(2, r) << "\"";
            ++at;
        }
    }
}

TEST_P(PdfTest, TitleAndEmbeddedFonts) {
    const std::string path = SaveAll();
    const std::string info = RunCommand("pdfinfo '" + path + "'");
    EXPECT_EQ(InfoField(info, "Title"), PdfTitle(ws_.document(), nullptr));
    EXPECT_EQ(InfoField(info, "Pages"), "6");
    const std::string fonts = RunCommand("pdffonts '" + path + "'");
    EXPECT_NE(fonts.find("LiberationSans"), std::string::npos) << fonts;
    std::istringstream rows(fonts);
    std::string line;
    std::getline(rows, line);
    std::getline(rows, line);  // the two heading lines
    while (std::getline(rows, line)) {
        EXPECT_NE(line.find(" yes "), std::string::npos) << "not embedded: " << line;
    }
}

TEST_P(PdfTest, AFailedWriteLeavesNothingBehind) {
    const auto jobs = set_.PrintRacun(PrintInputsOf(ws_, "USD"));
    const std::string missing = (dir_ / "nema" / "racun.pdf").string();
    EXPECT_NE(SavePdf(jobs, "t", missing), "");
    EXPECT_FALSE(fs::exists(dir_ / "nema"));
    EXPECT_TRUE(fs::is_empty(dir_));

    set_.feed().SetReportReady("RACUN", false);
    const std::string refused = (dir_ / "racun.pdf").string();
    EXPECT_NE(SavePdf(set_.PrintRacun(PrintInputsOf(ws_, "USD")), "t", refused), "");
    EXPECT_TRUE(fs::is_empty(dir_));
}

// A company name too long for the line ends in "…" at the right margin on every page; the
// document's title keeps the whole name.
TEST_P(PdfTest, ALongCompanyNameIsShortenedToTheLine) {
    std::string name = "Poduzeće";
    while (name.size() < 300)
        name += " za proizvodnju, trgovinu i usluge";
    WorkspaceTestAccess::Document(ws_).Poduzece = name;
    const std::string path = SaveAll();
    const std::string text = RunCommand("pdftotext -layout '" + path + "' -");
    EXPECT_EQ(text.find(name), std::string::npos);
    std::size_t shortened = 0;
    for (std::size_t at = text.find("…"); at != std::string::npos; at = text.find("…", at + 1))
        ++shortened;
    EXPECT_EQ(shortened, 6u);
    EXPECT_EQ(InfoField(RunCommand("pdfinfo '" + path + "'"), "Title"),
              PdfTitle(ws_.document(), nullptr));
}

// A word of a page as pdftotext -bbox places it, in points.
struct Word {
    int page;
    double xMin, yMin, xMax, yMax;
    std::string text;
};

std::vector<Word> Words(const std::string& path) {
    std::vector<Word> words;
    std::istringstream lines(RunCommand("pdftotext -bbox '" + path + "' - 2>/dev/null"));
    int page = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.find("<page ") != std::string::npos) {
            ++page;
        }
        Word w{page, 0, 0, 0, 0, {}};
        if (std::sscanf(line.c_str(), " <word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">",
                        &w.xMin, &w.yMin, &w.xMax, &w.yMax) == 4) {
            const std::size_t start = line.find('>') + 1;
            w.text = line.substr(start, line.rfind("</word>") - start);
            words.push_back(std::move(w));
        }
    }
    return words;
}

// The widest amount every input cell takes, and the totals and shares computed from it, print
// inside their column's box on every report.
TEST_P(PdfTest, TheWidestAmountsAndTheirTotalsFitTheirColumns) {
    const std::string widest = "-99999999999" + GetParam().decimalSeparator + "99";
    for (const auto& [s, cols] : {std::pair{Statement::Bilanca, std::vector<int>{3, 5}},
                                  std::pair{Statement::Racun, std::vector<int>{3}}}) {
        for (int row = 1; row <= RowCount(s); ++row) {
            for (const int col : cols) {
                ASSERT_TRUE(ws_.EditAmount(s, col, row, widest)) << row;
            }
        }
    }
    const auto jobs = set_.PrintAll(PrintInputsOf(ws_, "kunama i lipama"));
    const std::string path = (dir_ / "najvece.pdf").string();
    ASSERT_EQ(SavePdf(jobs, "t", path), "");
    const std::vector<Word> words = Words(path);
    constexpr double kPt = 72 / 25.4;
    int page = 0;
    std::size_t checked = 0;
    for (const PrintJob& job : jobs) {
        for (const LaidOutPage& laidOut : job.pages) {
            ++page;
            for (const DrawItem& item : laidOut.items) {
                const bool number = item.text.find_first_of("0123456789") != std::string::npos;
                if (item.kind != DrawItem::Kind::Text || item.elide || !number ||
                    item.text.find(' ') != std::string::npos) {
                    continue;
                }
                // The word of this text on its line nearest the box (a line may hold it twice).
                const double centre = (item.x + item.width / 2) * kPt;
                auto word = words.end();
                for (auto w = words.begin(); w != words.end(); ++w) {
                    if (w->page == page && w->text == item.text &&
                        std::abs(w->yMin - item.y * kPt) < 4 &&
                        (word == words.end() ||
                         std::abs((w->xMin + w->xMax) / 2 - centre) <
                             std::abs((word->xMin + word->xMax) / 2 - centre))) {
                        word = w;
                    }
                }
                ASSERT_NE(word, words.end()) << "page " << page << ": " << item.text;
                EXPECT_GE(word->xMin, item.x * kPt - 0.2) << "page " << page << ": " << item.text;
                EXPECT_LE(word->xMax, (item.x + item.width) * kPt + 0.2)
                    << "page " << page << ": " << item.text;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 500u);
}

INSTANTIATE_TEST_SUITE_P(Separators, PdfTest,
                         testing::Values(CroatianSettings(), EnglishSettings()),
                         [](const auto& info) { return info.index == 0 ? "hr" : "en"; });

}  // namespace
}  // namespace movik::test
