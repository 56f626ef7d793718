// The main window's help and About commands: the help viewer with F1 context help, the Help
// button of the information box, "&Korisničke upute" and "&O programu".

#include <QCoreApplication>

#include "about/AboutBox.h"
#include "about/HelpFile.h"
#include "about/HelpWindow.h"
#include "ui/HelpContexts.h"
#include "ui/MainWindow.h"
#include "ui/PrintCommands.h"
#include "ui/WindowPlace.h"

namespace movik {

void TForm1::InstallHelp() {
    auto viewer =
        std::make_unique<QtHelpViewer>(HelpFileCandidates(QCoreApplication::applicationDirPath()));
    // A topic prints through the window's checked print path.
    viewer->SetTopicPrinter([this](const QByteArray& pdf, const QString& jobName, QWidget* window,
                                   std::function<void(const QString&, bool)> shown) {
        print_->PrintTopic(pdf, jobName, print_->InWindow(window, std::move(shown)));
    });
    viewer->placeWindow = [this](QWidget* window) { PlaceWindow(window, this); };
    helpViewer_ = std::move(viewer);
    helpContexts_ =
        new HelpContexts(this, [this](int context) { helpViewer_->ShowContext(context); });
    dialogs_->helpRequested = [this](int context) { helpViewer_->ShowContext(context); };
}

void TForm1::SetHelpViewer(std::unique_ptr<HelpViewer> viewer) {
    helpViewer_ = std::move(viewer);
}

void TForm1::SetAboutBox(TfAbout* about) {
    about_ = about;
}

TfAbout& TForm1::AboutBox() {
    if (about_ == nullptr) {
        ownAbout_ = std::make_unique<TfAbout>();
        about_ = ownAbout_.get();
    }
    return *about_;
}

void TForm1::Korisnikauputstva1Click() {
    helpViewer_->ShowContents();
}

void TForm1::Oprogramu1Click() {
    AboutBox().ShowAbout(this);
}

}  // namespace movik
