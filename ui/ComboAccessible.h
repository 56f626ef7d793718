#pragma once
// What a screen reader is told about a drop-down list that takes no typing (the currency, the
// chart chooser): its choice as its text, so it is read with the label ("Valuta, euro (EUR)").
// Qt's own interface gives the choice only as the name, which a screen reader leaves out when
// the box has a label.

namespace movik {

// Installed once; answers for every combo box that is not editable.
void InstallComboAccessibility();

}  // namespace movik
