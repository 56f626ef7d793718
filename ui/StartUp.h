#pragma once
// The program's start-up: the About box as the start-up screen while the main window is built,
// then the document named on the command line.

#include <QString>
#include <memory>

#include "ui/Dialogs.h"

namespace movik {

class TfAbout;
class TForm1;

// Shows splash as the start-up screen, creates the main window (a new document shown; the window
// keeps splash as its About box), closes the start-up screen, then opens documentPath when it is
// not empty (a missing file is ignored). The window is returned not yet shown.
// dialogs: the window's dialogs (the Qt ones when null).
std::unique_ptr<TForm1> StartUp(TfAbout& splash, const QString& documentPath,
                                std::unique_ptr<Dialogs> dialogs = nullptr);

}  // namespace movik
