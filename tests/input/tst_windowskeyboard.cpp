// The Windows keyboard platform and Module1 on it, against a fake of the user32 calls: which
// layout names it reads, the strokes its hot key sends, and the switching logic end to end.
// Windows builds only; it runs the same under Wine and on Windows.
#include "input/module1.h"
#include "input/windowskeyboard.h"
#include "switchrows.h"

#include <QByteArray>
#include <QList>
#include <QTest>

#include <cstring>
#include <optional>

namespace {

// A keyboard with US English and Persian: GetKeyboardLayoutNameA reports `layout` (or fails
// when it is empty), and a Shift+Alt chord sent through SendInput switches to the other one,
// as Windows does with the input-language hot key.
class FakeUser32 : public windowskeyboard::User32
{
public:
    explicit FakeUser32(std::optional<QByteArray> layout) : layout(std::move(layout)) {}

    BOOL getKeyboardLayoutNameA(LPSTR name) override
    {
        ++reads;
        if (!layout)
            return FALSE;
        // Windows writes KL_NAMELENGTH characters: eight digits and the NUL.
        std::memcpy(name, layout->leftJustified(KL_NAMELENGTH - 1, '?', true).constData(),
                    KL_NAMELENGTH);
        return TRUE;
    }

    UINT sendInput(UINT count, LPINPUT inputs, int size) override
    {
        sizes.append(size);
        QList<INPUT> call;
        for (UINT i = 0; i < count; ++i) {
            const INPUT& input = inputs[i];
            call.append(input);
            if (input.type != INPUT_KEYBOARD)
                continue;
            const bool up = input.ki.dwFlags & KEYEVENTF_KEYUP;
            if (input.ki.wVk == VK_SHIFT)
                shiftDown = !up;
            if (input.ki.wVk == VK_MENU) {
                if (!up && shiftDown && !altDown)
                    toggle();
                altDown = !up;
            }
        }
        calls.append(call);
        return count;
    }

    // The SendInput calls made so far, each with its inputs.
    QList<QList<INPUT>> calls;
    QList<int> sizes;
    int reads = 0;
    std::optional<QByteArray> layout;
    bool shiftDown = false;
    bool altDown = false;

private:
    void toggle()
    {
        if (layout == "00000409")
            layout = "00000429";
        else if (layout == "00000429")
            layout = "00000409";
    }
};

// The Windows platform over `user32`, in use by Module1 while it lives.
class InstalledPlatform
{
public:
    explicit InstalledPlatform(windowskeyboard::User32& user32)
        : m_platform(windowskeyboard::create(user32))
    {
        setKeyboardPlatform(m_platform.get());
    }
    ~InstalledPlatform() { setKeyboardPlatform(nullptr); }
    InstalledPlatform(const InstalledPlatform&) = delete;
    InstalledPlatform& operator=(const InstalledPlatform&) = delete;

    KeyboardPlatform& platform() const { return *m_platform; }

private:
    std::unique_ptr<KeyboardPlatform> m_platform;
};

// A key as the tests compare it: virtual key, scan code, flags.
QByteArray describe(const INPUT& input)
{
    if (input.type != INPUT_KEYBOARD)
        return "not a key";
    return QByteArray::number(input.ki.wVk, 16) + ' ' + QByteArray::number(input.ki.wScan, 16) +
           ' ' + QByteArray::number(static_cast<qulonglong>(input.ki.dwFlags), 16);
}

QByteArray stroke(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return describe(input);
}

int messagesSeen = 0;
// Whether each WM_APP posts the next one, as a zero timer that starts itself again does.
bool postAgain = false;

LRESULT CALLBACK countingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        ++messagesSeen;
        if (postAgain)
            PostMessageW(window, WM_APP, 0, 0);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A message-only window that counts the WM_APP messages it gets.
class CountingWindow
{
public:
    CountingWindow()
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = countingProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VardelYieldTest";
        RegisterClassW(&windowClass);
        handle = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, windowClass.hInstance, nullptr);
        messagesSeen = 0;
        postAgain = false;
    }
    ~CountingWindow()
    {
        postAgain = false;
        DestroyWindow(handle);
        UnregisterClassW(L"VardelYieldTest", GetModuleHandleW(nullptr));
    }
    CountingWindow(const CountingWindow&) = delete;
    CountingWindow& operator=(const CountingWindow&) = delete;

    HWND handle = nullptr;
};

} // namespace

class tst_WindowsKeyboard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsTheLayoutName();
    void readFailureLeavesTheBuffer();
    void shortBufferIsNotRead();
    void hotKeyIsShiftAltInOneCall();
    void switches_data();
    void switches();
    void followsChangesMadeByHand();
    void yieldDispatchesQueuedMessages();
    void yieldEndsWhileMessagesKeepComing();
    void yieldLeavesQuitForTheApplication();
};

void tst_WindowsKeyboard::readsTheLayoutName()
{
    FakeUser32 user32(Layout("00000429"));
    InstalledPlatform installed(user32);
    QByteArray buffer(30, ' ');
    QVERIFY(installed.platform().readLayoutName(buffer.data(), static_cast<int>(buffer.size())));
    // The name and its NUL; the rest of the buffer as it was.
    QCOMPARE(buffer, QByteArray("00000429") + '\0' + QByteArray(21, ' '));
    QCOMPARE(user32.reads, 1);
}

