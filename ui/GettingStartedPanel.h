#pragma once
// "Kako početi": the short guide in the free lower part of the general-data page, in the order a
// user works: general data, balance sheet, income statement, the computed pages, the warnings and
// where help is.

#include <QGroupBox>

namespace movik {

class GettingStartedPanel : public QGroupBox {
    Q_OBJECT
  public:
    explicit GettingStartedPanel(QWidget* parent = nullptr);
};

}  // namespace movik
