#include "ui/StatementPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/StatementGrid.h"

namespace movik {

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

StatementPage BuildStatementPage(const StatementFacts& def, GridTexts& texts, QWidget* into) {
    const Statement s = def.statement;
    const bool hasNext = s != kAllStatements.back();
    const QString pageName = Text(def.page);
    const QString periodName = Text(def.period);
    StatementPage parts;
    QWidget* page = into != nullptr ? into : new QWidget;
    parts.page = page;
    page->setProperty("helpContext", def.helpContext);
    page->setObjectName(pageName);

    auto* titleLabel = new QLabel(Text(def.title), page);
    titleLabel->setObjectName(Text(def.titleName));
    QFont titleFont = titleLabel->font();
    titleFont.setPointSize(titleFont.pointSize() + 4);
    titleFont.setBold(true);
    titleLabel->setFont(titleFont);
    titleLabel->setAlignment(Qt::AlignCenter);

    auto* company = new QLabel(QString(20, u'_'), page);
    company->setObjectName(Text(def.company));
    QFont bold = company->font();
    bold.setBold(true);
    company->setFont(bold);
    auto* seat = new QLabel(QString(10, u'_'), page);
    seat->setObjectName(Text(def.seat));
    // Long names must not push the centred title aside.
    for (QLabel* l : {company, seat}) {
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        l->setMinimumWidth(40);
    }
    parts.company = company;
    parts.seat = seat;

    auto* strip = new QGridLayout;
    strip->setColumnStretch(0, 1);
    strip->setColumnStretch(2, 1);
    strip->setVerticalSpacing(2);
    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(company);
    left->addWidget(seat);
    left->addStretch(1);
    strip->addLayout(left, 0, 0, 2, 1);
    strip->addWidget(titleLabel, 0, 1);
    if (!periodName.isEmpty()) {
        auto* period = new QLabel(QStringLiteral("za razdoblje od __.__.____ do __.__.____"), page);
        period->setObjectName(periodName);
        period->setAlignment(Qt::AlignCenter);
        strip->addWidget(period, 1, 1);
        parts.period = period;
    }
    // The grid is made before the navigation buttons so that it comes first in the page's tab
    // order: a page change puts the cursor in the grid, not on "<<".
    auto* grid = new StatementGrid(s, texts, page);
    grid->setObjectName(Text(def.grid));
    parts.grid = grid;

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addStretch(1);
    const QString suffix = pageName.mid(2);
    {
        auto* prev = new QPushButton(QStringLiteral("<<"), page);
        prev->setObjectName(QStringLiteral("bPrev") + suffix);
        prev->setFixedWidth(40);
        prev->setFocusPolicy(Qt::TabFocus);
        prev->setAccessibleName(QStringLiteral("Prethodna stranica"));
        prev->setToolTip(QStringLiteral("Prethodna stranica"));
        buttons->addWidget(prev);
        parts.prev = prev;
    }
    if (hasNext) {
        auto* next = new QPushButton(QStringLiteral(">>"), page);
        next->setObjectName(QStringLiteral("bNext") + suffix);
        next->setFixedWidth(40);
        next->setFocusPolicy(Qt::TabFocus);
        next->setAccessibleName(QStringLiteral("Sljedeća stranica"));
        next->setToolTip(QStringLiteral("Sljedeća stranica"));
        buttons->addWidget(next);
        parts.next = next;
    }
    strip->addLayout(buttons, 0, 2, Qt::AlignTop);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(strip);
    layout->addSpacing(4);
    layout->addWidget(grid, 1);
    return parts;
}

}  // namespace movik
