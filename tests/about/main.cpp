// The widget tests run in one QApplication on Qt's offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("hr_HR")));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
