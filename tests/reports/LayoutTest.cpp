// The six reports laid out from the example document: bands, rows, styles, positions, breaks.

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "ReportTestSupport.h"
#include "model/Templates.h"

namespace movik::test {
namespace {

constexpr double kTol = 0.1;

struct ReportCase {
    const char* job;
    Statement statement;
    int firstRow;
    int lastRow;
    std::vector<int> styledTags;                        // take the row's bold style
    std::vector<std::pair<double, double>> valueSpans;  // columns 3.. in mm from the band's left
};

const ReportCase kCases[] = {
    {"Aktiva",
     Statement::Bilanca,
     1,
     56,
     {1, 2, 3, 5},
     {{81.4, 118.4}, {119.1, 132.3}, {133.6, 165.4}, {166.0, 179.2}}},
    {"Pasiva",
     Statement::Bilanca,
     57,
     88,
     {1, 2, 3, 5},
     {{81.4, 118.4}, {119.1, 132.3}, {133.6, 165.4}, {166.0, 179.2}}},
    {"Racun dobiti i gubitka",
     Statement::Racun,
     1,
     45,
     {1, 2, 3, 4},
     {{126.7, 159.8}, {165.7, 178.9}}},
    {"Indirektna metoda novčanog toka", Statement::CFInd, 1, 31, {1, 2, 3}, {{138.9, 172.0}}},
    {"Slobodna metoda novčanog toka", Statement::CFFree, 1, 28, {1, 2, 3}, {{132.3, 172.0}}},
    {"Pokazatelji", Statement::Pok, 1, 19, {1, 2, 3}, {{117.7, 157.4}}},
};

void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << c.job;
}

StatementReport& ReportNamed(ReportSet& set, const std::string& job) {
    StatementReport* all[] = {&set.qrAktiva(), &set.qrPasiva(), &set.qrRacun(),
                              &set.qrCFInd(),  &set.qrCFFree(), &set.qrPok()};
    for (StatementReport* r : all) {
        if (r->jobName == job)
            return *r;
    }
    throw std::logic_error("no report " + job);
}

class ReportLayoutTest : public testing::TestWithParam<ReportCase> {
  protected:
    void SetUp() override { OpenExample(ws_); }

    PrintJob Job() {
        for (PrintJob& job : set_.PrintStatement(GetParam().statement, Inputs())) {
            if (job.name == GetParam().job)
                return job;
        }
        ADD_FAILURE() << "no job " << GetParam().job;
        return {};
    }
    PrintInputs Inputs() const { return PrintInputsOf(ws_, "kunama i lipama"); }
    const GridTexts& Grid() const { return ws_.grids().of(GetParam().statement); }
    int Rows() const { return GetParam().lastRow - GetParam().firstRow + 1; }

    Workspace ws_{CroatianSettings(), 2024};
    ReportSet set_{ws_.grids()};
};

TEST_P(ReportLayoutTest, OnePageInBandOrderWithEveryGridCellInRowOrder) {
    const ReportCase& c = GetParam();
    const PrintJob job = Job();
    ASSERT_FALSE(job.refused);
    ASSERT_EQ(job.pages.size(), 1u);
    const LaidOutPage& page = job.pages[0];

    std::vector<BandKind> expected = {BandKind::PageHeader, BandKind::Title,
                                      BandKind::ColumnHeader};
    expected.insert(expected.end(), static_cast<std::size_t>(Rows()), BandKind::Detail);
    expected.push_back(BandKind::Summary);
    expected.push_back(BandKind::PageFooter);
    std::vector<BandKind> kinds;
    for (const PlacedBand& b : page.bands)
        kinds.push_back(b.kind);
    EXPECT_EQ(kinds, expected);
    EXPECT_NEAR(page.bands.back().top + page.bands.back().height, 287.0, 1e-9);

    for (int col = 1; col < Grid().columnCount(); ++col) {
        const auto items = ItemsWithTag(page, col);
        ASSERT_EQ(items.size(), static_cast<std::size_t>(Rows())) << "column " << col;
        for (int r = c.firstRow; r <= c.lastRow; ++r) {
            EXPECT_EQ(items[static_cast<std::size_t>(r - c.firstRow)]->text, Grid().cell(col, r))
                << "column " << col << " row " << r;
        }
    }
}

TEST_P(ReportLayoutTest, BoldExactlyWhereTheStyleCodeHoldsB) {
    const ReportCase& c = GetParam();
    const LaidOutPage page = Job().pages.at(0);
    for (int col = 1; col < Grid().columnCount(); ++col) {
        const bool styled =
            std::find(c.styledTags.begin(), c.styledTags.end(), col) != c.styledTags.end();
        const auto items = ItemsWithTag(page, col);
        for (int r = c.firstRow; r <= c.lastRow; ++r) {
            const bool b = TemplateRow(c.statement, r).Vrsta.find('b') != std::string_view::npos;
            EXPECT_EQ(items.at(static_cast<std::size_t>(r - c.firstRow))->font.bold, styled && b)
                << "column " << col << " row " << r;
        }
    }
}

TEST_P(ReportLayoutTest, ValuesRightJustifiedInTheirSpans) {
    const ReportCase& c = GetParam();
    const LaidOutPage page = Job().pages.at(0);
    for (std::size_t i = 0; i < c.valueSpans.size(); ++i) {
        const auto [from, to] = c.valueSpans[i];
        for (const DrawItem* item : ItemsWithTag(page, static_cast<int>(i) + 3)) {
            EXPECT_EQ(item->justify, Justify::Right);
            EXPECT_NEAR(item->x, 10 + from, kTol);
            EXPECT_NEAR(item->x + item->width, 10 + to, kTol);
        }
    }
}

TEST_P(ReportLayoutTest, SmallPageBreaksRepeatPageHeaderAndColumnHeader) {
    const ReportCase& c = GetParam();
    ReportNamed(set_, c.job).page.pageHeight = 110;
    const PrintJob job = Job();
    ASSERT_GT(job.pages.size(), 1u);
    std::vector<std::string> texts;
    int titles = 0;
    for (std::size_t p = 0; p < job.pages.size(); ++p) {
        const auto& bands = job.pages[p].bands;
        ASSERT_GE(bands.size(), 3u);
        EXPECT_EQ(bands.front().kind, BandKind::PageHeader);
        EXPECT_EQ(bands[p == 0 ? 2 : 1].kind, BandKind::ColumnHeader) << "page " << p;
        EXPECT_EQ(bands.back().kind, BandKind::PageFooter);
        const double footerTop = bands.back().top;
        for (const PlacedBand& b : bands) {
            titles += b.kind == BandKind::Title;
            if (b.kind == BandKind::Summary) {
                EXPECT_EQ(p + 1, job.pages.size());
            }
            if (b.kind != BandKind::PageFooter) {
                EXPECT_LE(b.top + b.height, footerTop + 1e-9);
            }
        }
        for (const DrawItem* item : ItemsWithTag(job.pages[p], 2))
            texts.push_back(item->text);
    }
    EXPECT_EQ(titles, 1);
    ASSERT_EQ(texts.size(), static_cast<std::size_t>(Rows()));
    for (int r = c.firstRow; r <= c.lastRow; ++r) {
        EXPECT_EQ(texts[static_cast<std::size_t>(r - c.firstRow)], Grid().cell(2, r));
    }
}

INSTANTIATE_TEST_SUITE_P(Reports, ReportLayoutTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::to_string(info.index); });

