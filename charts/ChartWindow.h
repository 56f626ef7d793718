#pragma once
// The charts window: one or more pictures to choose from, shown as they are exported, with
// saving as PNG or SVG and printing. The window asks and reports through the callbacks its
// owner hands it (the main window's dialogs interface and checked print path).

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "charts/ChartData.h"
#include "charts/ChartDrawing.h"

class QComboBox;
class QLabel;
class QLocale;

namespace movik {

// How a window shows the outcome of one of its commands: a note, or an error (error true).
using OutcomeShown = std::function<void(const QString& text, bool error)>;

struct ChartWindowActions {
    // The save dialog: the chosen path (".png" or ".svg"), or nullopt when cancelled.
    std::function<std::optional<QString>(const QString& proposedName)> chooseSaveFile;
    // Sends the picture, rendered as one PDF page, to the printer as the job jobName; the
    // outcome, which comes later, goes to shown while window (the charts window) is open.
    std::function<void(const QByteArray& pdf, const QString& jobName, QWidget* window,
                       OutcomeShown shown)>
        print;
};

// The figures of a picture as text: what a screen reader says instead of showing it.
QString ChartTextAlternative(const ChartPicture& picture, const QLocale& locale);

// Paints one picture at the widget's size (cached until the size or the picture changes).
class ChartCanvas : public QWidget {
  public:
    explicit ChartCanvas(const ChartDrawing& drawing, QWidget* parent = nullptr);
    void SetPicture(ChartPicture picture);
    const ChartPicture& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Tab reaches the picture (a screen reader reads its text alternative there), which shows
    // that it has the keyboard with the style's focus frame.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    const ChartDrawing& drawing_;
    ChartPicture picture_;
    QImage cache_;
};

class ChartWindow : public QWidget {
  public:
    // pictures: name in the chooser, picture; baseName: proposed file name without extension;
    // drawing: the chart drawing functions (ChartDrawing.h), used for the window's life.
    ChartWindow(std::vector<std::pair<QString, ChartPicture>> pictures, QString baseName,
                ChartWindowActions actions, const ChartDrawing& drawing, QWidget* parent = nullptr);

    // The picture chosen in the chooser.
    const ChartPicture& Current() const;
    void Choose(int index);
    // "Spremi sliku…": the save dialog, then PNG or SVG by the chosen name's extension.
    void SaveClick();
    // "Ispis": the current picture on one landscape page to the default printer.
    void PrintClick();
    // The window's own message line (lPoruka): the outcome of its commands.
    void ShowOutcome(const QString& text, bool error);
    QString message() const;

  private:
    std::vector<std::pair<QString, ChartPicture>> pictures_;
    QString baseName_;
    ChartWindowActions actions_;
    const ChartDrawing& drawing_;
    QComboBox* chooser_ = nullptr;
    ChartCanvas* canvas_ = nullptr;
    QLabel* icon_ = nullptr;
    QLabel* message_ = nullptr;
};

}  // namespace movik
