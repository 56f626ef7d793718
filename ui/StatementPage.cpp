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

QLabel* MakePageTitle(const QString& text, const QString& name, QWidget* page) {
    auto* title = new QLabel(text, page);
    title->setObjectName(name);
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() + 4);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    return title;
}

QPushButton* MakePageButton(bool next, const QString& name, QWidget* page) {
    auto* button = new QPushButton(next ? QStringLiteral(">>") : QStringLiteral("<<"), page);
    button->setObjectName(name);
    button->setFixedWidth(40);
    button->setFocusPolicy(Qt::TabFocus);
    const QString hint =
        next ? QStringLiteral("Sljedeća stranica") : QStringLiteral("Prethodna stranica");
    button->setAccessibleName(hint);
    button->setToolTip(hint);
    return button;
}

namespace {

// The header strip's labels: company and seat on the left (blank lines until the general data
// are shown in them), the title and the period in the middle.
QGridLayout* MakeHeaderStrip(const StatementFacts& def, QWidget* page, StatementPage& parts) {
    QLabel* title = MakePageTitle(Text(def.title), Text(def.titleName), page);
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
    strip->addWidget(title, 0, 1);
    if (!def.period.empty()) {
        auto* period = new QLabel(QStringLiteral("za razdoblje od __.__.____ do __.__.____"), page);
        period->setObjectName(Text(def.period));
        period->setAlignment(Qt::AlignCenter);
        strip->addWidget(period, 1, 1);
        parts.period = period;
    }
    return strip;
}

// The navigation buttons, on the right of the header strip (the "Bonitet" page follows the
// last statement).
void AddPageButtons(const StatementFacts& def, QWidget* page, QGridLayout* strip,
                    StatementPage& parts) {
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addStretch(1);
    const QString suffix = Text(def.page).mid(2);
    parts.prev = MakePageButton(false, QStringLiteral("bPrev") + suffix, page);
    buttons->addWidget(parts.prev);
    parts.next = MakePageButton(true, QStringLiteral("bNext") + suffix, page);
    buttons->addWidget(parts.next);
    strip->addLayout(buttons, 0, 2, Qt::AlignTop);
}

}  // namespace

StatementPage BuildStatementPage(const StatementFacts& def, GridTexts& texts, QWidget* into) {
    StatementPage parts;
    QWidget* page = into != nullptr ? into : new QWidget;
    parts.page = page;
    page->setProperty("helpContext", def.helpContext);
    page->setObjectName(Text(def.page));

    QGridLayout* strip = MakeHeaderStrip(def, page, parts);
    // The grid is made before the navigation buttons so that it comes first in the page's tab
    // order: a page change puts the cursor in the grid, not on "<<".
    parts.grid = new StatementGrid(def.statement, texts, page);
    parts.grid->setObjectName(Text(def.grid));
    AddPageButtons(def, page, strip, parts);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(strip);
    layout->addSpacing(4);
    layout->addWidget(parts.grid, 1);
    return parts;
}

}  // namespace movik
