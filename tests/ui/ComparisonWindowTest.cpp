// The comparison window: adding a folder, loading in the background, sorting and grouping in the
// view, warnings marked, removing rows, export, and opening a row through the save question.

#include <QAccessible>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QUrl>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>

#include "../support/RandomDocument.h"
#include "../support/WorkspaceTestAccess.h"
#include "../support/XlsxReadBack.h"
// GCC 12 sees the fixture's optional<QString> copy as maybe uninitialised once inlined here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "WindowFixture.h"
#pragma GCC diagnostic pop
#include "analysis/Comparison.h"
#include "analysis/Parallel.h"
#include "charts/ChartWindow.h"
#include "document/Cp1250.h"
#include "model/NumberFormat.h"
#include "model/Templates.h"
#include "reports/DocumentWorkbook.h"
#include "ui/AccessibleEvents.h"
#include "ui/ComparisonModel.h"
#include "ui/ComparisonWindow.h"

namespace movik::test {
namespace {

// Six documents of three companies over two years, written into the fixture's folder.
void WriteDocuments(WindowFixture& f) {
    QDir(f.tmp.path()).mkdir(QStringLiteral("docs"));
    Workspace ws(f.window->workspace().settings(), 2026);
    std::mt19937 rng(7);
    const char* const companies[] = {"Žitni Klas d.d.", "Čvor d.o.o.", "Apis d.d."};
    for (int c = 0; c < 3; ++c) {
        for (const int year : {2024, 2023}) {
            FillRandomDocument(ws, rng);
            if (c == 1) {
                ws.SetShareCount(0);  // a d.o.o.: no per-share figures
            }
            ws.SetCompany(companies[c]);
            ws.SetPeriod(DayNumber(year, 1, 1), DayNumber(year, 12, 31));
            ws.ConfirmPeriod();
            const auto writer = MakeSystemFileWriter();
            ASSERT_TRUE(ws.SaveDocumentAs(
                QFile::encodeName(f.Path(QStringLiteral("docs/%1-%2.mvk").arg(c).arg(year)))
                    .toStdString(),
                *writer));
        }
    }
    QFile bad(f.Path(QStringLiteral("docs/z-ostecen.mvk")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("nije dokument");
}

ComparisonWindow* OpenLoaded(WindowFixture& f) {
    WriteDocuments(f);
    f.window->Usporedba1Click();
    ComparisonWindow* w = f.window->comparison();
    f.dialogs->openChoices.push_back(f.Path(QStringLiteral("docs")));
    w->DodajMapuClick();
    EXPECT_TRUE(w->IsLoading() || w->model().rowCount() == 7);
    EXPECT_TRUE(QTest::qWaitFor([w] { return !w->IsLoading(); }, 20000));
    return w;
}

QStringList Column(ComparisonWindow* w, int col) {
    QStringList texts;
    for (int r = 0; r < w->model().rowCount(); ++r) {
        texts << w->model().index(r, col).data().toString();
    }
    return texts;
}

TEST(ComparisonWindow, LoadsAFolderAndMarksWarningsAndFailures) {
    WindowFixture f;
    ComparisonWindow* w = OpenLoaded(f);
    ASSERT_EQ(w->model().rowCount(), 7);
    for (int r = 0; r < 7; ++r) {
        const DocumentSummary& s = w->model().table().Summary(r);
        const QModelIndex first = w->model().index(r, 0);
        // A marked row has an icon and its text as the tooltip; an unmarked one neither.
        const bool marked = !s.ok || !s.warnings.empty();
        EXPECT_EQ(!first.data(Qt::DecorationRole).isNull(), marked) << r;
        EXPECT_EQ(first.data(Qt::ToolTipRole).toString().isEmpty(), !marked) << r;
        if (!s.ok) {
            EXPECT_TRUE(first.data(Qt::ToolTipRole).toString().contains(u"z-ostecen.mvk"));
        }
    }
}

// A file whose stored total was changed outside the program: its row shows the recalculated
// total and is marked with the stale-totals warning.
TEST(ComparisonWindow, StaleStoredTotalsMarkTheRow) {
    WindowFixture f;
    Workspace ws(f.window->workspace().settings(), 2026);
    ASSERT_TRUE(ws.OpenDocument(MOVIK_EXAMPLE));
    WorkspaceTestAccess::Document(ws).Bilanca.row(55).IznosTekuca = 7000000;
    ws.FillGrids();  // saving reads the grids back
    const QString path = f.Path(QStringLiteral("izvana.mvk"));
    ASSERT_TRUE(ws.SaveDocumentAs(QFile::encodeName(path).toStdString(), *MakeSystemFileWriter()));
    f.window->Usporedba1Click();
    ComparisonWindow* w = f.window->comparison();
    w->AddPaths({path});
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->IsLoading(); }, 20000));
    ASSERT_EQ(w->model().rowCount(), 1);
    const QModelIndex first = w->model().index(0, 0);
    EXPECT_FALSE(first.data(Qt::DecorationRole).isNull());
    EXPECT_EQ(first.data(Qt::ToolTipRole).toString(),
              QStringLiteral("Spremljeni zbrojevi razlikuju se od izračunatih"));
    EXPECT_EQ(w->model().table().Summary(0).amountTexts[static_cast<int>(KeyAmount::TotalAssets)],
              "6.349.500,00");
}

// Kunas (2022) and euros (2023) together: the kuna row is shown converted, with a sign whose
// tooltip names the rate.
TEST(ComparisonWindow, AMixedSetShowsKunaRowsInEurosWithTheRate) {
    WindowFixture f;
    QDir(f.tmp.path()).mkdir(QStringLiteral("mix"));
    Workspace ws(f.window->workspace().settings(), 2026);
    std::mt19937 rng(11);
    for (const int year : {2022, 2023}) {
        FillRandomDocument(ws, rng);
        ws.SetPeriod(DayNumber(year, 1, 1), DayNumber(year, 12, 31));
        ws.ConfirmPeriod();
        const auto writer = MakeSystemFileWriter();
        ASSERT_TRUE(ws.SaveDocumentAs(
            QFile::encodeName(f.Path(QStringLiteral("mix/%1.mvk").arg(year))).toStdString(),
            *writer));
    }
    f.window->Usporedba1Click();
    ComparisonWindow* w = f.window->comparison();
    f.dialogs->openChoices.push_back(f.Path(QStringLiteral("mix")));
    w->DodajMapuClick();
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->IsLoading(); }, 20000));
    ASSERT_EQ(w->model().rowCount(), 2);
    const ComparisonTable& t = w->model().table();
    int currency = -1;
    int assets = -1;
    for (int c = 0; c < t.columnCount(); ++c) {
        currency = t.column(c).kind == ComparisonColumn::Kind::Currency ? c : currency;
        assets = t.column(c).kind == ComparisonColumn::Kind::Amount && t.column(c).index == 1
                     ? c
                     : assets;
    }
    EXPECT_EQ(Column(w, currency), (QStringList{"EUR*", "EUR"}));
    for (const int c : {currency, assets}) {
        EXPECT_TRUE(w->model().index(0, c).data(Qt::ToolTipRole).toString().contains(u"7,53450"));
        EXPECT_FALSE(w->model().index(1, c).data(Qt::ToolTipRole).toString().contains(u"7,53450"));
    }
    // The workbook's first rows say the currency and what "EUR*" means, with the rate; the
    // table follows, frozen under its captions.
    f.dialogs->saveChoices.push_back(f.Path(QStringLiteral("mix.xlsx")));
    w->IzvozXlsxClick();
    const XlsxSheet sheet =
        ReadXlsx(MOVIK_READ_XLSX, f.Path(QStringLiteral("mix.xlsx")).toStdString()).at("Usporedba");
    EXPECT_EQ(sheet.cells.at({1, 1}).text, "Iznosi u eurima i centima (EUR).");
    EXPECT_EQ(sheet.cells.at({2, 1}).text,
              "EUR*: iznosi dokumenta u kunama preračunati u eure po fiksnom tečaju konverzije "
              "7,53450 kn za 1 euro.");
    EXPECT_EQ(sheet.cells.at({3, 1}).text, "Poduzeće");
    EXPECT_EQ(sheet.cells.at({4, currency + 1}).text, "EUR*");
    EXPECT_EQ(sheet.frozen, "A4");
}

