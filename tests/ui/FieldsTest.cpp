// The date field, the share-count field and the dialogs' helpers on their own.

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <deque>
#include <functional>
#include <limits>

#include "WindowFixture.h"
#include "model/Dates.h"
#include "regional/Regional.h"
#include "ui/DateField.h"
#include "ui/Dialogs.h"
#include "ui/ShareCountField.h"

namespace movik::test {
namespace {

struct ParseCase {
    const char* text;
    const char* pattern;
    int year;  // 0: day 0 (empty); -1: refused
    int month;
    int day;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" as " << c.pattern;
}

class DateParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DateParseTest, ReadsTheTextInThePatternsOrder) {
    const ParseCase& c = GetParam();
    const auto parsed =
        DateField::ParseDate(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern));
    if (c.year < 0) {
        EXPECT_FALSE(parsed.has_value()) << c.text;
    } else if (c.year == 0) {
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(*parsed, 0);
    } else {
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(*parsed, DayNumber(c.year, c.month, c.day)) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, DateParseTest,
                         ::testing::Values(ParseCase{"", "dd. MM. yyyy.", 0, 0, 0},
                                           ParseCase{"   ", "dd. MM. yyyy.", 0, 0, 0},
                                           ParseCase{"29. 02. 2000.", "dd. MM. yyyy.", 2000, 2, 29},
                                           ParseCase{"1.2.2024", "dd. MM. yyyy.", 2024, 2, 1},
                                           ParseCase{"31.12.24", "dd. MM. yyyy.", 2024, 12, 31},
                                           ParseCase{"1.1.30", "dd. MM. yyyy.", 1930, 1, 1},
                                           ParseCase{"2/29/2024", "M/d/yy", 2024, 2, 29},
                                           ParseCase{"12/31/99", "M/d/yy", 1999, 12, 31},
                                           ParseCase{"29.02.2023", "dd. MM. yyyy.", -1, 0, 0},
                                           ParseCase{"31.04.2024", "dd.MM.yyyy", -1, 0, 0},
                                           ParseCase{"13/1/2024", "M/d/yy", -1, 0, 0},
                                           ParseCase{"1.2", "dd.MM.yyyy", -1, 0, 0},
                                           ParseCase{"1.2.2024.5", "dd.MM.yyyy", -1, 0, 0},
                                           ParseCase{"1.2.202", "dd.MM.yyyy", -1, 0, 0},
                                           ParseCase{"1.2.20245", "dd.MM.yyyy", -1, 0, 0},
                                           ParseCase{"1a.2.2024", "dd.MM.yyyy", -1, 0, 0},
                                           ParseCase{"0.1.2024", "dd.MM.yyyy", -1, 0, 0}));

TEST(DateField, ShowsDatesInTheFieldsFormatAndEmptyForDayZero) {
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    DateField field;
    field.setDateFormat(QStringLiteral("M/d/yy"));
    EXPECT_EQ(field.dateFormat(), "M/d/yyyy");  // four-digit years read back unambiguously
    QSignalSpy changed(&field, &DateField::changed);
    field.setValue(DayNumber(2024, 2, 29));
    EXPECT_EQ(field.text(), "2/29/2024");
    EXPECT_EQ(changed.count(), 1);
    field.setValue(DayNumber(2024, 2, 29));  // same value: no change event
    EXPECT_EQ(changed.count(), 1);
    field.setValue(0);
    EXPECT_EQ(field.text(), "");
    EXPECT_EQ(field.value(), 0);
    EXPECT_EQ(changed.count(), 2);
    // A date no field can show (a damaged file) shows as empty.
    field.setValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(field.text(), "");
    field.setValue(1e12);
    EXPECT_EQ(field.value(), 0);
    field.setValue(-1e6);  // before the year 1
    EXPECT_EQ(field.text(), "");
    field.setValue(DayNumber(9999, 12, 31));
    EXPECT_EQ(field.text(), "12/31/9999");
    field.setValue(DayNumber(1, 1, 1));
    EXPECT_EQ(field.text(), "1/1/0001");
    QLocale::setDefault(QLocale(QStringLiteral("hr_HR")));
}

TEST(DateField, TypingFollowsTheLastValidDate) {
    DateField field;
    field.setDateFormat(QStringLiteral("dd. MM. yyyy."));
    field.setValue(DayNumber(2024, 5, 6));
    field.lineEdit()->setText(QStringLiteral("7.5.2024"));
    EXPECT_EQ(field.value(), DayNumber(2024, 5, 7));
    field.lineEdit()->setText(QStringLiteral("7.5.20"));
    EXPECT_EQ(field.value(), DayNumber(2020, 5, 7));
    field.lineEdit()->setText(QStringLiteral("7.5."));  // half typed: the last date stays
    EXPECT_EQ(field.value(), DayNumber(2020, 5, 7));
}

TEST(DateField, CalendarPopUpChoosesTheDate) {
    DateField field;
    field.setDateFormat(QStringLiteral("dd. MM. yyyy."));
    field.setValue(DayNumber(2024, 3, 15));
    field.calendarButton()->click();
    QDialog* dialog = field.calendarDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Odaberite datum");
    auto* calendar = dialog->findChild<QCalendarWidget*>();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->selectedDate(), QDate(2024, 3, 15));
    calendar->setSelectedDate(QDate(2024, 3, 20));
    dialog->accept();
    EXPECT_EQ(field.text(), "20. 03. 2024.");
    EXPECT_EQ(field.value(), DayNumber(2024, 3, 20));

