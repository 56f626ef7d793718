#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolTip>
#include <QWindow>
#include <algorithm>

#include "about/AboutBox.h"
#include "about/HelpViewer.h"
#include "analysis/EuroConversion.h"
#include "document/Csv.h"
#include "model/AmountRefusal.h"
#include "model/Calculations.h"
#include "model/NumberFormat.h"
#include "movik/Version.h"
#include "regional/Regional.h"
#include "ui/AnalysisCommands.h"
#include "ui/ComparisonWindow.h"
#include "ui/DateField.h"
#include "ui/GeneralDataPage.h"
#include "ui/PrintCommands.h"
#include "ui/ScoresPage.h"
#include "ui/ShareCountField.h"
#include "ui/StartupTrace.h"
#include "ui/StatementGrid.h"
#include "ui/StatementPages.h"
#include "ui/StatusPanels.h"
#include "ui/ToolIcons.h"
#include "ui/WindowAccessible.h"

namespace movik {

namespace {

// The style marks a menu title only while its menu is open. A menu bar that keeps the keyboard
// (after Escape closed its menu, or after a lone Alt) showed no mark at all, and the keys seemed
// lost: the title under the keyboard is marked as an open one is.
class KeyboardMenuBarStyle : public QProxyStyle {
  public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuBarItem && item != nullptr && widget != nullptr &&
            widget->hasFocus() && (option->state & State_Selected)) {
            QStyleOptionMenuItem marked(*item);
            marked.state |= State_Sunken;
            QProxyStyle::drawControl(element, &marked, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

}  // namespace

TForm1::TForm1(std::unique_ptr<Dialogs> dialogs, QWidget* parent, HiddenPages hiddenPages)
    : QMainWindow(parent),
      ws_(RegionalForWindow(), LocalYear()),
      dialogs_(std::move(dialogs)),
      writer_(MakeSystemFileWriter()) {
    if (!dialogs_) {
        dialogs_ = std::make_unique<QtDialogs>(this);
    }
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kProgramTitle));

    BuildMenus();
    StartupMark("menus");
    BuildToolBar();
    StartupMark("tool bar");
    BuildPages();
    StartupMark("pages");
    panels_ = std::make_unique<StatusPanels>(statusBar());
    print_ = std::make_unique<PrintCommands>(ws_, *dialogs_, [this] { return ws_.unitText(); });
    print_->SetPrintButton(findChild<QAction*>(QStringLiteral("bPrint")));
    print_->showNote = [this](const QString& note) { panels_->ShowNote(note); };
    print_->showingScores = [this] { return PageControl_->currentWidget() == pages_->scores(); };
    // Wide enough for every tab caption, as far as the screen allows.
    QSize size(std::max(760, PageControl_->tabBar()->sizeHint().width() + 24), 680);
    if (const QScreen* screen = this->screen()) {
        size = size.boundedTo(screen->availableSize());
    }
    StartupMark("status and printing");
    resize(size);
    InstallHelp();
    StartupMark("help");

