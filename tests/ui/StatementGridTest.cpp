// The statement grid: its model over the grid texts, the numeric editor, and real edits through
// the editor with the validation handler.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "document/Workspace.h"
#include "model/NumberFormat.h"
#include "model/Templates.h"
#include "regional/Regional.h"
#include "tests/support/WorkspaceTestAccess.h"
#include "ui/AmountEditor.h"
#include "ui/StatementGrid.h"
#include "ui/StatementGridModel.h"

namespace movik {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// Restores the tests' default locale after a test that pins another one.
class LocaleGuard {
  public:
    explicit LocaleGuard(const QString& name) : saved_(QLocale()) {
        QLocale::setDefault(QLocale(name));
    }
    ~LocaleGuard() { QLocale::setDefault(saved_); }

  private:
    QLocale saved_;
};

// ---------------------------------------------------------------------------------------------
// The model and the view's fixed layout, for every statement

struct Layout {
    Statement statement;
    std::vector<int> widths;
    std::vector<int> rightColumns;
    std::vector<int> redRows;
    int helpContext;
};

class GridLayoutTest : public ::testing::TestWithParam<Layout> {
  protected:
    GridLayoutTest() : ws_(RegionalSettings{}, 2024) {}
    GridTexts& texts() { return ws_.viewTexts(GetParam().statement); }
    Workspace ws_;
};

TEST_P(GridLayoutTest, ShapeWidthsAndHeights) {
    const Layout& p = GetParam();
    StatementGrid grid(p.statement, texts());
    const int columns = static_cast<int>(p.widths.size());
    ASSERT_EQ(grid.model()->columnCount(), columns - 1);
    ASSERT_EQ(grid.model()->rowCount(), RowCount(p.statement));

    EXPECT_EQ(grid.verticalHeader()->width(), p.widths[0]);
    for (int c = 1; c < columns; ++c) {
        EXPECT_EQ(grid.columnWidth(c - 1), p.widths[static_cast<std::size_t>(c)]) << "column " << c;
    }
    EXPECT_EQ(grid.horizontalHeader()->height(), 16);
    for (int r = 0; r < RowCount(p.statement); ++r) {
        ASSERT_EQ(grid.rowHeight(r), 16) << "row " << r + 1;
    }
    EXPECT_EQ(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(grid.horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_FALSE(grid.isSortingEnabled());
    EXPECT_TRUE(grid.showGrid());
    EXPECT_EQ(grid.selectionMode(), QAbstractItemView::ContiguousSelection);
    EXPECT_EQ(grid.helpContext(), p.helpContext);
    EXPECT_EQ(grid.property("helpContext").toInt(), p.helpContext);
}

TEST_P(GridLayoutTest, HeadersComeFromRowZeroAndColumnZero) {
    const Layout& p = GetParam();
    StatementGrid grid(p.statement, texts());
    QAbstractItemModel* m = grid.model();
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Rbr"));
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("P o z i c i j a"));
    for (int r = 0; r < m->rowCount(); ++r) {
        EXPECT_TRUE(m->headerData(r, Qt::Vertical).toString().isEmpty());
    }
    // The header row keeps the default look.
    for (int c = 0; c < m->columnCount(); ++c) {
        EXPECT_FALSE(m->headerData(c, Qt::Horizontal, Qt::BackgroundRole).isValid());
        EXPECT_FALSE(m->headerData(c, Qt::Horizontal, Qt::ForegroundRole).isValid());
        const QFont f = m->headerData(c, Qt::Horizontal, Qt::FontRole).value<QFont>();
        EXPECT_FALSE(f.bold());
        EXPECT_EQ(f.pointSize(), 8);
    }
    // A rewritten header text shows after refresh().
    texts().cell(2, 0) = "Nova";
    grid.refresh();
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nova"));
}

TEST_P(GridLayoutTest, FontsColoursAndAlignmentPerCell) {
    const Layout& p = GetParam();
    StatementGrid grid(p.statement, texts());
    QAbstractItemModel* m = grid.model();
    for (int r = 1; r <= RowCount(p.statement); ++r) {
        const bool bold =
            std::string_view(TemplateRow(p.statement, r).Vrsta).find('b') != std::string_view::npos;
        const bool red = std::find(p.redRows.begin(), p.redRows.end(), r) != p.redRows.end();
        for (int c = 1; c <= m->columnCount(); ++c) {
            const QModelIndex i = m->index(r - 1, c - 1);
            SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
            EXPECT_EQ(m->data(i).toString(), Q(texts().cell(c, r)));
            const QFont f = m->data(i, Qt::FontRole).value<QFont>();
            EXPECT_EQ(f.family(), QStringLiteral("Arial"));
            EXPECT_EQ(f.pointSize(), 8);
            EXPECT_EQ(f.bold(), bold);
            EXPECT_FALSE(f.italic());
            const QVariant bg = m->data(i, Qt::BackgroundRole);
            EXPECT_EQ(bg.isValid(), bold);
            if (bold) {
                EXPECT_EQ(bg.value<QBrush>().color(), QColor(204, 204, 204));
            }
            const QVariant fg = m->data(i, Qt::ForegroundRole);
            EXPECT_EQ(fg.isValid(), red);
            if (red) {
                // The palette's red, held to 4.5:1 on white and on the bold rows' grey.
                EXPECT_EQ(fg.value<QBrush>().color(), grid.gridModel()->colours().red);
                EXPECT_GE(ContrastRatio(grid.gridModel()->colours().red, QColor(204, 204, 204)),
                          4.5);
            }
            const bool right =
                std::find(p.rightColumns.begin(), p.rightColumns.end(), c) != p.rightColumns.end();
            const auto align = m->data(i, Qt::TextAlignmentRole).value<Qt::Alignment>();
            EXPECT_EQ(bool(align & Qt::AlignRight), right);
            EXPECT_EQ(bool(align & Qt::AlignLeft), !right);
        }
    }
}

const std::vector<Layout> kLayouts = {
    {Statement::Bilanca, {8, 25, 274, 86, 81, 68, 95}, {3, 4, 5, 6}, {55, 87}, 1},
    {Statement::Racun, {10, 24, 319, 100, 100}, {3, 4}, {45}, 1},
    {Statement::CFInd, {8, 24, 420, 130}, {3}, {28, 31}, 4},
    {Statement::CFFree, {8, 24, 423, 118}, {3}, {21, 28}, 5},
    {Statement::Pok, {8, 24, 305, 120}, {3}, {}, 6},
};

INSTANTIATE_TEST_SUITE_P(AllStatements, GridLayoutTest, ::testing::ValuesIn(kLayouts));

// Counts the pixels of rect in image that satisfy pick.
template <class Pick>
int CountPixels(const QImage& image, const QRect& rect, Pick pick) {
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            n += pick(QColor(image.pixel(x, y))) ? 1 : 0;
        }
    }
    return n;
}

