#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "document/Csv.h"
#include "model/Calculations.h"
#include "model/NumberFormat.h"
#include "movik/Version.h"
#include "regional/Regional.h"
#include "ui/DateField.h"
#include "ui/GeneralDataPage.h"
#include "ui/ShareCountField.h"
#include "ui/StatementGrid.h"
#include "ui/StatementGridModel.h"

namespace movik {

namespace {

const QString kSaveQuestion = QStringLiteral("Želite li snimiti izmjene?");
const QString kFilePanelPrefix = QStringLiteral("Datoteka: ");
const QString kUnitPanelPrefix = QStringLiteral("Iznosi u ");
constexpr int kMenuHelpContext = 10;
constexpr int kNoteMilliseconds = 10000;

std::size_t IndexOf(Statement s) {
    return static_cast<std::size_t>(s);
}

QString FromPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}
std::string ToPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

FileDialogSpec DocumentDialog(const QString& id, const QString& title, const QString& proposed) {
    return {id,
            title,
            {{QStringLiteral("Movik baza (*.mvk)"), QStringLiteral("*.mvk")},
             {QStringLiteral("Sve datoteke (*.*)"), QStringLiteral("*")}},
            proposed,
            QStringLiteral("mvk")};
}

// A dialog of the semicolon-separated files, proposing the statement's default name.
FileDialogSpec CsvDialog(const QString& id, const QString& title, const QString& csvLabel,
                         Statement s) {
    return {id,
            title,
            {{csvLabel, QStringLiteral("*.csv")},
             {QStringLiteral("Sve datoteke (*.*)"), QStringLiteral("*")}},
            QString::fromStdString(DefaultCsvName(s)),
            QStringLiteral("csv")};
}

QIcon PrinterIcon() {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(50, 50, 50));
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
    return QIcon(pixmap);
}

// A status bar panel: a text too long for it is shown shortened (with "…"), its whole text
// stays the label's text.
class StatusPanel : public QLabel {
  public:
    StatusPanel(Qt::TextElideMode mode, QWidget* parent) : QLabel(parent), mode_(mode) {}

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        drawFrame(&painter);
        const QRect area = contentsRect();
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(area, int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine),
                         fontMetrics().elidedText(text(), mode_, area.width()));
    }

  private:
    Qt::TextElideMode mode_;
};

QLabel* MakePanel(const QString& name, Qt::TextElideMode mode, QWidget* parent) {
    auto* panel = new StatusPanel(mode, parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setContentsMargins(3, 0, 3, 0);
    return panel;
}

}  // namespace

