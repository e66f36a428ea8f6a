#pragma once
// guanyu: the About window. A borderless window filled by its skin container, with the program icon,
// three lines about the tool and an OK button that hides the window again.

#include <QWidget>

#include "platform/usercontrol.h"

class QLabel;

namespace tervolin::controls {
class vantlebutton;
}

namespace tervolin::app {

class NiceContainr;

class guanyu : public QWidget
{
    Q_OBJECT
public:
    /// The window stays above its owner and goes with it; it never keeps the program running.
    explicit guanyu(QWidget* owner = nullptr);
    ~guanyu() override;

    /// The load handler: writes the text of Label1.
    void Form_Load();
    /// Shows the window centred on the screen.
    void showCentred();

    NiceContainr* NiceContainr1;
    QLabel* Label1;
    QLabel* Picture1;
    controls::vantlebutton* vantlebutton1;

private:
    void vantlebutton1_Click();

    platform::ControlContainer container_;
};

/// Shows the About window of the owner (not null), not modal. The first call creates and loads the window; later
/// calls show the same window again without loading it anew. Returns the window.
guanyu* ShowAboutWindow(QWidget* owner);

}  // namespace tervolin::app
