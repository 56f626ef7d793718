#include "ui/StatementPages.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "document/Workspace.h"
#include "model/StatementFacts.h"
#include "ui/ScoresPage.h"
#include "ui/StartupTrace.h"
#include "ui/StatementGrid.h"
#include "ui/StatementGridModel.h"
#include "ui/StatementPage.h"

namespace movik {

namespace {

std::size_t IndexOf(Statement s) {
    return static_cast<std::size_t>(s);
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

StatementPages::StatementPages(Workspace& ws, QTabWidget& tabs, QObject* parent)
    : QObject(parent), ws_(ws), tabs_(tabs) {
    for (const StatementFacts& def : kStatementFacts) {
        // An empty page under the statement's name until Build fills it.
        auto* page = new QWidget;
        page->setObjectName(Text(def.page));
        page->setProperty("helpContext", def.helpContext);
        pages_[IndexOf(def.statement)] = page;
        tabs_.addTab(page, Text(def.caption));
    }
    scores_ = new ScoresPage(ws_);
    connect(scores_->previousButton(), &QPushButton::clicked, this,
            &StatementPages::previousClicked);
    tabs_.addTab(scores_, QStringLiteral("Bonitet"));
}

void StatementPages::Build() {
    if (built_) {
        return;
    }
    built_ = true;
    for (const StatementFacts& def : kStatementFacts) {
        const std::size_t index = IndexOf(def.statement);
        // Children made in a showing page would stay hidden: the page is shown again after.
        QWidget* page = pages_[index];
        const bool showing = page->isVisible();
        page->hide();
        const StatementPage parts = BuildStatementPage(def, ws_.viewTexts(def.statement), page);
        page->setVisible(showing);
        grids_[index] = parts.grid;
        companyLabels_[index] = parts.company;
        seatLabels_[index] = parts.seat;
        if (parts.period != nullptr) {
            periodLabels_[index - 1] = parts.period;  // Racun, CFInd, CFFree, Pok
        }
        connect(parts.prev, &QPushButton::clicked, this, &StatementPages::previousClicked);
        if (parts.next != nullptr) {
            connect(parts.next, &QPushButton::clicked, this, &StatementPages::nextClicked);
        }
        ConnectGrid(parts.grid);
    }
    balanceTitle_ = tabs_.findChild<QLabel*>(QStringLiteral("lBilancaNaslov"));
    ShowLabels();
    Refresh();
}

void StatementPages::ConnectGrid(StatementGrid* grid) {
    const Statement s = grid->statement();
    if (FactsOf(s).inputColumns[0] != 0) {
        grid->validate = [this, s](int col, int row, const std::string& text) {
            return validate ? validate(s, col, row, text) : std::optional<std::string>(text);
        };
    }
    connect(grid, &StatementGrid::editRefused, this,
            [this, grid](const QString& typed) { emit editRefused(grid, typed); });
    connect(grid, &StatementGrid::inputRefused, this, &StatementPages::inputRefused);
    connect(grid, &StatementGrid::inputNotTaken, this, &StatementPages::inputNotTaken);
}

void StatementPages::BuildAfterFirstFrame(QWindow& window) {
    awaitingFirstFrame_ = true;
    window.installEventFilter(this);
}

bool StatementPages::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && awaitingFirstFrame_) {
        // The exposed window paints as this event is handled; the pages follow right after
        // (unless something needed them sooner: then only the signal is left to give).
        awaitingFirstFrame_ = false;
        watched->removeEventFilter(this);
        StartupMark("main window exposed");
        QTimer::singleShot(0, this, [this] {
            emit firstFrameShown();
            Build();
            StartupMark("statement pages");
        });
    }
    return QObject::eventFilter(watched, event);
}

StatementGrid* StatementPages::Grid(Statement s) {
    Build();
    return grids_[IndexOf(s)];
}

void StatementPages::Refresh() {
    scores_->Refresh();
    if (!built_) {
        return;
    }
    for (StatementGrid* grid : grids_) {
        grid->refresh();
    }
    FitValueColumns();
}

void StatementPages::Refresh(Statement s) {
    if (built_) {
        grids_[IndexOf(s)]->refresh();
    }
}

void StatementPages::ResetColumnWidths() {
    for (Statement s : kAllStatements) {
        if (built_) {
            grids_[IndexOf(s)]->resetColumnWidths();
        }
        measuredLength_[IndexOf(s)].fill(0);
    }
}

bool StatementPages::CommitEdits() {
    if (!built_) {
        return true;  // no page has been built, so no cell editor can be open
    }
    for (const StatementFacts& facts : kStatementFacts) {
        if (facts.inputColumns[0] != 0 && !grids_[IndexOf(facts.statement)]->commitEdit()) {
            return false;
        }
    }
    return true;
}

void StatementPages::ShowCompany(const QString& name) {
    company_ = name;
    ShowLabels();
}

void StatementPages::ShowSeat(const QString& seat) {
    seat_ = seat;
    ShowLabels();
}

void StatementPages::ShowPeriod(const QString& from, const QString& to) {
    period_ = QStringLiteral("za razdoblje od ") + from + QStringLiteral(" do ") + to;
    ShowLabels();
}

void StatementPages::ShowLabels() {
    scores_->ShowHeader(company_, seat_, period_);
    if (!built_) {
        return;  // shown when the pages are built
    }
    const auto show = [](const auto& labels, const std::optional<QString>& text) {
        if (text) {
            for (QLabel* label : labels) {
                if (label != nullptr) {
                    label->setText(*text);
                }
            }
        }
    };
    show(companyLabels_, company_);
    show(seatLabels_, seat_);
    show(periodLabels_, period_);
    if (period_) {
        balanceTitle_->setText(QStringLiteral("Bilanca"));
    }
}

void StatementPages::FitValueColumns() {
    // The value columns keep their designed widths; one that is too narrow for an amount (tens
    // of millions in the balance sheet's narrow column) grows so that no figure is cut short.
    // Columns never shrink, so a width the user chose stays.
    for (Statement s : kAllStatements) {
        StatementGrid* grid = grids_[IndexOf(s)];
        QFont bold = grid->gridModel()->cellFont();
        bold.setBold(true);
        const QFont header = grid->gridModel()->headerFont();
        const GridTexts& texts = ws_.grids().of(s);
        for (int col = 3; col < texts.columnCount(); ++col) {
            // Figures differ in width by their length: only the longest texts are measured, and
            // only when a column holds a longer text than at its last measurement.
            std::size_t longest = texts.cell(col, 0).size();
            for (int row = 1; row < texts.rowCount(); ++row) {
                longest = std::max(longest, texts.cell(col, row).size());
            }
            std::size_t& measured = measuredLength_[IndexOf(s)][static_cast<std::size_t>(col)];
            if (longest <= measured) {
                continue;
            }
            measured = longest;
            int needed =
                StatementGrid::ColumnWidthFor(QString::fromStdString(texts.cell(col, 0)), header);
            for (int row = 1; row < texts.rowCount(); ++row) {
                const std::string& text = texts.cell(col, row);
                if (text.size() + 1 >= longest) {
                    needed = std::max(
                        needed, StatementGrid::ColumnWidthFor(QString::fromStdString(text), bold));
                }
            }
            if (grid->columnWidth(col - 1) < needed) {
                grid->setColumnWidth(col - 1, needed);
            }
        }
    }
}

}  // namespace movik