TEST(ComparisonWindow, DroppedFilesAndFoldersAreLoadedInTheirOrder) {
    WindowFixture f;
    WriteDocuments(f);
    f.window->Usporedba1Click();
    ComparisonWindow* w = f.window->comparison();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(f.Path(QStringLiteral("docs/2-2024.mvk"))),
                  QUrl::fromLocalFile(f.Path(QStringLiteral("docs"))),
                  QUrl(QStringLiteral("https://example.com/x.mvk"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject*>(w)->event(&enter);  // straight to the window, as a drag would
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject*>(w)->event(&drop);
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->IsLoading(); }, 20000));
    // The file, then the folder's other six (the file is in it too); no web address.
    ASSERT_EQ(w->model().rowCount(), 7);
    EXPECT_TRUE(w->findChild<QLabel*>(QStringLiteral("lStanje"))
                    ->text()
                    .endsWith(QStringLiteral("Već u tablici (nisu dodani ponovno): 1.")));
    EXPECT_TRUE(QString::fromStdString(w->model().table().Summary(0).file).endsWith(u"2-2024.mvk"));
    EXPECT_TRUE(QString::fromStdString(w->model().table().Summary(1).file).endsWith(u"0-2023.mvk"));
}

TEST(ComparisonWindow, HeaderClickSortsAndGroupingShowsTrends) {
    WindowFixture f;
    ComparisonWindow* w = OpenLoaded(f);
    const ComparisonTable& t = w->model().table();
    const int assets = 4;  // company, seat, period, assets previous year, assets
    ASSERT_EQ(t.column(assets).kind, ComparisonColumn::Kind::Amount);
    w->table()->sortByColumn(assets, Qt::DescendingOrder);
    for (int r = 1; r < 6; ++r) {
        EXPECT_GE(*t.Number(r - 1, assets), *t.Number(r, assets));
    }
    EXPECT_FALSE(t.Summary(6).ok);  // the failed file last

    w->GrupirajClick(true);
    EXPECT_EQ(Column(w, 0).mid(0, 6),
              (QStringList{"Apis d.d.", "Apis d.d.", "Čvor d.o.o.", "Čvor d.o.o.",
                           "Žitni Klas d.d.", "Žitni Klas d.d."}));
    for (const int r : {1, 3, 5}) {
        const double before = t.Summary(r - 1).amounts[1];
        const double now = t.Summary(r).amounts[1];
        EXPECT_NEAR(*t.Change(r, 1), (now - before) / std::fabs(before) * 100, 1e-9);
        EXPECT_LT(t.Summary(r - 1).to, t.Summary(r).to);
    }
    // The locale's separators in the view.
    int shown = -1;
    for (int c = 0; c < t.columnCount(); ++c) {
        if (t.column(c).kind == ComparisonColumn::Kind::Amount && t.column(c).index == 1) {
            shown = c;
        }
    }
    ASSERT_GE(shown, 0);
    EXPECT_TRUE(w->model().index(0, shown).data().toString().contains(u','));
}