    // FormCreate: a new document from the templates, shown.
    ws_.NewDocument();
    ShowNewDocument();
    PageControlChange();
    StartupMark("new document");
    // The cursor waits in the first field of the first page.
    opce_->ePoduzece->setFocus(Qt::OtherFocusReason);
    // The exit shortcut must reach the menu even from a text field, which would take Ctrl+Z as
    // undo.
    qApp->installEventFilter(this);
    if (hiddenPages == HiddenPages::WithWindow) {
        BuildStatementPages();
    } else {
        winId();  // the native window, to watch its first expose
        pages_->BuildAfterFirstFrame(*windowHandle());
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeyCombination keys = key->keyCombination();
        // Undo and redo of the document, not of the text field's typing.
        const bool undoKeys =
            keys == QKeyCombination(Qt::AltModifier, Qt::Key_Backspace) ||
            keys == QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_Backspace);
        if (keys == QKeyCombination(Qt::ControlModifier, Qt::Key_Z) || undoKeys) {
            // Not accepted: the widget does not take the key, the window's shortcut does.
            event->ignore();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() && opce_ != nullptr &&
        opce_->isAncestorOf(static_cast<QWidget*>(watched))) {
        // A combo box takes Ctrl+Tab as a letter to search for: every field of the general-data
        // page passes it to the pages, so the next page is one key away wherever the user is.
        const QKeyCombination keys = static_cast<QKeyEvent*>(event)->keyCombination();
        if (keys == QKeyCombination(Qt::ControlModifier, Qt::Key_Tab) ||
            keys == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Backtab)) {
            QCoreApplication::sendEvent(PageControl_, event);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// The pages and their grids are views over the workspace's texts: they go first, while the
// workspace still lives (QWidget's own destructor would delete them only after every member).
TForm1::~TForm1() {
    // Closing the window first takes the focus from an open cell editor as leaving the window
    // does, so the editor does not end its edit inside a grid that is being destroyed.
    hide();
    delete PageControl_;
}

void TForm1::SetFileWriter(std::unique_ptr<FileWriter> writer) {
    writer_ = std::move(writer);
}

// ---------------------------------------------------------------------------------------------
// Building the window

namespace {

// A menu command: its object name, caption, shortcut (none when empty) and handler.
QAction* AddCommand(TForm1* window, QMenu* menu, const QString& name, const QString& caption,
                    const QKeySequence& shortcut, void (TForm1::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
    }
    QObject::connect(action, &QAction::triggered, window, handler);
    return action;
}

// A menu of the menu bar, opening the menus' help topic.
QMenu* AddMenu(QMenuBar* bar, const QString& caption, const QString& name) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    menu->setProperty("helpContext", kMenuHelpContext);
    return menu;
}

}  // namespace

void TForm1::BuildMenus() {
    auto* menuStyle = new KeyboardMenuBarStyle;
    menuStyle->setParent(menuBar());
    menuBar()->setStyle(menuStyle);
    BuildDocumentMenu();
    // Work across many documents, after the document's own menu. The menu itself opens the
    // menus' topic, as the other menus do; each command its own.
    QMenu* analiza = AddMenu(menuBar(), QStringLiteral("&Analiza"), QStringLiteral("Analiza1"));
    AddCommand(this, analiza, QStringLiteral("Usporedba1"), QStringLiteral("&Usporedba…"),
               QKeySequence(), &TForm1::Usporedba1Click)
        ->setProperty("helpContext", kComparisonHelpContext);
    AddCommand(this, analiza, QStringLiteral("Grafikoni1"), QStringLiteral("&Grafikoni…"),
               QKeySequence(), &TForm1::Grafikoni1Click)
        ->setProperty("helpContext", kAnalysisHelpContext);
    AddCommand(this, analiza, QStringLiteral("PreracunajUEure1"),
               QStringLiteral("Preračunaj u &eure…"), QKeySequence(),
               &TForm1::PreracunajUEure1Click)
        ->setProperty("helpContext", kAnalysisHelpContext);

    QMenu* upute = AddMenu(menuBar(), QStringLiteral("&Upute"), QStringLiteral("Upute1"));
    AddCommand(this, upute, QStringLiteral("Korisnikauputstva1"),
               QStringLiteral("&Korisničke upute"), QKeySequence(),
               &TForm1::Korisnikauputstva1Click);
    upute->addSeparator();
    AddCommand(this, upute, QStringLiteral("Oprogramu1"), QStringLiteral("&O programu"),
               QKeySequence(), &TForm1::Oprogramu1Click);
}

void TForm1::BuildDocumentMenu() {
    QMenu* dokument = AddMenu(menuBar(), QStringLiteral("&Dokument"), QStringLiteral("Dokument1"));
    const auto add = [this, dokument](const QString& name, const QString& caption,
                                      const QKeySequence& shortcut, void (TForm1::*handler)()) {
        return AddCommand(this, dokument, name, caption, shortcut, handler);
    };
    add(QStringLiteral("Nova1"), QStringLiteral("&Novi"), QKeySequence(Qt::CTRL | Qt::Key_N),
        &TForm1::Nova1Click);
    add(QStringLiteral("Otvori1"), QStringLiteral("&Otvori "), QKeySequence(Qt::CTRL | Qt::Key_O),
        &TForm1::Otvori1Click);
    add(QStringLiteral("Snimi1"), QStringLiteral("&Snimi "), QKeySequence(Qt::CTRL | Qt::Key_S),
        &TForm1::SnimiClick);
    add(QStringLiteral("SnimiKao1"), QStringLiteral("Snimi &kao"), QKeySequence(),
        &TForm1::SnimiKaoClick);
    dokument->addSeparator();
    add(QStringLiteral("Ispii1"), QStringLiteral("&Ispis"), QKeySequence(Qt::CTRL | Qt::Key_P),
        &TForm1::Ispii1Click);
    PregledIspisa1_ =
        add(QStringLiteral("PregledIspisa1"), QStringLiteral("&Pregled ispisa"),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), &TForm1::PregledIspisa1Click);
    IzvozPDF1_ = add(QStringLiteral("IzvozPDF1"), QStringLiteral("Izvoz u P&DF…"), QKeySequence(),
                     &TForm1::IzvozPDF1Click);
    add(QStringLiteral("IzvozSvihPDF1"), QStringLiteral("Izvoz svi&h izvješća u PDF…"),
        QKeySequence(), &TForm1::IzvozSvihPDF1Click);
    add(QStringLiteral("IzvozXlsx1"), QStringLiteral("Izvoz u E&xcel (.xlsx)…"), QKeySequence(),
        &TForm1::IzvozXlsx1Click)
        ->setProperty("helpContext", kAnalysisHelpContext);
    add(QStringLiteral("UvozObrasca1"), QStringLiteral("&Uvoz službenog obrasca (GFI-POD)…"),
        QKeySequence(), &TForm1::UvozObrasca1Click)
        ->setProperty("helpContext", kFormImportHelpContext);
    dokument->addSeparator();
    // Ctrl+Z stays the exit shortcut; the classic undo key takes back a change.
    Ponisti1_ = add(QStringLiteral("Ponisti1"), QStringLiteral("Poniš&ti"),
                    QKeySequence(Qt::ALT | Qt::Key_Backspace), &TForm1::Ponisti1Click);
    Ponovi1_ = add(QStringLiteral("Ponovi1"), QStringLiteral("Pono&vi"),
                   QKeySequence(Qt::SHIFT | Qt::ALT | Qt::Key_Backspace), &TForm1::Ponovi1Click);
    Ponisti1_->setEnabled(false);
    Ponovi1_->setEnabled(false);
    dokument->addSeparator();
    Import1_ = add(QStringLiteral("Import1"), QStringLiteral("I&mport"), QKeySequence(),
                   &TForm1::Import1Click);
    Export1_ = add(QStringLiteral("Export1"), QStringLiteral("&Export"), QKeySequence(),
                   &TForm1::Export1Click);
    Import1_->setEnabled(false);
    Export1_->setEnabled(false);
    dokument->addSeparator();
    add(QStringLiteral("Izlaz1"), QStringLiteral("I&zlaz iz programa"),
        QKeySequence(Qt::CTRL | Qt::Key_Z), &TForm1::Izlaz1Click);
}

void TForm1::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Alati"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(20, 20));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    bar->toggleViewAction()->setEnabled(false);

