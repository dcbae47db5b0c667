// Module1 against the fake keyboard: which layouts make each switch send the hot key.
#include "fakekeyboard.h"
#include "input/module1.h"

#include <QTest>

class tst_Module1 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void switches_data();
    void switches();
    void toggleYieldsAroundTheHotKey();
    void followsChangesMadeByHand();
};

using Layout = std::optional<QByteArray>;
Q_DECLARE_METATYPE(Layout)

void tst_Module1::switches_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<int>("toPersian"); // hot keys sent by SwitchToPersianLayout
    QTest::addColumn<int>("toEnglish"); // hot keys sent by SwitchToEnglishLayout

    QTest::newRow("US English") << Layout("00000409") << 1 << 0;
    QTest::newRow("Persian") << Layout("00000429") << 0 << 1;
    QTest::newRow("French") << Layout("0000040C") << 0 << 0;
    QTest::newRow("US Dvorak") << Layout("00010409") << 0 << 0;
    QTest::newRow("Persian standard") << Layout("00050429") << 0 << 0;
    QTest::newRow("US English as an IME") << Layout("E0010409") << 0 << 0;
    QTest::newRow("unknown layout") << Layout("FFFFFFFF") << 0 << 0;
    QTest::newRow("409 without leading zeros") << Layout("409") << 1 << 0;
    // The number ends at the first letter: these read as 409 and 429.
    QTest::newRow("hex letter after 409") << Layout("00409ABC") << 1 << 0;
    QTest::newRow("hex letter after 429") << Layout("0000429A") << 0 << 1;
    QTest::newRow("digit after 429") << Layout("00004290") << 0 << 0;
    QTest::newRow("read fails") << Layout() << 0 << 0;
}

void tst_Module1::switches()
{
    QFETCH(Layout, layout);
    QFETCH(int, toPersian);
    QFETCH(int, toEnglish);

    for (const auto& [operation, sends] : {std::pair{&Module1::SwitchToPersianLayout, toPersian},
                                           std::pair{&Module1::SwitchToEnglishLayout, toEnglish}}) {
        FakeKeyboard keyboard(layout);
        operation();
        QCOMPARE(keyboard.hotKeys(), sends);
        // The read starts from a fresh buffer of 30 spaces.
        QCOMPARE(keyboard.buffersRead, QByteArrayList{QByteArray(30, ' ')});
    }
}

void tst_Module1::toggleYieldsAroundTheHotKey()
{
    FakeKeyboard keyboard(Layout("00000409"));
    bool ranBeforeSend = false;
    // A queued event runs in the first yield, before the hot key goes out.
    QMetaObject::invokeMethod(
        this, [&] { ranBeforeSend = keyboard.hotKeys() == 0; }, Qt::QueuedConnection);
    Module1::SwitchToPersianLayout();
    QCOMPARE(keyboard.calls.join(' '), QByteArray("read yield send yield"));
    QVERIFY(ranBeforeSend);

    keyboard.calls.clear();
    Module1::ToggleInputLanguage();
    QCOMPARE(keyboard.calls.join(' '), QByteArray("yield send yield"));
}

void tst_Module1::followsChangesMadeByHand()
{
    FakeKeyboard keyboard(Layout("00000409"));
    Module1::SwitchToPersianLayout();
    Module1::SwitchToPersianLayout(); // now Persian: nothing more
    QCOMPARE(keyboard.hotKeys(), 1);

    keyboard.layout = "00000409"; // the user switched back by hand
    Module1::SwitchToPersianLayout();
    QCOMPARE(keyboard.hotKeys(), 2);

    Module1::SwitchToEnglishLayout();
    Module1::SwitchToEnglishLayout();
    QCOMPARE(keyboard.hotKeys(), 3);
    QCOMPARE(keyboard.layout, Layout("00000409"));
}

QTEST_GUILESS_MAIN(tst_Module1)
#include "tst_module1.moc"