    field.calendarButton()->click();
    calendar->setSelectedDate(QDate(2025, 1, 1));
    dialog->reject();
    EXPECT_EQ(field.value(), DayNumber(2024, 3, 20));
}

struct ShareCase {
    const char* locale;
    double value;
    const char* shown;
};

void PrintTo(const ShareCase& c, std::ostream* os) {
    *os << c.locale << ' ' << c.shown;
}

class ShareCountTest : public ::testing::TestWithParam<ShareCase> {};

TEST_P(ShareCountTest, GroupsThousandsAndIsEmptyAtZero) {
    const ShareCase& c = GetParam();
    ShareCountField field(RegionalFromLocale(QLocale(QString::fromUtf8(c.locale))));
    field.setValue(c.value);
    EXPECT_EQ(field.text(), QString::fromUtf8(c.shown));
    const auto back = field.ParseValue(field.text());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, c.value);
}

INSTANTIATE_TEST_SUITE_P(Values, ShareCountTest,
                         ::testing::Values(ShareCase{"hr_HR", 0, ""}, ShareCase{"hr_HR", 7, "7"},
                                           ShareCase{"hr_HR", 1234567, "1.234.567"},
                                           ShareCase{"hr_HR", 9999999999, "9.999.999.999"},
                                           ShareCase{"en_US", 1234567, "1,234,567"},
                                           ShareCase{"en_US", 9999999999, "9,999,999,999"}));

TEST(ShareCountField, HoldsOnlyWholeNumbersWithinTheLimits) {
    ShareCountField field(RegionalFromLocale(QLocale(QStringLiteral("hr_HR"))));
    QSignalSpy changed(&field, &ShareCountField::valueChanged);
    QTest::keyClicks(&field, "12a-3,4");  // letters, minus and the decimal comma are refused
    EXPECT_EQ(field.text(), "1234");
    EXPECT_EQ(field.value(), 1234);
    EXPECT_EQ(changed.count(), 4);  // 1, 12, 123, 1234

    field.clear();
    QTest::keyClicks(&field, "99999999999");  // the eleventh digit would pass the limit
    EXPECT_EQ(field.value(), 9999999999.0);
    EXPECT_FALSE(field.ParseValue("10000000000").has_value());

    field.setValue(-5);
    EXPECT_EQ(field.value(), 0);
    field.setValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(field.value(), 0);
    field.setValue(1e15);
    EXPECT_EQ(field.value(), ShareCountField::kMaximum);
    field.setValue(12.6);
    EXPECT_EQ(field.value(), 13);
}