    auto add = [this, bar](const QString& name, const QIcon& icon, const QString& hint,
                           void (TForm1::*handler)()) {
        QAction* action = bar->addAction(icon, hint);
        action->setObjectName(name);
        action->setToolTip(hint);
        bar->widgetForAction(action)->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
    };
    add(QStringLiteral("bIzlaz"), ExitIcon(), QStringLiteral("Izlaz iz programa"),
        &TForm1::Izlaz1Click);
    bar->addSeparator();
    add(QStringLiteral("bNovi"), NewFileIcon(), QStringLiteral("Nova datoteka"),
        &TForm1::Nova1Click);
    add(QStringLiteral("bOtvori"), OpenFileIcon(), QStringLiteral("Otvori datoteku"),
        &TForm1::Otvori1Click);
    add(QStringLiteral("bSnimi"), SaveFileIcon(), QStringLiteral("Snimi datoteku"),
        &TForm1::SnimiClick);
    bar->addSeparator();
    add(QStringLiteral("bPrint"), PrinterIcon(), QStringLiteral("Ispiši aktivno izvješće"),
        &TForm1::Ispii1Click);
    bar->addSeparator();
}

void TForm1::BuildPages() {
    InstallWindowAccessibility();
    PageControl_ = new QTabWidget(this);
    PageControl_->setObjectName(QStringLiteral("PageControl"));
    PageControl_->setAccessibleName(QStringLiteral("Stranice dokumenta"));
    PageControl_->setProperty("helpContext", kWindowHelpContext);
    PageControl_->setDocumentMode(false);
    PageControl_->setUsesScrollButtons(true);
    PageControl_->setElideMode(Qt::ElideNone);

    opce_ = new GeneralDataPage(ws_.settings());
    opce_->setObjectName(QStringLiteral("tsOpce"));
    opce_->setProperty("helpContext", kWindowHelpContext);
    connect(opce_->bNext, &QPushButton::clicked, this, &TForm1::bNextClick);
    PageControl_->addTab(opce_, QStringLiteral("Opći podaci"));

    pages_ = new StatementPages(ws_, *PageControl_, this);
    ConnectStatementPages();
    setCentralWidget(PageControl_);
    PageControl_->setCurrentIndex(0);

    connect(PageControl_, &QTabWidget::currentChanged, this, &TForm1::PageControlChange);
    connect(opce_->ePoduzece, &QLineEdit::textChanged, this, &TForm1::ePoduzeceChange);
    connect(opce_->eSjediste, &QLineEdit::textChanged, this, &TForm1::eSjedisteChange);
    // A confirmed name or seat goes into the document at once, as a confirmed period does, so
    // that paper shows what the page headers show.
    for (QLineEdit* field : {opce_->ePoduzece, opce_->eSjediste}) {
        connect(field, &QLineEdit::editingFinished, this, [this] { ws_.ConfirmCompanyAndSeat(); });
    }
    for (DateField* field : {opce_->dOd, opce_->dDo}) {
        connect(field, &DateField::changed, this, [this, field] { dOdChange(field); });
        connect(field, &DateField::exited, this, [this, field] { dDoExit(field); });
        field->showError = [this](const QString& message) { dialogs_->ShowError(message); };
    }
    connect(opce_->eBrojDionica, &ShareCountField::valueChanged, this, &TForm1::eBrojDionicaChange);
    connect(opce_->cbIznos, &QComboBox::currentTextChanged, this, &TForm1::cbIznosChange);
    connect(opce_->cbIznos, &QComboBox::editTextChanged, this, &TForm1::cbIznosChange);
    connect(opce_->cbValuta, &QComboBox::activated, this, &TForm1::cbValutaChange);
}

