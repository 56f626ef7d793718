// The main window as the user meets it: controls and their names, menus, the pages and their
// navigation, the status bar, and the general-data events.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <cstdlib>
#include <optional>

#include "WindowFixture.h"
#include "model/Dates.h"
#include "regional/Regional.h"
#include "ui/DateField.h"
#include "ui/ShareCountField.h"
#include "ui/StatementGrid.h"

namespace movik::test {
namespace {

TEST(MainWindow, EveryControlCarriesItsName) {
    WindowFixture f;
    const char* widgets[] = {"PageControl",
                             "tsOpce",
                             "tsBilanca",
                             "tsRacun",
                             "tsCFInd",
                             "tsCFFree",
                             "tsPokazatelji",
                             "ePoduzece",
                             "eSjediste",
                             "dOd",
                             "dDo",
                             "eBrojDionica",
                             "cbIznos",
                             "lBilancaNaslov",
                             "lRacun",
                             "lCFInd",
                             "lCFFree",
                             "lPoduzeceBilanca",
                             "lPoduzeceRacun",
                             "lPoduzeceCFInd",
                             "lPoduzeceCFFree",
                             "lPoduzecePok",
                             "lSjedisteBilanca",
                             "lSjedisteRacun",
                             "lSjedisteCFInd",
                             "lSjedisteCFFree",
                             "lSjedistePok",
                             "lRazdoblje",
                             "lIndRazd",
                             "lFreeRazd",
                             "lPokRazd",
                             "pBottom",
                             "pIme",
                             "pUpozorenje",
                             "pIznos",
                             "agBilanca",
                             "agRacun",
                             "agCFInd",
                             "agCFFree",
                             "agPokazatelji",
                             "bPrint"};
    for (const char* name : widgets) {
        EXPECT_NE(f.window->findChild<QWidget*>(QString::fromUtf8(name)), nullptr) << name;
    }
    EXPECT_EQ(f.window->objectName(), "Form1");
    EXPECT_EQ(f.window->windowTitle(), "Movik 1.0");
}

// The window reads the regional settings as movik-cli does: numbers from LC_NUMERIC, dates from
// LC_TIME, and the Croatian conventions where the environment names none.
TEST(MainWindow, RegionalSettingsAsTheEnvironmentNamesThem) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> env;
        const char* amount;
    };
    const char* vars[] = {"LC_ALL", "LC_NUMERIC", "LC_TIME", "LANG"};
    std::vector<std::optional<std::string>> saved;
    for (const char* var : vars) {
        const char* value = std::getenv(var);
        saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
    const int year = QDate::currentDate().year();
    const std::string endDate = "31. 12. " + std::to_string(year) + ".";
    for (const Case& c : {Case{{{"LANG", "en_US.UTF-8"}, {"LC_TIME", "hr_HR.UTF-8"}}, "0.00"},
                          Case{{{"LC_ALL", "C"}}, "0,00"}, Case{{{"LANG", "POSIX"}}, "0,00"}}) {
        for (const char* var : vars) {
            ::unsetenv(var);
        }
        for (const auto& [var, value] : c.env) {
            ::setenv(var, value, 1);
        }
        WindowFixture f(ProgramLocale().name());
        EXPECT_EQ(f.Grids().Bilanca.cell(3, 1), c.amount);
        EXPECT_EQ(f.Grids().Bilanca.cell(5, 0), endDate);
    }
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i]) {
            ::setenv(vars[i], saved[i]->c_str(), 1);
        } else {
            ::unsetenv(vars[i]);
        }
    }
}

