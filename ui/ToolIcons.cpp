#include "ui/ToolIcons.h"
#include "ui/AccessibleColours.h"

#include <qdrawutil.h>
#include <QAbstractScrollArea>
#include <QGroupBox>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleOption>
#include <algorithm>
#include <functional>

#include "about/AboutBox.h"

namespace movik {

namespace {

constexpr int kSize = 20;
const QColor kOutline(50, 50, 50);

QIcon Drawn(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(kOutline);
    draw(p);
    p.end();
    return QIcon(pixmap);
}

// A sheet of paper with a folded corner.
void Sheet(QPainter& p) {
    QPainterPath sheet;
    sheet.moveTo(4.5, 1.5);
    sheet.lineTo(12.5, 1.5);
    sheet.lineTo(16.5, 5.5);
    sheet.lineTo(16.5, 18.5);
    sheet.lineTo(4.5, 18.5);
    sheet.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF({{12.5, 1.5}, {12.5, 5.5}, {16.5, 5.5}}));
}

}  // namespace

QIcon ExitIcon() {
    return Drawn([](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(200, 60, 50));
        p.drawEllipse(QRectF(1.5, 1.5, 17, 17));
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6.5, 6.5), QPointF(13.5, 13.5));
        p.drawLine(QPointF(13.5, 6.5), QPointF(6.5, 13.5));
    });
}

QIcon NewFileIcon() {
    return Drawn([](QPainter& p) { Sheet(p); });
}

QIcon OpenFileIcon() {
    return Drawn([](QPainter& p) {
        p.setBrush(QColor(220, 180, 80));
        p.drawRect(1, 4, 15, 13);  // the folder's back
        p.drawRect(1, 2, 6, 2);    // its tab
        p.setBrush(QColor(245, 210, 120));
        p.drawPolygon(QPolygon({{1, 17}, {4, 8}, {19, 8}, {16, 17}}));  // the open front
    });
}

QIcon SaveFileIcon() {
    return Drawn([](QPainter& p) {
        p.setBrush(QColor(70, 100, 170));
        p.drawRect(1, 1, 17, 17);  // the disk
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 11, 6);  // the label
        p.setBrush(QColor(190, 190, 200));
        p.drawRect(5, 11, 9, 7);  // the shutter
        p.fillRect(11, 2, 2, 4, kOutline);
    });
}

QIcon PrinterIcon() {
    return Drawn([](QPainter& p) {
        p.setBrush(Qt::white);
        p.drawRect(5, 1, 9, 7);  // paper going in
        p.setBrush(QColor(150, 150, 160));
        p.drawRect(1, 7, 17, 8);  // body
        p.setBrush(Qt::white);
        p.drawRect(5, 12, 9, 6);  // paper coming out
        p.setPen(QColor(90, 90, 90));
        p.drawLine(7, 14, 12, 14);
        p.drawLine(7, 16, 12, 16);
        p.fillRect(15, 9, 2, 2, QColor(40, 170, 40));
    });
}

QIcon DrawnIconStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                   const QWidget* widget) const {
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton) {
        return QProxyStyle::standardIcon(icon, option, widget);
    }
    const bool horizontal = icon == SP_ToolBarHorizontalExtensionButton;
    return Drawn([horizontal](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kOutline, 1.5));
        // Two chevrons pointing on (right, or down).
        for (const double at : {6.0, 11.0}) {
            if (horizontal) {
                p.drawPolyline(QPolygonF({{at, 6}, {at + 4, 10}, {at, 14}}));
            } else {
                p.drawPolyline(QPolygonF({{6, at}, {10, at + 4}, {14, at}}));
            }
        }
    });
}

void DrawnIconStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element == CE_TabBarTabShape && (option->state & State_HasFocus)) {
        // The focused tab framed as a focused button is.
        drawPrimitive(PE_FrameFocusRect, option, painter, widget);
    }
    // A focused scrolled view (a print preview's page, the help's text, a table) shows its focus
    // on its frame; the statement grids draw their own inside.
    if (element == CE_ShapedFrame && (option->state & State_HasFocus) &&
        qobject_cast<const QAbstractScrollArea*>(widget) != nullptr &&
        !widget->inherits("movik::StatementGrid")) {
        drawPrimitive(PE_FrameFocusRect, option, painter, widget);
    }
}

namespace {

// Focus shown by a solid frame of two pixels that holds 3:1 against the window (the styles' own
// dotted or faint outline can hardly be seen), inset pixels inside rect.
void DrawFocusFrame(QPainter* painter, const QStyleOption* option, const QRect& rect, int inset) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(FocusColour(option->palette), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(rect).adjusted(inset, inset, -inset, -inset));
    painter->restore();
}

}  // namespace

void DrawnIconStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                        QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    // An editable combo box shows its focus as a text field does (a list box's own focus frame
    // comes from the focus rectangle below).
    const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
    if (control == CC_ComboBox && combo != nullptr && combo->editable &&
        (option->state & State_HasFocus)) {
        DrawFocusFrame(painter, option, option->rect, 1);
    }
}

void DrawnIconStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    if (element == PE_PanelLineEdit) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        if ((option->state & State_HasFocus) && frame != nullptr && frame->lineWidth > 0) {
            DrawFocusFrame(painter, option, option->rect, 1);
        }
        return;
    }
    if (element == PE_FrameFocusRect || element == PE_PanelButtonCommand) {
        if (element == PE_PanelButtonCommand) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            if (!(option->state & State_HasFocus)) {
                return;
            }
        }
        DrawFocusFrame(painter, option, option->rect, element == PE_PanelButtonCommand ? 2 : 1);
        return;
    }
    static const QPixmap frame =
        LoadPng(QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"));
    if (element != PE_FrameGroupBox || frame.isNull() ||
        baseStyle()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) != 0) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // As the Fusion style draws it: the frame picture below the title line.
    constexpr int kTopMargin = 3;
    int top = kTopMargin;
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    if (box == nullptr || box->isCheckable() || !box->title().isEmpty()) {
        top += std::max(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height());
    }
    qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0), QMargins(6, 6, 6, 6), frame);
}

}  // namespace movik
