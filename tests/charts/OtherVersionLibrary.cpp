// A chart library built for another layout of the drawing table, with working functions: the
// program must refuse it rather than call into it.

#include "charts/ChartDrawing.h"

namespace {

QImage Image(const movik::ChartPicture&, QSize, const QLocale&) {
    return QImage(1, 1, QImage::Format_RGB32);
}
QByteArray Pdf(const movik::ChartPicture&, const QLocale&) {
    return QByteArray("%PDF");
}
movik::Result Save(const movik::ChartPicture&, const std::string&, QSize, const QLocale&) {
    return movik::Result::Ok();
}

const movik::ChartDrawing kOtherVersion{movik::kChartDrawingVersion + 1, &Image, &Pdf, &Save};

}  // namespace

extern "C" __attribute__((visibility("default"))) const movik::ChartDrawing* movik_chart_drawing() {
    return &kOtherVersion;
}
