// What a Persian reader sees in every window: texts that fit their boxes in the font in use and
// show whole on screen, controls and popups that read from the right, a list that shows enough
// names, a meaning of any length, and a name for every control a screen reader announces. Run
// under the offscreen platform and on a real X server, whose theme gives message buttons icons.
#include "about/frmabout.h"
#include "app/errorreport.h"
#include "app/startup.h"
#include "editing/frmaddname.h"
#include "editing/frmeditname.h"
#include "editing/meaningedit.h"
#include "editing/messages.h"
#include "look/elided.h"
#include "look/look.h"
#include "mainwindowfixture.h"

#include <algorithm>
#include <numeric>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>

namespace {

// Persian words, repeated to `length` characters.
QString persianText(qsizetype length)
{
    const QString words = QStringLiteral("آرمان به معنی آرزو و امید، نام پهلوانی در شاهنامه ");
    QString text;
    while (text.size() < length)
        text += words;
    return text.left(length).trimmed();
}

// A name of 60 characters and a meaning of five lines, at the top of the list.
const QString longName = persianText(60);
const QString longMeaning = persianText(231);

QList<dbfile::Entry> manyNames()
{
    QList<dbfile::Entry> names = testsupport::realNames(300);
    // The names below stand once, also where the data holds them.
    // The longest captions a window shows come from its own texts; long names and meanings
    // from the data.
    const QList<dbfile::Entry> added{
        {QStringLiteral("بلند"), QString(100000, QChar(0x0628)), QStringLiteral("f")},
        {longName, longMeaning, QStringLiteral("m")},
        {QStringLiteral("آبان"), QStringLiteral("نام ماه هشتم"), QStringLiteral("f")},
        {QStringLiteral("آبتین"), persianText(80), QStringLiteral("m")}};
    // The names added stand once, also where the data holds them.
    names.removeIf([&added](const dbfile::Entry& entry) {
        return std::any_of(added.begin(), added.end(),
                           [&entry](const dbfile::Entry& one) { return one.name == entry.name; });
    });
    names.append(added);
    return names;
}

// The windows of the program, each shown: main, add, edit (on the first entry) and about.
struct Windows
{
    MainWindowFixture main{manyNames()};
    editing::Feedback feedback{[](QWidget*, const QString&) {},
                               [](QWidget*, const store::Error&) {
                               }};
    store::NameStore names{main.folder.dbPath()};
    frmAddName add{main.window.get(), names, feedback};
    frmEditName edit{main.window.get(), names, feedback, [this] {
                         return main.window->selectedName();
                     }};
    frmabout about{[] {
    }};

