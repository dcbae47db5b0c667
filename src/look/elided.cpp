#include "look/elided.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <QToolTip>

#include <memory>

namespace look {

namespace {

// The margin the style keeps inside an item view's entry on each side of its text.
int textMargin(const QWidget* view)
{
    return view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
}

// The room for an entry's text in an item view without icons or check boxes: the entry's
// width, less the style's margins. (Asking the style for the text's rectangle would measure
// the text once more for every entry painted.)
int textRoom(const QStyleOptionViewItem& option, const QWidget* view)
{
    return option.rect.width() - 2 * textMargin(view);
}

} // namespace

QString elided(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString ellipsis(QChar(0x2026));
    // No letter is narrower than half a pixel: the rest of a longer text is cut anyway.
    const QString start = text.left(2 * static_cast<qsizetype>(std::max(width, 0)) + 2);
    QList<qsizetype> letterEnds;
    QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, start);
    for (qsizetype end = letters.toNextBoundary(); end > 0; end = letters.toNextBoundary())
        letterEnds << end;
    auto shown = [&](qsizetype count) {
        return count ? start.left(letterEnds[count - 1]).trimmed() + ellipsis : ellipsis;
    };
    // The most letters that fit with «…».
    qsizetype low = 0;
    qsizetype high = letterEnds.size();
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(shown(middle)) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    return shown(low);
}

QString ElidingLabel::shownText() const
{
    return elided(text(), fontMetrics(), contentsRect().width());
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
    return view->fontMetrics().horizontalAdvance(index.data(Qt::DisplayRole).toString()) >
           view->visualRect(index).width() - 2 * textMargin(view);
}

WholeTextTips::Shown* WholeTextTips::initShown(QStyleOptionViewItem* option,
                                               const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->rect.isEmpty() || !option->widget)
        return nullptr;
    const Settings settings{option->font, textRoom(*option, option->widget), option->direction,
                            option->displayAlignment};
    if (settings != m_shownFor) {
        m_shown.clear();
        m_shownFor = settings;
    }
    // A cache of 1,024 takes each new entry: the object it returns after inserting is the one
    // inserted.
    if (!m_shown.contains(option->text))
        m_shown.insert(option->text,
                       new Shown{elided(option->text, option->fontMetrics, settings.width), {}});
    Shown* shown = m_shown.object(option->text);
    option->text = shown->text;
    return shown;
}

void WholeTextTips::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    initShown(option, index);
}

const QTextLayout& WholeTextTips::laidOut(Shown& shown, const QStyleOptionViewItem& option,
                                          int width) const
{
    if (shown.layout)
        return *shown.layout;
    shown.layout = std::make_unique<QTextLayout>(shown.text, option.font);
    QTextLayout& layout = *shown.layout;
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(option.direction);
    textOption.setAlignment(QStyle::visualAlignment(option.direction, option.displayAlignment));
    layout.setTextOption(textOption);
    // The shaped glyphs stay with the layout: painting it again does not shape the text again.
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(width);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    return layout;
}

void WholeTextTips::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    Shown* shown = initShown(&item, index);
    const QWidget* view = item.widget;
    QStyle* style = view ? view->style() : QApplication::style();
    constexpr QStyle::State marked =
        QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_Editing;
    // A plain entry is its panel and its text. Anything else, and a text of more than one line,
    // is left to the style.
    if (!shown || (item.state & marked) || item.features != QStyleOptionViewItem::HasDisplay ||
        item.text.isEmpty() || item.text.contains(QChar::LineSeparator) ||
        item.text.contains(QLatin1Char('\n'))) {
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);
        return;
    }
    const int margin = textMargin(view);
    const QRect textRect = item.rect.adjusted(margin, 0, -margin, 0);
    const QTextLayout& layout = laidOut(*shown, item, textRect.width());
    painter->save();
    painter->setLayoutDirection(item.direction);
    painter->setClipRect(item.rect);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, view);

    QPalette::ColorGroup group = QPalette::Disabled;
    if (item.state & QStyle::State_Enabled)
        group = item.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
    painter->setPen(item.palette.color(group, QPalette::Text));
    // Where the style puts the line: at the text's left edge, centred by its whole height.
    const QRect lineRect = QStyle::alignedRect(Qt::LayoutDirectionAuto, item.displayAlignment,
                                               layout.boundingRect().size().toSize(), textRect);
    layout.draw(painter, QPointF(textRect.x(), lineRect.top()));
    painter->restore();
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
