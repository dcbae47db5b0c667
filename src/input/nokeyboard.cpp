// Platforms without a keyboard layout we can read: nothing is ever switched.
#include "input/keyboardplatform.h"

#include <QCoreApplication>

namespace {

class NoKeyboard : public KeyboardPlatform
{
public:
    bool readLayoutName(char*, int) override { return false; }
    void sendHotKey() override {}
    void yield() override { QCoreApplication::processEvents(); }
};

} // namespace

std::unique_ptr<KeyboardPlatform> createNativeKeyboardPlatform()
{
    return std::make_unique<NoKeyboard>();
}