TEST(GridPaint, HeaderTextsGreyRowsRedTextAndTheHighlightAreDrawn) {
    Workspace ws(RegionalSettings{}, 2024);
    StatementGrid grid(Statement::Bilanca, ws.viewTexts(Statement::Bilanca));
    grid.resize(700, 1500);
    grid.setCurrentIndex(grid.model()->index(9, 1));  // row 10, the text column
    grid.show();
    QApplication::processEvents();

    const QImage header = grid.horizontalHeader()->grab().toImage();
    const auto dark = [](const QColor& c) { return c.lightness() < 110; };
    for (int section = 0; section < 6; ++section) {
        const QRect r(grid.horizontalHeader()->sectionViewportPosition(section), 0,
                      grid.columnWidth(section), header.height());
        const bool hasText = !ws.grids().Bilanca.cell(section + 1, 0).empty();
        EXPECT_EQ(CountPixels(header, r, dark) > 5, hasText) << "header section " << section;
    }

    const QImage cells = grid.viewport()->grab().toImage();
    const auto emptyPart = [&grid](int row) {  // right end of the left-aligned text column
        const QRect r = grid.visualRect(grid.model()->index(row - 1, 1));
        return QRect(r.right() - 6, r.top() + 3, 4, r.height() - 6);
    };
    const QRect bold = emptyPart(2);
    EXPECT_EQ(CountPixels(cells, bold, [](const QColor& c) { return c == QColor(204, 204, 204); }),
              bold.width() * bold.height());
    const QRect plain = emptyPart(4);
    const QColor base = grid.palette().color(QPalette::Base);
    EXPECT_EQ(CountPixels(cells, plain, [&base](const QColor& c) { return c == base; }),
              plain.width() * plain.height());
    const QRect current = emptyPart(10);
    // The palette's highlight, darkened where needed so its text holds 4.5:1.
    const QColor active = grid.gridModel()->colours().highlight;
    const QColor inactive = active;
    // The style may shade the highlight a little.
    const auto near = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) < 8 && std::abs(a.green() - b.green()) < 8 &&
               std::abs(a.blue() - b.blue()) < 8;
    };
    EXPECT_GT(CountPixels(cells, current,
                          [&](const QColor& c) { return near(c, active) || near(c, inactive); }),
              current.width() * current.height() / 2);
    const auto red = [](const QColor& c) {
        return c.red() > 120 && c.green() < 90 && c.blue() < 90;
    };
    EXPECT_GT(CountPixels(cells, grid.visualRect(grid.model()->index(54, 1)), red), 10);
    EXPECT_EQ(CountPixels(cells, grid.visualRect(grid.model()->index(53, 1)), red), 0);
}