void TForm1::ConnectStatementPages() {
    connect(pages_, &StatementPages::firstFrameShown, this, &TForm1::firstFrameShown);
    connect(pages_, &StatementPages::previousClicked, this, &TForm1::bPrevClick);
    connect(pages_, &StatementPages::nextClicked, this, &TForm1::bNextClick);
    pages_->validate = [this](Statement s, int col, int row, const std::string& text) {
        return s == Statement::Racun ? agRacunCellValidate(col, row, text)
                                     : agBilancaCellValidate(col, row, text);
    };
    connect(pages_, &StatementPages::editRefused, this, &TForm1::ShowAmountRefusal);
    connect(pages_, &StatementPages::inputRefused, this, [this](const QString& text) {
        refusalShown_ = false;
        panels_->ShowNote(
            QString::fromStdString(RefusedCharactersNote(text.toStdString(), ws_.settings())));
    });
    connect(pages_, &StatementPages::inputNotTaken, this, [this](int column) {
        refusalShown_ = false;
        panels_->ShowNote(
            column < 3 ? QStringLiteral("Ovdje se ne upisuje: iznosi se upisuju u stupce iznosa.")
                       : QStringLiteral("Ovdje se ne upisuje: ovaj se iznos računa sam."));
    });
}

void TForm1::BuildStatementPages() {
    pages_->Build();
}

bool TForm1::statementPagesBuilt() const {
    return pages_->built();
}

// ---------------------------------------------------------------------------------------------
// Showing the workspace

StatementGrid* TForm1::Grid(Statement s) {
    return pages_->Grid(s);
}

std::optional<Statement> TForm1::ShowingStatement() const {
    const int index = PageControl_->currentIndex();
    if (index < 1 || index > static_cast<int>(kAllStatements.size())) {
        return std::nullopt;
    }
    return kAllStatements[static_cast<std::size_t>(index - 1)];
}

void TForm1::ShowWarning() {
    panels_->ShowWarning(QString::fromStdString(ws_.warning()),
                         QString::fromStdString(ws_.WarningDetails()));
}

void TForm1::ShowRecalculated() {
    pages_->Refresh();
    ShowWarning();
    UpdateUndoActions();
}

void TForm1::ShowRestored() {
    // A step restores the general data, the currency and the unit with the amounts: the fields,
    // the grids, the captions and the status bar all show the restored state.
    ShowGeneralData();
    ShowRecalculated();
    // A note about what was taken back or made again (an import, a conversion, a period that
    // changed the currency) no longer describes the document.
    panels_->HideNote();
    refusalShown_ = false;
}