    Windows()
    {
        main.select(0);
        if (!edit.load())
            qFatal("the edit window did not load");
        for (QWidget* window : all()) {
            window->show();
            if (!QTest::qWaitForWindowExposed(window))
                qFatal("a window did not show");
        }
    }
    QList<QWidget*> all() { return {main.window.get(), &add, &edit, &about}; }
};

QString describe(const QWidget* widget)
{
    return widget->window()->objectName() + QLatin1Char('/') + widget->objectName();
}

// The controls of `window` itself, not of the windows it owns.
template <typename Control> QList<Control*> controlsOf(QWidget* window)
{
    QList<Control*> controls = window->findChildren<Control*>();
    controls.removeIf([window](const Control* control) { return control->window() != window; });
    return controls;
}

// Where a text leaves ink: the pixels in which a drawing with the text in black differs from the
// same drawing with the text in white. Frames, icons and backgrounds are drawn alike both times.
QImage inkOf(const std::function<QImage(const QColor&)>& draw)
{
    const QImage black = draw(Qt::black);
    const QImage white = draw(Qt::white);
    QImage ink(black.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < ink.height(); ++y)
        for (int x = 0; x < ink.width(); ++x)
            ink.scanLine(y)[x] = static_cast<uchar>(
                std::max(0, qGray(white.pixel(x, y)) - qGray(black.pixel(x, y))));
    return ink;
}

QImage inkOf(QWidget* control, QPalette::ColorRole textRole)
{
    const QPalette saved = control->palette();
    QImage ink = inkOf([&](const QColor& colour) {
        QPalette palette = saved;
        palette.setColor(textRole, colour);
        control->setPalette(palette);
        return control->grab().toImage();
    });
    control->setPalette(saved);
    return ink;
}

// The rectangle the ink within `area` covers; pixels fainter than an eighth are noise.
QRect inkBox(const QImage& ink, const QRect& area = {})
{
    const QRect within = area.isNull() ? ink.rect() : area & ink.rect();
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (ink.constScanLine(y)[x] > 32)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The row with the most ink: Persian letters join on their baseline.
int baselineOf(const QImage& ink)
{
    QList<int> rows(ink.height());
    for (int y = 0; y < ink.height(); ++y)
        rows[y] = std::accumulate(ink.constScanLine(y), ink.constScanLine(y) + ink.width(), 0);
    return static_cast<int>(std::max_element(rows.begin(), rows.end()) - rows.begin());
}

// The width of `text` drawn whole in `font`, from its first to its last pixel of ink.
int wholeWidth(const QString& text, const QFont& font)
{
    return inkBox(inkOf([&](const QColor& colour) {
               QImage image(QFontMetrics(font).horizontalAdvance(text) + 40, 40,
                            QImage::Format_RGB32);
               image.fill(Qt::gray);
               QPainter painter(&image);
               painter.setFont(font);
               painter.setPen(colour);
               painter.drawText(image.rect(), Qt::AlignCenter, text);
               return image;
           }))
        .width();
}

QString show(const QRect& rect)
{
    return QStringLiteral("%1,%2 %3x%4")
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height());
}

// No text stands nearer than this to its window's left and right edges.
constexpr int edgeMargin = 4;

// What the checks below found wrong, one line each.
using Faults = QStringList;

// The text of `control` leaves ink within `area` (all of the control by default), all of it
// inside `content` (in the control's coordinates) less `inset`, and no nearer than the
// program's margin to its window's left and right edges. A `line` of text narrower than drawn
// whole whose ink runs from side to side of `content` was cut. Returns the ink's rectangle.
QRect checkInk(QWidget* control, QPalette::ColorRole role, const QRect& content, Faults& faults,
               const QString& line = {}, QMargins inset = {}, const QRect& area = {})
{
    const QRect box = inkBox(inkOf(control, role), area);
    const QString where =
        describe(control) + QStringLiteral(": ink %1 in %2").arg(show(box), show(content));
    if (box.isEmpty()) {
        faults << where + QStringLiteral(": no text drawn");
        return box;
    }
    if (!content.marginsRemoved(inset).contains(box))
        faults << where + QStringLiteral(", %1 px off its sides, %2 px off top and bottom")
                              .arg(inset.left())
                              .arg(inset.top());
    if (!line.isEmpty()) {
        const int whole = wholeWidth(line, control->font());
        if (box.width() < whole - 2 && box.left() <= content.left() + 1 &&
            box.right() >= content.right() - 1)
            faults << where + QStringLiteral(": «%1» cut, %2 px drawn whole").arg(line).arg(whole);
    }
    QWidget* window = control->window();
    const QRect onWindow = box.translated(control->mapTo(window, QPoint()));
    if (!qobject_cast<QMessageBox*>(window) &&
        (onWindow.left() < edgeMargin || onWindow.right() >= window->width() - edgeMargin))
        faults << where + QStringLiteral(": %1 on a window %2 wide")
                              .arg(show(onWindow))
                              .arg(window->width());
    return box;
}

// A push button shows its label whole, with the style's margins inside its frame on both sides.
void checkButton(QPushButton* button, Faults& faults)
{
    QStyle* style = button->style();
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) / 2 +
                       style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    QString text = button->text();
    text.remove(QLatin1Char('&'));
    const QRect box = checkInk(button, QPalette::ButtonText, button->rect(), faults, text,
                               QMargins(margin, 1, margin, 1));
    // Drawn apart, an underlined letter takes another form and width than in its word.
    const int whole = wholeWidth(text, button->font());
    if (std::abs(box.width() - whole) > 2)
        faults << describe(button) + QStringLiteral(": «%1» %2 px wide, %3 px drawn whole")
                                         .arg(text)
                                         .arg(box.width())
                                         .arg(whole);
}