TEST(GridPaint, FullAmountsFitTheNarrowestAmountColumn) {
    // The current-year amount column of the balance sheet (68 pixels) holds any amount below
    // ten million, plain or bold, as the designed layout intends.
    GridTexts texts(7, 89);
    const QFont plain = StatementGridModel(Statement::Bilanca, texts).cellFont();
    QFont bold = plain;
    bold.setBold(true);
    for (const char* text : {"1.234.567,89", "9.999.999,99", "1,851,851.34", "7.407.407,41"}) {
        EXPECT_LE(StatementGrid::ColumnWidthFor(QString::fromUtf8(text), plain), 68) << text;
        EXPECT_LE(StatementGrid::ColumnWidthFor(QString::fromUtf8(text), bold), 68) << text;
    }
    EXPECT_GT(StatementGrid::ColumnWidthFor(QStringLiteral("-12.345.678,90"), plain), 68);
    EXPECT_LT(StatementGrid::ColumnWidthFor(QStringLiteral("1"), plain),
              StatementGrid::ColumnWidthFor(QStringLiteral("11"), plain));
}

TEST(GridModel, RedRowsAreTheTotalsTheyNameAndPokHasNone) {
    const std::vector<std::tuple<Statement, int, std::string>> red = {
        {Statement::Bilanca, 55, "F.UKUPNA AKTIVA"},
        {Statement::Bilanca, 87, "F.UKUPNA PASIVA"},
        {Statement::Racun, 45, "REZULTAT POSLIJE POREZA"},
        {Statement::CFInd, 28, "UKUPNI NOVČANI TOK (10+16+27)"},
        {Statement::CFInd, 31, "PROMJENA STANJA NOVČANIH SREDSTAVA (30-29)"},
        {Statement::CFFree, 21, "SLOBODNI NOVČANI TOK (19+20)"},
        {Statement::CFFree, 28, "NOVČANI TOK OD FINANCIRANJA (22+...+27)"},
    };
    for (const auto& [s, row, text] : red) {
        EXPECT_TRUE(StatementGridModel::IsRedRow(s, row)) << text;
        EXPECT_NE(std::string(TemplateRow(s, row).Tekst).find(text), std::string::npos) << text;
    }
    for (int r = 1; r <= kPokRows; ++r) {
        EXPECT_FALSE(StatementGridModel::IsRedRow(Statement::Pok, r));
    }
}

TEST(GridModel, EditRuleCountsAndExamples) {
    Workspace ws(RegionalSettings{}, 2024);
    struct Expect {
        Statement s;
        std::vector<int> counts;  // editable rows per column 1..last
    };
    const std::vector<Expect> expects = {
        {Statement::Bilanca, {0, 0, 74, 0, 74, 0}},
        {Statement::Racun, {0, 0, 30, 0}},
        {Statement::CFInd, {0, 0, 0}},
        {Statement::CFFree, {0, 0, 0}},
        {Statement::Pok, {0, 0, 0}},
    };
    for (const Expect& e : expects) {
        StatementGridModel model(e.s, ws.viewTexts(e.s));
        ASSERT_EQ(model.columnCount(), static_cast<int>(e.counts.size()));
        for (int c = 1; c <= model.columnCount(); ++c) {
            int editable = 0;
            for (int r = 1; r <= RowCount(e.s); ++r) {
                const bool flag = model.flags(model.indexAt(c, r)) & Qt::ItemIsEditable;
                EXPECT_TRUE(model.flags(model.indexAt(c, r)) & Qt::ItemIsSelectable);
                EXPECT_EQ(flag, (c == 3 || (c == 5 && e.s == Statement::Bilanca)) &&
                                    !TemplateRow(e.s, r).Izracunata);
                editable += flag ? 1 : 0;
            }
            EXPECT_EQ(editable, e.counts[static_cast<std::size_t>(c - 1)]) << "column " << c;
        }
    }
    // Bold input rows are editable; totals are not.
    for (int r : {1, 53, 54, 56, 66, 86, 88}) {
        EXPECT_TRUE(StatementGridModel::IsEditable(Statement::Bilanca, 3, r)) << r;
        EXPECT_TRUE(StatementGridModel::IsEditable(Statement::Bilanca, 5, r)) << r;
    }
    for (int r : {2, 55, 57, 87}) {
        EXPECT_FALSE(StatementGridModel::IsEditable(Statement::Bilanca, 3, r)) << r;
    }
    EXPECT_FALSE(StatementGridModel::IsEditable(Statement::Racun, 3, 45));
    EXPECT_TRUE(StatementGridModel::IsEditable(Statement::Racun, 3, 43));
}

