// The chart library's entry: the table of the drawing functions, looked up by name once the
// window program has loaded the library (ChartDrawing.h).

#include "charts/ChartDrawing.h"
#include "charts/ChartRender.h"

extern "C" __attribute__((visibility("default"))) const movik::ChartDrawing* movik_chart_drawing() {
    return &movik::LinkedChartDrawing();
}
