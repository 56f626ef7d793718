#pragma once
// The five statement pages of the main window: what each is called and shows, and the builder
// of one page (header strip with title, company, seat and period labels, navigation buttons,
// and the statement's grid).

#include <array>

#include "document/GridTexts.h"

class QLabel;
class QPushButton;
class QWidget;

namespace movik {

class StatementGrid;

struct StatementPageDef {
    Statement statement;
    const char* page;       // objectName of the page
    const char* caption;    // tab caption
    const char* title;      // centred title
    const char* titleName;  // objectName of the title label
    const char* company;    // objectName of the company label
    const char* seat;       // objectName of the seat label
    const char* period;     // objectName of the period label, "" for none
    const char* grid;       // objectName of the grid
    int help;               // help context
    bool hasNext;           // a ">>" button (every page has "<<")
};

// In tab order, after the general-data page.
extern const std::array<StatementPageDef, 5> kStatementPages;

// The parts of a built page the window connects and updates.
struct StatementPage {
    QWidget* page = nullptr;
    StatementGrid* grid = nullptr;
    QLabel* company = nullptr;
    QLabel* seat = nullptr;
    QLabel* period = nullptr;  // null without a period label
    QPushButton* prev = nullptr;
    QPushButton* next = nullptr;  // null on the last page
};

// Builds the page of def; its grid shows texts (which must outlive it).
StatementPage BuildStatementPage(const StatementPageDef& def, GridTexts& texts);

}  // namespace movik
