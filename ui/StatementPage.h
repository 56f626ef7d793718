#pragma once
// The builder of a statement page of the main window: header strip with title, company, seat
// and period labels, navigation buttons, and the statement's grid, as the statement's facts say.

#include "document/GridTexts.h"
#include "model/StatementFacts.h"

class QLabel;
class QPushButton;
class QString;
class QWidget;

namespace movik {

class StatementGrid;

// The parts of a built page the window connects and updates.
struct StatementPage {
    QWidget* page = nullptr;
    StatementGrid* grid = nullptr;
    QLabel* company = nullptr;
    QLabel* seat = nullptr;
    QLabel* period = nullptr;  // null without a period label
    QPushButton* prev = nullptr;
    QPushButton* next = nullptr;  // ">>" (the "Bonitet" page follows the last statement)
};

// The centred, large bold title of a page.
QLabel* MakePageTitle(const QString& text, const QString& name, QWidget* page);
// A page's "<<" (next false) or ">>" button, reached by Tab only.
QPushButton* MakePageButton(bool next, const QString& name, QWidget* page);

// Builds the page of a statement, into the empty widget into when given (else a new one); its
// grid shows texts (which must outlive it).
StatementPage BuildStatementPage(const StatementFacts& facts, GridTexts& texts,
                                 QWidget* into = nullptr);

}  // namespace movik
