// The view "Položaj u skupini" through its model: rows per group with the quartile rows under
// them, ranks and quarters as text and tint (never the tint alone), contrast in light and dark
// palettes, sorting within groups with the selection following; and in the window: switching
// the view and exporting what it shows.

#include <QFile>
#include <QItemSelectionModel>
#include <QTest>
#include <set>

// GCC 12 sees the fixture's optional<QString> copy as maybe uninitialised once inlined here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "WindowFixture.h"
#pragma GCC diagnostic pop
#include "document/Cp1250.h"
#include "model/Dates.h"
#include "ui/AccessibleColours.h"
#include "ui/ComparisonWindow.h"
#include "ui/StandingModel.h"
#include "ui/StandingView.h"

namespace movik::test {
namespace {

RegionalSettings Croatian() {
    return {".", ",", "dd.MM.yyyy."};
}

// A readable summary of year with current liquidity (the first measure) liquidity.
DocumentSummary Doc(const std::string& company, int year, double liquidity) {
    DocumentSummary s;
    s.ok = true;
    s.file = company + "-" + std::to_string(year) + ".mvk";
    s.company = company;
    s.from = DayNumber(year, 1, 1);
    s.to = DayNumber(year, 12, 31);
    s.currency = Valuta::Eur;
    s.indicators.fill(1);
    s.indicators[0] = liquidity;
    return s;
}

// 2024: five companies with liquidity 1 to 5 (E the best); 2023: two, no standing.
ComparisonTable Table() {
    ComparisonTable t(Croatian());
    t.Add({Doc("C", 2024, 3), Doc("A", 2024, 1), Doc("E", 2024, 5), Doc("B", 2024, 2),
           Doc("D", 2024, 4), Doc("A", 2023, 1), Doc("B", 2023, 2)});
    return t;
}

QString Cell(const StandingModel& m, int r, int c, int role = Qt::DisplayRole) {
    return m.index(r, c).data(role).toString();
}

TEST(StandingModel, GroupsWithQuartileRowsAndRanksAsTextAndTint) {
    StandingModel m(Croatian());
    m.Rebuild(Table());
    // 2023 (two documents and the note), then 2024 (five and three quartile rows).
    ASSERT_EQ(m.rowCount(), 3 + 8);
    EXPECT_EQ(Cell(m, 2, 1), QStringLiteral("bez položaja (n < 5)"));
    EXPECT_TRUE(Cell(m, 2, 0, Qt::ToolTipRole).contains(u"ima 2 dokumenta"));
    EXPECT_EQ(Cell(m, 8, 1), QStringLiteral("Q1 (prvi kvartil)"));
    EXPECT_EQ(Cell(m, 9, 2), QStringLiteral("3,0000"));  // the median of 1 … 5
    EXPECT_EQ(m.index(9, 0).data(Qt::FontRole).value<QFont>().bold(), true);
    const QString bestText = Cell(m, 5, 2);  // E, in input order after C, A
    EXPECT_EQ(bestText, QStringLiteral("90,00 (1.)"));
    EXPECT_TRUE(Cell(m, 5, 2, Qt::ToolTipRole).contains(u"najbolja četvrtina"));
    // Days of paying suppliers (no direction): a rank without quarter and without tint.
    const int days = 2 + 4;
    EXPECT_EQ(Cell(m, 5, days), QStringLiteral("50,00"));
    EXPECT_FALSE(m.index(5, days).data(Qt::BackgroundRole).isValid());
    // A tint only where a quarter is written, a different one per quarter.
    std::set<QRgb> tints;
    for (int r = 3; r < 8; ++r) {
        const QVariant tint = m.index(r, 2).data(Qt::BackgroundRole);
        ASSERT_TRUE(tint.isValid()) << r;
        EXPECT_TRUE(Cell(m, r, 2).contains(u'('));
        tints.insert(tint.value<QColor>().rgb());
    }
    EXPECT_EQ(tints.size(), 4u);  // 10, 30, 50, 70, 90: the middle two share the second
    EXPECT_FALSE(m.index(0, 2).data(Qt::BackgroundRole).isValid());  // 2023: no standing
}

TEST(StandingModel, QuarterColoursKeepTheirContrastInLightAndDarkPalettes) {
    QPalette light;
    light.setColor(QPalette::Base, Qt::white);
    light.setColor(QPalette::Text, Qt::black);
    QPalette dark;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    for (const QPalette& p : {light, dark}) {
        std::set<QRgb> tints;
        for (int q = 1; q <= 4; ++q) {
            EXPECT_GE(ContrastRatio(QuarterText(p, q), QuarterBackground(p, q)), kTextContrast)
                << q;
            tints.insert(QuarterBackground(p, q).rgb());
        }
        EXPECT_EQ(tints.size(), 4u);
    }
}

TEST(StandingModel, SortingOrdersWithinGroupsAndTheSelectionFollows) {
    StandingModel m(Croatian());
    m.Rebuild(Table());
    QItemSelectionModel selection(&m);
    selection.select(m.index(5, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    m.sort(2, Qt::DescendingOrder);
    QStringList companies;
    for (int r = 3; r < 8; ++r) {
        companies << Cell(m, r, 0);
    }
    EXPECT_EQ(companies, QStringList({"E", "D", "C", "B", "A"}));
    EXPECT_EQ(Cell(m, 8, 1), QStringLiteral("Q1 (prvi kvartil)"));  // still under the group
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(m.FileOf(selection.selectedRows().front().row()), "E-2024.mvk");
    m.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(Cell(m, 3, 0), QStringLiteral("A"));
}

// In the window: the view takes the table's place, follows rows as they load, and the CSV
// export writes what it shows.
TEST(StandingView, WindowShowsTheViewAndExportsIt) {
    WindowFixture f;
    f.window->Usporedba1Click();
    ComparisonWindow* w = f.window->comparison();
    w->SetSummaryWork([](const std::string& path) {
        const std::string name = path.substr(path.find_last_of('/') + 1);
        return Doc(name.substr(0, 1), 2024, name[0] - 'A' + 1.0);
    });
    w->PolozajClick(true);
    EXPECT_TRUE(w->standingView()->isVisibleTo(w));
    QStringList paths;
    for (const char* name : {"A", "B", "C", "D", "E"}) {
        const QString path = f.Path(QString::fromLatin1(name));
        QFile(path).open(QIODevice::WriteOnly);
        paths << path;
    }
    w->AddPaths(paths);
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->IsLoading(); }, 20000));
    EXPECT_EQ(w->standingView()->model()->rowCount(), 8);
    f.dialogs->saveChoices.push_back(f.Path(QStringLiteral("p.csv")));
    w->IzvozCsvClick();
    QFile csv(f.Path(QStringLiteral("p.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const std::string text = Cp1250ToUtf8(csv.readAll().toStdString());
    EXPECT_NE(text.find("Skupina 2024 (EUR, n = 5);Medijan;3,0000;"), std::string::npos) << text;
    w->PolozajClick(false);
    EXPECT_FALSE(w->standingView()->isVisibleTo(w));
}

}  // namespace
}  // namespace movik::test
