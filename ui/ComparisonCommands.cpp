// The main window's comparison of many documents ("&Analiza" → "Usporedba…").

#include "about/HelpViewer.h"
#include "regional/Regional.h"
#include "ui/ComparisonWindow.h"
#include "ui/MainWindow.h"
#include "ui/StatusPanels.h"
#include "ui/WindowPlace.h"

namespace movik {

void TForm1::Usporedba1Click() {
    if (usporedba_ == nullptr) {
        usporedba_ =
            new ComparisonWindow(*dialogs_, ws_.settings(), LocalYear(), ChartPrinting(), this);
        connect(usporedba_, &ComparisonWindow::openRequested, this, &TForm1::OpenFromComparison);
        connect(usporedba_, &ComparisonWindow::helpRequested, this,
                [this](int context) { helpViewer_->ShowContext(context); });
        // Closed while it loaded: said here, where the user is now.
        connect(usporedba_, &ComparisonWindow::loadStopped, this,
                [this](const QString& text) { panels_->ShowNote(text); });
    }
    if (!usporedba_->isVisible()) {
        PlaceWindow(usporedba_, this);
    }
    usporedba_->show();
    usporedba_->raise();
    usporedba_->activateWindow();
}

void TForm1::OpenFromComparison(const QString& path) {
    raise();
    activateWindow();
    if (!CanDropChanges()) {
        return;
    }
    OpenDocument(path);
}

}  // namespace movik
