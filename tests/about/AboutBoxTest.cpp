// The About box: start-up screen without OK, "O programu" with OK (for good), and the artwork at
// both pixel densities.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <utility>
#include <vector>

#include "about/AboutBox.h"

namespace movik {
namespace {

// Looks at the box while it is shown modally and closes it with its OK button.
class ClickingAbout : public TfAbout {
  public:
    bool okVisible = false;
    bool modal = false;

  protected:
    int RunModal() override {
        show();
        okVisible = OKButton->isVisible();
        modal = isModal();
        OKButton->click();
        return result();
    }
};

TEST(AboutBox, SplashHasNoOkButtonTheAboutBoxKeepsOne) {
    ClickingAbout box;
    EXPECT_FALSE(box.OKButton->isVisibleTo(&box));
    box.ShowSplash();
    EXPECT_TRUE(box.isVisible());
    EXPECT_FALSE(box.isModal());
    EXPECT_FALSE(box.OKButton->isVisible());
    box.CloseSplash();
    EXPECT_FALSE(box.isVisible());

    for (int time = 0; time < 2; ++time) {
        EXPECT_EQ(box.ShowAbout(), QDialog::Accepted);
        EXPECT_TRUE(box.okVisible);
        EXPECT_TRUE(box.modal);
        EXPECT_FALSE(box.isVisible());  // OK closed it
    }
    EXPECT_TRUE(box.OKButton->isVisibleTo(&box));
}

TEST(AboutBox, ArtworkForBothPixelDensities) {
    // Asked without a decoding started before, after one for the same density, and after one for
    // the other density (which is not taken).
    const std::vector<std::pair<qreal, qreal>> cases = {
        {1.0, 0}, {1.25, 0}, {2.0, 0}, {3.0, 0}, {1.0, 1.0}, {2.0, 2.0}, {1.0, 2.0}, {2.0, 1.0}};
    for (const auto& [ratio, preloaded] : cases) {
        if (preloaded > 0) {
            PreloadAboutArtwork(preloaded);
        }
        const QPixmap picture = AboutArtwork(ratio);
        ASSERT_FALSE(picture.isNull()) << ratio;
        const int scale = ratio > 1.0 ? 2 : 1;
        EXPECT_EQ(picture.size(), QSize(500 * scale, 250 * scale)) << ratio;
        EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(500, 250)) << ratio;
    }
}

}  // namespace
}  // namespace movik
