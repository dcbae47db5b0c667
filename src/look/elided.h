#pragma once

#include <QCache>
#include <QFont>
#include <QLabel>
#include <QStyledItemDelegate>
#include <QTextLayout>

#include <memory>

namespace look {

// `text` as it shows in `width` pixels of `metrics`: whole when it fits, else its beginning, cut
// between two letters, followed by «…». Cut at the text's logical end, «…» stands at the left
// of a right-to-left text.
QString elided(const QString& text, const QFontMetrics& metrics, int width);

// A one-line label whose text, when wider than the label, ends with «…» where it is cut: at
// the left for a right-to-left text, which runs from the right, at the right otherwise. The
// whole text shows as the label's tooltip then. text() is always the whole text.
class ElidingLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The text as drawn: the whole text, or its beginning with «…».
    QString shownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// Item views: an entry wider than the view ends with «…» where it is cut (see elided), and
// shows its whole text as a tooltip. Entries are painted as the style paints them; the texts of
// plain entries (no selection, focus, icon or check box) are laid out once and kept, so that a
// list painted anew after each keystroke shapes only names it has not shown before.
class WholeTextTips : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Whether `index` shows its text cut in `view`.
    static bool isCut(const QAbstractItemView* view, const QModelIndex& index);

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    // An entry's text as it shows, whole or cut (see elided), and, once the entry has been
    // painted plain, that text laid out on one line as the style lays out an entry's text, its
    // shaped glyphs kept.
    struct Shown
    {
        QString text;
        std::unique_ptr<QTextLayout> layout;
    };
    // The style's option for `index` with the text it shows. The entry's Shown, keyed by its
    // whole text, when the option has a view and a rectangle.
    Shown* initShown(QStyleOptionViewItem* option, const QModelIndex& index) const;
    const QTextLayout& laidOut(Shown& shown, const QStyleOptionViewItem& option, int width) const;

    // What every kept text was cut and laid out for.
    struct Settings
    {
        QFont font;
        int width = -1;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        Qt::Alignment alignment;
        bool operator==(const Settings&) const = default;
    };
    // About 1.6 KB a name: the names of some seventy screens of the list. Measuring or laying
    // out a text shapes it: a list painted anew after each keystroke shapes only names it has
    // not shown before.
    mutable QCache<QString, Shown> m_shown{1024};
    mutable Settings m_shownFor;
};

} // namespace look