TForm1::TForm1(std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QMainWindow(parent),
      ws_(RegionalFromLocale(), QDate::currentDate().year()),
      dialogs_(std::move(dialogs)),
      writer_(MakeSystemFileWriter()) {
    if (!dialogs_) {
        dialogs_ = std::make_unique<QtDialogs>(this);
    }
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kProgramTitle));

    BuildMenus();
    BuildToolBar();
    BuildPages();
    BuildStatusBar();
    // Wide enough for every tab caption, as far as the screen allows.
    QSize size(std::max(760, PageControl_->tabBar()->sizeHint().width() + 24), 680);
    if (const QScreen* screen = this->screen()) {
        size = size.boundedTo(screen->availableSize());
    }
    resize(size);

    // FormCreate: a new document from the templates, shown.
    PushFields();
    ws_.NewDocument();
    ShowNewDocument();
    ws_.document().Izmijenjen = false;
    PageControlChange();
    // The cursor waits in the first field of the first page.
    opce_->ePoduzece->setFocus(Qt::OtherFocusReason);
    // The exit shortcut must reach the menu even from a text field, which would take Ctrl+Z as
    // undo.
    qApp->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Z)) {
            // Not accepted: the widget does not take the key, the window's shortcut does.
            event->ignore();
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

void TForm1::BuildMenus() {
    auto add = [this](QMenu* menu, const QString& name, const QString& caption,
                      const QKeySequence& shortcut, void (TForm1::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        if (!shortcut.isEmpty()) {
            action->setShortcut(shortcut);
        }
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu* dokument = menuBar()->addMenu(QStringLiteral("&Dokument"));
    dokument->setObjectName(QStringLiteral("Dokument1"));
    dokument->setProperty("helpContext", kMenuHelpContext);
    add(dokument, QStringLiteral("Nova1"), QStringLiteral("&Novi"),
        QKeySequence(Qt::CTRL | Qt::Key_N), &TForm1::Nova1Click);
    add(dokument, QStringLiteral("Otvori1"), QStringLiteral("&Otvori "),
        QKeySequence(Qt::CTRL | Qt::Key_O), &TForm1::Otvori1Click);
    add(dokument, QStringLiteral("Snimi1"), QStringLiteral("&Snimi "),
        QKeySequence(Qt::CTRL | Qt::Key_S), &TForm1::SnimiClick);
    add(dokument, QStringLiteral("SnimiKao1"), QStringLiteral("Snimi &kao"), QKeySequence(),
        &TForm1::SnimiKaoClick);
    dokument->addSeparator();
    add(dokument, QStringLiteral("Ispii1"), QStringLiteral("&Ispis"),
        QKeySequence(Qt::CTRL | Qt::Key_P), &TForm1::Ispii1Click);
    dokument->addSeparator();
    Import1_ = add(dokument, QStringLiteral("Import1"), QStringLiteral("I&mport"), QKeySequence(),
                   &TForm1::Import1Click);
    Export1_ = add(dokument, QStringLiteral("Export1"), QStringLiteral("&Export"), QKeySequence(),
                   &TForm1::Export1Click);
    Import1_->setEnabled(false);
    Export1_->setEnabled(false);
    dokument->addSeparator();
    add(dokument, QStringLiteral("Izlaz1"), QStringLiteral("I&zlaz iz programa"),
        QKeySequence(Qt::CTRL | Qt::Key_Z), &TForm1::Izlaz1Click);

    QMenu* upute = menuBar()->addMenu(QStringLiteral("&Upute"));
    upute->setObjectName(QStringLiteral("Upute1"));
    upute->setProperty("helpContext", kMenuHelpContext);
    add(upute, QStringLiteral("Korisnikauputstva1"), QStringLiteral("&Korisničke upute"),
        QKeySequence(), &TForm1::Korisnikauputstva1Click);
    upute->addSeparator();
    add(upute, QStringLiteral("Oprogramu1"), QStringLiteral("&O programu"), QKeySequence(),
        &TForm1::Oprogramu1Click);
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
    QStyle* s = style();
    add(QStringLiteral("bIzlaz"), s->standardIcon(QStyle::SP_DialogCloseButton),
        QStringLiteral("Izlaz iz programa"), &TForm1::Izlaz1Click);
    bar->addSeparator();
    add(QStringLiteral("bNovi"), s->standardIcon(QStyle::SP_FileIcon),
        QStringLiteral("Nova datoteka"), &TForm1::Nova1Click);
    add(QStringLiteral("bOtvori"), s->standardIcon(QStyle::SP_DialogOpenButton),
        QStringLiteral("Otvori datoteku"), &TForm1::Otvori1Click);
    add(QStringLiteral("bSnimi"), s->standardIcon(QStyle::SP_DialogSaveButton),
        QStringLiteral("Snimi datoteku"), &TForm1::SnimiClick);
    bar->addSeparator();
    add(QStringLiteral("bPrint"), PrinterIcon(), QStringLiteral("Ispiši aktivno izvješće"),
        &TForm1::Ispii1Click);
    bar->addSeparator();
}

void TForm1::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("pBottom"));
    bar->setSizeGripEnabled(true);
    pIme_ = MakePanel(QStringLiteral("pIme"), Qt::ElideMiddle, bar);
    pIme_->setFixedWidth(300);
    pUpozorenje_ = MakePanel(QStringLiteral("pUpozorenje"), Qt::ElideRight, bar);
    // 221 pixels, or what the longer warning needs in this font.
    int warningWidth = 0;
    for (const std::string_view w : {kWarningBalance, kWarningNetResult, kWarningPeriod}) {
        warningWidth =
            std::max(warningWidth, pUpozorenje_->fontMetrics().horizontalAdvance(
                                       QString::fromUtf8(w.data(), qsizetype(w.size()))));
    }
    const QMargins margins = pUpozorenje_->contentsMargins();
    warningWidth += margins.left() + margins.right() + 2;
    pUpozorenje_->setFixedWidth(std::max(221, warningWidth));
    pIznos_ = MakePanel(QStringLiteral("pIznos"), Qt::ElideRight, bar);
    pIznos_->setMinimumWidth(60);
    pIznos_->setText(kUnitPanelPrefix + QStringLiteral("kunama i lipama"));
    // Normal (not permanent) widgets, so that a passing message (after an import) can take the
    // whole bar for a moment.
    bar->addWidget(pIme_);
    bar->addWidget(pUpozorenje_);
    bar->addWidget(pIznos_, 1);
}

QWidget* TForm1::BuildStatementPage(Statement s, const QString& pageName, const QString& title,
                                    const QString& titleName, const QString& companyName,
                                    const QString& seatName, const QString& periodName,
                                    bool hasPrev, bool hasNext) {
    auto* page = new QWidget;
    page->setObjectName(pageName);

    auto* titleLabel = new QLabel(title, page);
    titleLabel->setObjectName(titleName);
    QFont titleFont = titleLabel->font();
    titleFont.setPointSize(titleFont.pointSize() + 4);
    titleFont.setBold(true);
    titleLabel->setFont(titleFont);
    titleLabel->setAlignment(Qt::AlignCenter);

    auto* company = new QLabel(QString(20, u'_'), page);
    company->setObjectName(companyName);
    QFont bold = company->font();
    bold.setBold(true);
    company->setFont(bold);
    auto* seat = new QLabel(QString(10, u'_'), page);
    seat->setObjectName(seatName);
    // Long names must not push the centred title aside.
    for (QLabel* l : {company, seat}) {
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        l->setMinimumWidth(40);
    }
    companyLabels_[IndexOf(s)] = company;
    seatLabels_[IndexOf(s)] = seat;

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
        const std::size_t index = IndexOf(s) - 1;  // Racun, CFInd, CFFree, Pok
        periodLabels_[index] = period;
    }
    // The grid is made before the navigation buttons so that it comes first in the page's tab
    // order: a page change puts the cursor in the grid, not on "<<".
    auto* grid = new StatementGrid(s, ws_.grids().of(s), page);
    static const std::array<QString, 5> gridNames = {
        QStringLiteral("agBilanca"), QStringLiteral("agRacun"), QStringLiteral("agCFInd"),
        QStringLiteral("agCFFree"), QStringLiteral("agPokazatelji")};
    grid->setObjectName(gridNames[IndexOf(s)]);
    grids_[IndexOf(s)] = grid;

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addStretch(1);
    const QString suffix = pageName.mid(2);
    if (hasPrev) {
        auto* prev = new QPushButton(QStringLiteral("<<"), page);
        prev->setObjectName(QStringLiteral("bPrev") + suffix);
        prev->setFixedWidth(40);
        prev->setFocusPolicy(Qt::TabFocus);
        connect(prev, &QPushButton::clicked, this, &TForm1::bPrevClick);
        buttons->addWidget(prev);
    }
    if (hasNext) {
        auto* next = new QPushButton(QStringLiteral(">>"), page);
        next->setObjectName(QStringLiteral("bNext") + suffix);
        next->setFixedWidth(40);
        next->setFocusPolicy(Qt::TabFocus);
        connect(next, &QPushButton::clicked, this, &TForm1::bNextClick);
        buttons->addWidget(next);
    }
    strip->addLayout(buttons, 0, 2, Qt::AlignTop);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(strip);
    layout->addSpacing(4);
    layout->addWidget(grid, 1);
    return page;
}