TEST(GridModel, StyleCodesReplaceEachOtherInOrder) {
    // The templates only use "b" and ""; the rule itself is checked on a grid whose rows are
    // known: bold rows of Bilanca, plain rows elsewhere.
    Workspace ws(RegionalSettings{}, 2024);
    StatementGridModel model(Statement::Bilanca, ws.viewTexts(Statement::Bilanca));
    EXPECT_TRUE(model.data(model.indexAt(2, 55), Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(model.data(model.indexAt(2, 4), Qt::FontRole).value<QFont>().bold());
}

TEST(GridModel, RefreshSignalsEveryCellWithoutReset) {
    Workspace ws(RegionalSettings{}, 2024);
    StatementGridModel model(Statement::Bilanca, ws.viewTexts(Statement::Bilanca));
    QSignalSpy data(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    WorkspaceTestAccess::Grids(ws).Bilanca.cell(5, 88) = "9,99";
    model.refreshAll();
    ASSERT_EQ(data.count(), 1);
    EXPECT_EQ(data[0][0].value<QModelIndex>(), model.index(0, 0));
    EXPECT_EQ(data[0][1].value<QModelIndex>(), model.index(87, 5));
    EXPECT_EQ(headers.count(), 2);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(model.data(model.indexAt(5, 88)).toString(), QStringLiteral("9,99"));
}

TEST(GridModel, PokHelpContextFollowsTheCurrentRow) {
    Workspace ws(RegionalSettings{}, 2024);
    StatementGrid grid(Statement::Pok, ws.viewTexts(Statement::Pok));
    QSignalSpy spy(&grid, &StatementGrid::helpContextChanged);
    const std::vector<std::pair<int, int>> rowsToContext = {
        {1, 6}, {4, 6}, {5, 7}, {9, 7}, {10, 8}, {12, 8}, {14, 8}, {15, 9}, {19, 9}, {3, 6}};
    for (const auto& [row, context] : rowsToContext) {
        grid.setCurrentIndex(grid.model()->index(row - 1, 1));
        EXPECT_EQ(grid.helpContext(), context) << "row " << row;
        EXPECT_EQ(grid.property("helpContext").toInt(), context) << "row " << row;
    }
    EXPECT_EQ(spy.count(), 4);  // 6 -> 7 -> 8 -> 9 -> 6: only real changes are signalled
}

// ---------------------------------------------------------------------------------------------
// The numeric editor's rule

struct TypingCase {
    const char* initial;
    int cursor;  // -1: end of text
    const char* typed;
    const char* expected;
};

class AmountEditorTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(AmountEditorTyping, KeyClicksFollowTheRule) {
    const TypingCase& p = GetParam();
    AmountEditor editor;
    editor.setText(QString::fromUtf8(p.initial));
    editor.setCursorPosition(p.cursor < 0 ? editor.text().size() : p.cursor);
    QTest::keyClicks(&editor, QString::fromUtf8(p.typed));
    EXPECT_EQ(editor.text(), QString::fromUtf8(p.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rule, AmountEditorTyping,
    ::testing::Values(TypingCase{"", -1, "12a.3,4--5", "12.3,45"},
                      TypingCase{"", -1, "-1-2", "-12"}, TypingCase{"", -1, ",5,5.", ",55."},
                      TypingCase{"", -1, "--7", "-7"}, TypingCase{"", -1, "abc xyz", ""},
                      TypingCase{"", -1, "1 000", "1 000"}, TypingCase{"", -1, "+1e5", "15"},
                      TypingCase{"", -1, "7-", "7"},
                      // A formatted amount keeps its marks; a second decimal mark is refused.
                      TypingCase{"1.234,50", -1, "7,.", "1.234,507."},
                      TypingCase{"1,234.50", -1, "9", "1,234.509"},
                      // The sign only goes in front, once; nothing goes before it.
                      TypingCase{"5", 0, "-", "-5"}, TypingCase{"-5", 0, "-3", "-5"},
                      TypingCase{"-5", 1, "3", "-35"}, TypingCase{"12", 1, "-", "12"}));

TEST(AmountEditor, EditingKeysStillWork) {
    AmountEditor editor;
    editor.setText(QStringLiteral("123,4"));
    editor.setCursorPosition(5);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    EXPECT_EQ(editor.text(), QStringLiteral("123"));
    QTest::keyClick(&editor, Qt::Key_Home);
    QTest::keyClick(&editor, Qt::Key_Delete);
    EXPECT_EQ(editor.text(), QStringLiteral("23"));
    // With the decimal mark deleted, a new one is taken.
    QTest::keyClicks(&editor, QStringLiteral("."));
    EXPECT_EQ(editor.text(), QStringLiteral(".23"));
}

TEST(AmountEditor, SelectedTextIsReplacedUnderTheRule) {
    AmountEditor editor;
    editor.setText(QStringLiteral("1.234,50"));
    editor.selectAll();
    QTest::keyClicks(&editor, QStringLiteral(","));
    EXPECT_EQ(editor.text(), QStringLiteral(","));
    editor.setText(QStringLiteral("-1,5"));
    editor.setSelection(0, 1);  // the sign selected: typing over it is a first character
    QTest::keyClicks(&editor, QStringLiteral("2"));
    EXPECT_EQ(editor.text(), QStringLiteral("21,5"));
}

TEST(AmountEditor, AcceptsInsertTable) {
    struct Case {
        const char* text;
        int pos;
        int sel;
        const char* inserted;
        bool ok;
    };
    // The decimal separator is "," here; "." and blanks group digits.
    const Case cases[] = {
        {"", 0, 0, "0123456789", true}, {"", 0, 0, "-1,5", true},
        {"", 0, 0, "1.5,", true},       {"1.2", 3, 0, ",", true},
        {"1,2", 3, 0, ",", false},      {"1.2", 0, 3, ",", true},
        {"1.2", 1, 1, ",", true},       {"-1", 0, 0, "5", false},
        {"-1", 0, 1, "5", true},        {"1", 1, 0, "-", false},
        {"", 0, 0, "1\u00a0000", true}, {"", 0, 0, "1.234,5,", false},
        {"", 0, 0, "", true},           {"12", 5, 0, "1", false},
        {"", 0, 0, "1a", false},        {"", 0, 0, " 1", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AmountEditor::AcceptsInsert(QString::fromUtf8(c.text), c.pos, c.sel,
                                              QString::fromUtf8(c.inserted), u','),
                  c.ok)
            << c.text << " + " << c.inserted << " at " << c.pos;
    }
}

struct PasteCase {
    const char* locale;
    const char* initial;
    const char* clipboard;
    const char* expected;
};

class AmountEditorPaste : public ::testing::TestWithParam<PasteCase> {};

TEST_P(AmountEditorPaste, CtrlVObeysTheRule) {
    const PasteCase& p = GetParam();
    LocaleGuard locale(QString::fromUtf8(p.locale));
    AmountEditor editor;
    editor.setText(QString::fromUtf8(p.initial));
    editor.setCursorPosition(editor.text().size());
    QGuiApplication::clipboard()->setText(QString::fromUtf8(p.clipboard));
    QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor.text(), QString::fromUtf8(p.expected));
}

INSTANTIATE_TEST_SUITE_P(Rule, AmountEditorPaste,
                         ::testing::Values(PasteCase{"hr_HR", "", "1.234,56", "1.234,56"},
                                           PasteCase{"en_US", "", "1,234.56", "1,234.56"},
                                           PasteCase{"hr_HR", "", " -7\n", "-7"},
                                           PasteCase{"hr_HR", "", "12a", ""},
                                           PasteCase{"en_US", "", "1.2.3", ""},
                                           PasteCase{"hr_HR", "5", "-1", "5"},
                                           PasteCase{"hr_HR", "5,", "25", "5,25"},
                                           PasteCase{"hr_HR", "5,", "2,5", "5,"}));

TEST(AmountEditor, ContextMenuPasteObeysTheRule) {
    AmountEditor editor;
    editor.show();
    auto pasteFromMenu = [&editor](const QString& clip) {
        QGuiApplication::clipboard()->setText(clip);
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2),
                                editor.mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(&editor, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QAction* paste = nullptr;
        for (QAction* a : menu->actions()) {
            if (a->objectName() == QLatin1String("edit-paste")) {
                paste = a;
            }
        }
        ASSERT_NE(paste, nullptr);
        paste->trigger();
        menu->close();
    };
    pasteFromMenu(QStringLiteral("x1"));
    EXPECT_EQ(editor.text(), QString());
    pasteFromMenu(QStringLiteral("42"));
    EXPECT_EQ(editor.text(), QStringLiteral("42"));
}

// ---------------------------------------------------------------------------------------------
// Real edits through the grid, under both separator conventions

struct ValidateCall {
    int col;
    int row;
    std::string text;
};

class GridEditTest : public ::testing::TestWithParam<const char*> {
  protected:
    GridEditTest() : locale_(QString::fromUtf8(GetParam())), ws_(RegionalFromLocale(), 2024) {
        window_.resize(800, 600);
        auto* layout = new QVBoxLayout(&window_);
        other_ = new QLineEdit(&window_);
        other_->setObjectName(QStringLiteral("other"));
        grid_ = new StatementGrid(Statement::Bilanca, ws_.viewTexts(Statement::Bilanca), &window_);
        racun_ = new StatementGrid(Statement::Racun, ws_.viewTexts(Statement::Racun), &window_);
        layout->addWidget(other_);
        layout->addWidget(grid_);
        layout->addWidget(racun_);
        // The window's handler: refuse what is not an amount, else rewrite, recalculate, show.
        grid_->validate = [this](int col, int row, const std::string& text) {
            calls_.push_back({col, row, text});
            if (!IsAmountText(text, ws_.settings())) {
                return std::optional<std::string>();
            }
            const std::string formatted =
                FormatNumber(AmountFromText(text, ws_.settings()), AmountFormat, ws_.settings());
            WorkspaceTestAccess::Grids(ws_).Bilanca.cell(col, row) = formatted;
            ws_.RefreshCycle();
            grid_->refresh();
            racun_->refresh();
            return std::optional<std::string>(formatted);
        };
        window_.show();
        window_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
        grid_->setFocus();
    }

    QString Amount(double v) const { return Q(FormatNumber(v, AmountFormat, ws_.settings())); }
    QString Cell(int col, int row) const { return Q(ws_.grids().Bilanca.cell(col, row)); }
    QModelIndex At(int col, int row) const { return grid_->model()->index(row - 1, col - 1); }
    std::string Local(const char* enText) const {
        // "1234.5" in the locale's decimal mark.
        std::string s = enText;
        for (char& c : s) {
            if (c == '.') {
                c = ws_.settings().decimalSeparator[0];
            }
        }
        return s;
    }

    // The first character opens the editor (as in a spreadsheet); the rest go to the editor.
    void Type(const std::string& text) {
        const QString t = Q(text);
        QTest::keyClicks(grid_, t.left(1));
        ASSERT_TRUE(grid_->isEditing());
        QTest::keyClicks(grid_->cellEditor(), t.mid(1));
    }
    void KeyInEditor(Qt::Key key) {
        ASSERT_NE(grid_->cellEditor(), nullptr);
        QTest::keyClick(grid_->cellEditor(), key);
    }

    LocaleGuard locale_;
    Workspace ws_;
    QWidget window_;
    QLineEdit* other_;
    StatementGrid* grid_;
    StatementGrid* racun_;
    std::vector<ValidateCall> calls_;
};

TEST_P(GridEditTest, TypeAndEnterValidatesOnceAndShowsTheTotals) {
    grid_->setCurrentIndex(At(3, 4));
    Type(Local("1234.5"));
    EXPECT_EQ(grid_->cellEditor()->text(), Q(Local("1234.5")));
    KeyInEditor(Qt::Key_Return);
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].col, 3);
    EXPECT_EQ(calls_[0].row, 4);
    EXPECT_EQ(calls_[0].text, Local("1234.5"));
    EXPECT_FALSE(grid_->isEditing());
    EXPECT_EQ(grid_->currentIndex(), At(3, 4));
    EXPECT_EQ(Cell(3, 4), Amount(1234.5));
    EXPECT_EQ(grid_->model()->data(At(3, 4)).toString(), Amount(1234.5));
    EXPECT_EQ(grid_->model()->data(At(3, 3)).toString(), Amount(1234.5));   // I. subtotal
    EXPECT_EQ(grid_->model()->data(At(3, 55)).toString(), Amount(1234.5));  // total, red row
    EXPECT_EQ(ws_.document().Bilanca.row(4).IznosPrethodna, 1234.5);
}

TEST_P(GridEditTest, RefusedTextComesBackAndEditorStaysOpenAfterEnter) {
    grid_->setCurrentIndex(At(5, 10));
    const QString before = Cell(5, 10);
    Type("-");
    KeyInEditor(Qt::Key_Return);
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].text, "-");
    EXPECT_TRUE(grid_->isEditing());
    EXPECT_EQ(grid_->cellEditor()->text(), before);
    EXPECT_EQ(Cell(5, 10), before);
    EXPECT_EQ(grid_->currentIndex(), At(5, 10));
    // The user goes on typing in the still open editor, over the selected old text.
    QTest::keyClicks(grid_->cellEditor(), QStringLiteral("7"));
    KeyInEditor(Qt::Key_Enter);
    ASSERT_EQ(calls_.size(), 2u);
    EXPECT_EQ(Cell(5, 10), Amount(7));
    EXPECT_FALSE(grid_->isEditing());
}

