// The main window's help and About commands: the help viewer with F1 context help, the Help
// button of the information box, "&Korisničke upute" and "&O programu".

#include <QCoreApplication>

#include "about/AboutBox.h"
#include "about/HelpFile.h"
#include "about/HelpWindow.h"
#include "ui/HelpContexts.h"
#include "ui/MainWindow.h"

namespace movik {

void TForm1::InstallHelp() {
    helpViewer_ =
        std::make_unique<QtHelpViewer>(HelpFileCandidates(QCoreApplication::applicationDirPath()));
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
