#pragma once
// F1 in the main window: the topic of the focused control (its help context, else that of the
// nearest enclosing control with one), or in an open menu that of the highlighted item (else of
// its menu). Nothing happens where no control carries a context.

#include <QObject>
#include <functional>

class QWidget;

namespace movik {

class HelpContexts : public QObject {
    Q_OBJECT
  public:
    // Installs F1 on window and on every menu it holds; showContext opens a help topic.
    HelpContexts(QWidget* window, std::function<void(int)> showContext);

    // F1 with the focus on widget: asks for its context; false when it has none.
    bool HelpForWidget(QWidget* widget);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void(int)> showContext_;
};

}  // namespace movik
