// Nothing the user typed, imported or keeps in a file is silently lost or taken wrongly: the
// period, the shortcuts, imports in the other separator convention, files that are no documents.

#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolTip>

#include "WindowFixture.h"
#include "document/DocumentFile.h"
#include "document/Workspace.h"
#include "model/Calculations.h"
#include "model/Dates.h"
#include "tests/support/WorkspaceTestAccess.h"
#include "ui/DateField.h"
#include "ui/GeneralDataPage.h"
#include "ui/ShareCountField.h"
#include "ui/StatementGrid.h"

namespace movik::test {
namespace {

void Leave(QLineEdit* from, QWidget* to) {
    from->setFocus(Qt::MouseFocusReason);
    to->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

void TypeDate(DateField* field, const QString& text) {
    field->lineEdit()->setFocus(Qt::MouseFocusReason);
    field->lineEdit()->selectAll();
    QTest::keyClicks(field->lineEdit(), text);
}

TEST(DataSafety, AReversedPeriodIsRefusedWhereItIsTyped) {
    WindowFixture f;
    f.ShowActive();
    auto* from = f.Find<DateField>("dOd");
    auto* to = f.Find<DateField>("dDo");
    auto* seat = f.Find<QLineEdit>("eSjediste");
    from->setValue(DayNumber(2024, 1, 1));
    to->setValue(DayNumber(2024, 12, 31));
    Leave(to->lineEdit(), seat);
    f.Doc().Izmijenjen = false;

    TypeDate(to, "30.6.2023");
    seat->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_TRUE(f.dialogs->errors[0].contains("prije njegova početka"))
        << f.dialogs->errors[0].toStdString();
    EXPECT_TRUE(f.dialogs->errors[0].contains(from->text()));
    EXPECT_FALSE(f.dialogs->errors[0].contains(".)."));  // one full stop after the date
    EXPECT_FALSE(f.dialogs->errors[0].endsWith(".."));
    EXPECT_EQ(to->value(), DayNumber(2024, 12, 31));
    EXPECT_EQ(f.Doc().DatumDo, DayNumber(2024, 12, 31));

    TypeDate(from, "1.1.2025");
    seat->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_EQ(f.dialogs->errors.size(), 2);
    EXPECT_EQ(from->value(), DayNumber(2024, 1, 1));
    Leave(from->lineEdit(), seat);
    EXPECT_FALSE(f.Doc().Izmijenjen);
}

TEST(DataSafety, AStoredReversedPeriodOpensWithItsWarningAndCanBeCorrected) {
    WindowFixture f;
    f.ShowActive();
    TDokument doc;
    NewDocument(doc, 2024);
    doc.DatumOd = DayNumber(2024, 12, 31);
    doc.DatumDo = DayNumber(2024, 1, 1);
    doc.ImeDatoteke = f.Path("obrnuto.mvk").toStdString();
    ASSERT_EQ(SaveDocument(doc), "");
    f.window->OpenDocument(f.Path("obrnuto.mvk"));
    EXPECT_EQ(f.Find<QLabel>("pUpozorenje")->text(), QString::fromUtf8(kWarningPeriod.data()));
    EXPECT_EQ(f.dialogs->informed.size(), 1);

    auto* from = f.Find<DateField>("dOd");
    auto* to = f.Find<DateField>("dDo");
    Leave(from->lineEdit(), f.Find<QLineEdit>("eSjediste"));  // unchanged: not refused
    TypeDate(to, "31.12.2025");
    f.Find<QLineEdit>("eSjediste")->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(f.dialogs->errors.isEmpty());
    EXPECT_EQ(f.Find<QLabel>("pUpozorenje")->text(), "");
    EXPECT_TRUE(f.Doc().Izmijenjen);
}

// A date typed but not yet confirmed by leaving the field is settled before the save question:
// a valid one is a change to ask about, an invalid one is refused and the command stops.
TEST(DataSafety, ATypedPeriodIsSettledBeforeTheSaveQuestion) {
    struct Case {
        const char* typed;
        Qt::Key key;
        int questions;
        int errors;
    };
    for (const Case& c : {Case{"30.6.2031", Qt::Key_Z, 1, 0}, Case{"30.6.2031", Qt::Key_N, 1, 0},
                          Case{"31.2.2031", Qt::Key_Z, 0, 1}}) {
        WindowFixture f;
        f.ShowActive();
        auto* to = f.Find<DateField>("dDo");
        TypeDate(to, c.typed);
        f.dialogs->answers = {Answer::Cancel};
        QTest::keyClick(to->lineEdit(), c.key, Qt::ControlModifier);
        EXPECT_EQ(f.dialogs->questions.size(), c.questions) << c.typed;
        EXPECT_EQ(f.dialogs->errors.size(), c.errors) << c.typed;
        EXPECT_EQ(f.Doc().Izmijenjen, c.questions == 1) << c.typed;
        EXPECT_TRUE(f.window->isVisible());
    }
}

TEST(DataSafety, CtrlZExitsFromATextFieldToo) {
    WindowFixture f;
    f.ShowActive();
    auto* company = f.Find<QLineEdit>("ePoduzece");
    company->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(company, "Alfa");
    f.dialogs->answers = {Answer::Cancel};
    QTest::keyClick(company, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.dialogs->questions.size(), 1);  // the exit asked about the changes
    EXPECT_EQ(company->text(), "Alfa");         // and nothing was undone
    EXPECT_TRUE(f.window->isVisible());
}

TEST(DataSafety, AltDOpensTheDocumentMenuOnTheGeneralDataPage) {
    WindowFixture f;
    f.ShowActive();
    auto* shares = f.Find<ShareCountField>("eBrojDionica");
    shares->setValue(5000);
    auto* company = f.Find<QLineEdit>("ePoduzece");
    company->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(company, Qt::Key_D, Qt::AltModifier);
    QApplication::processEvents();
    auto* menu = f.Find<QMenu>("Dokument1");
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    EXPECT_NE(QApplication::focusWidget(), shares);
    EXPECT_EQ(shares->value(), 5000);
}

TEST(DataSafety, AmountColumnsGoBackToTheirWidthsForANewDocument) {
    WindowFixture f;
    auto* grid = f.Find<StatementGrid>("agBilanca");
    const int designed = grid->columnWidth(2);
    f.window->agBilancaCellValidate(3, 4, "99999999999");
    ASSERT_GT(grid->columnWidth(2), designed);
    f.dialogs->answers = {Answer::No};
    f.window->Nova1Click();
    EXPECT_EQ(grid->columnWidth(2), designed);
}

TEST(DataSafety, AnUnstorableCharacterPastedIntoTheCompanySaysWhy) {
    WindowFixture f;
    f.ShowActive();
    auto* company = f.Find<QLineEdit>("ePoduzece");
    company->setText("Alfa");
    company->setFocus(Qt::MouseFocusReason);
    QGuiApplication::clipboard()->setText(QStringLiteral("Ж d.o.o."));
    QTest::keyClick(company, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(company->text(), "Alfa");
    EXPECT_EQ(QToolTip::text(), kRefusedCharacterMessage);
}

TEST(DataSafety, ImportInTheOtherConventionIsReadAndSaidSo) {
    WindowFixture f;  // hr_HR: "." thousands, "," decimals
    Workspace english(RegionalSettings{",", ".", "M/d/yyyy"}, 2024);
    WorkspaceTestAccess::Document(english).Bilanca.row(6).IznosPrethodna = 118000;
    WorkspaceTestAccess::Document(english).Bilanca.row(11).IznosPrethodna = 2150000;
    english.FillGrids();
    english.RefreshCycle();
    const std::string bytes = english.ExportCsv(Statement::Bilanca);
    QFile file(f.Path("bilanca.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();

    f.Find<QTabWidget>("PageControl")->setCurrentIndex(1);
    f.dialogs->openChoices = {f.Path("bilanca.csv")};
    f.window->Import1Click();
    EXPECT_TRUE(f.dialogs->errors.isEmpty());
    EXPECT_EQ(f.Doc().Bilanca.row(6).IznosPrethodna, 118000);
    EXPECT_EQ(f.Doc().Bilanca.row(11).IznosPrethodna, 2150000);
    EXPECT_TRUE(f.Find<QLabel>("pNapomena")->text().contains("za decimale"));
    EXPECT_FALSE(f.Find<QLabel>("pUpozorenje")->isHidden());  // the warning stays in sight
    EXPECT_TRUE(f.Doc().Izmijenjen);
}

TEST(DataSafety, WarningTooltipShowsTheDifference) {
    WindowFixture f;
    f.window->agBilancaCellValidate(5, 4, "1000");
    auto* panel = f.Find<QLabel>("pUpozorenje");
    EXPECT_EQ(panel->text(), "Neravnoteža aktive i pasive u bilanci");
    EXPECT_EQ(panel->toolTip(), "Aktiva - pasiva: prethodna godina 0,00, tekuća godina 1.000,00");
}

TEST(DataSafety, AFileThatIsNoDocumentIsNotOpened) {
    WindowFixture f;
    f.Find<QLineEdit>("ePoduzece")->setText("Alfa");
    QFile file(f.Path("slucajni.mvk"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray random(70 * 1024, '\0');
    for (qsizetype i = 0; i < random.size(); ++i) {
        random[i] = static_cast<char>((i * 7919) >> 3);
    }
    file.write(random);
    file.close();
    f.window->OpenDocument(f.Path("slucajni.mvk"));
    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_TRUE(f.dialogs->errors[0].endsWith("slucajni.mvk nije Movik dokument."));
    EXPECT_EQ(f.Find<QLineEdit>("ePoduzece")->text(), "Alfa");
    EXPECT_EQ(f.Doc().ImeDatoteke, "");
}

}  // namespace
}  // namespace movik::test
