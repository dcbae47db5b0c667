#pragma once

#include <map>
#include <QString>
#include <QtGlobal>

namespace bench {

// Keys sent through the X server (the xcb platform on Xvfb): the XTEST extension presses a key
// as a keyboard would, the server sends it to the focused window, and the program's own X
// connection reads it. libXtst is opened at run time, so that building needs no headers beyond
// Xlib's.
class XKeys
{
public:
    XKeys() = default;
    ~XKeys();
    Q_DISABLE_COPY_MOVE(XKeys)

    // Connects to the display DISPLAY names; false when it or XTEST is not there.
    bool open();
    // Gives each of `letters` a key of its own, on key codes the keyboard does not use.
    void mapLetters(const QString& letters);
    void send(QChar letter, bool press);
    void sendBackspace(bool press);

private:
    void fake(unsigned int code, bool press);

    // Xlib's Display and XTestFakeKeyEvent, kept out of this header: Xlib's macros clash with
    // Qt's names.
    void* m_display = nullptr;
    void* m_xtst = nullptr; // libXtst, opened at run time
    void* m_fake = nullptr;
    unsigned int m_backspace = 0;
    std::map<char16_t, unsigned int> m_codes;
};

} // namespace bench
