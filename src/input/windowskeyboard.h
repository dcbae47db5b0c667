#pragma once

// The Windows keyboard platform and the user32 calls it makes. The calls go through User32 so
// that a test can stand in for Windows: the switching logic then runs against a fake that
// answers GetKeyboardLayoutNameA and records SendInput. Windows builds only.
#include "input/keyboardplatform.h"

#include <windows.h>

#include <memory>

namespace windowskeyboard {

// The user32 functions of the same names, one to one.
class User32
{
public:
    virtual ~User32() = default;

    virtual BOOL getKeyboardLayoutNameA(LPSTR name) = 0;
    virtual UINT sendInput(UINT count, LPINPUT inputs, int size) = 0;
};

// The real user32.
User32& systemUser32();

// The keyboard platform over `user32`, which must outlive it.
std::unique_ptr<KeyboardPlatform> create(User32& user32);

} // namespace windowskeyboard
