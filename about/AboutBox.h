#pragma once
// TfAbout: the About box, which is also the start-up screen. A borderless 500 x 250 window centred
// on the screen, filled by the title artwork (ProgramIcon), with an OK button that appears only
// once the box has been opened as "O programu". One instance serves the whole run.

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;

namespace movik {

class TfAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TfAbout(QWidget* parent = nullptr);

    // Shows the box as the start-up screen: without the OK button, not modal. It does not wait
    // for the windowing system, so the main window is built while the box is being mapped.
    void ShowSplash();
    // Closes the start-up screen after painting it (once mapped, waiting at most 100 ms for
    // that); the object stays for later use.
    void CloseSplash();
    // "O programu": the OK button becomes visible (for good) and the box is shown modally, kept
    // above owner's window when one is given. Returns the dialog result when the user has
    // closed it.
    int ShowAbout(QWidget* owner = nullptr);

    QLabel* ProgramIcon;
    QPushButton* OKButton;

  protected:
    // Runs the modal loop (tests replace it to look at the box without blocking).
    virtual int RunModal();
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CentreOnScreen();
    // Shows the picture that suits the screen's pixel density (loaded again only on a change).
    void ShowArtwork();

    qreal artworkRatio_ = 0;
};

// A PNG picture (a resource of ours) decoded by Qt's own PNG reader, without asking the image
// format plugins to recognise it: loading and probing them all costs the start-up several
// milliseconds. Null when the file is missing or no PNG.
QPixmap LoadPng(const QString& path);
// The same, as an image: for any thread.
QImage DecodePng(const QString& path);

// Starts decoding the title artwork for devicePixelRatio on another thread, while the start-up
// goes on; AboutArtwork takes it from there when it asks for the same density.
void PreloadAboutArtwork(qreal devicePixelRatio);

// The title artwork for a device pixel ratio: the 2x picture on any denser screen than 1:1 (it is
// scaled down there, which looks sharper than the 1x picture scaled up).
QPixmap AboutArtwork(qreal devicePixelRatio);

}  // namespace movik
