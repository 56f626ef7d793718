// The "Bonitet" page in the full window: it follows an edit made on another page, F1 opens its
// topic, and the print preview and PDF commands take the report "Ocjena boniteta".

#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "WindowFixture.h"
#include "about/HelpContext.h"
#include "model/NumberFormat.h"
#include "model/Scores.h"
#include "tests/support/PdfText.h"
#include "ui/ScoresPage.h"
#include "ui/StatementGrid.h"

namespace movik::test {
namespace {

class ScoresPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.ShowActive();
        f.window->OpenDocument(QStringLiteral(MOVIK_EXAMPLE));
        pages = f.Find<QTabWidget>(QStringLiteral("PageControl"));
        tree = f.Find<QTreeWidget>(QStringLiteral("agBonitet"));
    }
    void ShowScores() {
        pages->setCurrentWidget(f.Find<ScoresPage>(QStringLiteral("tsBonitet")));
        QApplication::processEvents();
    }
    // The value shown for Altman's Z'' (the first model under the first section).
    QString ZppShown() const { return tree->topLevelItem(0)->child(0)->text(1); }
    QString ZppExpected() const {
        const Scores s = ScoresOf(f.window->workspace().document());
        return QString::fromStdString(FormatNumber(*s.of(ScoreModel::AltmanZpp).value, "#,##0.000",
                                                   f.window->workspace().settings()));
    }

    WindowFixture f;
    QTabWidget* pages = nullptr;
    QTreeWidget* tree = nullptr;
};

TEST_F(ScoresPageTest, FollowsAnEditMadeOnAnotherPage) {
    ShowScores();
    EXPECT_EQ(ZppShown(), QStringLiteral("3,720"));
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(2), QStringLiteral("sigurna zona"));

    // Sales at home (Račun 2) halved: EBIT, revenue and with them the scores go down.
    pages->setCurrentIndex(2);
    StatementGrid* grid = f.window->Grid(Statement::Racun);
    grid->setFocus(Qt::MouseFocusReason);
    grid->setCurrentIndex(grid->model()->index(1, 2));
    QTest::keyClicks(grid, QStringLiteral("1"));
    ASSERT_TRUE(grid->isEditing());
    QTest::keyClicks(grid->cellEditor(), QStringLiteral("000000"));
    QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
    QApplication::processEvents();
    ShowScores();
    EXPECT_NE(ZppShown(), QStringLiteral("3,720"));
    EXPECT_EQ(ZppShown(), ZppExpected());
    // While the page shows, an undo shows at once.
    f.window->Ponisti1Click();
    QApplication::processEvents();
    EXPECT_EQ(ZppShown(), QStringLiteral("3,720"));
    // Nothing on the page can be edited.
    EXPECT_EQ(tree->editTriggers(), QAbstractItemView::NoEditTriggers);
    f.Doc().Izmijenjen = false;  // closing asks nothing
}

TEST_F(ScoresPageTest, F1OpensTheTopicAndThePrintCommandsTakeTheScoresReport) {
    ShowScores();
    EXPECT_EQ(HelpContextOf(tree), kScoresHelpContext);
    EXPECT_EQ(HelpTopicFile(HelpContextOf(tree)), QStringLiteral("ocjena-boniteta.html"));

    QTemporaryDir dir;
    f.dialogs->previewFolder = dir.path();
    f.window->PregledIspisa1Click();
    ASSERT_EQ(f.dialogs->previewTitles.size(), 1);
    EXPECT_EQ(f.dialogs->previewTitles[0], QStringLiteral("Lipa-Mont d.d. – Ocjena boniteta"));
    const std::string previewText =
        PdfText(dir.filePath(QStringLiteral("preview-1.pdf")).toStdString());
    EXPECT_NE(previewText.find("sigurna zona"), std::string::npos) << previewText;

    f.dialogs->saveChoices.push_back(dir.filePath(QStringLiteral("b.pdf")));
    f.window->IzvozPDF1Click();
    ASSERT_EQ(f.dialogs->saveDialogs.size(), 1u);
    EXPECT_TRUE(f.dialogs->saveDialogs[0].proposedName.endsWith(QStringLiteral(" - bonitet.pdf")));
    const std::string text = PdfText(dir.filePath(QStringLiteral("b.pdf")).toStdString());
    EXPECT_NE(text.find("Kralicekov quick test"), std::string::npos) << text;
    EXPECT_TRUE(f.dialogs->errors.isEmpty());
}

}  // namespace
}  // namespace movik::test
