#include "look/elided.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace look {

QString ElidingLabel::shownText() const
{
    // Eliding at the logical end cuts off the end of the text wherever it shows.
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

bool ElidingLabel::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (shownText() != text())
            QToolTip::showText(help->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void ElidingLabel::paintEvent(QPaintEvent* event)
{
    const QString shown = shownText();
    if (shown == text()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    // «…» follows the text's own direction, not the label's: at the left of a Persian name.
    painter.setLayoutDirection(text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(),
                          isEnabled(), shown, foregroundRole());
}

bool WholeTextTips::isCut(const QAbstractItemView* view, const QModelIndex& index)
{
    QStyleOptionViewItem option;
    option.initFrom(view->viewport());
    option.rect = view->visualRect(index);
    option.font = view->font();
    option.fontMetrics = view->fontMetrics();
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = index.data(Qt::DisplayRole).toString();
    QStyle* style = view->style();
    // The style keeps a margin of its own inside the text's rectangle on each side.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &option, view);
    return option.fontMetrics.horizontalAdvance(option.text) > text.width() - 2 * margin;
}

bool WholeTextTips::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                              const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    if (isCut(view, index))
        QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(),
                           view->viewport(), view->visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

} // namespace look
