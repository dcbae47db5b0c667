#include "input/keyboardplatform.h"

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
