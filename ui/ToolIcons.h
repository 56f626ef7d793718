#pragma once
// The tool bar's icons, drawn here at 20 x 20: nothing is looked up in icon themes or decoded
// from files while the window is first shown.

#include <QIcon>
#include <QProxyStyle>

namespace movik {

QIcon ExitIcon();
QIcon NewFileIcon();
QIcon OpenFileIcon();
QIcon SaveFileIcon();
QIcon PrinterIcon();

// The application's style, with the pictures that the first frame needs (the extension arrows
// of menu and tool bars, the group box frame) read without detecting their format: Qt's own
// detection loads every image format plugin, which costs the start-up several milliseconds.
class DrawnIconStyle : public QProxyStyle {
  public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
};

}  // namespace movik
