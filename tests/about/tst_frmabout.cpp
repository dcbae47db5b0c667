// The about window on its own (look and keys) and together with the main window (the about
// command, the way back, closing either window).
#include "about/frmabout.h"
#include "app/frmmain.h"
#include "app/namelist.h"
#include "look/look.h"
#include "mainwindowfixture.h"
#include "testsupport.h"

#include <memory>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

// The about windows that exist, shown or hidden.
QList<frmabout*> aboutWindows()
{
    QList<frmabout*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* about = qobject_cast<frmabout*>(widget))
            windows << about;
    return windows;
}

QPushButton* command1(const QWidget* about)
{
    return about->findChild<QPushButton*>(QStringLiteral("Command1"));
}

// Everything a user sees of a window: each control's text, state, list entries, selection and
// picture, the focused control and the window's place.
QStringList snapshot(const QWidget* window)
{
    QStringList state;
    state << QStringLiteral("at %1,%2").arg(window->x()).arg(window->y());
    const QWidget* focus = window->focusWidget();
    state << QStringLiteral("focus ") + (focus ? focus->objectName() : QString());
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (name.isEmpty())
            continue;
        if (auto* edit = qobject_cast<const QLineEdit*>(w))
            state << name + QStringLiteral(" text ") + edit->text();
        if (auto* text = qobject_cast<const QPlainTextEdit*>(w))
            state << name + QStringLiteral(" text ") + text->toPlainText();
        if (auto* check = qobject_cast<const QCheckBox*>(w))
            state << name + QStringLiteral(" checked ") + QString::number(check->isChecked());
        if (auto* combo = qobject_cast<const QComboBox*>(w))
            state << name + QStringLiteral(" index ") + QString::number(combo->currentIndex());
        if (auto* label = qobject_cast<const QLabel*>(w))
            state << name + QStringLiteral(" text ") + label->text()
                  << name + QStringLiteral(" picture ") +
                         QString::number(label->pixmap().cacheKey());
        if (auto* list = qobject_cast<const NameListBox*>(w)) {
            for (int row = 0; row < list->count(); ++row)
                state << name + QStringLiteral(" entry %1 %2")
                                    .arg(list->textAt(row))
                                    .arg(list->idAt(row));
            state << name + QStringLiteral(" index ") + QString::number(list->currentRow());
        }
    }
    return state;
}

// Whether `other` was on screen each time `watched` was hidden.
class HideWatch : public QObject
{
public:
    HideWatch(QWidget* watched, const QWidget* other) : m_other(other)
    {
        watched->installEventFilter(this);
    }
    int hides = 0;
    int hidesWithOtherShown = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide) {
            ++hides;
            hidesWithOtherShown += m_other && m_other->isVisible();
        }
        return false;
    }

private:
    const QWidget* m_other;
};

// Real names, each with a meaning.
QList<dbfile::Entry> namesWithMeanings()
{
    QList<dbfile::Entry> entries = testsupport::realNames(40);
    for (int i = 0; i < entries.size(); ++i)
        entries[i].meaning = entries[i].name + QStringLiteral(" معنى ") + QString::number(i);
    return entries;
}

// The main window on those names, shown and active.
struct MainWindow : MainWindowFixture
{
    MainWindow() : MainWindowFixture(namesWithMeanings(), Active) {}

    void trigger(const char* action) const { find<QAction>(action)->trigger(); }

    // Leaves the main window in a state of the user's making: a narrowed list with an entry
    // selected and its details shown, a search text, both search scopes ticked, the focus in
    // the search box.
    void useIt() const
    {
        const QString first = list()->textAt(0);
        testsupport::typeText(find<QLineEdit>("txtName"), first.left(1));
        QVERIFY(list()->count() > 1);
        select(1);
        QCOMPARE(list()->currentRow(), 1);
        QVERIFY(!find<QPlainTextEdit>("meanlbl")->toPlainText().isEmpty());
        find<QCheckBox>("Check2")->setChecked(true);
        auto* search = find<QLineEdit>("txtSearch");
        search->setFocus();
        testsupport::typeText(search, QStringLiteral("آر"));
    }
};

} // namespace

class tst_frmabout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    // The window on its own.
    void window();
    void controls_data();
    void controls();
    void textsAlignRight();
    void keysPressTheButton_data();
    void keysPressTheButton();
    void otherKeysDoNothing();

    // With the main window.
    void aboutAndBack();
    void sameWindowEachTime();
    void titleBarCloseBringsMainBack();
    void programEndsWithAboutLoaded_data();
    void programEndsWithAboutLoaded();
};

void tst_frmabout::cleanup()
{
    QApplication::setLayoutDirection(Qt::LeftToRight);
    QVERIFY(aboutWindows().isEmpty());
}

