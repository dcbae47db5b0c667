#include "look/look.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QWidget>

// The icons are compiled into this static library. The linker leaves a static library's
// resources out of the program unless something refers to them, so they are registered here,
// on first use.
static void registerLookResources()
{
    Q_INIT_RESOURCE(look);
}

namespace look {

namespace {

// The platform's style, with three things drawn as a Persian reader expects:
// - A control's texts are aligned in the control's own reading order. A painter starts out in
//   the application's reading order, so in a left-to-right message box of a right-to-left
//   program the style's "left of the label, after the icon" landed at the button's right
//   border, over its frame.
// - Access-key underlines are left out of right-to-left texts: the underlined letter is drawn
//   apart from the rest of its word and loses its joined form («ب له» for «بله»). The keys
//   still work.
// - A menu item's shortcut in right-to-left menus stands at the distance from the left border
//   that the style keeps from the right border in left-to-right menus.
class PersianStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        painter->save();
        painter->setLayoutDirection(option->direction);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        const qsizetype tab = item ? item->text.indexOf(QLatin1Char('\t')) : -1;
        if (element == CE_MenuItem && tab >= 0 && option->direction == Qt::RightToLeft)
            drawRightToLeftMenuItem(*item, tab, painter, widget);
        else
            QProxyStyle::drawControl(element, option, painter, widget);
        painter->restore();
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override
    {
        painter->save();
        painter->setLayoutDirection(option->direction);
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        painter->restore();
    }

    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                      bool enabled, const QString& text,
                      QPalette::ColorRole textRole = QPalette::NoRole) const override
    {
        if ((flags & Qt::TextShowMnemonic) && text.isRightToLeft())
            flags = (flags & ~Qt::TextShowMnemonic) | Qt::TextHideMnemonic;
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
    }

private:
    void drawRightToLeftMenuItem(const QStyleOptionMenuItem& item, qsizetype tab, QPainter* painter,
                                 const QWidget* widget) const
    {
        QStyleOptionMenuItem withoutShortcut = item;
        withoutShortcut.text = item.text.left(tab);
        QProxyStyle::drawControl(CE_MenuItem, &withoutShortcut, painter, widget);

        const int margin = item.fontMetrics.averageCharWidth() * 2;
        const QRect area = item.rect.adjusted(margin, 0, 0, 0);
        const bool selected = item.state & State_Selected;
        painter->setFont(item.font);
        proxy()->drawItemText(painter, area,
                              Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter |
                                  Qt::TextShowMnemonic,
                              item.palette, item.state & State_Enabled, item.text.mid(tab + 1),
                              selected ? QPalette::HighlightedText : QPalette::Text);
    }
};

} // namespace

QFont tahoma(qreal pointSize)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

void installFontSubstitutes()
{
    // Noto Sans Arabic UI has Tahoma's compact line height; the faces after it have taller
    // lines than the windows were laid out for.
    const QStringList persianFaces = {
        QStringLiteral("Noto Sans Arabic UI"), QStringLiteral("Vazirmatn"),
        QStringLiteral("Noto Sans Arabic"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), persianFaces);
    QFont::insertSubstitutions(QStringLiteral("B Bardiya"), persianFaces);
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, QRect geometry,
              qreal pointSize)
{
    auto* widget = control<QLabel>(parent, name, geometry, pointSize);
    widget->setText(caption);
    widget->setAlignment(rightAligned);
    widget->setFocusPolicy(Qt::NoFocus);
    return widget;
}

void nameAfter(QWidget* control, const QString& caption)
{
    QString name = caption;
    name.remove(QLatin1Char(':'));
    control->setAccessibleName(name.simplified());
}

void makeRightToLeft(QComboBox* box)
{
    box->setLayoutDirection(Qt::RightToLeft);
    // The popup is a window of its own and does not follow the box's direction by itself.
    box->view()->setLayoutDirection(Qt::RightToLeft);
    box->view()->window()->setLayoutDirection(Qt::RightToLeft);
    for (int i = 0; i < box->count(); ++i)
        box->setItemData(i, static_cast<int>(rightAligned), Qt::TextAlignmentRole);
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

void keepOffEdges(QLabel* label)
{
    const int width = label->parentWidget()->width();
    const QRect box = label->geometry();
    QMargins margins = label->contentsMargins();
    margins.setLeft(std::max(margins.left(), edgeMargin - box.left()));
    margins.setRight(std::max(margins.right(), box.right() - (width - 1 - edgeMargin)));
    label->setContentsMargins(margins);
}

void installStyle()
{
    QApplication::setStyle(new PersianStyle(QApplication::style()->name()));
}

QIcon windowIcon()
{
    // Made once, as the application's icon, which every window shows: Qt decodes an icon's
    // images as they are added. The sizes a window's icon is shown in (title bar, task bar,
    // window switcher); launchers take the larger ones from the installed icon theme.
    QIcon icon = QGuiApplication::windowIcon();
    if (!icon.isNull())
        return icon;
    static const bool registered = (registerLookResources(), true);
    Q_UNUSED(registered);
    for (const int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/vardel-%1.png").arg(size), QSize(size, size));
    QGuiApplication::setWindowIcon(icon);
    return icon;
}

} // namespace look