void tst_WindowsKeyboard::readFailureLeavesTheBuffer()
{
    FakeUser32 user32(std::nullopt);
    InstalledPlatform installed(user32);
    QByteArray buffer(30, ' ');
    QVERIFY(!installed.platform().readLayoutName(buffer.data(), static_cast<int>(buffer.size())));
    QCOMPARE(buffer, QByteArray(30, ' '));
    QCOMPARE(user32.reads, 1);
}

void tst_WindowsKeyboard::shortBufferIsNotRead()
{
    FakeUser32 user32(Layout("00000409"));
    InstalledPlatform installed(user32);
    QByteArray buffer(KL_NAMELENGTH - 1, ' ');
    QVERIFY(!installed.platform().readLayoutName(buffer.data(), static_cast<int>(buffer.size())));
    QCOMPARE(buffer, QByteArray(KL_NAMELENGTH - 1, ' '));
    QCOMPARE(user32.reads, 0);
}

void tst_WindowsKeyboard::hotKeyIsShiftAltInOneCall()
{
    FakeUser32 user32(Layout("00000409"));
    InstalledPlatform installed(user32);
    installed.platform().sendHotKey();
    QCOMPARE(user32.calls.size(), 1);
    QCOMPARE(user32.sizes, QList<int>{int(sizeof(INPUT))});
    QByteArrayList sent;
    for (const INPUT& input : user32.calls.first())
        sent << describe(input);
    QCOMPARE(sent, (QByteArrayList{stroke(VK_SHIFT, false), stroke(VK_MENU, false),
                                   stroke(VK_MENU, true), stroke(VK_SHIFT, true)}));
    QVERIFY(!user32.shiftDown && !user32.altDown);
    QCOMPARE(user32.layout, Layout("00000429"));
}

void tst_WindowsKeyboard::switches_data()
{
    addSwitchRows(); // the counts are SendInput calls here
}

void tst_WindowsKeyboard::switches()
{
    QFETCH(Layout, layout);
    QFETCH(int, toPersian);
    QFETCH(int, toEnglish);

    for (const auto& [operation, sends] : {std::pair{&Module1::SwitchToPersianLayout, toPersian},
                                           std::pair{&Module1::SwitchToEnglishLayout, toEnglish}}) {
        FakeUser32 user32(layout);
        InstalledPlatform installed(user32);
        operation();
        QCOMPARE(user32.reads, 1);
        QCOMPARE(user32.calls.size(), sends);
        // A hot key sent from US English or Persian left the other one active.
        Layout after = layout;
        if (sends && layout == "00000409")
            after = "00000429";
        else if (sends && layout == "00000429")
            after = "00000409";
        QCOMPARE(user32.layout, after);
    }
}

void tst_WindowsKeyboard::followsChangesMadeByHand()
{
    FakeUser32 user32(Layout("00000409"));
    InstalledPlatform installed(user32);
    Module1::SwitchToPersianLayout();
    Module1::SwitchToPersianLayout(); // now Persian: nothing more
    QCOMPARE(user32.calls.size(), 1);
    QCOMPARE(user32.layout, Layout("00000429"));

    user32.layout = "00000409"; // the user switched back by hand
    Module1::SwitchToPersianLayout();
    QCOMPARE(user32.calls.size(), 2);

    Module1::SwitchToEnglishLayout();
    Module1::SwitchToEnglishLayout();
    QCOMPARE(user32.calls.size(), 3);
    QCOMPARE(user32.layout, Layout("00000409"));
}

void tst_WindowsKeyboard::yieldDispatchesQueuedMessages()
{
    FakeUser32 user32(Layout("00000409"));
    InstalledPlatform installed(user32);
    CountingWindow window;
    QVERIFY(window.handle);
    QVERIFY(PostMessageW(window.handle, WM_APP, 0, 0));
    QVERIFY(PostMessageW(window.handle, WM_APP, 0, 0));
    installed.platform().yield();
    QCOMPARE(messagesSeen, 2);
}

void tst_WindowsKeyboard::yieldEndsWhileMessagesKeepComing()
{
    FakeUser32 user32(Layout("00000409"));
    InstalledPlatform installed(user32);
    CountingWindow window;
    QVERIFY(window.handle);
    postAgain = true;
    QVERIFY(PostMessageW(window.handle, WM_APP, 0, 0));
    // Each message posts the next: yield returns all the same, having dispatched the first.
    installed.platform().yield();
    QVERIFY(messagesSeen >= 1);
    postAgain = false;
}

void tst_WindowsKeyboard::yieldLeavesQuitForTheApplication()
{
    FakeUser32 user32(Layout("00000409"));
    InstalledPlatform installed(user32);
    PostQuitMessage(7);
    installed.platform().yield();
    // The quit request is still there, after whatever else was queued since.
    MSG message;
    std::optional<WPARAM> quitCode;
    while (!quitCode && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            quitCode = message.wParam;
        else
            DispatchMessageW(&message);
    }
    QCOMPARE(quitCode, std::optional<WPARAM>(7));
}

QTEST_GUILESS_MAIN(tst_WindowsKeyboard)
#include "tst_windowskeyboard.moc"