int AssetsColumn(const ComparisonTable& t) {
    for (int c = 0; c < t.columnCount(); ++c) {
        if (t.column(c).kind == ComparisonColumn::Kind::Amount && t.column(c).index == 1) {
            return c;
        }
    }
    return -1;
}

// Sorting without the mouse, plain and grouped: Alt+Up and Alt+Down, and the context menu of the
// Menu key or Shift+F10 with its entry pressed through the accessibility interface. Every sort
// is announced in the status line; the companies' rows stay in period order when grouped.
TEST(ComparisonWindow, SortsByKeyboardAndAnnouncesTheOrder) {
    WindowFixture f;
    ComparisonWindow* w = OpenLoaded(f);
    const ComparisonTable& t = w->model().table();
    QTableView* table = w->table();
    auto* status = w->findChild<QLabel*>(QStringLiteral("lStanje"));
    int announced = 0;  // what a screen reader hears of the status line
    WatchAccessibleEvents([&](QAccessibleEvent* e) {
        announced += e->object() == status && e->type() == QAccessible::ObjectShow ? 1 : 0;
    });
    const struct {
        bool grouped;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* entry;  // the menu's entry to press, if the key opens the menu
        Qt::SortOrder order;
    } cases[] = {
        {false, Qt::Key_Down, Qt::AltModifier, nullptr, Qt::DescendingOrder},
        {false, Qt::Key_Up, Qt::AltModifier, nullptr, Qt::AscendingOrder},
        {false, Qt::Key_Menu, Qt::NoModifier, "Poredaj silazno po „Ukupna aktiva”",
         Qt::DescendingOrder},
        {true, Qt::Key_F10, Qt::ShiftModifier, "Poredaj uzlazno po „Ukupna aktiva”",
         Qt::AscendingOrder},
        {true, Qt::Key_Down, Qt::AltModifier, nullptr, Qt::DescendingOrder},
    };
    for (const auto& c : cases) {
        w->GrupirajClick(c.grouped);
        const int assets = AssetsColumn(t);
        table->setCurrentIndex(w->model().index(0, assets));
        QTest::keyClick(table, c.key, c.modifiers);
        if (c.entry != nullptr) {
            auto* menu = table->findChild<QMenu*>(QStringLiteral("mPoredaj"));
            ASSERT_NE(menu, nullptr) << c.key;
            QAccessibleInterface* items = QAccessible::queryAccessibleInterface(menu);
            QAccessibleInterface* entry = nullptr;
            for (int i = 0; i < items->childCount(); ++i) {
                if (items->child(i)->text(QAccessible::Name) == QString::fromUtf8(c.entry)) {
                    entry = items->child(i);
                }
            }
            ASSERT_NE(entry, nullptr) << c.entry;
            entry->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            delete menu;
        }
        const QString order =
            c.order == Qt::AscendingOrder ? QStringLiteral("uzlazno") : QStringLiteral("silazno");
        EXPECT_TRUE(status->text().startsWith(
            QStringLiteral("Poredano po stupcu „Ukupna aktiva”, ") + order))
            << status->text().toStdString();
        EXPECT_EQ(status->text().contains(u"razdoblja svakog poduzeća"), c.grouped);
        // Ungrouped every row by the amount, grouped each company by its latest period's.
        std::vector<double> keys;
        for (int r = 0; r + 1 < t.rowCount(); ++r) {
            if (!c.grouped || t.Summary(r + 1).company != t.Summary(r).company) {
                keys.push_back(*t.Number(r, assets));
            }
        }
        if (c.order == Qt::DescendingOrder) {
            std::reverse(keys.begin(), keys.end());
        }
        EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end())) << c.key;
        EXPECT_EQ(t.Summary(t.rowCount() - 1).ok, false);  // the failed file last
    }
    WatchAccessibleEvents({});
    EXPECT_GE(announced, static_cast<int>(std::size(cases)));
}

