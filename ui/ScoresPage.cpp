#include "ui/ScoresPage.h"

#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "analysis/ScoreSheet.h"
#include "document/Workspace.h"
#include "ui/AccessibleColours.h"
#include "ui/StatementPage.h"

namespace movik {

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A tone's colour, held to 4.5:1 against the tree's background in any palette.
QColor ToneColour(Tone tone, const QPalette& palette) {
    const QColor base = palette.color(QPalette::Base);
    switch (tone) {
        case Tone::Good:
            return WithContrast(QColor(0, 128, 0), {base}, kTextContrast);
        case Tone::Caution:
            return WithContrast(QColor(170, 100, 0), {base}, kTextContrast);
        case Tone::Danger:
            break;
    }
    return WithContrast(QColor(200, 0, 0), {base}, kTextContrast);
}

// A tone's icon: its shape tells the tone without the colour (a circle with a tick, a triangle
// with an exclamation mark, an octagon with a cross).
QIcon ToneIcon(Tone tone, const QColor& colour) {
    constexpr int kSize = 32;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath shape;
    if (tone == Tone::Good) {
        shape.addEllipse(QRectF(2, 2, 28, 28));
    } else if (tone == Tone::Caution) {
        shape.addPolygon(QPolygonF({QPointF(16, 2), QPointF(30, 29), QPointF(2, 29)}));
    } else {
        shape.addPolygon(
            QPolygonF({QPointF(10, 2), QPointF(22, 2), QPointF(30, 10), QPointF(30, 22),
                       QPointF(22, 30), QPointF(10, 30), QPointF(2, 22), QPointF(2, 10)}));
    }
    shape.closeSubpath();
    p.drawPath(shape);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (tone == Tone::Good) {
        p.drawPolyline(QPolygonF({QPointF(9, 16), QPointF(14, 21), QPointF(23, 11)}));
    } else if (tone == Tone::Caution) {
        p.drawLine(QPointF(16, 11), QPointF(16, 19));
        p.drawPoint(QPointF(16, 25));
    } else {
        p.drawLine(QPointF(11, 11), QPointF(21, 21));
        p.drawLine(QPointF(21, 11), QPointF(11, 21));
    }
    return QIcon(pixmap);
}

QLabel* HeaderLabel(const QString& text, const QString& name, QWidget* page, bool bold) {
    auto* label = new QLabel(text, page);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setMinimumWidth(40);
    return label;
}

}  // namespace

ScoresPage::ScoresPage(const Workspace& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
    setObjectName(QStringLiteral("tsBonitet"));
    setProperty("helpContext", kScoresHelpContext);

    company_ = HeaderLabel(QString(20, u'_'), QStringLiteral("lPoduzeceBonitet"), this, true);
    seat_ = HeaderLabel(QString(10, u'_'), QStringLiteral("lSjedisteBonitet"), this, false);
    QLabel* title =
        MakePageTitle(QStringLiteral("Ocjena boniteta"), QStringLiteral("lBonitet"), this);
    period_ = new QLabel(QStringLiteral("za razdoblje od __.__.____ do __.__.____"), this);
    period_->setObjectName(QStringLiteral("lBonRazd"));
    period_->setAlignment(Qt::AlignCenter);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("agBonitet"));
    tree_->setAccessibleName(QStringLiteral("Ocjena boniteta"));
    tree_->setColumnCount(3);
    tree_->setHeaderLabels({QStringLiteral("P o k a z a t e l j"), QStringLiteral("Vrijednost"),
                            QStringLiteral("Ocjena")});
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setUniformRowHeights(true);
    tree_->setAlternatingRowColors(true);
    tree_->header()->setStretchLastSection(true);
    // Wide enough for the longest caption and amount of the example at the usual font.
    tree_->setColumnWidth(0, 500);
    tree_->setColumnWidth(1, 120);
    setFocusProxy(tree_);
    // The "<<" button after the tree in the tab order: a page change puts the cursor in the tree.
    prev_ = MakePageButton(false, QStringLiteral("bPrevBonitet"), this);

    auto* strip = new QGridLayout;
    strip->setColumnStretch(0, 1);
    strip->setColumnStretch(2, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(company_);
    left->addWidget(seat_);
    strip->addLayout(left, 0, 0, 2, 1);
    strip->addWidget(title, 0, 1);
    strip->addWidget(period_, 1, 1);
    strip->addWidget(prev_, 0, 2, Qt::AlignTop | Qt::AlignRight);

    auto* caveat = new QLabel(Text(kScoresCaveat) + QStringLiteral(" F1: pomoć o modelima."), this);
    caveat->setObjectName(QStringLiteral("lBonitetNapomena"));
    caveat->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(strip);
    layout->addSpacing(4);
    layout->addWidget(tree_, 1);
    layout->addWidget(caveat);
}

void ScoresPage::Refresh() {
    stale_ = true;
    if (isVisible()) {
        Fill();
    }
}

void ScoresPage::ShowHeader(const std::optional<QString>& company,
                            const std::optional<QString>& seat,
                            const std::optional<QString>& period) {
    if (company) {
        company_->setText(*company);
    }
    if (seat) {
        seat_->setText(*seat);
    }
    if (period) {
        period_->setText(*period);
    }
}

void ScoresPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) {
        Fill();
    }
}

void ScoresPage::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Another palette: the bands' colours and icons are taken from it anew.
    if (event->type() == QEvent::PaletteChange && !items_.empty()) {
        Refresh();
    }
}

void ScoresPage::Fill() {
    stale_ = false;
    const std::vector<ScoreLine> lines = ScoreSheet(ws_.document(), ws_.settings());
    const bool first = items_.empty();
    QTreeWidgetItem* section = nullptr;
    QTreeWidgetItem* item = nullptr;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ScoreLine& line = lines[i];
        if (first) {
            // The shape of the sheet is fixed: items made once keep what the user expanded.
            QTreeWidgetItem* parent = line.kind == ScoreLineKind::Section ? nullptr
                                      : line.kind == ScoreLineKind::Item  ? section
                                                                          : item;
            auto* made = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
            if (line.kind == ScoreLineKind::Section) {
                section = made;
            } else if (line.kind == ScoreLineKind::Item) {
                item = made;
            }
            items_.push_back(made);
        }
        QTreeWidgetItem* it = items_[i];
        it->setText(0, QString::fromStdString(line.caption));
        it->setText(1, QString::fromStdString(line.value));
        it->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        it->setText(2, QString::fromStdString(line.note));
        QFont font = tree_->font();
        font.setBold(line.kind == ScoreLineKind::Section);
        it->setFont(0, font);
        if (line.tone) {
            const QColor colour = ToneColour(*line.tone, tree_->palette());
            it->setIcon(2, ToneIcon(*line.tone, colour));
            it->setForeground(2, colour);
        } else {
            it->setIcon(2, QIcon());
            it->setForeground(2, tree_->palette().brush(QPalette::Text));
        }
    }
    if (first) {
        // Every section open but the inputs, which are there on demand, as the terms are.
        for (int s = 0; s < tree_->topLevelItemCount(); ++s) {
            QTreeWidgetItem* top = tree_->topLevelItem(s);
            top->setExpanded(top->text(0) != Text(kSectionInputs));
        }
    }
}

}  // namespace movik
