#pragma once
// Painting laid-out report pages (ReportEngine.h) on a paint device, and PDF output.
// Fonts named "Arial" or "Arial CE" paint with Liberation Sans (metric-compatible).
// Painting needs a QGuiApplication (fonts); positions are in mm from the page's corner, so the
// device must have no margins of its own: PreparePagedDevice sets A4 portrait, zero margins.
// A QPrinter also needs setFullPage(true) (so its origin is the paper's corner) and
// setDocName(job.name) (the print job's name); then begin a QPainter on it and call PaintJobs
// with the one job. A print preview can call PaintPage per page.

#include <QByteArray>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <string>
#include <vector>

#include "reports/PrintJobs.h"

namespace movik {

// The family the painter uses for a form's font family.
QString ResolveFontFamily(const std::string& family);

// A4 portrait (or landscape), zero margins (the pages carry their own margins).
void PreparePagedDevice(QPagedPaintDevice& device,
                        QPageLayout::Orientation orientation = QPageLayout::Portrait);

// Paints one page with painter, dotsPerMm device pixels per millimetre (the device's resolution
// / 25.4). The painter is left as it was.
void PaintPage(const LaidOutPage& page, QPainter& painter, double dotsPerMm);

// Paints every page of every job that was not refused, one device page each, on an already
// begun painter of device. Returns the number of pages painted.
int PaintJobs(const std::vector<PrintJob>& jobs, QPagedPaintDevice& device, QPainter& painter);

// The jobs as one PDF (A4, selectable text, embedded fonts) with the given title; empty when
// there is nothing to paint.
QByteArray RenderPdf(const std::vector<PrintJob>& jobs, const QString& title,
                     QPageLayout::Orientation orientation = QPageLayout::Portrait);

// Writes RenderPdf(...) to path through a safe write (a temporary file renamed over path when
// complete; nothing is left behind on failure). A failure carries the message to show.
Result SavePdf(const std::vector<PrintJob>& jobs, const QString& title, const std::string& path,
               QPageLayout::Orientation orientation = QPageLayout::Portrait);

}  // namespace movik
