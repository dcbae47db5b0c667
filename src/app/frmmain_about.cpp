// The main window's about command.
#include "about/frmabout.h"
#include "app/frmmain.h"

#include <memory>

namespace {

// Holds the main window's one about window from its first showing to the end of the run. The
// about window is a window of its own, with no owner, so it cannot be a child of the main
// window; this child object of the main window keeps it instead and deletes it with the main
// window.
class AboutWindowHolder : public QObject
{
    Q_OBJECT
public:
    explicit AboutWindowHolder(frmMain* main)
        : QObject(main), window(std::make_unique<frmabout>([main] {
              main->show();
              main->activateWindow();
          }))
    {
    }

    const std::unique_ptr<frmabout> window;
};

} // namespace

void frmMain::aboutCommand()
{
    auto* holder = findChild<AboutWindowHolder*>(QString(), Qt::FindDirectChildrenOnly);
    if (!holder)
        holder = new AboutWindowHolder(this);
    frmabout* window = holder->window.get();
    // Shown before the main window hides, so that one of the two is always on screen.
    window->show();
    window->activateWindow();
    hide();
}

#include "frmmain_about.moc"
