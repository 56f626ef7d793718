#pragma once
// Drawing chart pictures with Qt Charts: on any painter (a widget, a PDF page), into a PNG image
// or an SVG drawing. Needs a QApplication (the offscreen platform will do) but no display.

#include <QByteArray>
#include <QImage>
#include <QLocale>
#include <QRectF>
#include <QSize>
#include <QString>

#include "charts/ChartData.h"
#include "charts/ChartDrawing.h"
#include "model/Result.h"

class QPainter;

namespace movik {

// Paints the picture into target: the title on top, the panels side by side below it, the
// legend under them (keys as tall as their names). Numbers on the axes use locale's separators;
// value axes have round steps (NiceAxisRange). Series differ in lightness and in hatching (bars:
// stacks past their fourth part, plain bars from the second series) or dashes (lines), so they
// stay apart printed in grey. A picture without a value to show says so instead.
void PaintChart(const ChartPicture& picture, QPainter& painter, const QRectF& target,
                const QLocale& locale);

QImage RenderChartImage(const ChartPicture& picture, QSize size, const QLocale& locale);
QByteArray RenderChartSvg(const ChartPicture& picture, QSize size, const QLocale& locale);
// The picture on one landscape A4 page, for printing.
QByteArray RenderChartPdf(const ChartPicture& picture, const QLocale& locale);

// Writes the picture to path as PNG or SVG, chosen by the extension (".png", ".svg", any case);
// another extension is refused. The bytes go through the safe writer, so a failed write never
// leaves a broken file behind.
Result SaveChart(const ChartPicture& picture, const std::string& path, QSize size,
                 const QLocale& locale);

// The functions above as the charts window uses them.
const ChartDrawing& LinkedChartDrawing();

}  // namespace movik
