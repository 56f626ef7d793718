#pragma once
// What a screen reader is told about the main window's page tabs: each tab with its caption, and
// which one is selected (Qt's own tab interface does not say).

namespace movik {

// Installed once; answers for the tab bar of the page control.
void InstallTabAccessibility();

}  // namespace movik