TEST(MainWindow, StartsWithANewDocumentOnTheGeneralDataPage) {
    WindowFixture f;
    EXPECT_EQ(f.Find<QTabWidget>("PageControl")->currentWidget()->objectName(), "tsOpce");
    EXPECT_EQ(f.Find<QLineEdit>("ePoduzece")->text(), "");
    EXPECT_EQ(f.Find<QLineEdit>("eSjediste")->text(), "");
    const int year = QDate::currentDate().year();
    EXPECT_EQ(f.Find<DateField>("dOd")->value(), DayNumber(year, 1, 1));
    EXPECT_EQ(f.Find<DateField>("dDo")->value(), DayNumber(year, 12, 31));
    EXPECT_EQ(f.Find<DateField>("dOd")->text(), QDate(year, 1, 1).toString("dd. MM. yyyy."));
    EXPECT_EQ(f.Find<ShareCountField>("eBrojDionica")->text(), "");
    // The current year's document is in euros (the test runs after 2022).
    EXPECT_EQ(f.Find<QLabel>("pIznos")->text(), "Iznosi u eurima i centima");
    EXPECT_EQ(f.Find<QComboBox>("cbValuta")->currentText(), "euro (EUR)");
    EXPECT_EQ(f.Find<QLabel>("pIme")->text(), "");
    EXPECT_EQ(f.Find<QLabel>("pUpozorenje")->text(), "");
    EXPECT_FALSE(f.Find<QAction>("Import1")->isEnabled());
    EXPECT_FALSE(f.Find<QAction>("Export1")->isEnabled());
    EXPECT_FALSE(f.Doc().Izmijenjen);
    // Company and seat labels keep their placeholders until something is typed.
    EXPECT_EQ(f.Find<QLabel>("lPoduzeceRacun")->text(), QString(20, u'_'));
    EXPECT_EQ(f.Find<QLabel>("lSjedistePok")->text(), QString(10, u'_'));

    auto* unit = f.Find<QComboBox>("cbIznos");
    EXPECT_TRUE(unit->isEditable());
    // A euro document's units first.
    ASSERT_EQ(unit->count(), 6);
    EXPECT_EQ(unit->itemText(0), "eurima i centima");
    EXPECT_EQ(unit->itemText(1), "tisućama eura");
    EXPECT_EQ(unit->itemText(2), "kunama i lipama");
    EXPECT_EQ(unit->itemText(3), "tisućama kuna");
    EXPECT_EQ(unit->itemText(4), "DEM");
    EXPECT_EQ(unit->itemText(5), "USD");
    EXPECT_EQ(unit->currentText(), "eurima i centima");
}

TEST(MainWindow, PagesHaveTheirCaptionsTitlesAndButtons) {
    WindowFixture f;
    auto* pages = f.Find<QTabWidget>("PageControl");
    const QStringList captions = {"Opći podaci",
                                  "Bilanca",
                                  "Račun dobiti i gubitka",
                                  "Indirektna metoda novčanog toka",
                                  "Metoda slobodnog novčanog toka",
                                  "Pokazatelji",
                                  "Bonitet"};
    ASSERT_EQ(pages->count(), captions.size());
    for (int i = 0; i < pages->count(); ++i) {
        EXPECT_EQ(pages->tabText(i), captions[i]);
    }
    EXPECT_EQ(f.Find<QLabel>("lRacun")->text(), "Račun dobiti i gubitka");
    EXPECT_EQ(f.Find<QLabel>("lCFFree")->text(), "Metoda slobodnog novčanog toka");
    // The first page offers only ">>", the last only "<<" (the statements' pages both).
    EXPECT_EQ(f.window->findChild<QPushButton*>("bPrevOpce"), nullptr);
    EXPECT_NE(f.window->findChild<QPushButton*>("bNextOpce"), nullptr);
    EXPECT_NE(f.window->findChild<QPushButton*>("bPrevPokazatelji"), nullptr);
    EXPECT_NE(f.window->findChild<QPushButton*>("bNextPokazatelji"), nullptr);
    EXPECT_NE(f.window->findChild<QPushButton*>("bPrevBonitet"), nullptr);
}

struct MenuItem {
    const char* name;
    const char* caption;
    const char* shortcut;
};

TEST(MainWindow, MenuItemsHaveTheirCaptionsAndShortcuts) {
    WindowFixture f;
    const MenuItem items[] = {
        {"Nova1", "&Novi", "Ctrl+N"},
        {"Otvori1", "&Otvori ", "Ctrl+O"},
        {"Snimi1", "&Snimi ", "Ctrl+S"},
        {"SnimiKao1", "Snimi &kao", ""},
        {"Ispii1", "&Ispis", "Ctrl+P"},
        {"Import1", "I&mport", ""},
        {"Export1", "&Export", ""},
        {"Izlaz1", "I&zlaz iz programa", "Ctrl+Z"},
        {"Korisnikauputstva1", "&Korisničke upute", ""},
        {"Oprogramu1", "&O programu", ""},
    };
    for (const MenuItem& item : items) {
        auto* action = f.Find<QAction>(QString::fromUtf8(item.name));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromUtf8(item.caption)) << item.name;
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText),
                  QString::fromUtf8(item.shortcut))
            << item.name;
    }
    EXPECT_EQ(f.Find<QMenu>("Dokument1")->title(), "&Dokument");
    EXPECT_EQ(f.Find<QMenu>("Upute1")->title(), "&Upute");
}

