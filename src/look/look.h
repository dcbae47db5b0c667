#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>

class QLabel;
class QWidget;

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

// Tahoma at the given size. Where Tahoma is missing, a Persian-capable face stands in for it
// (see installFontSubstitutes).
QFont tahoma(qreal pointSize);

// Registers the fonts that replace Tahoma and "B Bardiya" when they are not installed.
void installFontSubstitutes();

// Red captions.
void makeRed(QWidget* widget);

// A label that fits its size to its caption. Right-aligned labels keep their right edge, as
// they grow to the left in right-to-left reading.
void autoSize(QLabel* label);

// Text aligned to the right edge also in a right-to-left widget, where Qt mirrors AlignRight.
constexpr Qt::Alignment rightAligned = Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter;

// The program's icon, shared by all its windows.
QIcon windowIcon();

} // namespace look
