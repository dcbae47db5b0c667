// Module1 against the fake keyboard: which layouts make each switch send the hot key.
#include "fakekeyboard.h"
#include "input/module1.h"
#include "switchrows.h"

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

void tst_Module1::switches_data()
{
    addSwitchRows();
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
