#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>
#include <QWidget>

class QComboBox;
class QLabel;

namespace look {

// Window layouts are given in twips; at 96 dots per inch 15 twips make one pixel.
constexpr int twips(int value)
{
    return (value + 7) / 15;
}
constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

// Tahoma at the given size. Where Tahoma is missing, a Persian face with compact lines stands
// in for it (see installFontSubstitutes).
QFont tahoma(qreal pointSize);

// Registers the fonts that replace Tahoma and "B Bardiya" when they are not installed.
void installFontSubstitutes();

// A control of `Widget` named `name` (its objectName), placed at `geometry` in `parent`, in
// Tahoma of `pointSize`.
template <typename Widget>
Widget* control(QWidget* parent, const char* name, QRect geometry, qreal pointSize)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    widget->setFont(tahoma(pointSize));
    return widget;
}

// A label with `caption`, aligned to its right edge, that never takes the focus.
QLabel* label(QWidget* parent, const char* name, const QString& caption, QRect geometry,
              qreal pointSize);

// Red captions.
void makeRed(QWidget* widget);

// A label that fits its size to its caption. Right-aligned labels keep their right edge, as
// they grow to the left in right-to-left reading.
void autoSize(QLabel* label);

// No text of a window stands nearer than this many pixels to the window's edges.
constexpr int edgeMargin = 4;

// Moves the text of `label` in from its box's sides, as little as needed, so that it keeps
// edgeMargin from the left and right edges of the label's parent; the box stays.
void keepOffEdges(QLabel* label);

// The name a screen reader announces for `control`: `caption` without its colon and blanks.
void nameAfter(QWidget* control, const QString& caption);

// A drop-down list whose entries read from the right, in the box and in its popup.
void makeRightToLeft(QComboBox* box);

// Text aligned to the right edge also in a right-to-left widget, where Qt mirrors AlignRight.
constexpr Qt::Alignment rightAligned = Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter;

// The title-bar buttons of a window of fixed size: no maximize button.
constexpr Qt::WindowFlags fixedWindow = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                        Qt::WindowCloseButtonHint;
constexpr Qt::WindowFlags fixedDialog = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                        Qt::MSWindowsFixedSizeDialogHint;

// Installs the program's style: the platform's own, with every control's texts aligned in the
// control's reading order (also in left-to-right message boxes of the right-to-left program),
// Persian texts drawn without access-key underlines that break their words apart, and
// shortcut texts in right-to-left menus kept off the menu's border.
void installStyle();

// The program's icon, shared by all its windows: the application's icon, set on first use.
QIcon windowIcon();

} // namespace look