struct ExtensionCase {
    const char* path;
    const char* extension;
    const char* result;
};

void PrintTo(const ExtensionCase& c, std::ostream* os) {
    *os << '"' << c.path << '"';
}

class ExtensionTest : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ExtensionTest, AddsTheDefaultExtensionOnlyWhenThereIsNone) {
    const ExtensionCase& c = GetParam();
    EXPECT_EQ(AddDefaultExtension(QString::fromUtf8(c.path), QString::fromUtf8(c.extension)),
              QString::fromUtf8(c.result));
}

INSTANTIATE_TEST_SUITE_P(Paths, ExtensionTest,
                         ::testing::Values(ExtensionCase{"/tmp/firma", "mvk", "/tmp/firma.mvk"},
                                           ExtensionCase{"/tmp/firma.mvk", "mvk", "/tmp/firma.mvk"},
                                           ExtensionCase{"/tmp/firma.bak", "mvk", "/tmp/firma.bak"},
                                           ExtensionCase{"/tmp/v1.2/firma", "mvk",
                                                         "/tmp/v1.2/firma.mvk"},
                                           ExtensionCase{"bilanca", "csv", "bilanca.csv"},
                                           ExtensionCase{"", "csv", ""}));

TEST(QtDialogs, FileDialogsShowTheFilterLabelsAndKeepTheirChoice) {
    QtDialogs dialogs(nullptr);
    QTemporaryDir dir;
    const FileDialogSetup setup{QStringLiteral("SaveDialog1"),
                                QStringLiteral("Snimi kao"),
                                {{QStringLiteral("Movik baza (*.mvk)"), QStringLiteral("*.mvk")},
                                 {QStringLiteral("Sve datoteke (*.*)"), QStringLiteral("*")}},
                                dir.filePath(QStringLiteral("firma.mvk")),
                                QStringLiteral("mvk")};
    QFileDialog* dialog = dialogs.PrepareFileDialog(setup, true);
    EXPECT_EQ(dialog->objectName(), "SaveDialog1");
    EXPECT_EQ(dialog->windowTitle(), "Snimi kao");
    EXPECT_EQ(dialog->defaultSuffix(), "mvk");
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
    dialog->show();
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), "Movik baza (*.mvk)");
    EXPECT_EQ(types->itemText(1), "Sve datoteke (*.*)");
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), "firma.mvk");

    dialog->selectNameFilter(dialog->nameFilters().at(1));
    dialog->hide();
    // The same dialog again: it remembers the filter chosen last.
    QFileDialog* again = dialogs.PrepareFileDialog(setup, true);
    EXPECT_EQ(again, dialog);
    EXPECT_EQ(again->selectedNameFilter(), "Sve datoteke (*.*)");
}

// QtDialogs with the showing of the file dialog and the create question scripted.
class ScriptedQtDialogs : public QtDialogs {
  public:
    ScriptedQtDialogs() : QtDialogs(nullptr) {}

    std::deque<std::optional<QString>> accepted;  // what the user accepts each time
    std::deque<bool> createAnswers;
    int shown = 0;
    QStringList createQuestions;
    QStringList errors;

    void ShowError(const QString& text) override { errors << text; }

  protected:
    std::optional<QString> RunFileDialog(QFileDialog* /*dialog*/) override {
        ++shown;
        if (accepted.empty()) {
            return std::nullopt;
        }
        auto next = accepted.front();
        accepted.pop_front();
        return next;
    }
    bool ConfirmCreate(const QString& path) override {
        createQuestions << path;
        if (createAnswers.empty()) {
            ADD_FAILURE() << "unexpected create question";
            return false;
        }
        const bool yes = createAnswers.front();
        createAnswers.pop_front();
        return yes;
    }
};

FileDialogSetup SaveDialogSetup() {
    return {QStringLiteral("SaveDialog1"),
            QStringLiteral("Snimi kao"),
            {{QStringLiteral("Movik baza (*.mvk)"), QStringLiteral("*.mvk")}},
            QString(),
            QStringLiteral("mvk")};
}

