#pragma once

#include <memory>
#include <QString>

class frmMain;

namespace startup {

// Loads the main window for `appFolder` and shows it. When db.mdb cannot be read the error
// report is shown instead and no window is returned.
std::unique_ptr<frmMain> showMainWindow(const QString& appFolder);

// Loads Qt's own Persian texts (the buttons of message boxes, for one). False when they are
// not installed: Qt's English texts show then.
bool installQtTranslation();

// The whole program: application object, main window, event loop. Returns the exit code.
int run(int argc, char* argv[]);

} // namespace startup
