#include "app/startup.h"

#include "app/errorreport.h"
#include "app/frmmain.h"
#include "look/look.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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

bool installQtTranslation()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    // Beside the program where it carries its own (Windows), else where Qt keeps them.
    const QString folders[] = {QCoreApplication::applicationDirPath() +
                                   QStringLiteral("/translations"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString& folder : folders) {
        if (translator->load(QLocale(QLocale::Persian, QLocale::Iran), QStringLiteral("qtbase"),
                             QStringLiteral("_"), folder))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

int run(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vardel"));
    QApplication::setApplicationVersion(QStringLiteral(VARDEL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vardel"));
    QApplication::setWindowIcon(look::windowIcon());
    look::installFontSubstitutes();
    look::installStyle();
    installQtTranslation();

    const std::unique_ptr<frmMain> window = showMainWindow(QApplication::applicationDirPath());
    if (!window)
        return 1;
    return QApplication::exec();
}

} // namespace startup
