// The report tests paint with real fonts, so they need a QGuiApplication (offscreen platform,
// set by CTest). Locale and time zone are pinned.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLocale>
#include <cstdlib>

int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QLocale::setDefault(QLocale::c());
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