// A menu opens its item on the item's letter only when no other item of that menu shares it
// (with two, the letter merely moves between them); every item of every menu has its own.
TEST(MainWindow, EveryMenuItemHasAnAccessKeyOfItsOwnInItsMenu) {
    WindowFixture f;
    for (const char* menuName : {"Dokument1", "Analiza1", "Upute1"}) {
        QStringList seen;
        for (QAction* action : f.Find<QMenu>(menuName)->actions()) {
            if (action->isSeparator()) {
                continue;
            }
            const QKeySequence key = QKeySequence::mnemonic(action->text());
            EXPECT_FALSE(key.isEmpty()) << action->objectName().toStdString();
            const QString letter = key.toString().toLower();
            EXPECT_FALSE(seen.contains(letter))
                << menuName << ": " << action->objectName().toStdString() << " "
                << letter.toStdString();
            seen << letter;
        }
    }
}

TEST(MainWindow, ToolButtonsShowTheirHints) {
    WindowFixture f;
    const std::pair<const char*, const char*> buttons[] = {
        {"bIzlaz", "Izlaz iz programa"},       {"bNovi", "Nova datoteka"},
        {"bOtvori", "Otvori datoteku"},        {"bSnimi", "Snimi datoteku"},
        {"bPrint", "Ispiši aktivno izvješće"},
    };
    for (const auto& [name, hint] : buttons) {
        auto* button = f.Find<QToolButton>(QString::fromUtf8(name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(hint)) << name;
    }
}

// Import and export availability on each page, reached with the navigation buttons.
TEST(MainWindow, MenuItemsFollowThePage) {
    WindowFixture f;
    auto* import = f.Find<QAction>("Import1");
    auto* exportItem = f.Find<QAction>("Export1");
    auto* pages = f.Find<QTabWidget>("PageControl");
    struct Expect {
        const char* page;
        bool import;
        bool exportItem;
    };
    const Expect forward[] = {{"tsBilanca", true, true},      {"tsRacun", true, true},
                              {"tsCFInd", false, true},       {"tsCFFree", false, true},
                              {"tsPokazatelji", false, true}, {"tsBonitet", false, false}};
    for (const Expect& e : forward) {
        f.window->bNextClick();
        EXPECT_EQ(pages->currentWidget()->objectName(), e.page);
        EXPECT_EQ(import->isEnabled(), e.import) << e.page;
        EXPECT_EQ(exportItem->isEnabled(), e.exportItem) << e.page;
    }
    f.window->bNextClick();  // no wrap-around
    EXPECT_EQ(pages->currentWidget()->objectName(), "tsBonitet");
    f.Find<QPushButton>("bPrevBonitet")->click();
    EXPECT_EQ(pages->currentWidget()->objectName(), "tsPokazatelji");

    f.Find<QPushButton>("bPrevPokazatelji")->click();
    EXPECT_EQ(pages->currentWidget()->objectName(), "tsCFFree");
    pages->setCurrentIndex(0);  // a tab click
    EXPECT_FALSE(import->isEnabled());
    EXPECT_FALSE(exportItem->isEnabled());
    f.window->bPrevClick();
    EXPECT_EQ(pages->currentIndex(), 0);
    f.Find<QPushButton>("bNextOpce")->click();
    EXPECT_TRUE(import->isEnabled());
}

struct FieldLabel {
    const char* label;
    const char* caption;
    const char* field;
    const char* hint;
};

TEST(MainWindow, GeneralDataLabelsLeadToTheirFields) {
    WindowFixture f;
    const FieldLabel rows[] = {
        {"lNazivPoduzeca", "&Naziv poduzeća", "ePoduzece", "Ovdje upišite ime poduzeća"},
        {"lSjedisteOpce", "&Sjedište", "eSjediste", "Upisati sjedište poduzeća"},
        {"lObracunskoRazdoblje", "Obračunsko &razdoblje", "dOd", "Početak obračunskog razdoblja"},
        {"lDo", "do", "dDo", "Završetak obračunskog razdoblja"},
        {"lBrojDionica", "&Broj dionica", "eBrojDionica", "Broj dionica poduzeća (samo za d.d.)"},
        {"lIznosiU", "I&znosi u", "cbIznos", ""},
    };
    for (const FieldLabel& r : rows) {
        auto* label = f.Find<QLabel>(QString::fromUtf8(r.label));
        auto* field = f.Find<QWidget>(QString::fromUtf8(r.field));
        ASSERT_TRUE(label && field);
        EXPECT_EQ(label->text(), QString::fromUtf8(r.caption));
        // A date field's label leads to its edit.
        EXPECT_TRUE(label->buddy() == field || field->isAncestorOf(label->buddy())) << r.label;
        EXPECT_EQ(field->toolTip(), QString::fromUtf8(r.hint)) << r.field;
    }
    EXPECT_TRUE(f.Find<QLineEdit>("ePoduzece")->font().bold());
    EXPECT_EQ(f.Find<QLabel>("lNapomenaRazdoblje")->text(),
              "Upisuje se obračunsko razdoblje računa dobiti i gubitka. ");
    EXPECT_EQ(f.Find<QLabel>("lNapomenaDionice")->text(), "* samo za dioničko društvo");
}

TEST(MainWindow, CompanyAndSeatLabelsFollowEveryKeystroke) {
    WindowFixture f;
    auto* company = f.Find<QLineEdit>("ePoduzece");
    const char* labels[] = {"lPoduzeceBilanca", "lPoduzeceRacun", "lPoduzeceCFInd",
                            "lPoduzeceCFFree", "lPoduzecePok"};
    QString typed;
    for (const QChar c : QStringLiteral("Žitar d.d.")) {
        TypeText(company, QString(c));
        typed += c;
        for (const char* label : labels) {
            ASSERT_EQ(f.Find<QLabel>(label)->text(), typed) << label;
        }
    }
    EXPECT_TRUE(f.Doc().Izmijenjen);

    f.Doc().Izmijenjen = false;
    QTest::keyClicks(f.Find<QLineEdit>("eSjediste"), "Osijek");
    for (const char* label : {"lSjedisteBilanca", "lSjedisteRacun", "lSjedisteCFInd",
                              "lSjedisteCFFree", "lSjedistePok"}) {
        EXPECT_EQ(f.Find<QLabel>(label)->text(), "Osijek") << label;
    }
    EXPECT_TRUE(f.Doc().Izmijenjen);
}

TEST(MainWindow, CharactersTheFileCannotHoldAreRefused) {
    WindowFixture f;
    auto* company = f.Find<QLineEdit>("ePoduzece");
    TypeText(company, QStringLiteral("Ćevap "));
    TypeText(company, QStringLiteral("Ж→"));  // not in Windows-1250
    TypeText(company, QStringLiteral("€"));   // in Windows-1250
    EXPECT_EQ(company->text(), QStringLiteral("Ćevap €"));
    auto* seat = f.Find<QLineEdit>("eSjediste");
    TypeText(seat, QStringLiteral("日本"));
    EXPECT_EQ(seat->text(), "");
    EXPECT_EQ(seat->maxLength(), 255);
    EXPECT_EQ(company->maxLength(), 255);
}

TEST(MainWindow, PeriodChangeMarksTheDocumentChangedAndUnitChangeDoesNot) {
    WindowFixture f;
    auto* from = f.Find<DateField>("dOd");
    auto* to = f.Find<DateField>("dDo");
    from->setValue(DayNumber(2023, 4, 1));
    to->setValue(DayNumber(2024, 3, 31));
    const QString period = "za razdoblje od 01. 04. 2023. do 31. 03. 2024.";
    for (const char* label : {"lRazdoblje", "lIndRazd", "lFreeRazd", "lPokRazd"}) {
        EXPECT_EQ(f.Find<QLabel>(label)->text(), period) << label;
    }
    EXPECT_EQ(f.Find<QLabel>("lBilancaNaslov")->text(), "Bilanca");
    f.window->dDoExit(to);
    EXPECT_TRUE(f.Doc().Izmijenjen);
    EXPECT_EQ(f.Doc().DatumDo, DayNumber(2024, 3, 31));  // the cycle carried it in
    f.Doc().Izmijenjen = false;

    auto* unit = f.Find<QComboBox>("cbIznos");
    unit->setCurrentIndex(4);
    EXPECT_EQ(f.Find<QLabel>("pIznos")->text(), "Iznosi u DEM");
    unit->setEditText("eurima");
    EXPECT_EQ(f.Find<QLabel>("pIznos")->text(), "Iznosi u eurima");
    EXPECT_FALSE(f.Doc().Izmijenjen);
}

// The currency follows the period until the user chooses one; the unit follows the currency
// unless the user typed another; amounts never move.
TEST(MainWindow, TheCurrencyFollowsThePeriodAndTheUsersChoice) {
    WindowFixture f;
    auto* currency = f.Find<QComboBox>("cbValuta");
    auto* unit = f.Find<QComboBox>("cbIznos");
    auto* from = f.Find<DateField>("dOd");
    auto* to = f.Find<DateField>("dDo");
    from->setValue(DayNumber(2021, 1, 1));
    to->setValue(DayNumber(2021, 12, 31));
    f.window->dDoExit(to);
    EXPECT_EQ(currency->currentIndex(), 1);
    EXPECT_EQ(unit->currentText(), "kunama i lipama");
    EXPECT_EQ(unit->itemText(0), "kunama i lipama");
    EXPECT_EQ(f.Find<QLabel>("pIznos")->text(), "Iznosi u kunama i lipama");
    EXPECT_EQ(f.Grids().Pok.cell(2, 14), "   4. Zarada po dionici (u KN)");

    f.Doc().Izmijenjen = false;
    currency->setCurrentIndex(0);
    emit currency->activated(0);
    EXPECT_TRUE(f.Doc().Izmijenjen);
    EXPECT_EQ(f.window->workspace().currency(), Valuta::Eur);
    EXPECT_EQ(unit->currentText(), "eurima i centima");
    EXPECT_EQ(f.Grids().Pok.cell(2, 19), "   4. Knjigovodstvena vrijednost 1 dionice (u EUR)");

    unit->setEditText("tisućama DEM");
    currency->setCurrentIndex(1);
    emit currency->activated(1);
    EXPECT_EQ(f.window->workspace().currency(), Valuta::Hrk);
    EXPECT_EQ(unit->currentText(), "tisućama DEM");  // typed: it stays

    f.window->OpenDocument(QStringLiteral(MOVIK_EXAMPLE));  // the next document: its own unit
    EXPECT_EQ(currency->currentIndex(), 0);
    EXPECT_EQ(unit->currentText(), "eurima i centima");
}

TEST(MainWindow, BalanceSheetHeadersFollowTheEndDate) {
    WindowFixture f;
    f.Find<DateField>("dDo")->setValue(DayNumber(2000, 2, 29));
    EXPECT_EQ(f.Grids().Bilanca.cell(3, 0), "28. 02. 1999.");
    EXPECT_EQ(f.Grids().Bilanca.cell(5, 0), "29. 02. 2000.");
    auto* grid = f.Find<StatementGrid>("agBilanca");
    EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), "28. 02. 1999.");
    EXPECT_EQ(grid->model()->headerData(4, Qt::Horizontal).toString(), "29. 02. 2000.");
}