TEST_P(GridEditTest, UnchangedTextIsNeverValidated) {
    grid_->setCurrentIndex(At(3, 4));
    QTest::keyClick(grid_, Qt::Key_F2);
    ASSERT_TRUE(grid_->isEditing());
    KeyInEditor(Qt::Key_Return);
    EXPECT_FALSE(grid_->isEditing());
    // Enter on an input cell opens its editor again; leaving it unchanged calls nothing.
    QTest::keyClick(grid_, Qt::Key_Return);
    ASSERT_TRUE(grid_->isEditing());
    EXPECT_EQ(grid_->currentIndex(), At(3, 4));
    KeyInEditor(Qt::Key_Down);
    EXPECT_FALSE(grid_->isEditing());
    EXPECT_EQ(grid_->currentIndex(), At(3, 5));
    // Typing and deleting back to the old text is no change either.
    Type("9");
    QTest::keyClick(grid_->cellEditor(), Qt::Key_Backspace);
    QTest::keyClicks(grid_->cellEditor(), Cell(3, 5));
    KeyInEditor(Qt::Key_Up);
    EXPECT_TRUE(calls_.empty());
}

TEST_P(GridEditTest, LeavingByArrowValidatesAndMovesOrStays) {
    grid_->setCurrentIndex(At(3, 4));
    Type("5");
    KeyInEditor(Qt::Key_Down);
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(Cell(3, 4), Amount(5));
    EXPECT_EQ(grid_->currentIndex(), At(3, 5));
    // A refused text: the old text is back and the cursor does not move.
    Type("-");
    KeyInEditor(Qt::Key_Down);
    ASSERT_EQ(calls_.size(), 2u);
    EXPECT_EQ(grid_->currentIndex(), At(3, 5));
    EXPECT_EQ(Cell(3, 5), Amount(0));
    EXPECT_FALSE(grid_->isEditing());
}

