#include "about/HelpWindow.h"
#include "movik/Version.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <algorithm>

#include "about/HelpContext.h"
#include "about/HelpFile.h"
#include "about/HelpLinks.h"

namespace movik {

namespace {

QString Mixed(const QColor& a, const QColor& b, double t) {
    auto channel = [t](int from, int to) { return qRound(from + (to - from) * t); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()))
        .name();
}

// The topics' sizes in points grown by scale (the system font and the window's zoom).
QString Scaled(const QString& sheet, double scale) {
    static const QRegularExpression points(QStringLiteral("(\\d+(?:\\.\\d+)?)pt"));
    QString out;
    qsizetype from = 0;
    for (auto it = points.globalMatch(sheet); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += sheet.mid(from, m.capturedStart() - from);
        out += QString::number(m.captured(1).toDouble() * scale, 'f', 1) + QStringLiteral("pt");
        from = m.capturedEnd();
    }
    return out + sheet.mid(from);
}

// The topics' own style is dark text on light shades, its sizes in points for the usual system
// font. Its sizes grow with a larger system font and with the window's zoom; under a dark
// palette (text lighter than its background) its colours give way to the palette's, so the text
// stays readable.
class HelpBrowser : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;

    double zoom() const { return zoom_; }
    void SetZoom(double zoom) {
        zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
        Restyle();
    }

    // Told when Tab or Shift+Tab moved the keyboard in the text (from link to link).
    HelpLinkFocus* links = nullptr;

    QVariant loadResource(int type, const QUrl& name) override {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::StyleSheetResource) {
            return resource;
        }
        const QString sheet = Scaled(resource.typeId() == QMetaType::QByteArray
                                         ? QString::fromUtf8(resource.toByteArray())
                                         : resource.toString(),
                                     Scale());
        if (!IsDark()) {
            return sheet;
        }
        const QColor text = palette().color(QPalette::Text);
        const QColor base = palette().color(QPalette::Base);
        const QString shade = Mixed(base, text, 0.12);
        const QString line = Mixed(base, text, 0.35);
        const QString css =
            QStringLiteral(
                "\nbody, h1, h2, h3, td, th, p, li { color: %1; }"
                "\na { color: %2; }"
                "\np.nav, p.formula, th, p.pozor { background-color: %3; }"
                "\ntable, td, th { border-color: %4; }\n")
                .arg(text.name(), palette().color(QPalette::Link).name(), shade, line);
        return sheet + css;
    }

  protected:
    bool focusNextPrevChild(bool next) override {
        const bool moved = QTextBrowser::focusNextPrevChild(next);
        if (links != nullptr && hasFocus()) {
            links->KeyboardMoved();
        }
        return moved;
    }

    bool event(QEvent* event) override {
        const bool done = QTextBrowser::event(event);
        // Another palette or system font: the topic again in its colours and sizes.
        switch (event->type()) {
            case QEvent::PaletteChange:
            case QEvent::FontChange:
            case QEvent::ApplicationFontChange:
                Restyle();
                break;
            default:
                break;
        }
        return done;
    }

  private:
    static constexpr double kMinZoom = 0.5;
    static constexpr double kMaxZoom = 3.0;
    // The size of the system font the topics' points are meant for (Qt's own default).
    static constexpr double kUsualSystemSize = 9.0;

    double Scale() const {
        return zoom_ * std::max(1.0, QApplication::font().pointSizeF() / kUsualSystemSize);
    }

    // The topic again with the style of the palette, font and zoom, at the same place.
    void Restyle() {
        if (source().isEmpty()) {
            return;
        }
        QScrollBar* bar = verticalScrollBar();
        const double at = bar->maximum() > 0 ? double(bar->value()) / bar->maximum() : 0.0;
        document()->clear();
        reload();
        bar->setValue(qRound(at * bar->maximum()));
    }

    double zoom_ = 1.0;

    bool IsDark() const {
        return palette().color(QPalette::Text).lightness() >
               palette().color(QPalette::Base).lightness();
    }
};

}  // namespace

HelpWindow::HelpWindow(const QStringList& candidates, QWidget* parent)
    : QMainWindow(parent), candidates_(candidates) {
    setObjectName(QStringLiteral("fHelp"));
    // The window system adds the program's name to the title.
    setWindowTitle(QStringLiteral("Korisničke upute"));
    // Larger with a larger system font, so the tool bar keeps its captions whole.
    resize(QSize(780, 620) * std::max(1.0, font().pointSizeF() / 9.0));
    // An open help window does not keep the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);

    browser_ = new HelpBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->document()->setDocumentMargin(12);
    browser_->verticalScrollBar()->setAccessibleName(QStringLiteral("Okomito pomicanje uputa"));
    browser_->horizontalScrollBar()->setAccessibleName(QStringLiteral("Vodoravno pomicanje uputa"));
    // Tab goes from link to link, and a screen reader hears each.
    links_ = new HelpLinkFocus(browser_);
    static_cast<HelpBrowser*>(browser_)->links = links_;
    setCentralWidget(browser_);

    QToolBar* bar = MakeToolBar();
    AddNavigation(bar);
    AddFind(bar);
    AddWindowKeys();
    MakeStatusBar();

    connect(browser_, &QTextBrowser::historyChanged, this, &HelpWindow::UpdateActions);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        findResult_->clear();
        // A screen reader names the text by its topic as the keyboard enters it.
        browser_->setAccessibleName(browser_->documentTitle());
    });
    UpdateActions();
}

