#include "about/frmabout.h"

#include "look/look.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

using look::twipsRect;

namespace {

// A label of the window. The window reads left to right, but its texts are Persian: each
// stands at the right of its column, next to the caption it belongs to.
QLabel* label(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* widget = new QLabel(caption, parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    widget->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    return widget;
}

QLabel* tahomaLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    QLabel* widget = label(parent, name, caption, geometry);
    widget->setFont(look::tahoma(12));
    return widget;
}

} // namespace

frmabout::frmabout(std::function<void()> showMainWindow)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      m_showMainWindow(std::move(showMainWindow))
{
    setObjectName(QStringLiteral("frmabout"));
    setWindowTitle(QStringLiteral("About Vardel"));
    setWindowIcon(look::windowIcon());
    // Unlike the program's other windows, this one reads left to right.
    setLayoutDirection(Qt::LeftToRight);
    // The client area, placed at a fixed point of the screen rather than centred.
    setGeometry(twipsRect(5745, 4410, 4245, 2790));
    setFixedSize(size());

    programCaption =
        tahomaLabel(this, "Label1", QStringLiteral("نام برنامه "), twipsRect(2880, 120, 1335, 375));
    programmerCaption = tahomaLabel(this, "Label2", QStringLiteral("برنامه نويس "),
                                    twipsRect(2880, 720, 1335, 375));
    webCaption =
        tahomaLabel(this, "Label3", QStringLiteral("وب سايت "), twipsRect(2880, 1440, 1335, 375));
    // The project has no web address of its own; the label says so ("has none").
    webAddress = label(this, "Label5", QStringLiteral("ندارد"), twipsRect(1080, 1560, 1215, 375));
    // The programmer: the Vardel team.
    programmer =
        tahomaLabel(this, "Label6", QStringLiteral("تیم وردل"), twipsRect(360, 720, 2415, 375));
    // As wide as the value column, so that the whole version text shows.
    version = tahomaLabel(this, "Label7", QStringLiteral("Vardel نسخه 1"),
                          twipsRect(360, 120, 2295, 375));

    // The captions' column reaches to the window's right edge; the texts keep off it.
    for (QLabel* caption : {programCaption, programmerCaption, webCaption})
        look::keepOffEdges(caption);

    backButton = new QPushButton(QStringLiteral("بازگشت"), this);
    backButton->setObjectName(QStringLiteral("Command1"));
    backButton->setGeometry(twipsRect(2760, 2280, 1335, 375));
    backButton->setFont(look::tahoma(8.25));
    // Neither the default nor the cancel button: Esc presses nothing. The focused button takes
    // Enter as well as Space, as a focused button does on the desktop.
    backButton->setDefault(false);
    backButton->setAutoDefault(true);
    // The only control that takes the focus, so it holds it whenever the window is shown.
    backButton->setFocus();
    connect(backButton, &QPushButton::clicked, this, &frmabout::command1Click);
}

frmabout::~frmabout() = default;

void frmabout::command1Click()
{
    m_showMainWindow();
    hide();
}

void frmabout::closeEvent(QCloseEvent* event)
{
    // Accepting the close hides the window (it is not deleted on close); the main window is
    // already back on screen by then, so the program does not take this for its last window.
    m_showMainWindow();
    event->accept();
}
