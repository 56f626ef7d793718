// The document commands and the unsaved-changes guard, with scripted dialogs.

#include <unistd.h>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <functional>

#include "WindowFixture.h"
#include "document/DocumentFile.h"
#include "document/DocumentLock.h"
#include "model/Dates.h"
#include "ui/DateField.h"
#include "ui/ShareCountField.h"

namespace movik::test {
namespace {

const QString kQuestion = QStringLiteral("Želite li snimiti izmjene?");
constexpr const char* kImbalance = "Neravnoteža aktive i pasive u bilanci";

void TypeCompany(WindowFixture& f, const QString& name) {
    f.Find<QLineEdit>("ePoduzece")->setText(name);
}

QString Company(WindowFixture& f) {
    return f.Find<QLineEdit>("ePoduzece")->text();
}

bool FileExists(const QString& path) {
    return QFile::exists(path);
}

TEST(DocumentCommands, NothingIsAskedRightAfterStartUp) {
    WindowFixture f;
    f.window->Nova1Click();
    f.dialogs->openChoices.push_back(std::nullopt);
    f.window->Otvori1Click();
    EXPECT_TRUE(f.window->close());
    EXPECT_TRUE(f.dialogs->questions.isEmpty());
    EXPECT_EQ(f.dialogs->openDialogs.size(), 1u);
}

TEST(DocumentCommands, NewCancelledKeepsEverything) {
    WindowFixture f;
    TypeCompany(f, "Alfa");
    f.dialogs->answers = {Answer::Cancel};
    f.window->Nova1Click();
    EXPECT_EQ(f.dialogs->questions, QStringList{kQuestion});
    EXPECT_EQ(Company(f), "Alfa");
    EXPECT_TRUE(f.Doc().Izmijenjen);
    EXPECT_TRUE(f.dialogs->saveDialogs.empty());
}

TEST(DocumentCommands, NewWithNoDropsTheChanges) {
    WindowFixture f;
    TypeCompany(f, "Alfa");
    f.Grids().Bilanca.cell(5, 4) = "10,00";
    f.dialogs->answers = {Answer::No};
    f.window->Nova1Click();
    EXPECT_EQ(Company(f), "");
    EXPECT_EQ(f.Find<QLabel>("lPoduzeceBilanca")->text(), "");
    EXPECT_EQ(f.Grids().Bilanca.cell(5, 4), "0,00");
    EXPECT_FALSE(f.Doc().Izmijenjen);
    EXPECT_EQ(f.Find<QLabel>("pIme")->text(), "");
}

// Decided: Yes and then no save (dialog cancelled, or the save failed) stops the command.
TEST(DocumentCommands, YesWithCancelledSaveStopsTheCommand) {
    WindowFixture f;
    TypeCompany(f, "Alfa");
    f.dialogs->answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    f.dialogs->saveChoices = {std::nullopt, std::nullopt, std::nullopt};

    f.window->Nova1Click();
    EXPECT_EQ(Company(f), "Alfa");
    EXPECT_TRUE(f.Doc().Izmijenjen);

    f.window->Otvori1Click();
    EXPECT_TRUE(f.dialogs->openDialogs.empty());

    EXPECT_FALSE(f.window->close());
    EXPECT_EQ(f.dialogs->saveDialogs.size(), 3u);
    EXPECT_EQ(f.dialogs->saveDialogs[0].title, "Snimi kao");
    EXPECT_EQ(f.dialogs->saveDialogs[0].proposedName, "");
}

TEST(DocumentCommands, YesWithFailedSaveStopsTheCommand) {
    WindowFixture f;
    TypeCompany(f, "Alfa");
    const QString badPath = f.Path("no-such-folder/alfa.mvk");
    f.dialogs->answers = {Answer::Yes, Answer::Yes};
    f.dialogs->saveChoices = {badPath, badPath};

    f.window->Nova1Click();
    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_TRUE(f.dialogs->errors[0].contains("alfa.mvk"));
    EXPECT_EQ(Company(f), "Alfa");
    EXPECT_TRUE(f.Doc().Izmijenjen);
    EXPECT_EQ(f.Doc().ImeDatoteke, "");
    EXPECT_EQ(f.Find<QLabel>("pIme")->text(), "");

    f.window->Otvori1Click();
    EXPECT_TRUE(f.dialogs->openDialogs.empty());
    EXPECT_EQ(f.dialogs->errors.size(), 2);
}

TEST(DocumentCommands, YesSavesAndGoesOn) {
    WindowFixture f;
    TypeCompany(f, "Alfa");
    const QString path = f.Path("alfa.mvk");
    f.dialogs->answers = {Answer::Yes};
    f.dialogs->saveChoices = {path};
    f.window->Nova1Click();
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(QFile(path).size(), static_cast<qint64>(kDocumentFileSize));
    EXPECT_EQ(Company(f), "");
    EXPECT_EQ(f.Doc().ImeDatoteke, "");
    EXPECT_FALSE(f.Doc().Izmijenjen);
}

TEST(DocumentCommands, CloseFollowsTheAnswer) {
    WindowFixture f;
    TypeCompany(f, "Alfa");
    f.window->show();
    f.dialogs->answers = {Answer::Cancel, Answer::No};
    f.window->Izlaz1Click();
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_EQ(Company(f), "Alfa");
    f.window->Izlaz1Click();
    EXPECT_FALSE(f.window->isVisible());
    EXPECT_EQ(f.dialogs->questions.size(), 2);
    EXPECT_FALSE(FileExists(f.Path("alfa.mvk")));
}

TEST(DocumentCommands, SaveAsThenSaveWritesTheSameFile) {
    WindowFixture f;
    TypeCompany(f, "Alfa");
    // A name typed without an extension gets ".mvk".
    f.dialogs->saveChoices = {f.Path("alfa")};
    f.window->SnimiKaoClick();
    const QString path = f.Path("alfa.mvk");
    ASSERT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(f.Path("alfa")));
    EXPECT_EQ(f.Find<QLabel>("pIme")->text(), "Datoteka: " + path);
    EXPECT_FALSE(f.Doc().Izmijenjen);
    const auto& dialog = f.dialogs->saveDialogs.at(0);
    EXPECT_EQ(dialog.id, "SaveDialog1");
    EXPECT_EQ(dialog.defaultExtension, "mvk");
    ASSERT_EQ(dialog.filters.size(), 2);
    EXPECT_EQ(dialog.filters[0].label, "Movik baza (*.mvk)");
    EXPECT_EQ(dialog.filters[1].label, "Sve datoteke (*.*)");