// The refresh cycle on leaving a date runs only when the date changed since the last one.
TEST(MainWindow, LeavingADateRecalculatesOnlyAfterAChange) {
    WindowFixture f;
    auto* to = f.Find<DateField>("dDo");
    f.window->dDoExit(f.Find<DateField>("dOd"));
    f.window->dDoExit(to);                    // clears the marks start-up left
    f.Grids().Bilanca.cell(5, 4) = "500,00";  // typed but not yet carried into the document

    f.window->dDoExit(to);
    EXPECT_EQ(f.Grids().Bilanca.cell(5, 55), "0,00");

    to->setValue(DayNumber(2030, 12, 31));
    EXPECT_TRUE(to->pendingRefresh());
    f.window->dDoExit(to);
    EXPECT_FALSE(to->pendingRefresh());
    EXPECT_EQ(f.Grids().Bilanca.cell(5, 55), "500,00");
    EXPECT_TRUE(f.Doc().Izmijenjen);
}

TEST(MainWindow, ShareCountChangeRecalculatesAndMarksChanged) {
    WindowFixture f;
    f.Grids().Bilanca.cell(5, 4) = "700,00";
    auto* shares = f.Find<ShareCountField>("eBrojDionica");
    QTest::keyClicks(shares, "12000");
    EXPECT_EQ(f.Doc().BrojDionica, 12000);
    EXPECT_EQ(f.Grids().Bilanca.cell(5, 55), "700,00");
    EXPECT_TRUE(f.Doc().Izmijenjen);
}

