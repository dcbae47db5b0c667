// The Windows keyboard platform on the real user32, as far as Wine carries it out: the active
// layout's name (Wine takes it from the locale: LANG=en_US.UTF-8 gives 00000409, LANG=fa_IR.UTF-8
// gives 00000429) and the hot key's strokes, which SendInput must accept. Wine does not switch
// layouts on the hot key, so the switch itself is tested against a fake (tst_windowskeyboard).
//   VARDEL_LAYOUT   the layout name the locale stands for (set by the test's CTest entry)
#include "input/module1.h"
#include "input/windowskeyboard.h"

#include <QByteArray>
#include <QList>
#include <QTest>

namespace {

// The real user32, with each SendInput call's result and error recorded.
class RecordingUser32 : public windowskeyboard::User32
{
public:
    BOOL getKeyboardLayoutNameA(LPSTR name) override
    {
        return windowskeyboard::systemUser32().getKeyboardLayoutNameA(name);
    }

    UINT sendInput(UINT count, LPINPUT inputs, int size) override
    {
        SetLastError(ERROR_SUCCESS);
        const UINT sent = windowskeyboard::systemUser32().sendInput(count, inputs, size);
        results.append({count, sent, GetLastError()});
        return sent;
    }

    struct Result
    {
        UINT count;
        UINT sent;
        DWORD error;
    };
    QList<Result> results;
};

QByteArray expectedLayout()
{
    return qgetenv("VARDEL_LAYOUT");
}

} // namespace

class tst_User32 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void readsTheLocalesLayout();
    void hotKeyIsAccepted();
    void switchesFromTheLayoutRead();
};

void tst_User32::initTestCase()
{
    QVERIFY2(expectedLayout().size() == KL_NAMELENGTH - 1,
             "VARDEL_LAYOUT must hold the layout name the locale stands for");
}

void tst_User32::readsTheLocalesLayout()
{
    // The build's own platform: the one Vardel runs with.
    QByteArray buffer(30, ' ');
    QVERIFY(keyboardPlatform().readLayoutName(buffer.data(), static_cast<int>(buffer.size())));
    QCOMPARE(buffer.left(KL_NAMELENGTH), expectedLayout() + '\0');
    QCOMPARE(buffer.mid(KL_NAMELENGTH), QByteArray(30 - KL_NAMELENGTH, ' '));
}

void tst_User32::hotKeyIsAccepted()
{
    RecordingUser32 user32;
    const std::unique_ptr<KeyboardPlatform> platform = windowskeyboard::create(user32);
    platform->sendHotKey();
    QCOMPARE(user32.results.size(), 1);
    QCOMPARE(user32.results[0].count, UINT(4));
    QCOMPARE(user32.results[0].sent, UINT(4));
    QCOMPARE(user32.results[0].error, DWORD(ERROR_SUCCESS));
    platform->yield();
}

void tst_User32::switchesFromTheLayoutRead()
{
    RecordingUser32 user32;
    const std::unique_ptr<KeyboardPlatform> platform = windowskeyboard::create(user32);
    setKeyboardPlatform(platform.get());
    Module1::SwitchToPersianLayout();
    const qsizetype toPersian = user32.results.size();
    Module1::SwitchToEnglishLayout();
    const qsizetype toEnglish = user32.results.size() - toPersian;
    setKeyboardPlatform(nullptr);
    // Wine leaves the layout as it was, so each switch acts on the layout of the locale.
    QCOMPARE(toPersian, qsizetype(expectedLayout() == "00000409" ? 1 : 0));
    QCOMPARE(toEnglish, qsizetype(expectedLayout() == "00000429" ? 1 : 0));
    for (const RecordingUser32::Result& result : user32.results)
        QCOMPARE(result.sent, result.count);
}

QTEST_GUILESS_MAIN(tst_User32)
#include "tst_user32.moc"
