#pragma once
// HelpViewer: what the program asks of the help: its contents, or the topic of a help context.
// The program uses the help window (HelpWindow.h); tests use a scripted stand-in.

namespace movik {

class HelpViewer {
  public:
    virtual ~HelpViewer() = default;
    // Shows the contents page of the help.
    virtual void ShowContents() = 0;
    // Shows the topic of a help context (1, 4 to 15).
    virtual void ShowContext(int context) = 0;
};

}  // namespace movik