// Label boxes against the forms' measurements (mm from the page's top-left corner).
TEST(ReportPositionsTest, LabelsSitWhereTheFormsPutThem) {
    struct Case {
        Statement statement;
        const char* job;
        const char* label;
        double x, y, width;
    };
    const Case cases[] = {
        {Statement::Bilanca, "Aktiva", "lNaslov", 10, 10 + 8.6 + 4.3, 190},
        {Statement::Bilanca, "Aktiva", "lIznosi", 139.3, 10 + 8.6 + 9.9, 49.9},
        {Statement::Bilanca, "Pasiva", "lTipBilance", 17.9, 10 + 8.6 + 8.6, 190 - 7.9},
        {Statement::Bilanca, "Pasiva", "lTekuca", 143.6, -1, 31.8},
        {Statement::Racun, "Racun dobiti i gubitka", "lRbr", 19.9, 10 + 8.6 + 25.5 + 5.6, 6.6},
        {Statement::CFInd, "Indirektna metoda novčanog toka", "lIznos", 148.9,
         10 + 8.6 + 29.4 + 5.3 + 0.7, 33.1},
        {Statement::CFFree, "Slobodna metoda novčanog toka", "lHIznos", 142.3, -1, 39.7},
        {Statement::Pok, "Pokazatelji", "lSjediste", 10, 10 + 4.3, 190},
        {Statement::Pok, "Pokazatelji", "lVerzija", 10, 287 - 9.6 + 1.7, 190},
    };
    Workspace ws(CroatianSettings(), 2024);
    OpenExample(ws);
    ReportSet set(ws.grids());
    for (const Case& c : cases) {
        for (const PrintJob& job : set.PrintStatement(c.statement, PrintInputsOf(ws, "USD"))) {
            if (job.name != c.job)
                continue;
            const DrawItem* item = ItemNamed(job.pages.at(0), c.label);
            ASSERT_NE(item, nullptr) << c.label;
            EXPECT_NEAR(item->x, c.x, kTol) << c.job << " " << c.label;
            if (c.y >= 0) {
                EXPECT_NEAR(item->y, c.y, kTol) << c.job << " " << c.label;
            }
            EXPECT_NEAR(item->width, c.width, kTol) << c.job << " " << c.label;
        }
    }
}

// A band taller than a page still prints, one per page, and the layout ends.
TEST(ReportEngineTest, BandTallerThanThePageGetsAPageOfItsOwn) {
    Report r;
    r.bands.push_back({BandKind::PageHeader, 10, {}, {}});
    r.bands.push_back({BandKind::Detail, 400, {}, {}});
    r.bands.push_back({BandKind::PageFooter, 10, {}, {}});
    int rows = 0;
    r.needData = [&] { return rows++ < 3; };
    const LayoutResult result = LayoutReport(r);
    ASSERT_EQ(result.pages.size(), 3u);
    for (const LaidOutPage& page : result.pages) {
        ASSERT_EQ(page.bands.size(), 3u);
        EXPECT_EQ(page.bands[1].kind, BandKind::Detail);
    }
}

}  // namespace
}  // namespace movik::test
