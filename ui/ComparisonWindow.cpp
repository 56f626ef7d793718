#include "ui/ComparisonWindow.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <set>
#include <utility>

#include "analysis/DocumentPaths.h"
#include "analysis/Parallel.h"
#include "charts/ComparisonFigures.h"
#include "document/FileIO.h"
#include "model/CroatianPlural.h"
#include "reports/ComparisonReport.h"
#include "reports/ComparisonWorkbook.h"
#include "reports/ReportPaint.h"
#include "reports/StandingReport.h"
#include "reports/TableReport.h"
#include "ui/AccessibleEvents.h"
#include "ui/AnalysisCommands.h"
#include "ui/ComparisonLoad.h"
#include "ui/ComparisonModel.h"
#include "ui/Dialogs.h"
#include "ui/StandingView.h"
#include "ui/TableSortMenu.h"

namespace movik {

namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

std::string ToPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

ComparisonWindow::ComparisonWindow(Dialogs& dialogs, RegionalSettings rs, int currentYear,
                                   ChartPrinter printCharts, QWidget* parent)
    : QWidget(parent, Qt::Window),
      dialogs_(dialogs),
      printCharts_(std::move(printCharts)),
      rs_(rs),
      currentYear_(currentYear) {
    setObjectName(QStringLiteral("fUsporedba"));
    setWindowTitle(QStringLiteral("Usporedba dokumenata"));
    setAcceptDrops(true);
    setProperty("helpContext", kComparisonHelpContext);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] {
        emit helpRequested(cbPolozaj_ != nullptr && cbPolozaj_->isChecked()
                               ? kStandingHelpContext
                               : kComparisonHelpContext);
    });
    resize(1100, 560);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    MakeTable();
    MakeControls();
    LayOutControls();
    ConnectControls();

    poll_ = new QTimer(this);
    poll_->setInterval(30);
    connect(poll_, &QTimer::timeout, this, &ComparisonWindow::TakeReadyRows);
    UpdateButtons();
}

void ComparisonWindow::MakeTable() {
    model_ = new ComparisonModel(rs_, this);
    agUsporedba_ = new QTableView(this);
    agUsporedba_->setObjectName(QStringLiteral("agUsporedba"));
    agUsporedba_->setModel(model_);
    // Rows stay in the order they were added until the user sorts or groups them.
    agUsporedba_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    agUsporedba_->setSortingEnabled(true);
    agUsporedba_->horizontalHeader()->setSortIndicatorShown(false);
    agUsporedba_->horizontalHeader()->setDefaultSectionSize(120);
    agUsporedba_->horizontalHeader()->setMinimumSectionSize(40);
    agUsporedba_->horizontalHeader()->setTextElideMode(Qt::ElideRight);
    // Rows as tall as the font needs (a larger system font makes them taller).
    agUsporedba_->verticalHeader()->setDefaultSectionSize(
        std::max(22, agUsporedba_->fontMetrics().height() + 8));
    agUsporedba_->verticalHeader()->hide();
    agUsporedba_->setSelectionBehavior(QAbstractItemView::SelectRows);
    agUsporedba_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    agUsporedba_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    agUsporedba_->setAlternatingRowColors(true);
    agUsporedba_->setWordWrap(false);
    agUsporedba_->setAccessibleName(QStringLiteral("Usporedba dokumenata"));
    // Tab goes on to the buttons; the arrow keys move inside the table.
    agUsporedba_->setTabKeyNavigation(false);
    agUsporedba_->installEventFilter(this);
    // Sorting by keyboard: the context menu (Menu key, Shift+F10) and Alt+Up / Alt+Down.
    new TableSortMenu(agUsporedba_, [this](const QString& text) { SayStatus(text); });
    agPolozaj_ = new StandingView(rs_, this);
    agPolozaj_->installEventFilter(this);
    new TableSortMenu(agPolozaj_, [this](const QString& text) { SayStatus(text); });
    views_ = new QStackedWidget(this);
    views_->addWidget(agUsporedba_);
    views_->addWidget(agPolozaj_);
}