// An invalid date is refused when the focus leaves: the error goes through the dialogs, the
// field gets the focus back and no refresh cycle runs.
TEST(MainWindow, InvalidDateIsRefusedWhenLeft) {
    WindowFixture f;
    f.ShowActive();
    auto* from = f.Find<DateField>("dOd");
    auto* seat = f.Find<QLineEdit>("eSjediste");
    f.Grids().Bilanca.cell(5, 4) = "300,00";

    from->lineEdit()->setFocus(Qt::MouseFocusReason);
    from->lineEdit()->selectAll();
    QTest::keyClicks(from->lineEdit(), "31.02.2024");
    EXPECT_TRUE(from->pendingRefresh());
    seat->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();

    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_TRUE(f.dialogs->errors[0].contains("31.02.2024"));
    EXPECT_EQ(QApplication::focusWidget(), from->lineEdit());
    EXPECT_EQ(f.Grids().Bilanca.cell(5, 55), "0,00");  // no cycle ran

    // Corrected and left: accepted, written in the field's format, and the cycle runs.
    from->lineEdit()->selectAll();
    QTest::keyClicks(from->lineEdit(), "1.2.2024");
    seat->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_EQ(from->text(), "01. 02. 2024.");
    EXPECT_EQ(f.Grids().Bilanca.cell(5, 55), "300,00");
    EXPECT_FALSE(from->pendingRefresh());

    // Emptied: day 0, not refused.
    from->lineEdit()->setFocus(Qt::MouseFocusReason);
    from->lineEdit()->clear();
    seat->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_EQ(f.Doc().DatumOd, 0);
}

