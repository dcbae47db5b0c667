// Windows: the layout name and the hot key come straight from user32, and yielding pumps the
// thread's window messages. Free of Qt, so that it builds with any Windows compiler.
#include "input/keyboardplatform.h"

#include <windows.h>

#include <cstring>
#include <iterator>
#include <memory>

namespace {

class WindowsKeyboard : public KeyboardPlatform
{
public:
    bool readLayoutName(char* buffer, int size) override
    {
        char name[KL_NAMELENGTH] = {};
        if (size < KL_NAMELENGTH || !GetKeyboardLayoutNameA(name))
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
        SendInput(static_cast<UINT>(std::size(inputs)), inputs, sizeof(INPUT));
    }

    // Dispatches every message already queued for this thread. A quit request is put back
    // for the application's own loop to see.
    void yield() override
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
};

} // namespace

std::unique_ptr<KeyboardPlatform> createNativeKeyboardPlatform()
{
    return std::make_unique<WindowsKeyboard>();
}