void ComparisonWindow::MakeControls() {
    bDodajDokumente_ = Button(this, "bDodajDokumente", QStringLiteral("Dodaj &dokumente…"));
    bDodajMapu_ = Button(this, "bDodajMapu", QStringLiteral("Dodaj &mapu…"));
    bUkloni_ = Button(this, "bUkloni", QStringLiteral("&Ukloni"));
    cbGrupiraj_ = new QCheckBox(QStringLiteral("&Grupiraj po poduzeću (trend)"), this);
    cbGrupiraj_->setObjectName(QStringLiteral("cbGrupiraj"));
    cbPolozaj_ = new QCheckBox(QStringLiteral("Položaj u &skupini"), this);
    cbPolozaj_->setObjectName(QStringLiteral("cbPolozaj"));
    bRaspon_ = Button(this, "bRaspon", QStringLiteral("Ras&pon u skupini…"));
    bIzvozCsv_ = Button(this, "bIzvozCsv", QStringLiteral("Izvoz u &CSV…"));
    bIzvozPdf_ = Button(this, "bIzvozPdf", QStringLiteral("Izvoz u &PDF…"));
    bIzvozXlsx_ = Button(this, "bIzvozXlsx", QStringLiteral("Izvoz u &Excel (.xlsx)…"));
    bGrafikoni_ = Button(this, "bGrafikoni", QStringLiteral("G&rafikoni…"));
    bOtvori_ = Button(this, "bOtvori", QStringLiteral("&Otvori u glavnom prozoru"));
    bNastavi_ = Button(this, "bNastavi", QStringLiteral("&Nastavi učitavanje"));

    pbUcitavanje_ = new QProgressBar(this);
    pbUcitavanje_->setObjectName(QStringLiteral("pbUcitavanje"));
    pbUcitavanje_->setFormat(QStringLiteral("%v / %m"));
    pbUcitavanje_->setVisible(false);
    lStanje_ =
        new QLabel(QStringLiteral("Dodajte dokumente ili mapu, ili ih ispustite ovdje."), this);
    lStanje_->setObjectName(QStringLiteral("lStanje"));
    lStanje_->setWordWrap(true);
}

void ComparisonWindow::LayOutControls() {
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bDodajDokumente_);
    buttons->addWidget(bDodajMapu_);
    buttons->addWidget(bUkloni_);
    buttons->addSpacing(12);
    buttons->addWidget(cbGrupiraj_);
    buttons->addWidget(cbPolozaj_);
    buttons->addStretch(1);
    // The status line and the commands on a row each below the table, so the window fits a
    // screen 800 pixels wide.
    auto* status = new QHBoxLayout;
    status->addWidget(lStanje_, 1);
    status->addWidget(pbUcitavanje_);
    status->addWidget(bNastavi_);
    auto* commands = new QHBoxLayout;
    commands->addWidget(bOtvori_);
    commands->addWidget(bGrafikoni_);
    commands->addWidget(bRaspon_);
    commands->addStretch(1);
    commands->addWidget(bIzvozCsv_);
    commands->addWidget(bIzvozPdf_);
    commands->addWidget(bIzvozXlsx_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(views_, 1);
    layout->addLayout(status);
    layout->addLayout(commands);
}