void tst_frmabout::window()
{
    // Left to right also when the program's windows read right to left by default.
    QApplication::setLayoutDirection(Qt::RightToLeft);
    frmabout about([] {});
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));

    QCOMPARE(about.windowTitle(), QStringLiteral("About Vardel"));
    QCOMPARE(about.layoutDirection(), Qt::LeftToRight);
    QVERIFY(about.isWindow());
    QCOMPARE(about.parentWidget(), nullptr);
    // The client area at a fixed place, 283 x 186 pixels, not resizable.
    QCOMPARE(about.geometry(), QRect(383, 294, 283, 186));
    QCOMPARE(about.minimumSize(), QSize(283, 186));
    QCOMPARE(about.maximumSize(), QSize(283, 186));

    // The program's icon, at each of its sizes.
    const QIcon icon = look::windowIcon();
    QVERIFY(!icon.availableSizes().isEmpty());
    QCOMPARE(about.windowIcon().availableSizes(), icon.availableSizes());
    for (const QSize& size : icon.availableSizes())
        QCOMPARE(about.windowIcon().pixmap(size).toImage(), icon.pixmap(size).toImage());

    // The button is the one control that takes the focus, and holds it.
    QPushButton* button = command1(&about);
    QVERIFY(button);
    for (const QWidget* child : about.findChildren<QWidget*>())
        if (child != button)
            QCOMPARE(child->focusPolicy(), Qt::NoFocus);
    QCOMPARE(QApplication::focusWidget(), button);
}

void tst_frmabout::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<qreal>("tahomaSize"); // 0: the window's own font

    // Captions and places from the window's layout; Label5 and Label6 are checked apart.
    QTest::newRow("Label1") << "Label1" << QStringLiteral("نام برنامه ")
                            << QRect(2880, 120, 1335, 375) << 12.0;
    QTest::newRow("Label2") << "Label2" << QStringLiteral("برنامه نويس ")
                            << QRect(2880, 720, 1335, 375) << 12.0;
    QTest::newRow("Label3") << "Label3" << QStringLiteral("وب سايت ")
                            << QRect(2880, 1440, 1335, 375) << 12.0;
    QTest::newRow("Label5") << "Label5" << QString() << QRect(1080, 1560, 1215, 375) << 0.0;
    QTest::newRow("Label6") << "Label6" << QString() << QRect(360, 720, 2415, 375) << 12.0;
    QTest::newRow("Label7") << "Label7" << QStringLiteral("Vardel نسخه 1")
                            << QRect(360, 120, 2295, 375) << 12.0;
    QTest::newRow("Command1") << "Command1" << QStringLiteral("بازگشت")
                              << QRect(2760, 2280, 1335, 375) << 8.25;
}

void tst_frmabout::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QFETCH(qreal, tahomaSize);

    frmabout about([] {});
    auto* control = about.findChild<QWidget*>(name);
    QVERIFY(control);
    const QString text = control->property("text").toString();
    if (caption.isEmpty()) {
        // The team's name and the missing web address: short Persian texts, no made-up link.
        QVERIFY(!text.trimmed().isEmpty());
        QVERIFY(text.isRightToLeft());
        for (const char* link : {"://", "www", ".com", ".ir", "@"})
            QVERIFY2(!text.contains(QLatin1String(link)), qPrintable(text));
    } else {
        QCOMPARE(text, caption);
    }
    QCOMPARE(control->geometry(),
             look::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    if (tahomaSize > 0) {
        QCOMPARE(control->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(control->font().pointSizeF(), tahomaSize);
        QCOMPARE(control->font().weight(), QFont::Normal);
        QVERIFY(!control->font().italic() && !control->font().underline());
    } else {
        QCOMPARE(control->font(), about.font());
    }
}

// Every label's text stands at the right of its box, next to the caption it belongs to, and
// shows whole.
void tst_frmabout::textsAlignRight()
{
    frmabout about([] {});
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QList<QLabel*> labels = about.findChildren<QLabel*>();
    QCOMPARE(labels.size(), 6);
    for (QLabel* label : labels) {
        const QImage image = label->grab().toImage();
        const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
        int inkLeft = image.width();
        int inkRight = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != background) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                }
        QVERIFY2(inkRight >= 0, qPrintable(label->objectName() + QStringLiteral(" shows nothing")));
        const int blank = label->fontMetrics().horizontalAdvance(QLatin1Char(' '));
        QVERIFY2(image.width() - 1 - inkRight <= blank + 2, qPrintable(label->objectName()));
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->objectName()));
    }
}

void tst_frmabout::keysPressTheButton_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("Return") << Qt::Key_Return;
    QTest::newRow("Enter") << Qt::Key_Enter;
    QTest::newRow("Space") << Qt::Key_Space;
}

void tst_frmabout::keysPressTheButton()
{
    QFETCH(Qt::Key, key);
    int mainShown = 0;
    frmabout about([&] { ++mainShown; });
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    // Through the window, as the keyboard delivers it.
    QTest::keyClick(about.windowHandle(), key);
    QCOMPARE(mainShown, 1);
    QVERIFY(about.isHidden());
}

