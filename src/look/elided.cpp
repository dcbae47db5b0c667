#include "look/elided.h"

#include <QAbstractItemView>
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
    QStyleOptionViewItem option;
    option.initFrom(view->viewport());
    option.rect = view->visualRect(index);
    option.font = view->font();
    option.fontMetrics = view->fontMetrics();
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = index.data(Qt::DisplayRole).toString();
    return option.fontMetrics.horizontalAdvance(option.text) > textRoom(option, view);
}

int WholeTextTips::advance(const QString& text, const QStyleOptionViewItem& option) const
{
    constexpr qsizetype kept = 1 << 16;
    if (option.font != m_advancesFont || m_advances.size() >= kept) {
        m_advances.clear();
        m_advancesFont = option.font;
    }
    auto found = m_advances.constFind(text);
    if (found == m_advances.constEnd())
        found = m_advances.insert(text, option.fontMetrics.horizontalAdvance(text));
    return *found;
}

void WholeTextTips::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->rect.isEmpty() || !option->widget)
        return;
    const int room = textRoom(*option, option->widget);
    if (advance(option->text, *option) > room)
        option->text = elided(option->text, option->fontMetrics, room);
}

const QTextLayout* WholeTextTips::laidOut(const QString& text, const QStyleOptionViewItem& option,
                                          int width) const
{
    const LayoutSettings settings{option.font, width, option.direction, option.displayAlignment};
    if (settings != m_layoutsFor) {
        m_layouts.clear();
        m_layoutsFor = settings;
    }
    if (const QTextLayout* kept = m_layouts.object(text))
        return kept;
    auto layout = std::make_unique<QTextLayout>(text, option.font);
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(option.direction);
    textOption.setAlignment(QStyle::visualAlignment(option.direction, option.displayAlignment));
    layout->setTextOption(textOption);
    // The shaped glyphs stay with the layout: painting it again does not shape the text again.
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setLineWidth(width);
    line.setPosition(QPointF(0, 0));
    layout->endLayout();
    m_layouts.insert(text, layout.release());
    return m_layouts.object(text);
}

void WholeTextTips::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    constexpr QStyle::State marked =
        QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_Editing;
    // A plain entry is its panel and its text. Anything else, and a text of more than one line,
    // is left to the style.
    const QWidget* view = item.widget;
    const int margin = view ? textMargin(view) : 0;
    const QRect textRect = item.rect.adjusted(margin, 0, -margin, 0);
    const QTextLayout* layout = nullptr;
    if (view && !(item.state & marked) && item.features == QStyleOptionViewItem::HasDisplay &&
        !item.text.isEmpty() && !item.text.contains(QChar::LineSeparator) &&
        !item.text.contains(QLatin1Char('\n')))
        layout = laidOut(item.text, item, textRect.width());
    if (!layout) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyle* style = view->style();
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
                                               layout->boundingRect().size().toSize(), textRect);
    layout->draw(painter, QPointF(textRect.x(), lineRect.top()));
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