TEST_P(GridEditTest, LeavingByClickValidatesAndRefusalKeepsTheCell) {
    grid_->setCurrentIndex(At(3, 4));
    Type("-");
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier,
                      grid_->visualRect(At(2, 8)).center());
    QApplication::processEvents();
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(grid_->currentIndex(), At(3, 4));
    EXPECT_EQ(Cell(3, 4), Amount(0));
    EXPECT_FALSE(grid_->isEditing());

    Type("8");
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier,
                      grid_->visualRect(At(2, 8)).center());
    QApplication::processEvents();
    ASSERT_EQ(calls_.size(), 2u);
    EXPECT_EQ(Cell(3, 4), Amount(8));
    EXPECT_EQ(grid_->currentIndex(), At(2, 8));
}

TEST_P(GridEditTest, TabLeavesTheGridAndEscapeDropsTheTyping) {
    grid_->setCurrentIndex(At(3, 4));
    Type("3");
    KeyInEditor(Qt::Key_Tab);
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(Cell(3, 4), Amount(3));
    EXPECT_EQ(grid_->currentIndex(), At(3, 4));
    EXPECT_EQ(QApplication::focusWidget(), racun_);  // the next control of the window
    // A refused text keeps the focus in the grid.
    grid_->setFocus();
    Type("-");
    KeyInEditor(Qt::Key_Tab);
    EXPECT_EQ(calls_.size(), 2u);
    EXPECT_EQ(Cell(3, 4), Amount(3));
    EXPECT_TRUE(grid_->hasFocus());

    grid_->setCurrentIndex(At(5, 4));
    Type("77");
    KeyInEditor(Qt::Key_Escape);
    EXPECT_EQ(calls_.size(), 2u);  // Escape validates nothing
    EXPECT_FALSE(grid_->isEditing());
    EXPECT_EQ(Cell(5, 4), Amount(0));
}