// A screen reader names each row by its company and period, not by its number.
TEST(ComparisonWindow, RowHeadersNameTheCompanyAndPeriod) {
    WindowFixture f;
    ComparisonWindow* w = OpenLoaded(f);
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(w->table());
    ASSERT_NE(grid, nullptr);
    // The children row by row, each row's header before its cells, the captions' row first.
    const int perRow = w->model().columnCount() + 1;
    for (int r = 0; r < w->model().rowCount(); ++r) {
        const DocumentSummary& s = w->model().table().Summary(r);
        QAccessibleInterface* header = grid->child((r + 1) * perRow);
        ASSERT_TRUE(header != nullptr && header->role() == QAccessible::RowHeader) << r;
        EXPECT_EQ(header->text(QAccessible::Name).toStdString(),
                  s.ok ? s.company + ", " + w->model().table().Text(r, 2) : s.file);
    }
}

std::set<std::string> SelectedFiles(ComparisonWindow* w) {
    std::set<std::string> files;
    for (const QModelIndex& i : w->table()->selectionModel()->selectedRows()) {
        files.insert(w->model().table().Summary(i.row()).file);
    }
    return files;
}

// After a header click, grouping or more documents loaded, the selected rows and the current
// cell are the same documents, wherever they moved to.
TEST(ComparisonWindow, SelectionFollowsTheDocuments) {
    WindowFixture f;
    ComparisonWindow* w = OpenLoaded(f);
    w->table()->selectRow(1);
    w->table()->selectionModel()->select(w->model().index(4, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const std::set<std::string> chosen = SelectedFiles(w);
    ASSERT_EQ(chosen.size(), 2u);
    for (const Qt::SortOrder order : {Qt::DescendingOrder, Qt::AscendingOrder}) {
        for (const int column : {4, 0}) {
            w->table()->sortByColumn(column, order);
            EXPECT_EQ(SelectedFiles(w), chosen) << column;
        }
    }
    const auto currentFile = [w] {
        return w->model().table().Summary(w->table()->currentIndex().row()).file;
    };
    w->table()->selectionModel()->setCurrentIndex(w->model().index(4, 2),
                                                  QItemSelectionModel::NoUpdate);
    const std::string current = currentFile();
    for (const bool grouped : {true, false}) {
        w->GrupirajClick(grouped);
        EXPECT_EQ(SelectedFiles(w), chosen) << grouped;
        EXPECT_EQ(currentFile(), current) << grouped;
    }
    ASSERT_TRUE(
        QFile::copy(f.Path(QStringLiteral("docs/1-2023.mvk")), f.Path(QStringLiteral("a.mvk"))));
    w->AddPaths({f.Path(QStringLiteral("a.mvk"))});
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->IsLoading(); }, 20000));
    ASSERT_EQ(w->model().rowCount(), 8);
    EXPECT_EQ(SelectedFiles(w), chosen);
    EXPECT_EQ(currentFile(), current);
    EXPECT_EQ(w->table()->currentIndex().column(), 2);
}

