#pragma once

#include <functional>
#include <QWidget>

class QLabel;
class QPushButton;

// The about window: the program's name and version, its programmer and its web address, read
// left to right, at a fixed place on the screen. The user leaves it through its one button,
// backButton, which brings the main window back and hides this window; it is hidden, never
// destroyed, so each showing is the same window where the user left it.
class frmabout : public QWidget
{
    Q_OBJECT
public:
    // `showMainWindow` brings the main window back on screen; it runs before this window hides,
    // so that one of the two is always shown.
    explicit frmabout(std::function<void()> showMainWindow);
    ~frmabout() override;

    // Click of backButton: the main window comes back, this window hides.
    void command1Click();

protected:
    // Closing from the title bar leaves the window as backButton does.
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> m_showMainWindow;

    QLabel* programCaption;
    QLabel* programmerCaption;
    QLabel* webCaption;
    QLabel* webAddress;
    QLabel* programmer;
    QLabel* version;
    QPushButton* backButton;
};
