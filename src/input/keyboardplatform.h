#pragma once

#include <memory>

// The three platform operations the keyboard module needs. Each platform has its own
// implementation, chosen at build time; tests install a fake.
class KeyboardPlatform
{
public:
    virtual ~KeyboardPlatform() = default;

    // Writes the active keyboard layout's name (eight hexadecimal digits and a NUL) to the
    // start of `buffer`. Returns false, leaving the buffer as it was, when it cannot be read.
    virtual bool readLayoutName(char* buffer, int size) = 0;
    // Sends the input-language hot key (Shift+Alt) without waiting for it to take effect.
    virtual void sendHotKey() = 0;
    // Processes the window events already queued.
    virtual void yield() = 0;
};

// The platform the keyboard module uses. Until one is set it is the build's own.
KeyboardPlatform& keyboardPlatform();
// Replaces it (tests); nullptr goes back to the build's own. The caller keeps ownership.
void setKeyboardPlatform(KeyboardPlatform* platform);

// The build's own platform. Each platform file defines it; CMake builds exactly one of them.
std::unique_ptr<KeyboardPlatform> createNativeKeyboardPlatform();
