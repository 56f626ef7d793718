// The widget tests run in one QApplication on Qt's offscreen platform. Charts are drawn by the
// chart library built beside the program, loaded as the program loads it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <cstdio>

#include "charts/ChartDrawing.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Windows of tests running side by side open the same example: no document locks, but in
    // the tests of the locks themselves.
    if (qEnvironmentVariableIsEmpty("MOVIK_DOCUMENT_LOCKS")) {
        qputenv("MOVIK_DOCUMENT_LOCKS", "0");
    }
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("hr_HR")));
    QString error;
    const movik::ChartDrawing* charts =
        movik::LoadChartLibrary(QStringLiteral(MOVIK_CHART_LIBRARY), &error);
    if (charts == nullptr) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    movik::UseChartDrawing(charts);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
