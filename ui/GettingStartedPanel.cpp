#include "ui/GettingStartedPanel.h"

#include <QLabel>
#include <QVBoxLayout>

namespace movik {

namespace {

const char* const kSteps[] = {
    "Upišite opće podatke: naziv i sjedište poduzeća, obračunsko razdoblje računa dobiti i "
    "gubitka te, za dioničko društvo, broj dionica.",
    "Na stranici <b>Bilanca</b> upišite aktivu i pasivu za prethodnu i tekuću godinu.",
    "Na stranici <b>Račun dobiti i gubitka</b> upišite prihode i rashode obračunskog razdoblja.",
    "Zbrojevi, udjeli, novčani tokovi i pokazatelji računaju se sami nakon svakog upisa.",
    "Upozorenja (neravnoteža aktive i pasive, neravnoteža neto dobiti) pojavljuju se crvenim "
    "slovima u statusnoj traci na dnu prozora.",
    "Za pomoć pritisnite <b>F1</b>: otvara se uputa za dio prozora u kojem radite. Sve upute su "
    "u izborniku <b>Upute</b>.",
};

}  // namespace

GettingStartedPanel::GettingStartedPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("Kako početi"), parent) {
    setObjectName(QStringLiteral("pKakoPoceti"));
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);

    QString html = QStringLiteral("<ol style=\"margin-left: 0; -qt-list-indent: 1;\">");
    for (const char* step : kSteps) {
        html += QStringLiteral("<li style=\"margin-bottom: 4px;\">") + QString::fromUtf8(step) +
                QStringLiteral("</li>");
    }
    html += QStringLiteral("</ol>");

    auto* text = new QLabel(html, this);
    text->setObjectName(QStringLiteral("lKakoPoceti"));
    text->setTextFormat(Qt::RichText);
    text->setWordWrap(true);
    QFont normal = text->font();
    normal.setBold(false);
    text->setFont(normal);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->addWidget(text);
}

}  // namespace movik
