#include "input/keyboardplatform.h"

#include <memory>

// Each platform file defines this factory; CMake builds exactly one of them.
std::unique_ptr<KeyboardPlatform> createNativeKeyboardPlatform();

namespace {
KeyboardPlatform* g_override = nullptr;
}

KeyboardPlatform& keyboardPlatform()
{
    if (g_override)
        return *g_override;
    static const std::unique_ptr<KeyboardPlatform> native = createNativeKeyboardPlatform();
    return *native;
}

void setKeyboardPlatform(KeyboardPlatform* platform)
{
    g_override = platform;
}