// Whatever the reading throws, even no standard exception, becomes a failed row.
TEST(ComparisonWindow, AReadingThatThrowsGivesAFailedRow) {
    WindowFixture f;
    WriteDocuments(f);
    f.window->Usporedba1Click();
    ComparisonWindow* w = f.window->comparison();
    const RegionalSettings rs = f.window->workspace().settings();
    w->SetSummaryWork([rs](const std::string& path) -> DocumentSummary {
        if (path.find("1-2023") != std::string::npos) {
            throw 42;
        }
        if (path.find("2-2024") != std::string::npos) {
            throw std::bad_alloc();
        }
        return Summarize(path, rs, 2026);
    });
    w->AddPaths({f.Path(QStringLiteral("docs"))});
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->IsLoading(); }, 20000));
    ASSERT_EQ(w->model().rowCount(), 7);
    std::map<std::string, std::string> errors;
    for (int r = 0; r < 7; ++r) {
        const DocumentSummary& s = w->model().table().Summary(r);
        if (!s.ok) {
            errors[QFileInfo(QString::fromStdString(s.file)).fileName().toStdString()] = s.error;
        }
    }
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors["1-2023.mvk"], "neočekivana pogreška");
    EXPECT_EQ(errors["2-2024.mvk"], "nema dovoljno memorije");
}

// Closing the window stops the reading at once: no document is started after it (the readings
// in flight are abandoned and end on their own), and the window loads again when reopened. The
// fixture then closes the program while a load runs.
TEST(ComparisonWindow, ClosingWhileLoadingStopsTheReading) {
    WindowFixture f;
    WriteDocuments(f);
    f.window->Usporedba1Click();
    ComparisonWindow* w = f.window->comparison();
    const RegionalSettings rs = f.window->workspace().settings();
    auto read = std::make_shared<std::atomic<int>>(0);
    w->SetSummaryWork([rs, read](const std::string& path) {
        ++*read;
        return Summarize(path, rs, 2026);
    });
    const QStringList many(3000, f.Path(QStringLiteral("docs/0-2024.mvk")));
    w->AddPaths(many);
    ASSERT_TRUE(QTest::qWaitFor([&read] { return *read > 0; }, 20000));
    w->close();
    EXPECT_FALSE(w->IsLoading());
    const int readAtClose = *read;
    ASSERT_TRUE(QTest::qWaitFor([] { return AbandonedWorkersRunning() == 0; }, 20000));
    EXPECT_LE(*read, readAtClose + DefaultJobs());
    const int readAtEnd = *read;
    QTest::qWait(50);
    EXPECT_EQ(*read, readAtEnd);

    w->show();
    w->AddPaths({f.Path(QStringLiteral("docs/0-2023.mvk"))});
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->IsLoading(); }, 20000));
    w->AddPaths(many);
    EXPECT_TRUE(w->IsLoading());
}

// A reading that blocks until the gate opens (a slow file on a stalled share).
struct Gate {
    std::mutex m;
    std::condition_variable cv;
    bool open = false;
    std::atomic<bool> waiting{false};
    void Pass() {
        waiting = true;
        std::unique_lock lock(m);
        cv.wait(lock, [this] { return open; });
    }
    void Open() {
        {
            std::lock_guard lock(m);
            open = true;
        }
        cv.notify_all();
    }
};