TEST_P(GridEditTest, FocusLeavingTheGridValidates) {
    grid_->setCurrentIndex(At(5, 58));
    Type("100");
    other_->setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].col, 5);
    EXPECT_EQ(calls_[0].row, 58);
    EXPECT_EQ(Cell(5, 58), Amount(100));
    EXPECT_EQ(Cell(5, 87), Amount(100));  // F.UKUPNA PASIVA
    EXPECT_FALSE(grid_->isEditing());
}

TEST_P(GridEditTest, CommitEditFinishesAnOpenEdit) {
    EXPECT_TRUE(grid_->commitEdit());  // nothing open
    grid_->setCurrentIndex(At(3, 52));
    Type("12");
    EXPECT_TRUE(grid_->commitEdit());
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(Cell(3, 52), Amount(12));
    Type("-");
    EXPECT_FALSE(grid_->commitEdit());
    EXPECT_EQ(Cell(3, 52), Amount(12));
    EXPECT_EQ(grid_->currentIndex(), At(3, 52));
}

TEST_P(GridEditTest, ComputedAndTextCellsDoNotOpenAnEditor) {
    for (const QModelIndex& i : {At(3, 2), At(3, 55), At(4, 4), At(2, 4), At(1, 4)}) {
        grid_->setCurrentIndex(i);
        QTest::keyClicks(grid_, QStringLiteral("5"));
        QTest::keyClick(grid_, Qt::Key_F2);
        QTest::keyClick(grid_, Qt::Key_Return);
        EXPECT_FALSE(grid_->isEditing());
        EXPECT_EQ(grid_->currentIndex(), i);  // the cursor rests on the computed cell
    }
    // A character the editor refuses does not open it either; double-click does.
    grid_->setCurrentIndex(At(3, 4));
    QTest::keyClicks(grid_, QStringLiteral("x"));
    EXPECT_FALSE(grid_->isEditing());
    // A real double click: press and release, then the double-click press and its release.
    const QPoint at = grid_->visualRect(At(5, 4)).center();
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(grid_->currentIndex(), At(5, 4));
    ASSERT_TRUE(grid_->isEditing());
    EXPECT_EQ(grid_->cellEditor()->text(), Cell(5, 4));
    EXPECT_NE(qobject_cast<AmountEditor*>(grid_->cellEditor()), nullptr);
    KeyInEditor(Qt::Key_Escape);
    EXPECT_TRUE(calls_.empty());
}