void ComparisonWindow::ConnectControls() {
    connect(bDodajDokumente_, &QPushButton::clicked, this, &ComparisonWindow::DodajDokumenteClick);
    connect(bDodajMapu_, &QPushButton::clicked, this, &ComparisonWindow::DodajMapuClick);
    connect(bUkloni_, &QPushButton::clicked, this, &ComparisonWindow::UkloniClick);
    connect(cbGrupiraj_, &QCheckBox::toggled, this, &ComparisonWindow::GrupirajClick);
    connect(bIzvozCsv_, &QPushButton::clicked, this, &ComparisonWindow::IzvozCsvClick);
    connect(bIzvozPdf_, &QPushButton::clicked, this, &ComparisonWindow::IzvozPdfClick);
    connect(bIzvozXlsx_, &QPushButton::clicked, this, &ComparisonWindow::IzvozXlsxClick);
    connect(bGrafikoni_, &QPushButton::clicked, this, [this] { GrafikoniClick(); });
    connect(cbPolozaj_, &QCheckBox::toggled, this, &ComparisonWindow::PolozajClick);
    connect(bRaspon_, &QPushButton::clicked, this, [this] { RasponClick(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        if (cbPolozaj_->isChecked()) {
            agPolozaj_->Rebuild(model_->table());
        }
    });
    connect(agPolozaj_, &QTableView::doubleClicked, this, [this] { OtvoriClick(); });
    connect(agPolozaj_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ComparisonWindow::UpdateButtons);
    connect(bOtvori_, &QPushButton::clicked, this, &ComparisonWindow::OtvoriClick);
    connect(bNastavi_, &QPushButton::clicked, this, &ComparisonWindow::NastaviClick);
    connect(agUsporedba_, &QTableView::doubleClicked, this, [this] { OtvoriClick(); });
    connect(agUsporedba_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                // Grouped, the sort orders the companies; each keeps its periods in order.
                agUsporedba_->horizontalHeader()->setSortIndicatorShown(true);
                SayStatus(TableSortMenu::OrderText(ColumnName(*model_, column), order,
                                                   model_->table().grouped()));
            });
    connect(agUsporedba_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ComparisonWindow::UpdateButtons);
    connect(model_, &QAbstractItemModel::modelReset, this, &ComparisonWindow::UpdateButtons);
}

void ComparisonWindow::SetSummaryWork(std::function<DocumentSummary(const std::string&)> work) {
    work_ = std::move(work);
}

ComparisonWindow::~ComparisonWindow() {
    StopLoading(false);
}

void ComparisonWindow::FitColumns() {
    // Every caption and value readable, no column wider than a long company name needs; the
    // period is always whole (with a larger system font too).
    agUsporedba_->resizeColumnsToContents();
    for (int c = 0; c < model_->columnCount(); ++c) {
        if (agUsporedba_->columnWidth(c) > kMaxColumnWidth &&
            model_->table().column(c).kind != ComparisonColumn::Kind::Period) {
            agUsporedba_->setColumnWidth(c, kMaxColumnWidth);
        }
    }
}

void ComparisonWindow::UpdateButtons() {
    const bool any = model_->rowCount() > 0;
    const std::vector<int> selected = SelectedRows();
    // The standing view removes nothing: its rows are groups' too.
    const bool standing = cbPolozaj_->isChecked();
    bUkloni_->setEnabled(!standing && !selected.empty());
    bOtvori_->setEnabled(standing
                             ? agPolozaj_->SelectedFiles().size() == 1
                             : selected.size() == 1 && model_->table().Summary(selected[0]).ok);
    bIzvozCsv_->setEnabled(any);
    bIzvozPdf_->setEnabled(any);
    bIzvozXlsx_->setEnabled(any);
    bool anyRead = false;
    for (int r = 0; r < model_->rowCount() && !anyRead; ++r) {
        anyRead = model_->table().Summary(r).ok;
    }
    bGrafikoni_->setEnabled(anyRead);
    bNastavi_->setVisible(!unread_.empty());
    bRaspon_->setEnabled(anyRead);
}

