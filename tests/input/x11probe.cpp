// Runs the build's keyboard platform once, under the Qt platform it is started with:
//   input_x11probe read   prints the active layout's name, or "failed"
//   input_x11probe send   sends the input-language hot key
#include "input/keyboardplatform.h"

#include <array>
#include <cstdio>
#include <QGuiApplication>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QString command = QGuiApplication::arguments().value(1);
    KeyboardPlatform& keyboard = keyboardPlatform();
    if (command == QLatin1String("read")) {
        std::array<char, 30> buffer;
        buffer.fill(' ');
        const bool read = keyboard.readLayoutName(buffer.data(), int(buffer.size()));
        std::puts(read ? buffer.data() : "failed");
        return 0;
    }
    if (command == QLatin1String("send")) {
        keyboard.sendHotKey();
        return 0;
    }
    std::fputs("usage: input_x11probe read|send\n", stderr);
    return 2;
}