// Closing while a reading blocks stops the load without waiting for it; the main window says how
// many documents were read, an export says the table is not complete, and the window opened
// again reads the rest with "Nastavi učitavanje".
TEST(ComparisonWindow, AStoppedLoadSaysWhatItReadAndGoesOn) {
    WindowFixture f;
    WriteDocuments(f);
    f.window->Usporedba1Click();
    ComparisonWindow* w = f.window->comparison();
    const RegionalSettings rs = f.window->workspace().settings();
    auto gate = std::make_shared<Gate>();
    w->SetSummaryWork([rs, gate](const std::string& path) {
        if (path.ends_with("1-2023.mvk")) {  // the third in name order
            gate->Pass();
        }
        return Summarize(path, rs, 2026);
    });
    w->AddPaths({f.Path(QStringLiteral("docs"))});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return gate->waiting && w->model().rowCount() == 2; }, 20000));
    w->close();  // returns though the gate is shut
    EXPECT_FALSE(w->IsLoading());
    EXPECT_EQ(w->Unread().size(), 5u);
    EXPECT_TRUE(f.Find<QLabel>(QStringLiteral("pNapomena"))->text().contains(u"učitano 2 od 7"));
    f.dialogs->saveChoices.push_back(f.Path(QStringLiteral("dio.csv")));
    w->IzvozCsvClick();
    EXPECT_TRUE(w->findChild<QLabel*>(QStringLiteral("lStanje"))->text().contains(u"nije potpuna"));
    gate->Open();

    w->show();
    auto* goOn = w->findChild<QPushButton*>(QStringLiteral("bNastavi"));
    ASSERT_TRUE(goOn != nullptr && goOn->isVisibleTo(w));
    goOn->click();
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->IsLoading(); }, 20000));
    EXPECT_EQ(w->model().rowCount(), 7);
    EXPECT_TRUE(w->Unread().empty());
    EXPECT_FALSE(goOn->isVisibleTo(w));
}

// However long the main window's passing note (a stopped load's), the unit panel beside it
// shows its whole text, at the narrow widths the window allows too.
TEST(ComparisonWindow, ALongNoteLeavesTheUnitPanelWhole) {
    WindowFixture f;
    f.ShowActive();
    f.window->Usporedba1Click();
    auto* unit = f.Find<QLabel>(QStringLiteral("pIznos"));
    for (const int width : {1280, 1024, 800}) {
        f.window->resize(width, 600);
        emit f.window->comparison()->loadStopped(
            QStringLiteral("Učitavanje je zaustavljeno zatvaranjem prozora: učitano 1.203 od "
                           "5.004. Ostatak učitava „Nastavi učitavanje”. ")
                .repeated(3));
        QTest::qWait(20);
        EXPECT_GE(unit->contentsRect().width(), unit->fontMetrics().horizontalAdvance(unit->text()))
            << width;
    }
}

