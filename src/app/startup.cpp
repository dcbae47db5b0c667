#include "app/startup.h"

#include "app/errorreport.h"
#include "app/frmmain.h"
#include "look/look.h"

#include <QApplication>

namespace startup {

std::unique_ptr<frmMain> showMainWindow(const QString& appFolder)
{
    auto window = std::make_unique<frmMain>();
    try {
        window->load(appFolder);
    } catch (const store::Error& error) {
        ErrorReport::show(nullptr, error);
        return nullptr;
    }
    window->show();
    // Without a window manager nothing else gives the new window the focus.
    window->activateWindow();
    return window;
}

int run(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vardel"));
    QApplication::setApplicationVersion(QStringLiteral(VARDEL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vardel"));
    QApplication::setWindowIcon(look::windowIcon());
    look::installFontSubstitutes();

    const std::unique_ptr<frmMain> window = showMainWindow(QApplication::applicationDirPath());
    if (!window)
        return 1;
    return QApplication::exec();
}

} // namespace startup