QToolBar* HelpWindow::MakeToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Upute"));
    bar->setObjectName(QStringLiteral("HelpToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->toggleViewAction()->setEnabled(false);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    return bar;
}

void HelpWindow::AddNavigation(QToolBar* bar) {
    QStyle* s = style();

    contents_ = bar->addAction(s->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Sadržaj"));
    contents_->setObjectName(QStringLiteral("HelpContents"));
    contents_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    connect(contents_, &QAction::triggered, this, &HelpWindow::ShowContents);

    back_ = bar->addAction(s->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Natrag"));
    back_->setObjectName(QStringLiteral("HelpBack"));
    back_->setShortcut(QKeySequence::Back);
    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);

    forward_ = bar->addAction(s->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Naprijed"));
    forward_->setObjectName(QStringLiteral("HelpForward"));
    forward_->setShortcut(QKeySequence::Forward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);

    bar->addSeparator();
    print_ = bar->addAction(QStringLiteral("Ispis…"));
    print_->setObjectName(QStringLiteral("HelpPrint"));
    print_->setShortcut(QKeySequence::Print);
    print_->setToolTip(QStringLiteral("Ispiši prikazanu temu"));
    connect(print_, &QAction::triggered, this, &HelpWindow::PrintTopic);
}

void HelpWindow::AddFind(QToolBar* bar) {
    bar->addSeparator();
    findField_ = new QLineEdit(bar);
    findField_->setObjectName(QStringLiteral("HelpFind"));
    findField_->setPlaceholderText(QStringLiteral("Traži u temi"));
    findField_->setAccessibleName(QStringLiteral("Traži u temi"));
    findField_->setClearButtonEnabled(true);
    // Wide enough for its hint and the clear button at any font size.
    const int hint = findField_->fontMetrics().horizontalAdvance(findField_->placeholderText()) +
                     3 * findField_->fontMetrics().height();
    findField_->setMinimumWidth(hint);
    findField_->setMaximumWidth(std::max(200, hint));
    bar->addWidget(findField_);
    findPrevious_ = bar->addAction(QStringLiteral("Prethodno"));
    findPrevious_->setObjectName(QStringLiteral("HelpFindPrevious"));
    findPrevious_->setShortcut(QKeySequence::FindPrevious);
    findNext_ = bar->addAction(QStringLiteral("Sljedeće"));
    findNext_->setObjectName(QStringLiteral("HelpFindNext"));
    findNext_->setShortcut(QKeySequence::FindNext);
    connect(findPrevious_, &QAction::triggered, this, [this] { FindFromField(true); });
    connect(findNext_, &QAction::triggered, this, [this] { FindFromField(false); });
    connect(findField_, &QLineEdit::returnPressed, this, [this] { FindFromField(false); });
    auto* focusFind = new QAction(this);
    focusFind->setShortcut(QKeySequence::Find);
    addAction(focusFind);
    connect(focusFind, &QAction::triggered, this, [this] {
        findField_->setFocus(Qt::ShortcutFocusReason);
        findField_->selectAll();
    });
}

void HelpWindow::AddWindowKeys() {
    // Ctrl++ and Ctrl+− make the text larger and smaller, Ctrl+0 brings back its size.
    auto* browser = static_cast<HelpBrowser*>(browser_);
    const struct {
        QKeySequence key;
        double factor;
    } zooms[] = {{QKeySequence::ZoomIn, 1.25},
                 {QKeySequence(Qt::CTRL | Qt::Key_Equal), 1.25},
                 {QKeySequence::ZoomOut, 0.8},
                 {QKeySequence(Qt::CTRL | Qt::Key_0), 0.0}};
    for (const auto& z : zooms) {
        auto* zoom = new QAction(this);
        zoom->setShortcut(z.key);
        addAction(zoom);
        const double factor = z.factor;
        connect(zoom, &QAction::triggered, this, [browser, factor] {
            browser->SetZoom(factor == 0.0 ? 1.0 : browser->zoom() * factor);
        });
    }

    // Escape closes the window, as it closes a dialog.
    auto* close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(close);
    connect(close, &QAction::triggered, this, &QWidget::close);
}

void HelpWindow::MakeStatusBar() {
    findResult_ = new QLabel(this);
    findResult_->setObjectName(QStringLiteral("HelpFindResult"));
    statusBar()->addWidget(findResult_, 1);
    outcome_ = new QLabel(this);
    outcome_->setObjectName(QStringLiteral("HelpPoruka"));
    statusBar()->addPermanentWidget(outcome_);
}

HelpWindow::~HelpWindow() = default;

QAccessibleInterface* HelpWindow::focusedLink() const {
    return links_->focusedLink();
}

bool HelpWindow::EnsureFile() {
    if (!file_ || !file_->isOpen()) {
        file_.reset();  // one help file registered at a time
        file_ = std::make_unique<HelpFile>(candidates_);
    }
    if (!file_->isOpen()) {
        ShowMessage(file_->error());
        return false;
    }
    return true;
}

void HelpWindow::ShowMessage(const QString& text) {
    message_ = text;
    browser_->clearHistory();
    browser_->setHtml(QStringLiteral("<h2>Upute nisu dostupne</h2><p>%1</p>")
                          .arg(text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"))));
    UpdateActions();
}

void HelpWindow::ShowContents() {
    ShowTopic(HelpContentsFile());
}

void HelpWindow::ShowContext(int context) {
    const QString file = HelpTopicFile(context);
    if (file.isEmpty()) {
        ShowMessage(QStringLiteral("Za kontekst pomoći %1 nema teme.").arg(context));
        return;
    }
    ShowTopic(file);
}

void HelpWindow::ShowTopic(const QString& file) {
    if (!EnsureFile()) {
        return;
    }
    // "topic.html#section": the topic, scrolled to its section.
    const QString topic = file.section(u'#', 0, 0);
    const QString section = file.section(u'#', 1);
    if (!file_->HasTopic(topic)) {
        ShowMessage(QStringLiteral("U datoteci pomoći %1 nema teme %2.").arg(file_->path(), topic));
        return;
    }
    message_.clear();
    QUrl url = file_->TopicUrl(topic);
    if (!section.isEmpty()) {
        url.setFragment(section);
    }
    browser_->setSource(url);
    UpdateActions();
}

bool HelpWindow::FindInPage(const QString& text, bool backward) {
    if (text.isEmpty()) {
        return false;
    }
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (browser_->find(text, flags)) {
        return true;
    }
    // Once more from the other end of the page.
    const QTextCursor keep = browser_->textCursor();
    QTextCursor cursor(browser_->document());
    cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    browser_->setTextCursor(cursor);
    if (browser_->find(text, flags)) {
        return true;
    }
    browser_->setTextCursor(keep);
    return false;
}

void HelpWindow::FindFromField(bool backward) {
    const QString text = findField_->text();
    if (text.isEmpty()) {
        findResult_->clear();
        return;
    }
    const bool found = FindInPage(text, backward);
    findResult_->setText(found ? QString()
                               : QStringLiteral("„%1“ nije pronađeno u ovoj temi.").arg(text));
    // The keyboard stays in the field: a screen reader reads the found paragraph (or the miss)
    // as the field's description, which the eye sees as the selection in the text.
    findField_->setAccessibleDescription(found ? browser_->textCursor().block().text().left(300)
                                               : findResult_->text());
}

void HelpWindow::SetTopicPrinter(TopicPrinter printer) {
    printer_ = std::move(printer);
    UpdateActions();
}

QByteArray HelpWindow::TopicPdf() const {
    if (!message_.isEmpty()) {
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(browser_->documentTitle());
    writer.setCreator(QString::fromUtf8(kProgramTitle));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    browser_->document()->print(&writer);
    return bytes;
}

void HelpWindow::PrintTopic() {
    if (!printer_) {
        return;
    }
    const QByteArray pdf = TopicPdf();
    if (!pdf.isEmpty()) {
        const QString topic = browser_->documentTitle();
        ShowOutcome(QStringLiteral("Tema se šalje na pisač…"), false);
        printer_(pdf,
                 QString::fromUtf8(kProgramTitle) + QStringLiteral(" – ") +
                     (topic.isEmpty() ? windowTitle() : topic),
                 this, [this](const QString& text, bool error) { ShowOutcome(text, error); });
    }
}

void HelpWindow::ShowOutcome(const QString& text, bool error) {
    outcome_->setText(error ? QStringLiteral("Pogreška: ") + text : text);
}

QString HelpWindow::outcome() const {
    return outcome_->text();
}

void HelpWindow::UpdateActions() {
    back_->setEnabled(browser_->isBackwardAvailable());
    forward_->setEnabled(browser_->isForwardAvailable());
    // Without a topic there is nothing to print or search.
    const bool topic = message_.isEmpty();
    print_->setEnabled(topic && printer_);
    findField_->setEnabled(topic);
    findPrevious_->setEnabled(topic);
    findNext_->setEnabled(topic);
}

QtHelpViewer::QtHelpViewer(QStringList candidates) : candidates_(std::move(candidates)) {}

QtHelpViewer::~QtHelpViewer() = default;

void QtHelpViewer::SetTopicPrinter(TopicPrinter printer) {
    printer_ = std::move(printer);
    if (window_) {
        window_->SetTopicPrinter(printer_);
    }
}

HelpWindow& QtHelpViewer::Window() {
    if (!window_) {
        window_ = std::make_unique<HelpWindow>(candidates_);
        window_->SetTopicPrinter(printer_);
        if (placeWindow) {
            placeWindow(window_.get());
        }
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    return *window_;
}

void QtHelpViewer::ShowContents() {
    Window().ShowContents();
}

void QtHelpViewer::ShowContext(int context) {
    Window().ShowContext(context);
}

}  // namespace movik