TEST_P(GridEditTest, TypingOnACellThatTakesNoAmountIsSaidAndMovesNothing) {
    QSignalSpy said(grid_, &StatementGrid::inputNotTaken);
    // A computed total, a row's position and its text; typed "1" once jumped to row 1.
    const std::vector<std::pair<QModelIndex, int>> cells = {
        {At(3, 2), 3}, {At(1, 4), 1}, {At(2, 4), 2}};
    for (const auto& [cell, column] : cells) {
        grid_->setCurrentIndex(cell);
        said.clear();
        QTest::keyClicks(grid_, QStringLiteral("10"));
        EXPECT_EQ(grid_->currentIndex(), cell);
        ASSERT_EQ(said.count(), 2);
        EXPECT_EQ(said[0][0].toInt(), column);
    }
}

TEST_P(GridEditTest, AGridStartsOnTheFirstAmountOfItsFirstRow) {
    StatementGrid fresh(Statement::Racun, ws_.viewTexts(Statement::Racun));
    EXPECT_EQ(fresh.currentIndex(), fresh.model()->index(0, 2));
}

TEST_P(GridEditTest, ValidateThatRewritesEveryTextIsTolerated) {
    grid_->validate = [this](int col, int row, const std::string& text) {
        calls_.push_back({col, row, text});
        for (Statement s : kAllStatements) {
            GridTexts& g = WorkspaceTestAccess::Grids(ws_).of(s);
            for (int r = 0; r < g.rowCount(); ++r) {
                for (int c = 0; c < g.columnCount(); ++c) {
                    g.cell(c, r) = "x";
                }
            }
        }
        grid_->refresh();
        racun_->refresh();
        return std::optional<std::string>("ok");
    };
    grid_->setCurrentIndex(At(3, 4));
    Type("1");
    KeyInEditor(Qt::Key_Return);
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(Cell(3, 4), QStringLiteral("ok"));
    EXPECT_EQ(Cell(3, 5), QStringLiteral("x"));
    EXPECT_EQ(grid_->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("x"));
    EXPECT_FALSE(grid_->isEditing());
    // The grid paints the rewritten texts.
    EXPECT_FALSE(grid_->grab().isNull());
}

TEST_P(GridEditTest, UnsetValidateStoresTheTypedText) {
    racun_->setFocus();
    racun_->setCurrentIndex(racun_->model()->index(1, 2));  // row 2, column 3
    QTest::keyClicks(racun_, QStringLiteral("4"));
    ASSERT_TRUE(racun_->isEditing());
    QTest::keyClicks(racun_->cellEditor(), Q(Local("2.5")));
    QTest::keyClick(racun_->cellEditor(), Qt::Key_Return);
    EXPECT_EQ(Q(ws_.grids().Racun.cell(3, 2)), Q(Local("42.5")));
}

TEST_P(GridEditTest, SwitchingToAnotherPageValidatesTheOpenEdit) {
    // The grid on a page of a tab widget, as in the main window.
    QTabWidget tabs;
    std::vector<ValidateCall> calls;
    StatementGrid* grid = new StatementGrid(Statement::Bilanca, ws_.viewTexts(Statement::Bilanca));
    grid->validate = [&calls](int col, int row, const std::string& text) {
        calls.push_back({col, row, text});
        return std::optional<std::string>(text + "!");
    };
    tabs.addTab(grid, QStringLiteral("Bilanca"));
    tabs.addTab(new QLineEdit, QStringLiteral("Drugo"));
    tabs.show();
    tabs.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tabs));
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(3, 2));
    QTest::keyClicks(grid, QStringLiteral("6"));
    ASSERT_TRUE(grid->isEditing());
    tabs.setCurrentIndex(1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text, "6");
    EXPECT_EQ(Cell(3, 4), QStringLiteral("6!"));
    EXPECT_FALSE(grid->isEditing());
}

INSTANTIATE_TEST_SUITE_P(Locales, GridEditTest, ::testing::Values("hr_HR", "en_US"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace movik
