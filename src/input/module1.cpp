#include "input/module1.h"

#include "input/keyboardplatform.h"

#include <array>
#include <cstring>

namespace Module1 {

namespace {

// Reads the active layout's name into a buffer of 30 spaces and takes the decimal number at
// its start: 00000409 reads 409, 00000429 reads 429, a failed read (spaces only) reads 0.
double activeLayoutNumber()
{
    std::array<char, 30> buffer;
    buffer.fill(' ');
    keyboardPlatform().readLayoutName(buffer.data(), static_cast<int>(buffer.size()));
    double number = 0;
    for (const char c : buffer) {
        if (c < '0' || c > '9')
            break;
        number = number * 10 + (c - '0');
    }
    return number;
}

} // namespace

void SwitchToPersianLayout()
{
    if (activeLayoutNumber() == 409)
        ToggleInputLanguage();
}

void SwitchToEnglishLayout()
{
    if (activeLayoutNumber() == 429)
        ToggleInputLanguage();
}

void ToggleInputLanguage()
{
    KeyboardPlatform& platform = keyboardPlatform();
    platform.yield();
    platform.sendHotKey();
    platform.yield();
}

} // namespace Module1
