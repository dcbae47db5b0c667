#pragma once

#include "input/keyboardplatform.h"

#include <cstring>
#include <optional>
#include <QByteArray>
#include <QByteArrayList>
#include <QCoreApplication>

// A two-language keyboard standing in for the platform while it lives: reads report `layout`
// (or fail when it is empty), and a hot key toggles 00000409 and 00000429 into each other.
// Every call is logged in order as "read", "yield" or "send".
class FakeKeyboard : public KeyboardPlatform
{
public:
    explicit FakeKeyboard(std::optional<QByteArray> layout) : layout(std::move(layout))
    {
        setKeyboardPlatform(this);
    }
    ~FakeKeyboard() override { setKeyboardPlatform(nullptr); }

    int hotKeys() const { return calls.count("send"); }

    bool readLayoutName(char* buffer, int size) override
    {
        calls.append("read");
        buffersRead.append(QByteArray(buffer, size));
        if (!layout)
            return false;
        std::memcpy(buffer, layout->constData(), layout->size() + 1);
        return true;
    }

    void sendHotKey() override
    {
        calls.append("send");
        if (layout == "00000409")
            layout = "00000429";
        else if (layout == "00000429")
            layout = "00000409";
    }

    void yield() override
    {
        calls.append("yield");
        QCoreApplication::processEvents();
    }

    std::optional<QByteArray> layout;
    QByteArrayList calls;
    // What each read found in the buffer before writing to it.
    QByteArrayList buffersRead;
};