// The text and every button of the modal message box that `open` shows.
void checkMessageBox(const std::function<void()>& open, Faults& faults)
{
    bool seen = false;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        timer.stop();
        seen = QTest::qWaitForWindowExposed(box);
        box->setObjectName(QStringLiteral("box «%1»").arg(box->text().left(12)));
        auto* text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        checkInk(text, QPalette::WindowText, text->contentsRect(), faults);
        if (box->buttons().isEmpty())
            faults << describe(box) + QStringLiteral(": no buttons");
        for (QAbstractButton* button : box->buttons())
            checkButton(qobject_cast<QPushButton*>(button), faults);
        box->done(QMessageBox::No);
    });
    timer.start();
    open();
    if (!seen)
        faults << QStringLiteral("a message box did not show");
}

// Every accessible object below `object`, depth first.
void collect(QAccessibleInterface* object, QList<QAccessibleInterface*>& out)
{
    for (int i = 0; i < object->childCount(); ++i) {
        if (QAccessibleInterface* child = object->child(i)) {
            out << child;
            collect(child, out);
        }
    }
}

} // namespace

class LayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // As the program starts: its fonts, its style and Qt's Persian texts.
        look::installFontSubstitutes();
        look::installStyle();
        QVERIFY(startup::installQtTranslation());
    }

    // Labels, buttons, check boxes, frame titles and combo entries fit their boxes.
    void textsFitTheirBoxes()
    {
        Windows windows;
        for (QWidget* window : windows.all()) {
            for (QLabel* label : window->findChildren<QLabel*>()) {
                if (label->text().isEmpty() || !label->pixmap().isNull())
                    continue;
                const QFontMetrics metrics = label->fontMetrics();
                QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(),
                         qPrintable(describe(label)));
                QVERIFY2(metrics.height() <= label->contentsRect().height(),
                         qPrintable(describe(label)));
            }
            for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
                // A push button's own minimum width is no matter of its text; its text and
                // margins must fit. A check box needs its box, spacing and caption.
                const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin);
                const int needed =
                    qobject_cast<QPushButton*>(button)
                        ? button->fontMetrics().horizontalAdvance(button->text()) + 2 * margin
                        : button->sizeHint().width();
                QVERIFY2(needed <= button->width(),
                         qPrintable(describe(button) +
                                    QStringLiteral(" %1 > %2").arg(needed).arg(button->width())));
                QVERIFY2(button->fontMetrics().height() <= button->height(),
                         qPrintable(describe(button)));
            }
            for (QGroupBox* frame : window->findChildren<QGroupBox*>())
                QVERIFY2(frame->fontMetrics().horizontalAdvance(frame->title()) <
                             frame->width() - 16,
                         qPrintable(describe(frame)));
            for (QComboBox* box : window->findChildren<QComboBox*>()) {
                QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(describe(box)));
                QVERIFY2(box->sizeHint().height() <= box->height() + 2, qPrintable(describe(box)));
            }
            for (QLineEdit* box : window->findChildren<QLineEdit*>())
                QVERIFY2(box->fontMetrics().height() < box->height(), qPrintable(describe(box)));
        }
    }

    // Every text of every window shows whole: its ink stays inside its control's content, off
    // the content's edges (where a text cut off would reach) and off the window's edges. The
    // main window shows a name of 60 characters and a meaning of five lines.
    void everyTextShowsWhole()
    {
        Windows windows;
        windows.main.select(longName);
        // The text boxes show or hide their scroll bars once queued events have run.
        QCoreApplication::processEvents();
        Faults faults;
        for (QWidget* window : windows.all()) {
            for (QLabel* label : controlsOf<QLabel>(window)) {
                if (label->text().isEmpty() || !label->pixmap().isNull())
                    continue;
                checkInk(label, label->foregroundRole(), label->contentsRect(), faults,
                         label->text());
            }
            for (QPushButton* button : controlsOf<QPushButton>(window))
                checkButton(button, faults);
            for (QCheckBox* box : controlsOf<QCheckBox>(window)) {
                QStyleOptionButton option;
                option.initFrom(box);
                option.text = box->text();
                const QRect caption =
                    box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
                checkInk(box, QPalette::WindowText, caption, faults, box->text());
            }
            for (QGroupBox* frame : controlsOf<QGroupBox>(window)) {
                QStyleOptionGroupBox option;
                option.initFrom(frame);
                option.text = frame->title();
                option.textAlignment = frame->alignment();
                option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
                const QRect title = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                                   QStyle::SC_GroupBoxLabel, frame);
                // The title's rows across the frame: the controls inside stand lower.
                checkInk(frame, QPalette::WindowText, title.adjusted(0, -1, 0, 1), faults,
                         frame->title(), {}, QRect(0, 0, frame->width(), title.bottom() + 1));
            }
            for (QComboBox* box : controlsOf<QComboBox>(window)) {
                if (box->currentText().isEmpty())
                    continue;
                QStyleOptionComboBox option;
                option.initFrom(box);
                const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                                 QStyle::SC_ComboBoxEditField, box);
                // The field only: the style draws the arrow in the text's colour.
                checkInk(box, QPalette::ButtonText, field, faults, box->currentText(), {}, field);
            }
            for (QPlainTextEdit* box : controlsOf<QPlainTextEdit>(window)) {
                if (box->toPlainText().isEmpty())
                    continue;
                // A line cut by the box's lower edge leaves ink on its last pixel row.
                checkInk(box, QPalette::Text, box->viewport()->geometry() & box->rect(), faults, {},
                         QMargins(0, 0, 0, 1));
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // Each value of the details panel stands on the line of its caption.
    void detailsStandOnTheirCaptionsLines()
    {
        MainWindowFixture f(manyNames());
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.select(QStringLiteral("آبان"));
        const std::pair<const char*, const char*> rows[] = {
            {"namelbl", "namestr"}, {"Label4", "sexlbl"}, {"Label5", "meanlbl"}};
        for (const auto& [captionName, valueName] : rows) {
            QWidget* caption = f.find(captionName);
            QWidget* value = f.find(valueName);
            const bool box = qobject_cast<QPlainTextEdit*>(value);
            const int captionLine = baselineOf(inkOf(caption, QPalette::WindowText)) +
                                    caption->mapTo(f.window.get(), QPoint()).y();
            const int valueLine =
                baselineOf(inkOf(value, box ? QPalette::Text : QPalette::WindowText)) +
                value->mapTo(f.window.get(), QPoint()).y();
            QVERIFY2(std::abs(captionLine - valueLine) <= 1,
                     qPrintable(QStringLiteral("%1 on line %2, %3 on line %4")
                                    .arg(QLatin1String(captionName))
                                    .arg(captionLine)
                                    .arg(QLatin1String(valueName))
                                    .arg(valueLine)));
        }
    }

    // A name or an entry wider than its box ends with «…» at its left, where it is cut, and
    // shows whole as a tooltip; one that fits has no tooltip.
    void longNamesShowWholeAsTooltips()
    {
        MainWindowFixture f(manyNames());
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        auto tooltipOf = [](QWidget* widget, QPoint at) {
            QToolTip::hideText();
            if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
                return QStringLiteral("(a tooltip stays)");
            QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
            QApplication::sendEvent(widget, &help);
            QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
            QToolTip::hideText();
            return text;
        };
        NameListBox* list = f.list();
        Faults faults;
        for (const QString& name : {longName, QStringLiteral("آبان")}) {
            const QModelIndex index =
                list->model()->index(static_cast<int>(f.listed().indexOf(name)));
            list->scrollTo(index);
            const QRect entry = list->visualRect(index);
            QCOMPARE(tooltipOf(list->viewport(), entry.center()),
                     name == longName ? name : QString());
            // The entry's beginning at the right, its cut end inside the list.
            const QRect row =
                entry.translated(list->viewport()->pos()) & list->viewport()->geometry();
            const QRect box = checkInk(list, QPalette::Text, row, faults, name, {}, row);
            QVERIFY2(box.right() >= row.right() - 8, qPrintable(faults.join(u'\n')));

            f.select(name);
            QLabel* shown = f.find<QLabel>("namestr");
            QCOMPARE(shown->text(), name);
            QCOMPARE(tooltipOf(shown, shown->rect().center()), name == longName ? name : QString());
            const QRect ink =
                checkInk(shown, QPalette::WindowText, shown->contentsRect(), faults, name);
            QVERIFY2(ink.right() >= shown->contentsRect().right() - 4,
                     qPrintable(faults.join(u'\n')));
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The list's entries look exactly as the style paints them, whatever the delegate keeps
    // between paints: plain and selected entries, a cut name, after the font and the width
    // change.
    void listEntriesAreTheStylesOwn()
    {
        // The same entries (cut where the list cuts them) painted by the style every time.
        class StylePainted : public look::WholeTextTips
        {
        public:
            using WholeTextTips::WholeTextTips;
            void paint(QPainter* painter, const QStyleOptionViewItem& option,
                       const QModelIndex& index) const override
            {
                // The style's own painting, not the delegate's: the reference.
                QStyledItemDelegate::paint( // NOLINT(bugprone-parent-virtual-call)
                    painter, option, index);
            }
        };
        MainWindowFixture f(manyNames());
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        NameListBox* list = f.list();
        QAbstractItemDelegate* kept = list->itemDelegate();
        StylePainted reference;
        QStringList differ;
        auto sameAsStyle = [&](const char* what) {
            const QImage shown = list->viewport()->grab().toImage();
            list->setItemDelegate(&reference);
            const QImage painted = list->viewport()->grab().toImage();
            list->setItemDelegate(kept);
            if (shown != painted)
                differ << QString::fromLatin1(what);
        };
        list->scrollTo(list->model()->index(static_cast<int>(f.listed().indexOf(longName))),
                       QAbstractItemView::PositionAtCenter);
        sameAsStyle("plain entries and a cut name");
        f.select(longName);
        sameAsStyle("a selected entry");
        list->setFocus();
        sameAsStyle("the focused list");
        // Painted once more after each change, from what was kept before it.
        QFont larger = list->font();
        larger.setPointSizeF(larger.pointSizeF() * 1.5);
        list->setFont(larger);
        sameAsStyle("a larger font");
        list->resize(list->width() - 37, list->height());
        sameAsStyle("a narrower list");
        QVERIFY2(differ.isEmpty(), qPrintable(differ.join(QStringLiteral(", "))));
    }

    // Every kind of message box shows its text and its buttons' labels whole, icons or not.
    void messageBoxesShowTheirLabelsWhole()
    {
        MainWindowFixture f({});
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QWidget* owner = f.window.get();
        Faults faults;
        for (const QString& text :
             {editing::messages::enterNameAndMeaning(), editing::messages::fillTheField(),
              editing::messages::selectName()})
            checkMessageBox([&] { MessageBox::information(owner, text); }, faults);
        checkMessageBox([&] { MessageBox::question(owner, editing::messages::confirmDelete()); },
                        faults);
        for (const auto kind : {store::Error::Kind::Locked, store::Error::Kind::RowGone})
            checkMessageBox(
                [&] {
                    ErrorReport::show(owner, store::Error(kind, f.folder.dbPath(),
                                                          QStringLiteral("database is locked"), 5));
                },
                faults);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The main, add and edit windows read from the right, their drop-down lists too.
    void controlsAndPopupsReadFromTheRight()
    {
        Windows windows;
        for (QWidget* window :
             {static_cast<QWidget*>(windows.main.window.get()), static_cast<QWidget*>(&windows.add),
              static_cast<QWidget*>(&windows.edit)}) {
            QVERIFY(window->isRightToLeft());
            for (QWidget* control : window->findChildren<QWidget*>()) {
                if (control->focusPolicy() != Qt::NoFocus || qobject_cast<QGroupBox*>(control))
                    QVERIFY2(control->isRightToLeft(), qPrintable(describe(control)));
            }
            for (QComboBox* box : window->findChildren<QComboBox*>()) {
                box->showPopup();
                QWidget* popup = box->view()->window();
                QVERIFY(QTest::qWaitForWindowExposed(popup));
                QVERIFY2(popup->isRightToLeft() && box->view()->isRightToLeft(),
                         qPrintable(describe(box)));
                // Each entry's text stands at the right of the popup.
                const QModelIndex first = box->model()->index(0, 0);
                const QRect entry = box->view()->visualRect(first);
                const int textWidth = box->fontMetrics().horizontalAdvance(box->itemText(0));
                QVERIFY2(entry.right() - textWidth > entry.left() + entry.width() / 3,
                         qPrintable(describe(box)));
                QCOMPARE(box->itemData(0, Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
                         int(Qt::AlignRight));
                box->hidePopup();
            }
        }
        // The fixed-size windows offer no maximize button.
        for (QWidget* window : windows.all())
            QVERIFY2(!(window->windowFlags() & Qt::WindowMaximizeButtonHint),
                     qPrintable(window->objectName()));
    }

    // The list shows at least eight names at once, and a new fill shows its first entry.
    void listShowsEnoughNamesFromTheFirst()
    {
        MainWindowFixture f(manyNames());
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        NameListBox* list = f.list();
        QVERIFY2(list->viewport()->height() / list->sizeHintForRow(0) >= 8,
                 qPrintable(QString::number(list->viewport()->height() / list->sizeHintForRow(0))));
        list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
        QVERIFY(list->verticalScrollBar()->value() > 0);
        f.chooseFilter(1);
        QCOMPARE(list->verticalScrollBar()->value(), 0);
        list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
        testsupport::typeText(f.find<QLineEdit>("txtName"), f.listed().value(0).left(1));
        QCOMPARE(list->verticalScrollBar()->value(), 0);
    }

    // A meaning of any length shows at once and can be read whole, to the right.
    void meaningOfAnyLength()
    {
        MainWindowFixture f(manyNames());
        f.window->show();
        auto* meaning = f.find<editing::MeaningEdit>("meanlbl");
        f.select(static_cast<int>(f.listed().indexOf(QStringLiteral("بلند"))));
        QCOMPARE(meaning->toPlainText().remove(QLatin1Char('\n')), QString(100000, QChar(0x0628)));
        // It reads back, and copies, without the breaks between the pieces it is shown in.
        QCOMPARE(meaning->meaning(), QString(100000, QChar(0x0628)));
        QCOMPARE(meaning->document()->defaultTextOption().alignment() & Qt::AlignRight,
                 Qt::AlignRight);
        // A meaning longer than the box shows a scroll bar, at the left, where its lines end.
        QScrollBar* bar = meaning->verticalScrollBar();
        QTRY_VERIFY(bar->isVisible());
        QVERIFY2(bar->geometry().right() < meaning->viewport()->geometry().left(),
                 qPrintable(QStringLiteral("scroll bar at %1, text from %2")
                                .arg(bar->geometry().x())
                                .arg(meaning->viewport()->geometry().x())));
        QCOMPARE(bar->value(), 0);
        // The keys inside the box reach its end.
        meaning->setFocus();
        QTest::keyClick(meaning, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(meaning->textCursor().position(), meaning->document()->characterCount() - 1);
        QVERIFY(bar->value() > 0);
        const QRect shown = meaning->viewport()->rect();
        QCOMPARE(meaning->cursorForPosition({shown.center().x(), shown.bottom() - 2}).block(),
                 meaning->document()->lastBlock());
        // A meaning of one line or two shows no scroll bar.
        for (const QString& name : {QStringLiteral("آبان"), QStringLiteral("آبتین")}) {
            f.select(name);
            QCoreApplication::processEvents();
            QVERIFY2(!bar->isVisible(), qPrintable(name));
        }
        QCOMPARE(meaning->document()->firstBlock().layout()->lineCount(), 2);
        // An ordinary meaning shows as stored, line breaks and all.
        f.folder.exec(QStringLiteral("UPDATE vardel SET means = ? WHERE p_name = 'بلند'"),
                      {QStringLiteral("یک\nدو سه")});
        f.select(static_cast<int>(f.listed().indexOf(QStringLiteral("بلند"))));
        QCOMPARE(meaning->toPlainText(), QStringLiteral("یک\nدو سه"));
    }

    // Every control the user works with has a Persian name for a screen reader.
    void everyControlHasAName()
    {
        Windows windows;
        const QSet<QAccessible::Role> interactive = {
            QAccessible::EditableText, QAccessible::List,       QAccessible::ComboBox,
            QAccessible::CheckBox,     QAccessible::PushButton, QAccessible::StaticText,
            QAccessible::Graphic,      QAccessible::Grouping};
        for (QWidget* window : windows.all()) {
            QList<QAccessibleInterface*> objects;
            collect(QAccessible::queryAccessibleInterface(window), objects);
            int named = 0;
            for (QAccessibleInterface* object : std::as_const(objects)) {
                auto* widget = qobject_cast<QWidget*>(object->object());
                if (!widget || !interactive.contains(object->role()) ||
                    widget->objectName().isEmpty() || widget->objectName().startsWith(u"qt_"))
                    continue;
                // A label announces its own text; the details fields may be empty.
                if (object->role() == QAccessible::StaticText &&
                    object->text(QAccessible::Name).isEmpty() && widget->accessibleName().isEmpty())
                    QFAIL(qPrintable(describe(widget) + QStringLiteral(" has no name")));
                if (object->role() != QAccessible::StaticText)
                    QVERIFY2(!object->text(QAccessible::Name).trimmed().isEmpty(),
                             qPrintable(describe(widget) + QStringLiteral(" has no name")));
                ++named;
            }
            QVERIFY(named >= 3);
        }
        QCOMPARE(windows.main.find("txtName")->accessibleName(), QStringLiteral("ليست نامها"));
        QCOMPARE(windows.main.find("meanlbl")->accessibleName(), QStringLiteral("معني"));
        QCOMPARE(windows.add.findChild<QWidget*>(QStringLiteral("txtMean"))->accessibleName(),
                 QStringLiteral("معني و توضيحات"));
    }

    // Message boxes show Qt's own buttons in Persian.
    void messageBoxButtonsReadPersian()
    {
        QVERIFY(startup::installQtTranslation());
        QMessageBox box(QMessageBox::Question, QString(), QStringLiteral("؟"),
                        QMessageBox::Yes | QMessageBox::No);
        for (QAbstractButton* button : box.buttons()) {
            const QString text = button->text().remove(QLatin1Char('&'));
            QVERIFY2(text.isRightToLeft(), qPrintable(text));
        }
    }
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