void ComparisonWindow::KeepingSelection(const std::function<void()>& change) {
    QItemSelectionModel* selection = agUsporedba_->selectionModel();
    std::set<std::string> selectedFiles;
    for (const int row : SelectedRows()) {
        selectedFiles.insert(model_->table().Summary(row).file);
    }
    const QModelIndex current = selection->currentIndex();
    const std::string currentFile =
        current.isValid() ? model_->table().Summary(current.row()).file : std::string();
    change();
    QItemSelection kept;
    for (int row = 0; row < model_->rowCount(); ++row) {
        const std::string& file = model_->table().Summary(row).file;
        if (selectedFiles.count(file) != 0) {
            kept.select(model_->index(row, 0), model_->index(row, 0));
        }
        if (current.isValid() && file == currentFile) {
            selection->setCurrentIndex(model_->index(row, current.column()),
                                       QItemSelectionModel::NoUpdate);
        }
    }
    selection->select(kept, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

std::vector<int> ComparisonWindow::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& i : agUsporedba_->selectionModel()->selectedRows()) {
        rows.push_back(i.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// ---------------------------------------------------------------------------------------------
// Loading in the background

void ComparisonWindow::AddPaths(const QStringList& paths) {
    if (paths.isEmpty()) {
        return;
    }
    // One name per file: the same file or folder reached another way is found as already there.
    for (const QString& path : paths) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        queued_ << (canonical.isEmpty() ? path : canonical);
    }
    if (load_ == nullptr) {
        loadClock_.start();
        loadedInRun_ = 0;
        alreadyInRun_ = 0;
        StartNextLoad();
    }
}

void ComparisonWindow::StartNextLoad() {
    std::vector<std::string> paths;
    for (const QString& p : std::as_const(queued_)) {
        paths.push_back(ToPath(p));
    }
    queued_.clear();
    pbUcitavanje_->setRange(0, 0);  // busy until every path is listed
    pbUcitavanje_->setVisible(true);
    SayStatus(QStringLiteral("Učitavanje…"));
    SummaryWork work = work_;
    if (!work) {
        // With their euro figures, for a set that mixes kunas and euros.
        work = [rs = rs_, year = currentYear_](const std::string& path) {
            return Summarize(path, rs, year, true);
        };
    }
    load_ = std::make_unique<ComparisonLoad>(std::move(paths), std::move(work));
    poll_->start();
}

void ComparisonWindow::AddRows(std::vector<DocumentSummary> rows) {
    if (rows.empty()) {
        return;
    }
    const int count = static_cast<int>(rows.size());
    int already = 0;
    KeepingSelection([&] { already = model_->Add(std::move(rows)); });
    loadedInRun_ += count - already;
    alreadyInRun_ += already;
}

void ComparisonWindow::TakeReadyRows() {
    if (load_ == nullptr) {
        poll_->stop();
        return;
    }
    const bool finished = load_->finished();  // read before taking the rows: none can follow
    AddRows(load_->TakeReady());
    if (load_->total() >= 0) {
        pbUcitavanje_->setRange(0, std::max(1, load_->total()));
        pbUcitavanje_->setValue(load_->done());
    }
    if (!finished) {
        return;
    }
    load_.reset();
    if (!queued_.isEmpty()) {
        StartNextLoad();
        return;
    }
    poll_->stop();
    lastLoadMs_ = loadClock_.elapsed();
    pbUcitavanje_->setVisible(false);
    FitColumns();
    int failed = 0;
    int warned = 0;
    for (int r = 0; r < model_->rowCount(); ++r) {
        const DocumentSummary& s = model_->table().Summary(r);
        failed += s.ok ? 0 : 1;
        const bool samePeriod = !model_->table().SamePeriodAs(r).empty();
        warned += s.ok && (!s.warnings.empty() || samePeriod) ? 1 : 0;
    }
    QString text = QStringLiteral(
                       "Učitano: %1 (%2 s). U tablici %3, s upozorenjem "
                       "%4, nije pročitano %5.")
                       .arg(loadedInRun_)
                       .arg(QLocale().toString(lastLoadMs_ / 1000.0, 'f', 2))
                       .arg(QString::fromStdString(
                           CountText(model_->rowCount(), "dokument", "dokumenta", "dokumenata")))
                       .arg(warned)
                       .arg(failed);
    if (alreadyInRun_ > 0) {
        text += QStringLiteral(" Već u tablici (nisu dodani ponovno): %1.").arg(alreadyInRun_);
    }
    SayStatus(text + IncompleteNote());
    UpdateButtons();
    emit loadFinished();
}

void ComparisonWindow::StopLoading(bool keepUnread) {
    std::vector<std::string> unread;
    for (const QString& p : std::as_const(queued_)) {
        unread.push_back(ToPath(p));
    }
    queued_.clear();
    if (load_ != nullptr) {
        std::vector<std::string> rest = load_->Stop();
        unread.insert(unread.begin(), rest.begin(), rest.end());
        if (keepUnread) {
            AddRows(load_->TakeReady());
        }
        load_.reset();
    }
    poll_->stop();
    pbUcitavanje_->setVisible(false);
    if (!keepUnread || unread.empty()) {
        return;
    }
    // The paths of a load stopped earlier go first: they were given first.
    unread_.insert(unread_.end(), unread.begin(), unread.end());
    const int read = loadedInRun_ + alreadyInRun_;
    SayStatus(QStringLiteral("Učitavanje je zaustavljeno zatvaranjem prozora: učitano %1 od %2. "
                             "Ostatak učitava „Nastavi učitavanje”.")
                  .arg(QLocale().toString(read),
                       QLocale().toString(read + static_cast<int>(unread.size()))));
    UpdateButtons();
    bNastavi_->setFocus(Qt::OtherFocusReason);
}

void ComparisonWindow::NastaviClick() {
    QStringList paths;
    for (const std::string& p : std::exchange(unread_, {})) {
        paths << QFile::decodeName(QByteArray::fromStdString(p));
    }
    UpdateButtons();
    AddPaths(paths);
}

QString ComparisonWindow::IncompleteNote() const {
    if (IsLoading()) {
        return QStringLiteral(" Učitavanje još traje: u tablici su dosad pročitani dokumenti.");
    }
    if (!unread_.empty()) {
        return QStringLiteral(
                   " Tablica nije potpuna: nije učitano još %1 (zaustavljeno "
                   "zatvaranjem prozora).")
            .arg(QLocale().toString(static_cast<int>(unread_.size())));
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// Commands

void ComparisonWindow::DodajDokumenteClick() {
    const QStringList files =
        dialogs_.ChooseOpenFiles({QStringLiteral("UsporedbaDokumenti"),
                                  QStringLiteral("Dodaj dokumente"),
                                  {{QStringLiteral("Movik baza"), QStringLiteral("*.mvk")},
                                   {QStringLiteral("Sve datoteke"), QStringLiteral("*")}},
                                  {},
                                  QStringLiteral("mvk")});
    AddPaths(files);
}

void ComparisonWindow::DodajMapuClick() {
    const std::optional<QString> folder = dialogs_.ChooseFolder(
        {QStringLiteral("UsporedbaMapa"), QStringLiteral("Dodaj mapu"), {}, {}, {}});
    if (folder) {
        AddPaths({*folder});
    }
}

void ComparisonWindow::UkloniClick() {
    const std::vector<int> rows = SelectedRows();
    if (!rows.empty()) {
        model_->RemoveRows(rows);
    }
}

void ComparisonWindow::GrupirajClick(bool grouped) {
    agUsporedba_->horizontalHeader()->setSortIndicatorShown(false);
    agUsporedba_->setProperty("grouped", grouped);
    KeepingSelection([&] { model_->SetGrouped(grouped); });
    FitColumns();
    if (cbGrupiraj_->isChecked() != grouped) {
        const QSignalBlocker block(cbGrupiraj_);
        cbGrupiraj_->setChecked(grouped);
    }
}

void ComparisonWindow::IzvozCsvClick() {
    const std::optional<QString> path =
        dialogs_.ChooseSaveFile({QStringLiteral("UsporedbaCSV"),
                                 QStringLiteral("Izvoz usporedbe u CSV"),
                                 {{QStringLiteral("CSV datoteka"), QStringLiteral("*.csv")}},
                                 QStringLiteral("usporedba.csv"),
                                 QStringLiteral("csv")});
    if (!path) {
        return;
    }
    const std::string csv =
        cbPolozaj_->isChecked() ? agPolozaj_->standing().table().Csv() : model_->table().Csv();
    ShowSaved(*path, MakeSystemFileWriter()->WriteWhole(
                         ToPath(*path), std::vector<std::uint8_t>(csv.begin(), csv.end())));
}

void ComparisonWindow::IzvozPdfClick() {
    const std::optional<QString> path =
        dialogs_.ChooseSaveFile({QStringLiteral("UsporedbaPDF"),
                                 QStringLiteral("Izvoz usporedbe u PDF"),
                                 {{QStringLiteral("PDF dokument"), QStringLiteral("*.pdf")}},
                                 QStringLiteral("usporedba.pdf"),
                                 QStringLiteral("pdf")});
    if (!path) {
        return;
    }
    ShowSaved(
        *path,
        SavePdf(cbPolozaj_->isChecked() ? StandingReportJobs(agPolozaj_->standing().table())
                                        : ComparisonReportJobs(model_->table()),
                QStringLiteral("Usporedba dokumenata"), ToPath(*path), QPageLayout::Landscape));
}

void ComparisonWindow::IzvozXlsxClick() {
    SaveWorkbookAs(cbPolozaj_->isChecked() ? StandingWorkbook(agPolozaj_->standing().table())
                                           : ComparisonWorkbook(model_->table()),
                   QStringLiteral("usporedba.xlsx"), dialogs_, *MakeSystemFileWriter(),
                   [this](const QString& text, bool error) { ShowOutcome(text, error); });
}

void ComparisonWindow::ShowSaved(const QString& path, const Result& written) {
    ShowWritten(path, written,
                [this](const QString& text, bool error) { ShowOutcome(text, error); });
}

void ComparisonWindow::ShowOutcome(const QString& text, bool error) {
    // A file written from a table still loading, or stopped, says it holds only part of it.
    SayStatus(error ? QStringLiteral("Pogreška: ") + text : text + IncompleteNote());
}

void ComparisonWindow::SayStatus(const QString& text) {
    if (text == lStanje_->text()) {
        return;
    }
    lStanje_->setText(text);
    // Heard wherever the focus is: the line is a notification that shows anew.
    QAccessibleEvent changed(lStanje_, QAccessible::NameChanged);
    RaiseAccessibleEvent(&changed);
    QAccessibleEvent shown(lStanje_, QAccessible::ObjectShow);
    RaiseAccessibleEvent(&shown);
}

ChartWindow* ComparisonWindow::GrafikoniClick() {
    std::vector<FigureAcrossDocuments> figures = ComparisonFigures(model_->table(), rs_);
    // A figure with nothing to draw and nothing left out (no readable document) is not offered;
    // one that no document could compute stays, with its note saying why it is empty.
    std::erase_if(figures, [](const FigureAcrossDocuments& f) {
        return f.points.empty() && f.leftOut.empty();
    });
    if (figures.empty()) {
        return nullptr;
    }
    return OpenFigureCharts(figures, QStringLiteral("usporedba"), dialogs_, printCharts_, this);
}

void ComparisonWindow::OtvoriClick() {
    if (cbPolozaj_->isChecked()) {
        const std::vector<std::string> files = agPolozaj_->SelectedFiles();
        if (files.size() == 1) {
            emit openRequested(QFile::decodeName(files.front().c_str()));
        }
        return;
    }
    const std::vector<int> rows = SelectedRows();
    if (rows.size() != 1 || !model_->table().Summary(rows[0]).ok) {
        return;
    }
    emit openRequested(QFile::decodeName(model_->table().Summary(rows[0]).file.c_str()));
}

// ---------------------------------------------------------------------------------------------
// Drag and drop of files and folders

bool ComparisonWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool inTable = watched == agUsporedba_ || watched == agPolozaj_;
    if (inTable && event->type() == QEvent::KeyPress) {
        // Ctrl+Tab and Ctrl+Shift+Tab leave the table too, as they leave any text box.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && (key->modifiers() & Qt::ControlModifier)) {
            focusNextPrevChild(key->key() == Qt::Key_Tab &&
                               !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ComparisonWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.cbegin(), urls.cend(), [](const QUrl& u) { return u.isLocalFile(); })) {
        event->acceptProposedAction();
    }
}

void ComparisonWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    if (!paths.isEmpty()) {
        event->acceptProposedAction();
        AddPaths(paths);
    }
}

void ComparisonWindow::closeEvent(QCloseEvent* event) {
    // A closed window reads nothing: the load stops at once, and what it did not read waits for
    // "Nastavi učitavanje" when the window opens again (the main window says so meanwhile).
    if (IsLoading()) {
        StopLoading(true);
        emit loadStopped(lStanje_->text());
    }
    QWidget::closeEvent(event);
}

}  // namespace movik