// Runs the file dialog that opens next: calls during(dialog) while it shows, then accepts path.
void WhileTheFileDialogShows(const QString& path, std::function<void(QFileDialog*)> during) {
    QTimer::singleShot(0, [path, during] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        during(dialog);
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        QTest::keyClick(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")),
                        Qt::Key_Return);
    });
}

TEST(QtDialogs, TheFileNameCompletionListClosesWithTheDialog) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alfa.mvk"));
    QFile(path).open(QIODevice::WriteOnly);
    QtDialogs dialogs(nullptr);
    QPointer<QAbstractItemView> list;
    // The list opened as the name was typed; Enter accepted the dialog with the list still open.
    WhileTheFileDialogShows(path, [&list](QFileDialog* dialog) {
        QCompleter* completer =
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->completer();
        ASSERT_NE(completer, nullptr);
        list = completer->popup();
        list->show();
    });
    const QStringList chosen = dialogs.ChooseOpenFiles(SaveDialogSetup());
    EXPECT_EQ(chosen, QStringList{path});
    ASSERT_FALSE(list.isNull());
    EXPECT_FALSE(list->isVisible());  // it would take the next keys from the window below
}

// The save dialogs refuse a folder that does not exist and ask before creating a new file; a
// refusal or a No shows the dialog again.
TEST(QtDialogs, SaveDialogChecksTheFolderAndAsksBeforeCreating) {
    QTemporaryDir dir;
    ScriptedQtDialogs dialogs;
    const QString missingFolder = dir.filePath(QStringLiteral("nema/alfa"));
    const QString fresh = dir.filePath(QStringLiteral("alfa"));
    dialogs.accepted = {missingFolder, fresh, fresh};
    dialogs.createAnswers = {false, true};

    const auto chosen = dialogs.ChooseSaveFile(SaveDialogSetup());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, fresh + ".mvk");
    EXPECT_EQ(dialogs.shown, 3);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains(dir.filePath(QStringLiteral("nema"))));
    EXPECT_EQ(dialogs.createQuestions, QStringList({fresh + ".mvk", fresh + ".mvk"}));
}

TEST(QtDialogs, SaveDialogAsksNothingMoreForAnExistingFileOrACancel) {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("beta.mvk"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ScriptedQtDialogs dialogs;
    dialogs.accepted = {existing};
    EXPECT_EQ(dialogs.ChooseSaveFile(SaveDialogSetup()), existing);
    EXPECT_EQ(dialogs.ChooseSaveFile(SaveDialogSetup()), std::nullopt);  // cancelled
    EXPECT_TRUE(dialogs.createQuestions.isEmpty());
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(dialogs.shown, 2);
}

TEST(QtDialogs, FileDialogsStartInTheDocumentsOrHomeFolderThenWhereTheLastFileWas) {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    const QString expected = FirstDialogFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(expected, QFileInfo(documents).isDir() ? documents : home.path());
    EXPECT_NE(QDir(expected).canonicalPath(), QDir::current().canonicalPath());

    ScriptedQtDialogs dialogs;
    FileDialogSetup open = SaveDialogSetup();
    open.id = QStringLiteral("OpenDialog1");
    EXPECT_EQ(dialogs.PrepareFileDialog(open, false)->directory().absolutePath(), expected);
    // A file chosen in one dialog: a dialog opened for the first time afterwards starts there.
    QTemporaryDir work;
    const QString chosen = work.filePath(QStringLiteral("firma.mvk"));
    QFile(chosen).open(QIODevice::WriteOnly);
    dialogs.accepted = {chosen};
    EXPECT_EQ(dialogs.ChooseOpenFile(open), chosen);
    EXPECT_EQ(dialogs.PrepareFileDialog(SaveDialogSetup(), true)->directory().absolutePath(),
              QFileInfo(work.path()).absoluteFilePath());
    qputenv("HOME", oldHome);
}

}  // namespace
}  // namespace movik::test
