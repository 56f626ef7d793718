#pragma once
// The three panels of the main window's status bar: the document's file (pIme), the warning of
// the last check (pUpozorenje) and the amount unit (pIznos).

#include <QString>

class QLabel;
class QStatusBar;
class QTimer;

namespace movik {

class StatusPanels {
  public:
    // Builds the panels into bar (named pBottom).
    explicit StatusPanels(QStatusBar* bar);

    // pIme: "Datoteka: " and the path, empty for an untitled document.
    void ShowFile(const QString& path);
    // pUpozorenje: the warning in red (black when empty), its details as the tooltip.
    void ShowWarning(const QString& warning, const QString& details);
    // pIznos: "Iznosi u " and the unit.
    void ShowUnit(const QString& unit);
    // A passing one-line note (pNapomena), shown for a while in the file panel's place.
    void ShowNote(const QString& note);
    // The file panel back in the note's place (a refusal the user has since corrected).
    void HideNote();

    // The warning's colour from the palette again (after the palette changed).
    void ColourWarning(bool warning);

  private:
    QStatusBar* bar_;
    QLabel* pIme_;
    QLabel* pUpozorenje_;
    QLabel* pIznos_;
    QLabel* pNapomena_;
    QTimer* noteTimer_;
};

}  // namespace movik