TEST(ComparisonWindow, RemovesRowsAndExportsTheTable) {
    WindowFixture f;
    ComparisonWindow* w = OpenLoaded(f);
    w->table()->selectRow(6);
    w->UkloniClick();
    EXPECT_EQ(w->model().rowCount(), 6);
    f.dialogs->saveChoices.push_back(f.Path(QStringLiteral("u.csv")));
    w->IzvozCsvClick();
    QFile csv(f.Path(QStringLiteral("u.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const std::string text = Cp1250ToUtf8(csv.readAll().toStdString());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
    EXPECT_NE(text.find("Žitni Klas d.d."), std::string::npos);

    f.dialogs->saveChoices.push_back(f.Path(QStringLiteral("u.pdf")));
    w->IzvozPdfClick();
    EXPECT_TRUE(f.dialogs->errors.isEmpty());
    QFile pdf(f.Path(QStringLiteral("u.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
}

// After every export, and a failed one's error, the keyboard stays in the comparison's table:
// the main window neither comes to the front nor takes the keys.
TEST(ComparisonWindow, TheKeyboardStaysInTheComparisonAfterExports) {
    WindowFixture f;
    f.ShowActive();
    ComparisonWindow* w = OpenLoaded(f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    w->table()->setFocus();
    const struct {
        void (ComparisonWindow::*command)();
        const char* file;
    } exports[] = {{&ComparisonWindow::IzvozCsvClick, "f.csv"},
                   {&ComparisonWindow::IzvozPdfClick, "f.pdf"},
                   {&ComparisonWindow::IzvozXlsxClick, "f.xlsx"},
                   {&ComparisonWindow::IzvozCsvClick, "nema/f.csv"}};
    for (const auto& e : exports) {
        f.dialogs->saveChoices.push_back(f.Path(QString::fromUtf8(e.file)));
        (w->*e.command)();
        QTest::qWait(20);  // any activation asked for is delivered
        EXPECT_EQ(QApplication::activeWindow(), w) << e.file;
        EXPECT_EQ(QApplication::focusWidget(), w->table()) << e.file;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
    EXPECT_FALSE(f.window->workspace().IsChanged());
}

TEST(ComparisonWindow, ChartsAndWorkbookWaitForReadableRows) {
    WindowFixture f;
    f.window->Usporedba1Click();
    ComparisonWindow* w = f.window->comparison();
    auto* charts = w->findChild<QPushButton*>(QStringLiteral("bGrafikoni"));
    auto* xlsx = w->findChild<QPushButton*>(QStringLiteral("bIzvozXlsx"));
    ASSERT_TRUE(charts != nullptr && xlsx != nullptr);
    EXPECT_FALSE(charts->isEnabled());
    EXPECT_FALSE(xlsx->isEnabled());
    EXPECT_EQ(w->GrafikoniClick(), nullptr);

    ASSERT_EQ(OpenLoaded(f), w);
    EXPECT_TRUE(w->findChild<QPushButton*>(QStringLiteral("bGrafikoni"))->isEnabled());
    ChartWindow* window = w->GrafikoniClick();
    ASSERT_NE(window, nullptr);
    window->Choose(1);
    const ChartPicture& assets = window->Current();
    EXPECT_EQ(assets.title, "Ukupna aktiva");
    ASSERT_EQ(assets.panels.size(), 2u);
    EXPECT_EQ(assets.panels[0].categories,
              (std::vector<std::string>{"Žitni Klas d.d.", "Čvor d.o.o.", "Apis d.d."}));
    EXPECT_EQ(assets.panels[1].categories, (std::vector<std::string>{"2023.", "2024."}));
    // Apis 2024 is the table's sixth row.
    EXPECT_EQ(assets.panels[1].series[2].values[1], w->model().table().Summary(5).amounts[1]);
    window->close();

    // Only the failed file left: a workbook still, but nothing to draw.
    w->table()->selectAll();
    w->table()->selectionModel()->select(w->model().index(6, 0),
                                         QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    w->UkloniClick();
    ASSERT_EQ(w->model().rowCount(), 1);
    EXPECT_FALSE(w->findChild<QPushButton*>(QStringLiteral("bGrafikoni"))->isEnabled());
    EXPECT_TRUE(w->findChild<QPushButton*>(QStringLiteral("bIzvozXlsx"))->isEnabled());
}

// The pattern the table shows a numeric column with.
std::string_view PatternOf(const ComparisonColumn& col) {
    switch (col.kind) {
        case ComparisonColumn::Kind::Amount:
            return "#,##0.00";
        case ComparisonColumn::Kind::Change:
            return "#,##0.0%";
        case ComparisonColumn::Kind::Score:
            return "#,##0.000";
        default:
            return TemplateRow(Statement::Pok, kIndicatorRows[static_cast<std::size_t>(col.index)])
                .Format;
    }
}

TEST(ComparisonWindow, TheTableAsAWorkbookReadsBackCellByCell) {
    WindowFixture f;
    ComparisonWindow* w = OpenLoaded(f);
    w->GrupirajClick(true);  // with the change columns
    f.dialogs->saveChoices.push_back(f.Path(QStringLiteral("u.xlsx")));
    w->IzvozXlsxClick();
    ASSERT_TRUE(f.dialogs->errors.isEmpty()) << f.dialogs->errors.join(u'\n').toStdString();
    EXPECT_EQ(f.dialogs->saveDialogs.back().proposedName, QStringLiteral("usporedba.xlsx"));
    const auto sheets = ReadXlsx(MOVIK_READ_XLSX, f.Path(QStringLiteral("u.xlsx")).toStdString());
    ASSERT_EQ(sheets.count("Usporedba"), 1u);
    const XlsxSheet& sheet = sheets.at("Usporedba");
    // A table in euros alone: one line over it says so.
    EXPECT_EQ(sheet.cells.at({1, 1}).text, "Iznosi u eurima i centima (EUR).");
    EXPECT_EQ(sheet.frozen, "A3");
    const int top = 2;  // the captions' row

    const ComparisonTable& t = w->model().table();
    const RegionalSettings& rs = f.window->workspace().settings();
    int numbers = 0;
    int changes = 0;
    for (int c = 0; c < t.columnCount(); ++c) {
        ASSERT_EQ(sheet.cells.count({top, c + 1}), 1u) << c;
        EXPECT_EQ(sheet.cells.at({top, c + 1}).text, t.Caption(c));
        for (int r = 0; r < t.rowCount(); ++r) {
            const std::string shown = t.Text(r, c);
            const auto found = sheet.cells.find({top + r + 1, c + 1});
            const std::string where = std::to_string(r) + "/" + std::to_string(c);
            if (shown.empty()) {
                EXPECT_EQ(found, sheet.cells.end()) << where;
                continue;
            }
            ASSERT_NE(found, sheet.cells.end()) << where;
            const XlsxCell& cell = found->second;
            const std::optional<double> number = t.Number(r, c);
            if (!number) {
                EXPECT_FALSE(cell.number) << where;
                EXPECT_EQ(cell.text, shown) << where;
                continue;
            }
            // A number cell holding the table's value, shown as the table shows it.
            ASSERT_TRUE(cell.number) << where;
            const std::string_view pattern = PatternOf(t.column(c));
            const ExcelNumber excel = ExcelNumberFor(pattern, *number);
            EXPECT_EQ(cell.format, excel.format) << where;
            EXPECT_DOUBLE_EQ(std::stod(cell.text), *number * excel.scale) << where;
            EXPECT_EQ(FormatNumber(std::stod(cell.text) / excel.scale, pattern, rs), shown)
                << where;
            // As many decimals as the table shows.
            const auto decimals = [](std::string_view text, std::string_view point) {
                const std::size_t at = text.find(point);
                if (at == std::string_view::npos) {
                    return std::size_t{0};
                }
                std::size_t n = 0;
                for (std::size_t i = at + point.size();
                     i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
                    ++n;
                }
                return n;
            };
            EXPECT_EQ(decimals(cell.format, "."), decimals(shown, rs.decimalSeparator)) << where;
            ++numbers;
            changes += t.column(c).kind == ComparisonColumn::Kind::Change ? 1 : 0;
        }
    }
    EXPECT_GE(numbers, 6 * 10 + 3 * 10);  // every amount and change at least
    EXPECT_EQ(changes, 3 * 10);           // the later year of each company
    // The d.o.o.'s per-share cells are empty in the table and in the workbook.
    int emptyPerShare = 0;
    for (int c = 0; c < t.columnCount(); ++c) {
        for (int r = 0; r < t.rowCount(); ++r) {
            if (t.Summary(r).ok && t.column(c).kind == ComparisonColumn::Kind::Indicator &&
                t.Text(r, c).empty()) {
                ++emptyPerShare;
                EXPECT_EQ(sheet.cells.count({top + r + 1, c + 1}), 0u) << r << "/" << c;
            }
        }
    }
    EXPECT_EQ(emptyPerShare, 2 * 2);  // two years, two per-share figures
}

TEST(ComparisonWindow, OpeningARowAsksAboutUnsavedChangesFirst) {
    WindowFixture f;
    ComparisonWindow* w = OpenLoaded(f);
    f.Find<QLineEdit>("ePoduzece")->setText(QStringLiteral("Promijenjeno"));
    w->table()->selectRow(0);
    f.dialogs->answers.push_back(Answer::Cancel);
    w->OtvoriClick();
    EXPECT_EQ(f.dialogs->questions.size(), 1);
    EXPECT_EQ(f.Doc().ImeDatoteke, "");  // nothing opened
    f.dialogs->answers.push_back(Answer::No);
    w->OtvoriClick();
    EXPECT_EQ(QString::fromStdString(f.Doc().ImeDatoteke),
              QString::fromStdString(w->model().table().Summary(0).file));
}

}  // namespace
}  // namespace movik::test
