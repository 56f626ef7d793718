#include "ui/StatementPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/StatementGrid.h"

namespace movik {

const std::array<StatementPageDef, 5> kStatementPages = {{
    {Statement::Bilanca, "tsBilanca", "Bilanca", "Bilanca", "lBilancaNaslov", "lPoduzeceBilanca",
     "lSjedisteBilanca", "", "agBilanca", 1, true},
    {Statement::Racun, "tsRacun", "Račun dobiti i gubitka", "Račun dobiti i gubitka", "lRacun",
     "lPoduzeceRacun", "lSjedisteRacun", "lRazdoblje", "agRacun", 1, true},
    {Statement::CFInd, "tsCFInd", "Indirektna metoda novčanog toka",
     "Indirektna metoda novčanog toka", "lCFInd", "lPoduzeceCFInd", "lSjedisteCFInd", "lIndRazd",
     "agCFInd", 4, true},
    {Statement::CFFree, "tsCFFree", "Metoda slobodnog novčanog toka",
     "Metoda slobodnog novčanog toka", "lCFFree", "lPoduzeceCFFree", "lSjedisteCFFree", "lFreeRazd",
     "agCFFree", 5, true},
    {Statement::Pok, "tsPokazatelji", "Pokazatelji", "Financijski pokazatelji", "lPokNaslov",
     "lPoduzecePok", "lSjedistePok", "lPokRazd", "agPokazatelji", 1, false},
}};

StatementPage BuildStatementPage(const StatementPageDef& def, GridTexts& texts) {
    const Statement s = def.statement;
    const QString pageName = QString::fromUtf8(def.page);
    const QString periodName = QString::fromUtf8(def.period);
    StatementPage parts;
    auto* page = new QWidget;
    parts.page = page;
    page->setProperty("helpContext", def.help);
    page->setObjectName(pageName);

    auto* titleLabel = new QLabel(QString::fromUtf8(def.title), page);
    titleLabel->setObjectName(QString::fromUtf8(def.titleName));
    QFont titleFont = titleLabel->font();
    titleFont.setPointSize(titleFont.pointSize() + 4);
    titleFont.setBold(true);
    titleLabel->setFont(titleFont);
    titleLabel->setAlignment(Qt::AlignCenter);

    auto* company = new QLabel(QString(20, u'_'), page);
    company->setObjectName(QString::fromUtf8(def.company));
    QFont bold = company->font();
    bold.setBold(true);
    company->setFont(bold);
    auto* seat = new QLabel(QString(10, u'_'), page);
    seat->setObjectName(QString::fromUtf8(def.seat));
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
    grid->setObjectName(QString::fromUtf8(def.grid));
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
        buttons->addWidget(prev);
        parts.prev = prev;
    }
    if (def.hasNext) {
        auto* next = new QPushButton(QStringLiteral(">>"), page);
        next->setObjectName(QStringLiteral("bNext") + suffix);
        next->setFixedWidth(40);
        next->setFocusPolicy(Qt::TabFocus);
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
