// "Dokument -> Uvoz službenog obrasca (GFI-POD)…": the unsaved-changes question first, a new
// unsaved document, the question when the form disagrees with itself, the reconciliation shown.

#include <QAction>
#include <QLabel>
#include <QTimer>
#include <future>
#include <thread>

#include "WindowFixture.h"
#include "intake/OfficialForm.h"
#include "tests/intake/FormBuilder.h"

namespace movik::test {
namespace {

const QString kExample = QStringLiteral(MOVIK_EXAMPLES "/gfi-pod-2023.xlsx");

// The import started from its menu item, and its end (the form is read on a worker).
void Import(WindowFixture& f) {
    f.Find<QAction>("UvozObrasca1")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.window->FormImportRunning(); }, 60000));
}

TEST(FormImport, GivesANewUnsavedDocumentAndShowsTheReconciliation) {
    WindowFixture f;
    f.dialogs->openChoices = {kExample};
    Import(f);
    ASSERT_TRUE(f.dialogs->errors.isEmpty()) << f.dialogs->errors.join("\n").toStdString();
    const TDokument& doc = f.window->workspace().document();
    EXPECT_EQ(doc.Poduzece, "Metalprerada d.o.o.");
    EXPECT_EQ(doc.Bilanca.row(55).IznosTekuca, 1014000);
    EXPECT_EQ(doc.Racun.row(45).Iznos, 54000);
    EXPECT_TRUE(doc.ImeDatoteke.empty());
    EXPECT_TRUE(f.window->workspace().IsChanged());
    ASSERT_EQ(f.dialogs->formImports.size(), 1u);
    const FormImportView& view = f.dialogs->formImports[0];
    ASSERT_EQ(view.lines.size(), 10u);
    for (const FormImportView::Line& l : view.lines) {
        EXPECT_FALSE(l.differs) << l.caption.toStdString();
        EXPECT_EQ(l.difference, "0,00");
    }
}

TEST(FormImport, AsksToSaveAChangedDocumentFirst) {
    WindowFixture f;
    f.window->workspace().SetCompany("Prije d.o.o.");
    f.dialogs->answers = {Answer::Cancel};
    f.Find<QAction>("UvozObrasca1")->trigger();
    EXPECT_EQ(f.dialogs->questions.size(), 1);
    EXPECT_TRUE(f.dialogs->openDialogs.empty());
    EXPECT_TRUE(f.dialogs->formImports.empty());
}

TEST(FormImport, DisagreeingFormIsImportedOnlyWhenTheUserSaysSo) {
    WindowFixture f;
    FormPlan plan;
    for (const BuiltRow& row : FormRowsOf(false)) {
        if (row.formula.empty()) {
            plan.leaves[row.code] = {1.0 * row.code, 2.0 * row.code};
        }
    }
    const auto values = FormValues(FormRowsOf(false), plan);
    plan.stated[65] = {values.at(65)[0], values.at(65)[1] + 10};
    const QString path = f.Path("krivi.xlsx");
    WriteForm(path.toStdString(), plan);

    f.dialogs->openChoices = {path};
    f.dialogs->answers = {Answer::No};
    Import(f);
    ASSERT_EQ(f.dialogs->questions.size(), 1);
    EXPECT_TRUE(f.dialogs->questions[0].contains("AOP 065"));
    EXPECT_TRUE(f.dialogs->formImports.empty());
    EXPECT_TRUE(f.window->workspace().document().Poduzece.empty());

    f.dialogs->openChoices = {path};
    f.dialogs->answers = {Answer::Yes};
    Import(f);
    ASSERT_EQ(f.dialogs->formImports.size(), 1u);
    const FormImportView& view = f.dialogs->formImports[0];
    EXPECT_EQ(view.differences.size(), 1);
    ASSERT_GE(view.lines.size(), 2u);
    EXPECT_TRUE(view.lines[1].differs);  // total assets, current year
    EXPECT_EQ(view.lines[1].difference, "-10,00");
}

TEST(FormImport, NotAFormIsRefusedAndTheDocumentStays) {
    WindowFixture f;
    f.dialogs->openChoices = {QStringLiteral(MOVIK_EXAMPLES "/primjer.mvk")};
    Import(f);
    ASSERT_EQ(f.dialogs->errors.size(), 1);
    EXPECT_EQ(f.dialogs->errors[0], "Datoteka nije radna knjiga programa Excel (.xlsx ili .xls)");
    EXPECT_TRUE(f.dialogs->formImports.empty());
}

// The form is read on a worker thread: while it is read the window handles its events, shows a
// note and takes no second import; a change made meanwhile is not dropped without the question.
TEST(FormImport, ReadsTheFormOffTheInterfaceThread) {
    WindowFixture f;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<std::thread::id> readOn;
    f.window->SetFormReader([&, released](const std::string& path) {
        readOn.set_value(std::this_thread::get_id());
        released.wait_for(std::chrono::seconds(10));  // a reading on this thread fails below
        return ReadOfficialFormFile(path, 2026);
    });
    f.dialogs->openChoices = {kExample};
    f.Find<QAction>("UvozObrasca1")->trigger();
    EXPECT_NE(readOn.get_future().get(), std::this_thread::get_id());
    ASSERT_TRUE(f.window->FormImportRunning());
    bool ticked = false;
    QTimer::singleShot(0, [&] { ticked = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticked; }, 5000));  // the window stays responsive
    EXPECT_TRUE(f.Find<QLabel>("pNapomena")->text().startsWith("Čitanje obrasca gfi-pod-2023"));
    EXPECT_FALSE(f.Find<QAction>("UvozObrasca1")->isEnabled());
    f.window->workspace().SetCompany("Upisano u međuvremenu");
    f.dialogs->answers = {Answer::Cancel};
    release.set_value();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.window->FormImportRunning(); }, 60000));
    EXPECT_EQ(f.dialogs->questions.size(), 1);
    EXPECT_EQ(f.window->workspace().document().Poduzece, "Upisano u međuvremenu");
    EXPECT_TRUE(f.dialogs->formImports.empty());
    EXPECT_TRUE(f.Find<QAction>("UvozObrasca1")->isEnabled());
}

}  // namespace
}  // namespace movik::test