void TForm1::UpdateUndoActions() {
    Ponisti1_->setEnabled(ws_.CanUndo());
    Ponovi1_->setEnabled(ws_.CanRedo());
}

void TForm1::Ponisti1Click() {
    // An open cell edit is settled first: it is the last change then, and the one taken back.
    if (SettleEdits() && ws_.Undo()) {
        ShowRestored();
    }
}

void TForm1::Ponovi1Click() {
    if (SettleEdits() && ws_.Redo()) {
        ShowRestored();
    }
}

void TForm1::ShowNewDocument() {
    // Another document: columns widened for the last one's figures go back to their widths.
    pages_->ResetColumnWidths();
    pages_->Refresh();
    lock_.Release();  // an untitled document has no file to hold
    readOnly_ = false;
    SetFilePanel({});
    ShowGeneralData();
    ShowWarning();
    UpdateUndoActions();
}

void TForm1::ShowGeneralData() {
    const GeneralData g = ws_.fields();
    opce_->ePoduzece->setText(QString::fromStdString(g.Poduzece));
    opce_->eSjediste->setText(QString::fromStdString(g.Sjediste));
    opce_->dOd->setValue(g.DatumOd);
    opce_->dDo->setValue(g.DatumDo);
    {
        // The workspace has already run the refresh cycle that a changed share count calls for.
        const QSignalBlocker quiet(opce_->eBrojDionica);
        opce_->eBrojDionica->setValue(g.BrojDionica);
    }
    ShowCurrency();
}

// ---------------------------------------------------------------------------------------------
// Field and page events

void TForm1::ePoduzeceChange() {
    ws_.SetCompany(opce_->ePoduzece->text().toStdString());
    pages_->ShowCompany(opce_->ePoduzece->text());
    UpdateUndoActions();
}

void TForm1::eSjedisteChange() {
    ws_.SetSeat(opce_->eSjediste->text().toStdString());
    pages_->ShowSeat(opce_->eSjediste->text());
    UpdateUndoActions();
}

void TForm1::dOdChange(DateField* source) {
    pages_->ShowPeriod(opce_->dOd->text(), opce_->dDo->text());
    ws_.SetPeriod(opce_->dOd->value(), opce_->dDo->value());
    pages_->Refresh(Statement::Bilanca);
    if (source != nullptr) {
        source->setPendingRefresh(true);
    }
}

void TForm1::dDoExit(DateField* source) {
    if (source == nullptr) {
        return;
    }
    if (source->pendingRefresh()) {
        // A period across 1 January 2023 changes the currency it implies, and the unit with it.
        const std::string note = ws_.ConfirmPeriod();
        ShowCurrency();
        ShowRecalculated();
        if (!note.empty()) {
            panels_->ShowNote(QString::fromStdString(note));
        }
    }
    source->setPendingRefresh(false);
}

void TForm1::eBrojDionicaChange() {
    ws_.SetShareCount(opce_->eBrojDionica->value());
    ShowRecalculated();
}

void TForm1::cbIznosChange() {
    panels_->ShowUnit(opce_->cbIznos->currentText());
    ws_.SetUnitText(opce_->cbIznos->currentText().toStdString());
}

void TForm1::cbValutaChange(int index) {
    ws_.SetCurrency(index == 0 ? Valuta::Eur : Valuta::Hrk);
    ShowCurrency();
    // The captions of the amounts per share follow the currency.
    pages_->Refresh();
    UpdateUndoActions();
}

void TForm1::ShowCurrency() {
    const QString unit = QString::fromStdString(ws_.unitText());
    opce_->ShowCurrency(ws_.currency(), unit);
    panels_->ShowUnit(unit);
}

void TForm1::PageControlChange() {
    // A note about the page left (nothing to print there, a refused amount) no longer applies.
    if (panels_ != nullptr) {
        panels_->HideNote();
        refusalShown_ = false;
    }
    const auto s = ShowingStatement();
    if (s) {
        pages_->Build();
    }
    // A page changed from the keyboard (Ctrl+Tab) takes the keyboard with it: the focus left on
    // the hidden page goes to the shown page's grid or first field, so typing never goes astray.
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && focus->window() == this && focus != PageControl_->tabBar() &&
        !PageControl_->currentWidget()->isAncestorOf(focus) && PageControl_->isAncestorOf(focus)) {
        QWidget* page = PageControl_->currentWidget();  // the "Bonitet" page gives its tree
        (s ? Grid(*s) : page == opce_ ? opce_->ePoduzece : page)->setFocus(Qt::TabFocusReason);
    }
    Import1_->setEnabled(s.has_value() && FactsOf(*s).imports);
    Export1_->setEnabled(s.has_value());
    const bool report = s.has_value() || PageControl_->currentWidget() == pages_->scores();
    PregledIspisa1_->setEnabled(report);
    IzvozPDF1_->setEnabled(report);
}

