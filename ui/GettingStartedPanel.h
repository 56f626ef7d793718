#pragma once
// "Kako početi": the short guide in the free lower part of the general-data page, in the order a
// user works: general data, balance sheet, income statement, the computed pages, the warnings and
// where help is.

#include <QGroupBox>
#include <QString>
#include <memory>
#include <vector>

class QTextLayout;

namespace movik {

// Numbered paragraphs wrapped to the widget's width, bold where a step says <b>…</b>. Each
// paragraph is shaped once and only broken into lines again for another width: a rich-text label
// shapes its whole text again for every width the page's layout asks about, which cost the
// program's start-up milliseconds.
class NumberedSteps : public QWidget {
  public:
    explicit NumberedSteps(const std::vector<QString>& steps, QWidget* parent = nullptr);
    ~NumberedSteps() override;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The steps as plain text, one per line, numbered (what a screen reader gets too).
    QString plainText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    struct Step {
        QString number;
        std::unique_ptr<QTextLayout> text;
    };
    void Shape();
    // Where the text of a step begins: right of its number.
    int Indent() const;
    // Breaks every step into lines for width; returns the height they take.
    int BreakLines(int width) const;

    std::vector<QString> sources_;
    std::vector<Step> steps_;
    mutable int brokenWidth_ = -1;
    mutable int brokenHeight_ = 0;
};

class GettingStartedPanel : public QGroupBox {
    Q_OBJECT
  public:
    explicit GettingStartedPanel(QWidget* parent = nullptr);
};

}  // namespace movik
