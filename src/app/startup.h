#pragma once

#include <memory>
#include <QString>

class frmMain;
class QWidget;

namespace startup {

// Loads the main window for `appFolder` and shows it. When db.mdb cannot be read the error
// report is shown instead and no window is returned.
std::unique_ptr<frmMain> showMainWindow(const QString& appFolder);

// Once `window` has painted for the first time, touches memory for the C library to keep, so
// that keystrokes find the memory they take already mapped (see heapreserve.h).
// showMainWindow asks for it.
void keepMemoryOnceShown(QWidget* window);

// Loads Qt's own Persian texts (the buttons of message boxes, for one). False when they are
// not installed: Qt's English texts show then.
bool installQtTranslation();

// The whole program: application object, main window, event loop. Returns the exit code.
int run(int argc, char* argv[]);

} // namespace startup