void TForm1::BuildPages() {
    PageControl_ = new QTabWidget(this);
    PageControl_->setObjectName(QStringLiteral("PageControl"));
    PageControl_->setProperty("helpContext", 1);
    PageControl_->setDocumentMode(false);
    PageControl_->setUsesScrollButtons(true);
    PageControl_->setElideMode(Qt::ElideNone);

    opce_ = new GeneralDataPage(ws_.settings());
    opce_->setObjectName(QStringLiteral("tsOpce"));
    opce_->setProperty("helpContext", 1);
    connect(opce_->bNext, &QPushButton::clicked, this, &TForm1::bNextClick);
    PageControl_->addTab(opce_, QStringLiteral("Opći podaci"));

    struct PageDef {
        Statement s;
        const char* page;
        const char* caption;
        const char* title;
        const char* titleName;
        const char* company;
        const char* seat;
        const char* period;
        int help;
    };
    const PageDef pages[] = {
        {Statement::Bilanca, "tsBilanca", "Bilanca", "Bilanca", "lBilancaNaslov",
         "lPoduzeceBilanca", "lSjedisteBilanca", "", 1},
        {Statement::Racun, "tsRacun", "Račun dobiti i gubitka", "Račun dobiti i gubitka", "lRacun",
         "lPoduzeceRacun", "lSjedisteRacun", "lRazdoblje", 1},
        {Statement::CFInd, "tsCFInd", "Indirektna metoda novčanog toka",
         "Indirektna metoda novčanog toka", "lCFInd", "lPoduzeceCFInd", "lSjedisteCFInd",
         "lIndRazd", 4},
        {Statement::CFFree, "tsCFFree", "Metoda slobodnog novčanog toka",
         "Metoda slobodnog novčanog toka", "lCFFree", "lPoduzeceCFFree", "lSjedisteCFFree",
         "lFreeRazd", 5},
        {Statement::Pok, "tsPokazatelji", "Pokazatelji", "Financijski pokazatelji", "lPokNaslov",
         "lPoduzecePok", "lSjedistePok", "lPokRazd", 1},
    };
    for (const PageDef& d : pages) {
        QWidget* page = BuildStatementPage(
            d.s, QString::fromUtf8(d.page), QString::fromUtf8(d.title),
            QString::fromUtf8(d.titleName), QString::fromUtf8(d.company), QString::fromUtf8(d.seat),
            QString::fromUtf8(d.period), true, d.s != Statement::Pok);
        page->setProperty("helpContext", d.help);
        PageControl_->addTab(page, QString::fromUtf8(d.caption));
    }
    lBilancaNaslov_ = PageControl_->findChild<QLabel*>(QStringLiteral("lBilancaNaslov"));
    setCentralWidget(PageControl_);
    PageControl_->setCurrentIndex(0);

    grids_[IndexOf(Statement::Bilanca)]->validate = [this](int col, int row,
                                                           const std::string& text) {
        return agBilancaCellValidate(col, row, text);
    };
    grids_[IndexOf(Statement::Racun)]->validate = [this](int col, int row,
                                                         const std::string& text) {
        return agRacunCellValidate(col, row, text);
    };

    connect(PageControl_, &QTabWidget::currentChanged, this, &TForm1::PageControlChange);
    connect(opce_->ePoduzece, &QLineEdit::textChanged, this, &TForm1::ePoduzeceChange);
    connect(opce_->eSjediste, &QLineEdit::textChanged, this, &TForm1::eSjedisteChange);
    for (DateField* field : {opce_->dOd, opce_->dDo}) {
        connect(field, &DateField::changed, this, [this, field] { dOdChange(field); });
        connect(field, &DateField::exited, this, [this, field] { dDoExit(field); });
        field->showError = [this](const QString& message) { dialogs_->ShowError(message); };
    }
    connect(opce_->eBrojDionica, &ShareCountField::valueChanged, this, &TForm1::eBrojDionicaChange);
    connect(opce_->cbIznos, &QComboBox::currentTextChanged, this, &TForm1::cbIznosChange);
    connect(opce_->cbIznos, &QComboBox::editTextChanged, this, &TForm1::cbIznosChange);
}