void TForm1::bPrevClick() {
    if (!SettleCellEdit()) {
        return;
    }
    const int index = PageControl_->currentIndex();
    if (index > 0) {
        PageControl_->setCurrentIndex(index - 1);
    }
}

void TForm1::bNextClick() {
    if (!SettleCellEdit()) {
        return;
    }
    const int index = PageControl_->currentIndex();
    if (index + 1 < PageControl_->count()) {
        PageControl_->setCurrentIndex(index + 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Cell validation

std::optional<std::string> TForm1::agBilancaCellValidate(int col, int row,
                                                         const std::string& text) {
    return ValidateAmount(Statement::Bilanca, col, row, text);
}

std::optional<std::string> TForm1::agRacunCellValidate(int col, int row, const std::string& text) {
    return ValidateAmount(Statement::Racun, col, row, text);
}

std::optional<std::string> TForm1::ValidateAmount(Statement s, int col, int row,
                                                  const std::string& text) {
    const std::optional<std::string> stored = ws_.EditAmount(s, col, row, text);
    if (stored) {
        // A refusal shown before is settled now (a note of dropped characters stays in sight).
        if (refusalShown_) {
            panels_->HideNote();
            refusalShown_ = false;
        }
        ShowRecalculated();
    }
    return stored;
}

void TForm1::ShowAmountRefusal(StatementGrid* grid, const QString& typed) {
    std::string reason = AmountRefusal(typed.toStdString(), ws_.settings());
    if (reason.empty()) {
        reason = AmountRuleMessage(ws_.settings());
    }
    const QString note = QString::fromStdString(reason);
    panels_->ShowNote(note);
    refusalShown_ = true;
    if (const QLineEdit* editor = grid->cellEditor(); editor != nullptr && editor->isVisible()) {
        QToolTip::showText(editor->mapToGlobal(QPoint(0, editor->height())), note,
                           grid->viewport());
    }
}

// Printing: ui/PrintCommands.cpp; help and the About box: HelpCommands.cpp.
void TForm1::Ispii1Click() {
    if (!SettleEdits()) {
        return;
    }
    // The active page's name chooses the report (none on the general-data page).
    const auto s = StatementOfPage(PageControl_->currentWidget()->objectName().toStdString());
    if (!s && PageControl_->currentWidget() != pages_->scores()) {
        panels_->ShowNote(QStringLiteral("Na ovoj stranici nema izvješća za ispis"));
    }
    print_->Ispii1Click(s);
}
void TForm1::PregledIspisa1Click() {
    if (SettleEdits()) {
        print_->PregledIspisaClick(ShowingStatement());
    }
}
void TForm1::IzvozPDF1Click() {
    const auto s = ShowingStatement();
    if ((s || PageControl_->currentWidget() == pages_->scores()) && SettleEdits()) {
        print_->IzvozPdfClick(s);
    }
}
void TForm1::IzvozXlsx1Click() {
    if (!SettleEdits()) {
        return;
    }
    ExportWorkbook(ws_, *dialogs_, ws_.unitText(), *writer_, print_->Main());
}

ChartPrinter TForm1::ChartPrinting() {
    return
        [this](const QByteArray& pdf, const QString& jobName, QWidget* window, OutcomeShown shown) {
            print_->PrintChart(pdf, jobName, print_->InWindow(window, std::move(shown)));
        };
}

void TForm1::Grafikoni1Click() {
    if (!SettleEdits()) {
        return;
    }
    OpenDocumentCharts(ws_, *dialogs_, ChartPrinting(), this);
}

void TForm1::PreracunajUEure1Click() {
    if (!SettleEdits()) {
        return;
    }
    if (ConvertToEuroAsked(ws_, *dialogs_)) {
        ShowCurrency();
        ShowRecalculated();
        panels_->ShowNote(
            QString::fromUtf8(kConvertedNote.data(), qsizetype(kConvertedNote.size())));
    }
}

void TForm1::IzvozSvihPDF1Click() {
    if (SettleEdits()) {
        print_->IzvozPdfClick(std::nullopt);
    }
}

}  // namespace movik
