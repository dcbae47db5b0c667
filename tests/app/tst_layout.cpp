// What a Persian reader sees in every window: texts that fit their boxes in the font in use,
// controls and popups that read from the right, a list that shows enough names, a meaning of
// any length, and a name for every control a screen reader announces.
#include "about/frmabout.h"
#include "app/startup.h"
#include "editing/frmaddname.h"
#include "editing/frmeditname.h"
#include "look/look.h"
#include "mainwindowfixture.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyle>

namespace {

QList<dbfile::Entry> manyNames()
{
    QList<dbfile::Entry> names = testsupport::realNames(300);
    // The longest captions a window shows come from its own texts; long names and meanings
    // from the data.
    names.append({QStringLiteral("بلند"), QString(100000, QChar(0x0628)), QStringLiteral("f")});
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
    void initTestCase() { look::installFontSubstitutes(); }

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
        auto* meaning = f.find<QPlainTextEdit>("meanlbl");
        f.select(static_cast<int>(f.listed().indexOf(QStringLiteral("بلند"))));
        QCOMPARE(meaning->toPlainText().remove(QLatin1Char('\n')), QString(100000, QChar(0x0628)));
        QCOMPARE(meaning->document()->defaultTextOption().alignment() & Qt::AlignRight,
                 Qt::AlignRight);
        QCOMPARE(meaning->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        // The keys inside the box reach its end.
        meaning->setFocus();
        QTest::keyClick(meaning, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(meaning->textCursor().position(), meaning->document()->characterCount() - 1);
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