    TypeCompany(f, "Beta");
    f.window->SnimiClick();  // no dialog: the document's own file
    EXPECT_EQ(f.dialogs->saveDialogs.size(), 1u);
    EXPECT_FALSE(f.Doc().Izmijenjen);

    // "Snimi kao" proposes the current file.
    f.dialogs->saveChoices = {std::nullopt};
    f.window->SnimiKaoClick();
    EXPECT_EQ(f.dialogs->saveDialogs.at(1).proposedName, path);

    f.window->Nova1Click();
    f.dialogs->openChoices = {path};
    f.window->Otvori1Click();
    EXPECT_EQ(f.dialogs->openDialogs.at(0).title, "Otvori");
    EXPECT_EQ(f.dialogs->openDialogs.at(0).id, "OpenDialog1");
    EXPECT_EQ(Company(f), "Beta");
    EXPECT_EQ(f.Find<QLabel>("lPoduzeceCFInd")->text(), "Beta");
    EXPECT_EQ(f.Find<QLabel>("pIme")->text(), "Datoteka: " + path);
    EXPECT_FALSE(f.Doc().Izmijenjen);
    EXPECT_TRUE(f.dialogs->informed.isEmpty());
    EXPECT_TRUE(f.dialogs->questions.isEmpty());
}

TEST(DocumentCommands, FailedSaveLeavesDocumentAndFileAsTheyWere) {
    WindowFixture f;
    const QString path = f.Path("alfa.mvk");
    TypeCompany(f, "Alfa");
    f.dialogs->saveChoices = {path};
    f.window->SnimiClick();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    TypeCompany(f, "Beta");
    f.window->SetFileWriter(std::make_unique<FailingWriter>());
    f.window->SnimiClick();
    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_TRUE(f.Doc().Izmijenjen);
    EXPECT_EQ(f.Find<QLabel>("pIme")->text(), "Datoteka: " + path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);

    // "Snimi kao" to another name that fails: the document stays bound to its file.
    f.dialogs->saveChoices = {f.Path("gama.mvk")};
    f.window->SnimiKaoClick();
    EXPECT_EQ(f.dialogs->errors.size(), 2);
    EXPECT_EQ(f.Doc().ImeDatoteke, path.toStdString());
    EXPECT_TRUE(f.dialogs->informed.isEmpty());
}

TEST(DocumentCommands, WarningIsRepeatedAfterSaveAndOpen) {
    WindowFixture f;
    ASSERT_TRUE(f.window->agBilancaCellValidate(5, 4, "1000"));
    EXPECT_EQ(f.Find<QLabel>("pUpozorenje")->text(), kImbalance);
    const QString path = f.Path("neravnoteza.mvk");
    f.dialogs->saveChoices = {path};
    f.window->SnimiClick();
    ASSERT_TRUE(FileExists(path));
    EXPECT_EQ(f.dialogs->informed, QStringList{kImbalance});
    EXPECT_EQ(f.dialogs->informedHelp, std::vector<int>{kWarningsHelpContext});

    f.window->Nova1Click();
    EXPECT_EQ(f.Find<QLabel>("pUpozorenje")->text(), "");
    f.window->OpenDocument(path);
    EXPECT_EQ(f.Find<QLabel>("pUpozorenje")->text(), kImbalance);
    EXPECT_EQ(f.dialogs->informed.size(), 2);
    EXPECT_EQ(f.dialogs->informed.last(), kImbalance);
    EXPECT_EQ(f.Grids().Bilanca.cell(5, 55), "1.000,00");
    EXPECT_FALSE(f.Doc().Izmijenjen);
}

TEST(DocumentCommands, OpenErrorsChangeNothing) {
    WindowFixture f;
    TypeCompany(f, "Alfa");
    const QString shortFile = f.Path("kratka.mvk");
    {
        QFile file(shortFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(100, 'x'));
    }
    f.window->OpenDocument(shortFile);
    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_EQ(Company(f), "Alfa");
    EXPECT_TRUE(f.Doc().Izmijenjen);
    EXPECT_EQ(f.Find<QLabel>("pIme")->text(), "");
    EXPECT_EQ(f.Doc().ImeDatoteke, "");

    // A missing file is no error and shows nothing.
    f.window->OpenDocument(f.Path("nema.mvk"));
    EXPECT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_EQ(Company(f), "Alfa");
}

TEST(DocumentCommands, OpeningADifferentShareCountRecalculates) {
    WindowFixture f;
    f.Find<ShareCountField>("eBrojDionica")->setValue(5000);
    const QString path = f.Path("dionice.mvk");
    f.dialogs->saveChoices = {path};
    f.window->SnimiClick();
    f.window->Nova1Click();
    EXPECT_EQ(f.Find<ShareCountField>("eBrojDionica")->text(), "");
    f.window->OpenDocument(path);
    EXPECT_EQ(f.Find<ShareCountField>("eBrojDionica")->text(), "5.000");
    EXPECT_EQ(f.Doc().BrojDionica, 5000);
    EXPECT_FALSE(f.Doc().Izmijenjen);
}

// A date field still holding a text that is no date (typed, not yet left): a save would store
// another date than the one shown, so it is refused with the field's message and the command
// that asked for it stops.
TEST(DocumentCommands, SavingRefusesADateFieldThatHoldsNoDate) {
    WindowFixture f;
    f.ShowActive();
    TypeCompany(f, "Alfa");
    auto* from = f.Find<DateField>("dOd");
    from->lineEdit()->setFocus(Qt::MouseFocusReason);
    from->lineEdit()->selectAll();
    QTest::keyClicks(from->lineEdit(), "31.02.2024");

    f.window->SnimiClick();
    f.window->SnimiKaoClick();
    f.dialogs->answers = {Answer::Yes};
    f.window->Nova1Click();

    EXPECT_TRUE(f.dialogs->saveDialogs.empty());
    ASSERT_EQ(f.dialogs->errors.size(), 3);
    EXPECT_TRUE(f.dialogs->errors[0].contains("31.02.2024"));
    EXPECT_EQ(Company(f), "Alfa");
    EXPECT_TRUE(f.Doc().Izmijenjen);
    EXPECT_EQ(QApplication::focusWidget(), from->lineEdit());

    // Corrected without leaving the field: the save takes the date shown.
    from->lineEdit()->selectAll();
    QTest::keyClicks(from->lineEdit(), "1.2.2024");
    const QString path = f.Path("alfa.mvk");
    f.dialogs->saveChoices = {path};
    f.window->SnimiClick();
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(f.Doc().DatumOd, DayNumber(2024, 2, 1));
    EXPECT_FALSE(f.Doc().Izmijenjen);
    EXPECT_EQ(f.dialogs->errors.size(), 3);
}

// "Poništi" and "Ponovi" in the menu: a converted document back in kunas with its unit, then the
// edit before it and the choice of kunas, with the changed mark and the actions' state as a
// person expects.
TEST(DocumentCommands, UndoAndRedoFromTheMenu) {
    WindowFixture f;
    auto* undo = f.Find<QAction>("Ponisti1");
    auto* redo = f.Find<QAction>("Ponovi1");
    auto* unit = f.Find<QComboBox>("cbIznos");
    auto* currency = f.Find<QComboBox>("cbValuta");
    EXPECT_FALSE(undo->isEnabled());
    f.window->cbValutaChange(1);  // a document typed in kunas
    ASSERT_EQ(unit->currentText(), "kunama i lipama");
    ASSERT_TRUE(f.window->agBilancaCellValidate(5, 4, "753,45"));
    f.dialogs->answers = {Answer::Yes};
    f.window->PreracunajUEure1Click();
    ASSERT_EQ(f.Grids().Bilanca.cell(5, 4), "100,00");
    ASSERT_EQ(unit->currentText(), "eurima i centima");

    undo->trigger();
    EXPECT_EQ(f.Grids().Bilanca.cell(5, 4), "753,45");
    EXPECT_EQ(unit->currentText(), "kunama i lipama");
    EXPECT_EQ(currency->currentIndex(), 1);
    undo->trigger();
    undo->trigger();
    EXPECT_EQ(currency->currentIndex(), 0);  // euros again, as the period implies
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(f.Doc().Izmijenjen);  // every change taken back: closing asks nothing
    redo->trigger();
    redo->trigger();
    EXPECT_EQ(f.Grids().Bilanca.cell(5, 4), "753,45");
    EXPECT_EQ(currency->currentIndex(), 1);
}

// The keys themselves, pressed in a text field that would take them as its own undo: the
// document's undo and redo run, and Ctrl+Z is still the exit.
TEST(DocumentCommands, UndoKeysReachTheDocumentFromATextField) {
    WindowFixture f;
    f.ShowActive();
    ASSERT_TRUE(f.window->agRacunCellValidate(3, 2, "100"));
    auto* company = f.Find<QLineEdit>("ePoduzece");
    company->setFocus();
    QTest::keyClicks(company, QStringLiteral("Alfa"));
    QTest::keyClick(company, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(company->text(), "");  // the typing in the field, as one step
    EXPECT_EQ(f.Grids().Racun.cell(3, 2), "100,00");
    QTest::keyClick(company, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(f.Grids().Racun.cell(3, 2), "0,00");
    QTest::keyClick(company, Qt::Key_Backspace, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(f.Grids().Racun.cell(3, 2), "100,00");
    f.dialogs->answers = {Answer::Cancel};
    QTest::keyClick(company, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.dialogs->questions, QStringList{kQuestion});  // the exit asks first
}

// Another window has the document: this one is told who, opens it only for reading when asked
// to, and then saves only under another name; the window holds the lock of what it has open.
TEST(DocumentCommands, ADocumentAnotherWindowHasOpensOnlyForReading) {
    const QByteArray locks = qgetenv("MOVIK_DOCUMENT_LOCKS");
    qputenv("MOVIK_DOCUMENT_LOCKS", "1");  // the suite turns them off
    WindowFixture f;
    const QString path = f.Path("zajednicki.mvk");
    f.dialogs->saveChoices = {path};
    f.window->SnimiKaoClick();
    const QByteArray saved = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    f.window->Nova1Click();
    DocumentLock other;
    ASSERT_EQ(other.Take(path.toStdString()), DocumentLock::Outcome::Taken);

    f.dialogs->answers = {Answer::No, Answer::Yes};
    f.window->OpenDocument(path);  // No: not opened
    EXPECT_EQ(f.Doc().ImeDatoteke, "");
    f.window->OpenDocument(path);
    ASSERT_EQ(f.dialogs->questions.size(), 2);
    EXPECT_TRUE(f.dialogs->questions[1].contains("već je otvoren u drugom prozoru Movika"));
    EXPECT_TRUE(f.dialogs->questions[1].contains("proces " + QString::number(::getpid()) + "."));
    EXPECT_TRUE(f.window->isReadOnly());
    EXPECT_EQ(f.Find<QLabel>("pIme")->text(), "Datoteka: " + path + " (samo za čitanje)");

    // "Snimi" asks for another name; the same name is refused with the reason.
    TypeCompany(f, "Alfa");
    f.dialogs->saveChoices = {path};
    f.window->SnimiClick();
    EXPECT_EQ(f.dialogs->saveDialogs.size(), 2u);
    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_TRUE(f.dialogs->errors[0].contains("otvoren je u drugom prozoru Movika"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), saved);

    const QString copy = f.Path("kopija.mvk");
    f.dialogs->saveChoices = {copy};
    f.window->SnimiClick();
    EXPECT_TRUE(FileExists(copy));
    EXPECT_FALSE(f.window->isReadOnly());
    DocumentLock probe;
    EXPECT_EQ(probe.Take(copy.toStdString()), DocumentLock::Outcome::HeldByOther);
    f.window->Nova1Click();  // released with the document
    EXPECT_EQ(probe.Take(copy.toStdString()), DocumentLock::Outcome::Taken);
    qputenv("MOVIK_DOCUMENT_LOCKS", locks);
}

// After a step is undone every view shows the restored currency: the currency box, the unit
// box, the status bar, the indicator captions and the unit the reports are headed with; a note
// about the step taken back is gone.
struct UndoneStep {
    const char* name;
    std::function<void(WindowFixture&)> make;
    Valuta restored;
};

void PrintTo(const UndoneStep& c, std::ostream* os) {
    *os << c.name;
}

void ChooseKunas(WindowFixture& f) {
    f.Find<QComboBox>("cbValuta")->setCurrentIndex(1);
    emit f.Find<QComboBox>("cbValuta")->activated(1);
}

const UndoneStep kUndoneSteps[] = {
    {"CurrencyChoice", ChooseKunas, Valuta::Eur},
    {"Conversion",
     [](WindowFixture& f) {
         ChooseKunas(f);
         f.dialogs->answers = {Answer::Yes};
         f.window->PreracunajUEure1Click();
     },
     Valuta::Hrk},
    {"PeriodAcrossTheChangeover",
     [](WindowFixture& f) {
         auto* to = f.Find<DateField>("dDo");
         f.Find<DateField>("dOd")->setValue(DayNumber(2022, 1, 1));
         to->setValue(DayNumber(2022, 12, 31));
         f.window->dDoExit(to);
         EXPECT_EQ(f.Find<QLabel>("pNapomena")->text().toStdString(),
                   PeriodCurrencyNote(Valuta::Hrk));
     },
     Valuta::Eur},
    {"Import",
     [](WindowFixture& f) {
         f.Find<QTabWidget>("PageControl")->setCurrentIndex(2);
         const QString path = f.Path("kratka.csv");
         QFile file(path);
         ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         file.write("Rbr;P;Iznos;Udio;\r\n1;x;5,00;0;\r\n2;x;5,00;0;\r\n");
         file.close();
         f.dialogs->openChoices = {path};
         f.window->ImportCsv();
     },
     Valuta::Eur},
};

class UndoneStepShown : public ::testing::TestWithParam<UndoneStep> {};

TEST_P(UndoneStepShown, EveryViewAgreesWithTheRestoredCurrency) {
    WindowFixture f;
    f.window->OpenDocument(QStringLiteral(MOVIK_EXAMPLE));  // 2023, in euros
    GetParam().make(f);
    auto* note = f.Find<QLabel>("pNapomena");
    f.Find<QAction>("Ponisti1")->trigger();

    const Valuta v = GetParam().restored;
    const auto unit = QString::fromUtf8(AmountUnitText(v).data());
    EXPECT_EQ(f.window->workspace().currency(), v);
    EXPECT_EQ(f.Find<QComboBox>("cbValuta")->currentIndex(), v == Valuta::Eur ? 0 : 1);
    EXPECT_EQ(f.Find<QComboBox>("cbIznos")->currentText(), unit);
    EXPECT_EQ(f.Find<QComboBox>("cbIznos")->itemText(0), unit);
    EXPECT_EQ(f.Find<QLabel>("pIznos")->text(), "Iznosi u " + unit);
    EXPECT_EQ(f.window->workspace().unitText(), AmountUnitText(v));  // the reports' heading
    EXPECT_TRUE(f.Grids().Pok.cell(2, 14).ends_with(CurrencyCaption(v)));
    EXPECT_TRUE(note->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Steps, UndoneStepShown, ::testing::ValuesIn(kUndoneSteps),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace movik::test
