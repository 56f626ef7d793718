#pragma once
// What a screen reader is told about the program's own top-level windows made of a plain widget
// (the comparison, the charts): a window (a frame), as the main window and the dialogs are, not
// a filler inside nothing.

namespace movik {

// Installed once; answers for every plain widget that is a window, and installs the answers for
// the main window's page tabs (TabAccessible.h) and the drop-down lists (ComboAccessible.h).
void InstallWindowAccessibility();

}  // namespace movik