// ---------------------------------------------------------------------------------------------
// Showing the workspace

StatementGrid* TForm1::Grid(Statement s) const {
    return grids_[IndexOf(s)];
}

std::optional<Statement> TForm1::ShowingStatement() const {
    const int index = PageControl_->currentIndex();
    if (index < 1 || index > static_cast<int>(kAllStatements.size())) {
        return std::nullopt;
    }
    return kAllStatements[static_cast<std::size_t>(index - 1)];
}

void TForm1::RefreshGrids() {
    for (StatementGrid* grid : grids_) {
        grid->refresh();
    }
    FitValueColumns();
}

void TForm1::FitValueColumns() {
    // The value columns keep their designed widths; one that is too narrow for an amount (tens
    // of millions in the balance sheet's narrow column) grows so that no figure is cut short.
    // Columns never shrink, so a width the user chose stays.
    for (Statement s : kAllStatements) {
        StatementGrid* grid = Grid(s);
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

void TForm1::SetFilePanel(const QString& path) {
    pIme_->setText(path.isEmpty() ? QString() : kFilePanelPrefix + path);
    pIme_->setToolTip(path);
}

void TForm1::ShowWarning() {
    const QString warning = QString::fromStdString(ws_.warning());
    QPalette palette = pUpozorenje_->palette();
    palette.setColor(QPalette::WindowText,
                     warning.isEmpty() ? QColor(Qt::black) : QColor(255, 0, 0));
    pUpozorenje_->setPalette(palette);
    pUpozorenje_->setText(warning);
    pUpozorenje_->setToolTip(QString::fromStdString(ws_.WarningDetails()));
}

void TForm1::PushFields() {
    GeneralData& f = ws_.fields();
    f.Poduzece = opce_->ePoduzece->text().toStdString();
    f.Sjediste = opce_->eSjediste->text().toStdString();
    f.DatumOd = opce_->dOd->value();
    f.DatumDo = opce_->dDo->value();
    f.BrojDionica = opce_->eBrojDionica->value();
}

void TForm1::RunRefreshCycle() {
    PushFields();
    ws_.RefreshCycle();
    RefreshGrids();
    ShowWarning();
}

void TForm1::ResetColumnWidths() {
    for (Statement s : kAllStatements) {
        Grid(s)->resetColumnWidths();
        measuredLength_[IndexOf(s)].fill(0);
    }
}

void TForm1::ShowNewDocument() {
    // Another document: columns widened for the last one's figures go back to their widths.
    ResetColumnWidths();
    RefreshGrids();
    SetFilePanel({});
    ShowGeneralData();
    ShowWarning();
}

void TForm1::ShowGeneralData() {
    const GeneralData g = GeneralDataOf(ws_.document());
    opce_->ePoduzece->setText(QString::fromStdString(g.Poduzece));
    opce_->eSjediste->setText(QString::fromStdString(g.Sjediste));
    opce_->dOd->setValue(g.DatumOd);
    opce_->dDo->setValue(g.DatumDo);
    {
        // The workspace has already run the refresh cycle that a changed share count calls for.
        const QSignalBlocker quiet(opce_->eBrojDionica);
        opce_->eBrojDionica->setValue(g.BrojDionica);
    }
    PushFields();
}

// ---------------------------------------------------------------------------------------------
// Field and page events

void TForm1::ePoduzeceChange() {
    ws_.document().Izmijenjen = true;
    for (QLabel* label : companyLabels_) {
        label->setText(opce_->ePoduzece->text());
    }
}

void TForm1::eSjedisteChange() {
    ws_.document().Izmijenjen = true;
    for (QLabel* label : seatLabels_) {
        label->setText(opce_->eSjediste->text());
    }
}

void TForm1::dOdChange(DateField* source) {
    const QString period = QStringLiteral("za razdoblje od ") + opce_->dOd->text() +
                           QStringLiteral(" do ") + opce_->dDo->text();
    for (QLabel* label : periodLabels_) {
        label->setText(period);
    }
    lBilancaNaslov_->setText(QStringLiteral("Bilanca"));
    SetBilancaHeaderDates(ws_.grids(), opce_->dDo->value(), ws_.settings());
    Grid(Statement::Bilanca)->refresh();
    if (source != nullptr) {
        source->setPendingRefresh(true);
    }
}

void TForm1::dDoExit(DateField* source) {
    if (source == nullptr) {
        return;
    }
    if (source->pendingRefresh()) {
        // A period that really changed is the user's data, to be saved or asked about.
        const TDokument& doc = ws_.document();
        const bool changed =
            opce_->dOd->value() != doc.DatumOd || opce_->dDo->value() != doc.DatumDo;
        RunRefreshCycle();
        if (changed) {
            ws_.document().Izmijenjen = true;
        }
    }
    source->setPendingRefresh(false);
}

void TForm1::eBrojDionicaChange() {
    RunRefreshCycle();
    ws_.document().Izmijenjen = true;
}

void TForm1::cbIznosChange() {
    pIznos_->setText(kUnitPanelPrefix + opce_->cbIznos->currentText());
}

void TForm1::PageControlChange() {
    const auto s = ShowingStatement();
    Import1_->setEnabled(s == Statement::Bilanca || s == Statement::Racun);
    Export1_->setEnabled(s.has_value());
}

void TForm1::bPrevClick() {
    const int index = PageControl_->currentIndex();
    if (index > 0) {
        PageControl_->setCurrentIndex(index - 1);
    }
}

void TForm1::bNextClick() {
    const int index = PageControl_->currentIndex();
    if (index + 1 < PageControl_->count()) {
        PageControl_->setCurrentIndex(index + 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Cell validation

std::optional<std::string> TForm1::ValidateAmount(GridTexts& texts, int col, int row,
                                                  const std::string& text) {
    const RegionalSettings& rs = ws_.settings();
    if (!IsAmountText(text, rs)) {
        return std::nullopt;
    }
    const double amount = AmountFromText(text, rs);
    if (!std::isfinite(amount)) {
        return std::nullopt;
    }
    const std::string formatted = FormatNumber(amount, AmountFormat, rs);
    texts.cell(col, row) = formatted;
    RunRefreshCycle();
    ws_.document().Izmijenjen = true;
    return formatted;
}

std::optional<std::string> TForm1::agBilancaCellValidate(int col, int row,
                                                         const std::string& text) {
    if (col != 3 && col != 5) {
        return text;
    }
    return ValidateAmount(ws_.grids().Bilanca, col, row, text);
}

std::optional<std::string> TForm1::agRacunCellValidate(int col, int row, const std::string& text) {
    if (col != 3) {
        return text;
    }
    return ValidateAmount(ws_.grids().Racun, col, row, text);
}

// ---------------------------------------------------------------------------------------------
// Document commands

void TForm1::CommitEdits() {
    for (Statement s : {Statement::Bilanca, Statement::Racun}) {
        Grid(s)->commitEdit();
    }
}

bool TForm1::DatesAcceptable() {
    return opce_->dOd->CheckText() && opce_->dDo->CheckText();
}

bool TForm1::CanDropChanges() {
    CommitEdits();
    if (!ws_.document().Izmijenjen) {
        return true;
    }
    switch (dialogs_->Ask(kSaveQuestion)) {
        case Answer::Yes: {
            // Go on only when the changes are really in a file.
            if (ws_.document().ImeDatoteke.empty()) {
                return SaveAs();
            }
            return SaveDocument();
        }
        case Answer::No:
            return true;
        case Answer::Cancel:
            break;
    }
    return false;
}

void TForm1::Nova1Click() {
    if (!CanDropChanges()) {
        return;
    }
    PushFields();
    ws_.NewDocument();
    ShowNewDocument();
    ws_.document().Izmijenjen = false;
}

void TForm1::Otvori1Click() {
    if (!CanDropChanges()) {
        return;
    }
    const auto path = dialogs_->ChooseOpenFile(
        DocumentDialog(QStringLiteral("OpenDialog1"), QStringLiteral("Otvori"), {}));
    if (!path) {
        return;
    }
    OpenDocument(*path);
}

void TForm1::SnimiClick() {
    CommitEdits();
    if (!DatesAcceptable()) {
        return;
    }
    if (ws_.document().ImeDatoteke.empty()) {
        SaveAs();
    } else {
        SaveDocument();
    }
}

void TForm1::SnimiKaoClick() {
    SaveAs();
}

bool TForm1::SaveAs() {
    if (!DatesAcceptable()) {
        return false;
    }
    const std::string previous = ws_.document().ImeDatoteke;
    const auto path = dialogs_->ChooseSaveFile(DocumentDialog(
        QStringLiteral("SaveDialog1"), QStringLiteral("Snimi kao"), FromPath(previous)));
    if (!path) {
        return false;
    }
    ws_.document().ImeDatoteke = ToPath(AddDefaultExtension(*path, QStringLiteral("mvk")));
    if (!SaveDocument()) {
        // The document stays bound to the file it came from, as the file panel says.
        ws_.document().ImeDatoteke = previous;
        return false;
    }
    return true;
}

bool TForm1::SaveDocument() {
    CommitEdits();
    if (!DatesAcceptable()) {
        return false;
    }
    PushFields();
    if (const Result saved = ws_.SaveDocument(*writer_); !saved) {
        dialogs_->ShowError(QString::fromStdString(saved.message()));
        return false;
    }
    SetFilePanel(FromPath(ws_.document().ImeDatoteke));
    if (!ws_.warning().empty()) {
        dialogs_->Inform(QString::fromStdString(ws_.warning()), kMenuHelpContext);
    }
    return true;
}

void TForm1::OpenDocument(const QString& path) {
    std::string error;
    // The workspace compares the document with what the fields show.
    PushFields();
    const OpenResult result = ws_.OpenDocument(ToPath(path), error);
    if (result == OpenResult::Missing) {
        return;
    }
    if (result == OpenResult::Failed) {
        dialogs_->ShowError(QString::fromStdString(error));
        return;
    }
    SetFilePanel(path);
    ResetColumnWidths();
    RefreshGrids();
    ShowGeneralData();
    ws_.document().Izmijenjen = false;
    // The workspace has checked the document as read.
    ShowWarning();
    if (!ws_.warning().empty()) {
        dialogs_->Inform(QString::fromStdString(ws_.warning()), kMenuHelpContext);
    }
}

void TForm1::Izlaz1Click() {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (CanDropChanges()) {
        event->accept();
    } else {
        event->ignore();
    }
}

// Printing, help and the About box arrive with their own parts of the program.
void TForm1::Ispii1Click() {}
void TForm1::Korisnikauputstva1Click() {}
void TForm1::Oprogramu1Click() {}

// ---------------------------------------------------------------------------------------------
// Export and import

void TForm1::Export1Click() {
    ExportCsv();
}
void TForm1::Import1Click() {
    ImportCsv();
}

void TForm1::ExportCsv() {
    CommitEdits();
    const auto s = ShowingStatement();
    if (!s) {
        return;
    }
    const auto path =
        dialogs_->ChooseSaveFile(CsvDialog(QStringLiteral("CSVSave"), QStringLiteral("Snimi kao"),
                                           QStringLiteral("Comma separated values (*.csv)"), *s));
    if (!path) {
        return;
    }
    const std::string bytes = ws_.ExportCsv(*s);
    const Result written =
        writer_->WriteWhole(ToPath(AddDefaultExtension(*path, QStringLiteral("csv"))),
                            std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    if (!written) {
        dialogs_->ShowError(QString::fromStdString(written.message()));
    }
}

void TForm1::ImportCsv() {
    CommitEdits();
    const auto s = ShowingStatement();
    if (s != Statement::Bilanca && s != Statement::Racun) {
        return;
    }
    const auto path =
        dialogs_->ChooseOpenFile(CsvDialog(QStringLiteral("CSVOpen"), QStringLiteral("Otvori"),
                                           QStringLiteral("Comma delimited (*.csv)"), *s));
    if (!path) {
        return;
    }
    std::string bytes;
    if (const Result read = ReadImportFile(ToPath(*path), *s, bytes); !read) {
        dialogs_->ShowError(QString::fromStdString(read.message()));
        return;
    }
    PushFields();
    std::string note;
    const Result imported = ws_.ImportCsv(*s, bytes, &note);
    RefreshGrids();
    ShowWarning();
    if (!imported) {
        dialogs_->ShowError(QString::fromStdString(imported.message()));
    } else if (!note.empty()) {
        statusBar()->showMessage(QString::fromStdString(note), kNoteMilliseconds);
    }
}

}  // namespace movik
