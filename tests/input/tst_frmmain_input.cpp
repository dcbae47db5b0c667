// The main window's keyboard switching against the fake keyboard: showing it with the focus
// in txtName, focus into txtSearch, focus leaving those fields, and closing it.
#include "fakekeyboard.h"
#include "mainwindowfixture.h"
#include "switchrows.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTest>

class tst_FrmMainInput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showing_data() { layouts(1); }
    void showing();
    void focusIntoSearch_data() { layouts(1); }
    void focusIntoSearch();
    void leavingTheFields_data() { layouts(0); }
    void leavingTheFields();
    void closing_data();
    void closing();

private:
    // Rows for each kind of layout; `fromEnglish` hot keys are expected from US English.
    static void layouts(int fromEnglish);
};

void tst_FrmMainInput::layouts(int fromEnglish)
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<int>("hotKeys");
    QTest::newRow("US English") << Layout("00000409") << fromEnglish;
    QTest::newRow("Persian") << Layout("00000429") << 0;
    QTest::newRow("French") << Layout("0000040C") << 0;
    QTest::newRow("Persian standard") << Layout("00050429") << 0;
    QTest::newRow("read fails") << Layout() << 0;
}

void tst_FrmMainInput::showing()
{
    QFETCH(Layout, layout);
    QFETCH(int, hotKeys);
    FakeKeyboard keyboard(layout);
    MainWindowFixture f(testsupport::realNames(20), MainWindowFixture::Active);
    QCOMPARE(QApplication::focusWidget(), f.find<QLineEdit>("txtName"));
    QCOMPARE(keyboard.hotKeys(), hotKeys);
}

void tst_FrmMainInput::focusIntoSearch()
{
    QFETCH(Layout, layout);
    QFETCH(int, hotKeys);
    FakeKeyboard keyboard(Layout("00000429"));
    MainWindowFixture f(testsupport::realNames(20), MainWindowFixture::Active);

    keyboard.layout = layout;
    f.find<QLineEdit>("txtSearch")->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), f.find<QLineEdit>("txtSearch"));
    QCOMPARE(keyboard.hotKeys(), hotKeys);
}

// Focus moving to another control or another window leaves the layout alone, Persian or not.
void tst_FrmMainInput::leavingTheFields()
{
    QFETCH(Layout, layout);
    QFETCH(int, hotKeys);
    FakeKeyboard keyboard(Layout("00000429"));
    MainWindowFixture f(testsupport::realNames(20), MainWindowFixture::Active);
    frmMain& window = *f.window;
    auto* txtSearch = f.find<QLineEdit>("txtSearch");
    txtSearch->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), txtSearch);

    keyboard.layout = layout;
    f.find<QListView>("LstNames")->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), f.find<QListView>("LstNames"));
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!window.isActiveWindow());
    QCOMPARE(keyboard.hotKeys(), hotKeys);
}

void tst_FrmMainInput::closing_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<bool>("exitCommand"); // Ctrl+X rather than closing the window
    QTest::addColumn<int>("hotKeys");
    for (const bool exitCommand : {false, true}) {
        const char* how = exitCommand ? "exit command" : "close";
        QTest::addRow("%s, Persian", how) << Layout("00000429") << exitCommand << 1;
        QTest::addRow("%s, US English", how) << Layout("00000409") << exitCommand << 0;
        QTest::addRow("%s, Persian standard", how) << Layout("00050429") << exitCommand << 0;
        QTest::addRow("%s, read fails", how) << Layout() << exitCommand << 0;
    }
}

void tst_FrmMainInput::closing()
{
    QFETCH(Layout, layout);
    QFETCH(bool, exitCommand);
    QFETCH(int, hotKeys);
    FakeKeyboard keyboard(Layout("00000429"));
    MainWindowFixture f(testsupport::realNames(20), MainWindowFixture::Active);
    frmMain& window = *f.window;

    keyboard.layout = layout;
    if (exitCommand)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::ControlModifier);
    else
        window.close();
    QVERIFY(!window.isVisible());
    QCOMPARE(keyboard.hotKeys(), hotKeys);
}

QTEST_MAIN(tst_FrmMainInput)
#include "tst_frmmain_input.moc"
