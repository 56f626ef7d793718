#pragma once
// What the charts window needs of the chart drawing code (ChartRender.h), as a table of
// functions. The window program does not link that code: it loads the chart library
// (libmovik-charts.so) the first time a chart is shown, so Qt Charts and the OpenGL and SVG
// libraries it needs cost the program's start-up nothing. movik-cli and the tests link the
// drawing code and hand its table over with UseChartDrawing.

#include <QByteArray>
#include <QImage>
#include <QLocale>
#include <QSize>
#include <QString>
#include <QStringList>
#include <string>

#include "charts/ChartData.h"
#include "model/Result.h"

namespace movik {

// The default picture size in pixels, as movik-cli chart draws it without --width/--height.
inline constexpr int kChartWidth = 1200;
inline constexpr int kChartHeight = 700;

// The layout of ChartDrawing: raised whenever its members change, so a library built for
// another layout is refused instead of called.
inline constexpr int kChartDrawingVersion = 2;

struct ChartDrawing {
    int version;  // kChartDrawingVersion of the code that built the table; always first
    QImage (*image)(const ChartPicture& picture, QSize size, const QLocale& locale);
    QByteArray (*pdf)(const ChartPicture& picture, const QLocale& locale);
    Result (*save)(const ChartPicture& picture, const std::string& path, QSize size,
                   const QLocale& locale);
};

// The library's file name, and where the program looks for it: beside the program (the build
// tree), then in ../lib/ARCH/movik/ (the installed program in /usr/bin; ARCH the multiarch
// folder, such as x86_64-linux-gnu).
inline constexpr char kChartLibraryName[] = "libmovik-charts.so";
QStringList ChartLibraryCandidates(const QString& programDir);

// Loads the chart library at path and returns its table; null, with *error saying why (in
// Croatian), when it cannot be loaded, is not ours, or was built for another table version. A
// library stays loaded for the run.
const ChartDrawing* LoadChartLibrary(const QString& path, QString* error);

// The table in use from now on (a program that links the drawing code, or a loaded library).
void UseChartDrawing(const ChartDrawing* drawing);

// The table in use; on the first call without one, the library is loaded from the first
// candidate beside the running program that exists. Null, with *error saying why, when there is
// none to load or it fails (asked again on the next call).
const ChartDrawing* CurrentChartDrawing(QString* error);

}  // namespace movik
