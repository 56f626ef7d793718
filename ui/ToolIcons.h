#pragma once
// The tool bar's icons, drawn here at 20 x 20: nothing is looked up in icon themes or decoded
// from files while the window is first shown.

#include <QIcon>

namespace movik {

QIcon ExitIcon();
QIcon NewFileIcon();
QIcon OpenFileIcon();
QIcon SaveFileIcon();
QIcon PrinterIcon();

}  // namespace movik