void tst_frmabout::otherKeysDoNothing()
{
    int mainShown = 0;
    frmabout about([&] { ++mainShown; });
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    for (const Qt::Key key :
         {Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Left, Qt::Key_Down, Qt::Key_B}) {
        QTest::keyClick(about.windowHandle(), key);
        QVERIFY(about.isVisible());
        QCOMPARE(QApplication::focusWidget(), command1(&about));
    }
    QCOMPARE(mainShown, 0);
}

void tst_frmabout::aboutAndBack()
{
    MainWindow main;
    main.useIt();
    const QStringList before = snapshot(main.window.get());

    main.trigger("about");
    QCOMPARE(aboutWindows().size(), 1);
    frmabout* about = aboutWindows().first();
    HideWatch aboutHides(about, main.window.get());
    // The about window is shown, on its own (no owner), and the main window hidden.
    QVERIFY(about->isVisible());
    QVERIFY(main.window->isHidden());
    QCOMPARE(about->parentWidget(), nullptr);
    QVERIFY(QTest::qWaitForWindowActive(about));
    QCOMPARE(QApplication::focusWidget(), command1(about));

    QTest::mouseClick(command1(about), Qt::LeftButton);
    QVERIFY(main.window->isVisible());
    QVERIFY(about->isHidden());
    // The main window was back before the about window went.
    QCOMPARE(aboutHides.hides, 1);
    QCOMPARE(aboutHides.hidesWithOtherShown, 1);
    QVERIFY(QTest::qWaitForWindowActive(main.window.get()));
    QCOMPARE(snapshot(main.window.get()), before);
}

void tst_frmabout::sameWindowEachTime()
{
    MainWindow main;
    HideWatch mainHides(main.window.get(), nullptr);
    main.trigger("about");
    const QPointer<frmabout> about = aboutWindows().value(0);
    QVERIFY(about);
    QVERIFY(QTest::qWaitForWindowActive(about));
    QTest::mouseClick(command1(about), Qt::LeftButton);

    // The user moves it; each further showing is the same window, where it was left.
    for (const QPoint place : {QPoint(40, 30), QPoint(500, 120)}) {
        main.trigger("about");
        QCOMPARE(aboutWindows(), QList<frmabout*>{about});
        QVERIFY(about->isVisible() && main.window->isHidden());
        about->move(place);
        QTest::keyClick(about->windowHandle(), Qt::Key_Space);
        QVERIFY(about->isHidden() && main.window->isVisible());
        main.trigger("about");
        QCOMPARE(about->pos(), place);
        QVERIFY(QTest::qWaitForWindowActive(about));
        QCOMPARE(QApplication::focusWidget(), command1(about));
        QTest::mouseClick(command1(about), Qt::LeftButton);
    }
    QCOMPARE(mainHides.hides, 5);

    // It goes with the main window.
    main.window.reset();
    QVERIFY(!about);
}

void tst_frmabout::titleBarCloseBringsMainBack()
{
    MainWindow main;
    main.useIt();
    const QStringList before = snapshot(main.window.get());
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);

    for (int round = 0; round < 2; ++round) {
        main.trigger("about");
        const QPointer<frmabout> about = aboutWindows().value(0);
        QVERIFY(about);
        QVERIFY(QTest::qWaitForWindowActive(about));
        HideWatch aboutHides(about, main.window.get());
        // The platform's close request, as the title bar's close button sends it.
        QVERIFY(about->windowHandle()->close());
        QVERIFY(about); // hidden, not destroyed
        QVERIFY(about->isHidden());
        QVERIFY(main.window->isVisible());
        QCOMPARE(aboutHides.hidesWithOtherShown, 1);
        QVERIFY(QTest::qWaitForWindowActive(main.window.get()));
        QCOMPARE(snapshot(main.window.get()), before);
        QCOMPARE(aboutWindows().size(), 1);
    }
    // At no point did the program take the about window for its last one.
    QCOMPARE(lastClosed.size(), 0);
}

void tst_frmabout::programEndsWithAboutLoaded_data()
{
    QTest::addColumn<bool>("titleBar");
    QTest::newRow("main window closed from its title bar") << true;
    QTest::newRow("exit command") << false;
}

void tst_frmabout::programEndsWithAboutLoaded()
{
    QFETCH(bool, titleBar);
    MainWindow main;
    main.trigger("about");
    const QPointer<frmabout> about = aboutWindows().value(0);
    QVERIFY(about);
    QTest::mouseClick(command1(about), Qt::LeftButton);
    QVERIFY(about->isHidden());

    // The program's own event loop ends, with the about window still there and hidden.
    QTimer::singleShot(0, main.window.get(), [&] {
        if (titleBar)
            main.window->windowHandle()->close();
        else
            main.trigger("mnExit");
    });
    // Only against a hang: a loop still running here is a failure.
    QTimer hang;
    hang.setSingleShot(true);
    connect(&hang, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    hang.start(60'000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(main.window->isHidden());
    QVERIFY(about);
    QVERIFY(about->isHidden());
}

QTEST_MAIN(tst_frmabout)
#include "tst_frmabout.moc"
