// Our print preview window over the laid-out pages: page up/down within the pages there are,
// zoom within its limits, pages painted, and its print button running the print path once.

#include <QAction>
#include <QImage>

#include "tests/ui/WindowFixture.h"
#include "ui/PrintPreview.h"

namespace movik::test {
namespace {

std::vector<PrintJob> BalanceSheetJobs(WindowFixture& f) {
    f.window->OpenDocument(QStringLiteral(MOVIK_EXAMPLE));
    return f.window->printing().reports().PrintBilanca(
        PrintInputsOf(f.window->workspace(), "kunama i lipama"));
}

TEST(PrintPreviewWindow, PagesUpAndDownWithinThePages) {
    WindowFixture f;
    const std::vector<PrintJob> jobs = BalanceSheetJobs(f);
    ASSERT_EQ(jobs.size(), 2u);
    const int pages = static_cast<int>(jobs[0].pages.size() + jobs[1].pages.size());
    ASSERT_GE(pages, 2);
    PrintPreviewWindow w(QStringLiteral("Bilanca"), jobs, [](QWidget*, auto) {});
    EXPECT_EQ(w.pageCount(), pages);
    EXPECT_EQ(w.currentPage(), 1);
    w.findChild<QAction*>("PregledPrethodna")->trigger();
    EXPECT_EQ(w.currentPage(), 1);
    for (int expected = 2; expected <= pages + 1; ++expected) {
        w.findChild<QAction*>("PregledSljedeca")->trigger();
        EXPECT_EQ(w.currentPage(), std::min(expected, pages));
    }
    EXPECT_FALSE(w.findChild<QAction*>("PregledSljedeca")->isEnabled());
    w.PreviousPage();
    EXPECT_EQ(w.currentPage(), pages - 1);
}

TEST(PrintPreviewWindow, TheKeyboardStartsOnThePageNamedByReportAndNumber) {
    WindowFixture f;
    PrintPreviewWindow w(QStringLiteral("Bilanca"), BalanceSheetJobs(f), [](QWidget*, auto) {});
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QWidget* page = QApplication::focusWidget();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->accessibleName(),
              QStringLiteral("Bilanca, stranica 1 od %1").arg(w.pageCount()));
    w.NextPage();
    EXPECT_EQ(page->accessibleName(),
              QStringLiteral("Bilanca, stranica 2 od %1").arg(w.pageCount()));
}

TEST(PrintPreviewWindow, ZoomStaysWithinItsLimitsAndThePageIsPainted) {
    WindowFixture f;
    PrintPreviewWindow w(QStringLiteral("Bilanca"), BalanceSheetJobs(f), [](QWidget*, auto) {});
    auto* page = w.findChild<QWidget*>("PreviewPage");
    const int width = page->width();
    w.ZoomIn();
    EXPECT_GT(page->width(), width);
    for (int i = 0; i < 30; ++i) {
        w.ZoomOut();
    }
    EXPECT_DOUBLE_EQ(w.zoom(), 0.25);
    w.SetZoom(1.0);
    const QImage image = page->grab().toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            dark += qGray(image.pixel(x, y)) < 128;
        }
    }
    EXPECT_GT(dark, 100);  // text and rules, not a blank sheet
}

// The preview stays open after printing and shows the outcome when it comes.
TEST(PrintPreviewWindow, PrintRunsThePrintPathOnceAndShowsTheOutcome) {
    WindowFixture f;
    int printed = 0;
    std::function<void(const QString&, bool)> shown;
    PrintPreviewWindow w(QStringLiteral("Bilanca"), BalanceSheetJobs(f),
                         [&](QWidget* preview, std::function<void(const QString&, bool)> s) {
                             EXPECT_EQ(preview, &w);
                             ++printed;
                             shown = std::move(s);
                         });
    w.show();
    w.findChild<QAction*>("PregledIspis")->trigger();
    EXPECT_EQ(printed, 1);
    EXPECT_TRUE(w.isVisible());
    ASSERT_TRUE(shown);
    shown(QStringLiteral("Poslano na pisač „ured”: Aktiva, Pasiva."), false);
    EXPECT_EQ(w.message(), QStringLiteral("Poslano na pisač „ured”: Aktiva, Pasiva."));
}

}  // namespace
}  // namespace movik::test
