#include "look/look.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

// The icons are compiled into this static library. The linker leaves a static library's
// resources out of the program unless something refers to them, so they are registered here,
// on first use.
static void registerLookResources()
{
    Q_INIT_RESOURCE(look);
}

namespace look {

QFont tahoma(qreal pointSize)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

void installFontSubstitutes()
{
    const QStringList persianFaces = {
        QStringLiteral("Vazirmatn"), QStringLiteral("Noto Sans Arabic"),
        QStringLiteral("Noto Naskh Arabic"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), persianFaces);
    QFont::insertSubstitutions(QStringLiteral("B Bardiya"), persianFaces);
}

void makeRed(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    widget->setPalette(palette);
}

void autoSize(QLabel* label)
{
    const QRect before = label->geometry();
    label->adjustSize();
    if (label->alignment() & Qt::AlignRight)
        label->move(before.right() + 1 - label->width(), before.top());
}

QIcon windowIcon()
{
    static const bool registered = (registerLookResources(), true);
    Q_UNUSED(registered);
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/vardel-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace look
