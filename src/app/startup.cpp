#include "app/startup.h"

#include "app/errorreport.h"
#include "app/frmmain.h"
#include "app/heapreserve.h"
#include "look/look.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

namespace startup {

namespace {

// Room for the largest blocks a keystroke takes for a moment (reading a list past a meaning of
// a megabyte, the list view's row positions at 250,000 names: under 2 MiB each), and for the
// program's slow growth as the name box's undo record fills.
constexpr std::size_t memoryReserve = std::size_t{4} << 20;

// Waits for the window's first paint, then lets the event loop finish that round before
// touching the reserve: the window shows without waiting for it.
class AfterFirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                heapreserve::keep(memoryReserve);
                deleteLater();
            });
        }
        return false;
    }
};

} // namespace

void keepMemoryOnceShown(QWidget* window)
{
    window->installEventFilter(new AfterFirstPaint(window));
}

std::unique_ptr<frmMain> showMainWindow(const QString& appFolder)
{
    auto window = std::make_unique<frmMain>();
    keepMemoryOnceShown(window.get());
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
