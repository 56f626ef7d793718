// Pictures drawn from chart data: a PNG that shows something, an SVG that parses, and the
// window's saving and printing.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "charts/ChartRender.h"
#include "charts/ChartWindow.h"
#include "document/Workspace.h"

namespace movik {
namespace {

const RegionalSettings kHr{".", ",", "dd.MM.yyyy."};

ChartPicture ExampleStructure() {
    Workspace ws(kHr, 2024);
    EXPECT_TRUE(ws.OpenDocument(MOVIK_EXAMPLE));
    return StructureChart(ws.document(), kHr);
}

TEST(ChartRender, PngShowsBarsInSeveralShades) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("s.png")).toStdString();
    ASSERT_TRUE(SaveChart(ExampleStructure(), path, QSize(900, 500), QLocale()));
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(path), "PNG"));
    EXPECT_EQ(image.size(), QSize(900, 500));
    qsizetype inked = 0;
    QSet<int> greys;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p != qRgb(255, 255, 255)) {
                ++inked;
                greys.insert(qGray(p) / 16);  // lightness bands as a grey printer shows them
            }
        }
    }
    EXPECT_GT(inked, image.width() * image.height() / 10);
    EXPECT_GE(greys.size(), 6);
}

TEST(ChartRender, SvgParsesAndCarriesTheTitleAndLegend) {
    const QByteArray svg = RenderChartSvg(ExampleStructure(), QSize(900, 500), QLocale());
    QXmlStreamReader xml(svg);
    QString root;
    QString text;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && root.isEmpty()) {
            root = xml.name().toString();
        } else if (xml.isCharacters()) {
            text += xml.text();
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(root, QStringLiteral("svg"));
    EXPECT_TRUE(text.contains(QStringLiteral("Struktura bilance")));
    EXPECT_TRUE(text.contains(QStringLiteral("Kratkoročne obveze")));
}

TEST(ChartWindow, SavesByExtensionRefusesOthersAndPrintsAPdf) {
    QTemporaryDir dir;
    std::optional<QString> choice;
    QByteArray printed;
    ChartWindowActions actions;
    actions.chooseSaveFile = [&](const QString&) { return choice; };
    actions.print = [&](const QByteArray& pdf, const QString&, QWidget*, OutcomeShown shown) {
        printed = pdf;
        shown(QStringLiteral("poslano"), false);
    };
    // The window draws through the library the program loads, built beside it.
    QString error;
    const ChartDrawing* library = LoadChartLibrary(QStringLiteral(MOVIK_CHART_LIBRARY), &error);
    ASSERT_NE(library, nullptr) << error.toStdString();
    ChartWindow window({{QStringLiteral("Struktura"), ExampleStructure()}}, QStringLiteral("x"),
                       actions, *library);

    choice = dir.filePath(QStringLiteral("a.svg"));
    window.SaveClick();
    QFile svg(*choice);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains("<svg"));

    choice = dir.filePath(QStringLiteral("a.bmp"));
    window.SaveClick();
    EXPECT_TRUE(window.message().contains(QStringLiteral(".bmp")));  // said in the window
    EXPECT_FALSE(QFile::exists(*choice));

    window.PrintClick();
    EXPECT_TRUE(printed.startsWith("%PDF"));
    EXPECT_EQ(window.message(), QStringLiteral("poslano"));
}

TEST(ChartLibrary, DrawsAsTheLinkedCodeAndALibraryThatFailsSaysWhy) {
    QString error;
    const ChartDrawing* library = LoadChartLibrary(QStringLiteral(MOVIK_CHART_LIBRARY), &error);
    ASSERT_NE(library, nullptr) << error.toStdString();
    EXPECT_NE(library, &LinkedChartDrawing());
    const ChartPicture picture = ExampleStructure();
    EXPECT_EQ(library->image(picture, QSize(600, 400), QLocale()),
              LinkedChartDrawing().image(picture, QSize(600, 400), QLocale()));

    for (const char* path : {"/nema/takve/biblioteke.so", MOVIK_EXAMPLE}) {
        error.clear();
        EXPECT_EQ(LoadChartLibrary(QString::fromUtf8(path), &error), nullptr) << path;
        EXPECT_TRUE(error.startsWith(QStringLiteral("Grafikoni se ne mogu nacrtati: biblioteka ")))
            << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(path))) << error.toStdString();
    }
}

}  // namespace
}  // namespace movik
