#include "charts/ChartDrawing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "system/LibraryFunctions.h"

namespace movik {

namespace {

const ChartDrawing* inUse = nullptr;

// The library's one exported function (ChartLibrary.cpp).
using EntryFunction = const ChartDrawing* (*)();
constexpr char kEntryName[] = "movik_chart_drawing";

}  // namespace

QStringList ChartLibraryCandidates(const QString& programDir) {
    const QDir dir(programDir);
    const QString name = QString::fromLatin1(kChartLibraryName);
    return {
        QDir::cleanPath(dir.filePath(name)),
        QDir::cleanPath(dir.filePath(QStringLiteral("../" MOVIK_CHART_LIBRARY_DIR "/") + name))};
}

const ChartDrawing* LoadChartLibrary(const QString& path, QString* error) {
    auto fail = [&](const QString& why) -> const ChartDrawing* {
        if (error != nullptr) {
            *error = QStringLiteral("Grafikoni se ne mogu nacrtati: biblioteka %1 %2")
                         .arg(QDir::toNativeSeparators(path), why);
        }
        return nullptr;
    };
    LibraryFunctions library(QFile::encodeName(path).constData());
    EntryFunction entry = nullptr;
    library.Find(entry, kEntryName);
    if (!library.opened()) {
        return fail(QStringLiteral("nije učitana (%1).")
                        .arg(QString::fromLocal8Bit(library.openError().c_str())));
    }
    const ChartDrawing* drawing = library.complete() ? entry() : nullptr;
    if (drawing != nullptr && drawing->version != kChartDrawingVersion) {
        // Its table has another layout: calling into it could crash, so it counts as missing.
        if (error != nullptr) {
            *error = QStringLiteral(
                         "Grafikoni se ne mogu nacrtati: nema biblioteke grafikona "
                         "inačice %1 (%2 je inačice %3).")
                         .arg(kChartDrawingVersion)
                         .arg(QDir::toNativeSeparators(path))
                         .arg(drawing->version);
        }
        return nullptr;
    }
    if (drawing == nullptr || drawing->image == nullptr || drawing->pdf == nullptr ||
        drawing->save == nullptr) {
        return fail(QStringLiteral("nije biblioteka grafikona ovog programa."));
    }
    return drawing;
}

void UseChartDrawing(const ChartDrawing* drawing) {
    inUse = drawing;
}

const ChartDrawing* CurrentChartDrawing(QString* error) {
    if (inUse != nullptr) {
        return inUse;
    }
    const QStringList candidates = ChartLibraryCandidates(QCoreApplication::applicationDirPath());
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) {
            inUse = LoadChartLibrary(candidate, error);
            return inUse;
        }
    }
    if (error != nullptr) {
        QStringList shown;
        for (const QString& candidate : candidates) {
            shown << QDir::toNativeSeparators(candidate);
        }
        *error = QStringLiteral("Grafikoni se ne mogu nacrtati: nema biblioteke grafikona (%1).")
                     .arg(shown.join(QStringLiteral(", ")));
    }
    return nullptr;
}

}  // namespace movik
