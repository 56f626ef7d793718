#include "ui/StartUp.h"

#include "about/AboutBox.h"
#include "ui/MainWindow.h"
#include "ui/StartupTrace.h"

namespace movik {

std::unique_ptr<TForm1> StartUp(TfAbout& splash, const QString& documentPath,
                                std::unique_ptr<Dialogs> dialogs) {
    splash.ShowSplash();
    StartupMark("start-up screen shown");
    // The statement pages follow the window's first frame: it shows sooner.
    auto window =
        std::make_unique<TForm1>(std::move(dialogs), nullptr, HiddenPages::AfterFirstFrame);
    StartupMark("main window built");
    window->SetAboutBox(&splash);
    // Closed before the document opens, so no message of the opening hides behind it.
    splash.CloseSplash();
    if (!documentPath.isEmpty()) {
        window->OpenDocument(documentPath);
        StartupMark("document opened");
    }
    return window;
}

}  // namespace movik
