// Windows: the layout name and the hot key come from user32 (through windowskeyboard::User32),
// and yielding pumps the thread's window messages. Free of Qt, so that it builds with any
// Windows compiler.
#include "input/windowskeyboard.h"

#include <cstring>
#include <iterator>

namespace windowskeyboard {

namespace {

class SystemUser32 : public User32
{
public:
    BOOL getKeyboardLayoutNameA(LPSTR name) override { return GetKeyboardLayoutNameA(name); }
    UINT sendInput(UINT count, LPINPUT inputs, int size) override
    {
        return SendInput(count, inputs, size);
    }
};

class WindowsKeyboard : public KeyboardPlatform
{
public:
    explicit WindowsKeyboard(User32& user32) : m_user32(user32) {}

    bool readLayoutName(char* buffer, int size) override
    {
        char name[KL_NAMELENGTH] = {};
        if (size < KL_NAMELENGTH || !m_user32.getKeyboardLayoutNameA(name))
            return false;
        std::memcpy(buffer, name, KL_NAMELENGTH);
        return true;
    }

    // Shift down, Alt down, Alt up, Shift up, queued for the active window in one call.
    void sendHotKey() override
    {
        struct Stroke
        {
            WORD key;
            bool up;
        };
        const Stroke strokes[] = {
            {VK_SHIFT, false}, {VK_MENU, false}, {VK_MENU, true}, {VK_SHIFT, true}};
        INPUT inputs[std::size(strokes)] = {};
        for (size_t i = 0; i < std::size(strokes); ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wVk = strokes[i].key;
            inputs[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(strokes[i].key, MAPVK_VK_TO_VSC));
            inputs[i].ki.dwFlags = strokes[i].up ? KEYEVENTF_KEYUP : 0;
        }
        m_user32.sendInput(static_cast<UINT>(std::size(inputs)), inputs, sizeof(INPUT));
    }

    // Dispatches the messages queued for this thread, up to the first one posted after the
    // clock moved on from the start: something that keeps posting messages (a zero timer that
    // starts itself again, for one) cannot hold the program here. A quit request is put back
    // for the application's own loop to see.
    void yield() override
    {
        const DWORD start = GetTickCount();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
            if (static_cast<LONG>(message.time - start) > 0)
                return;
        }
    }

private:
    User32& m_user32;
};

} // namespace

User32& systemUser32()
{
    static SystemUser32 instance;
    return instance;
}

std::unique_ptr<KeyboardPlatform> create(User32& user32)
{
    return std::make_unique<WindowsKeyboard>(user32);
}

} // namespace windowskeyboard

std::unique_ptr<KeyboardPlatform> createNativeKeyboardPlatform()
{
    return windowskeyboard::create(windowskeyboard::systemUser32());
}