// A date refused after the user moved to another page: its page comes back, the field takes
// the focus, and the menu items follow the page.
TEST(MainWindow, RefusedDateBringsItsPageBack) {
    WindowFixture f;
    f.ShowActive();
    auto* from = f.Find<DateField>("dOd");
    auto* pages = f.Find<QTabWidget>("PageControl");
    from->lineEdit()->setFocus(Qt::MouseFocusReason);
    from->lineEdit()->selectAll();
    QTest::keyClicks(from->lineEdit(), "31.02.2024");

    f.window->bNextClick();  // the ">>" button takes no focus; the page change moves it
    QApplication::processEvents();

    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_EQ(pages->currentWidget()->objectName(), "tsOpce");
    EXPECT_EQ(QApplication::focusWidget(), from->lineEdit());
    EXPECT_EQ(from->text(), "31.02.2024");
    EXPECT_FALSE(f.Find<QAction>("Import1")->isEnabled());
    EXPECT_FALSE(f.Find<QAction>("Export1")->isEnabled());
}

// The window opens with the cursor in the company name, the first field of the first page,
// and Tab walks the general-data fields in their order.
TEST(MainWindow, FocusStartsInTheCompanyNameAndTabFollowsTheFields) {
    WindowFixture f;
    f.ShowActive();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), f.Find<QLineEdit>("ePoduzece"));
    const QStringList order = {"eSjediste", "dOd", "dDo", "eBrojDionica", "cbIznos", "cbValuta"};
    for (const QString& name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        auto* expected = f.Find<QWidget>(name);
        ASSERT_TRUE(focused != nullptr && expected != nullptr);
        EXPECT_TRUE(focused == expected || expected->isAncestorOf(focused))
            << name.toStdString() << " expected, " << focused->objectName().toStdString()
            << " has the focus";
    }
}

// Moving to a statement page puts the cursor in its grid, not on a navigation button (where
// the next Space would move the page back).
TEST(MainWindow, PageChangeFocusesTheGrid) {
    WindowFixture f;
    f.ShowActive();
    QApplication::processEvents();
    const char* grids[] = {"agBilanca", "agRacun", "agCFInd", "agCFFree", "agPokazatelji"};
    for (const char* grid : grids) {
        f.window->bNextClick();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), f.Find<QWidget>(grid)) << grid;
    }
}

}  // namespace
}  // namespace movik::test
