// The numbered steps of the general-data page's guide: text without its marks, wrapped to width.

#include <gtest/gtest.h>

#include "ui/GettingStartedPanel.h"

namespace movik {
namespace {

TEST(NumberedSteps, NumbersPlainTextAndGrowsAsItNarrows) {
    NumberedSteps steps({QStringLiteral("Prvi korak s <b>riječi</b> i još <b>jednom</b>."),
                         QStringLiteral("Drugi korak, nešto duži od prvoga, da se lomi u "
                                        "više redaka kad je uzak.")});
    EXPECT_EQ(steps.plainText(),
              QStringLiteral("1. Prvi korak s riječi i još jednom.\n"
                             "2. Drugi korak, nešto duži od prvoga, da se lomi u više redaka kad "
                             "je uzak."));
    const int wide = steps.heightForWidth(2000);
    const int narrow = steps.heightForWidth(120);
    EXPECT_GT(wide, 0);
    EXPECT_GT(narrow, 2 * wide);
    EXPECT_EQ(steps.heightForWidth(2000), wide);  // the same width breaks the same way again
    EXPECT_EQ(steps.minimumSizeHint().height(), steps.sizeHint().height());
}

}  // namespace
}  // namespace movik
