#include "xkeys.h"

#include <dlfcn.h>
#include <X11/keysym.h>
#include <X11/Xlib.h>

namespace bench {

namespace {
using FakeKey = int (*)(Display*, unsigned int, int, unsigned long);
} // namespace

XKeys::~XKeys()
{
    if (m_display)
        XCloseDisplay(static_cast<Display*>(m_display));
    if (m_xtst)
        dlclose(m_xtst);
}

bool XKeys::open()
{
    auto* display = XOpenDisplay(nullptr);
    m_display = display;
    if (!display)
        return false;
    m_xtst = dlopen("libXtst.so.6", RTLD_NOW);
    if (!m_xtst)
        return false;
    m_fake = dlsym(m_xtst, "XTestFakeKeyEvent");
    m_backspace = XKeysymToKeycode(display, XK_BackSpace);
    return m_fake && m_backspace;
}

void XKeys::mapLetters(const QString& letters)
{
    auto* display = static_cast<Display*>(m_display);
    int low = 0;
    int high = 0;
    XDisplayKeycodes(display, &low, &high);
    // From the highest key code down: free ones, or those of keys a desktop keyboard rarely
    // has (the multimedia keys at the top of the range).
    int code = high;
    for (const QChar letter : letters) {
        if (m_codes.count(letter.unicode()))
            continue;
        if (code == static_cast<int>(m_backspace))
            --code;
        if (code < low + 100)
            qFatal("too many letters for the keyboard");
        KeySym symbol = 0x1000000 + letter.unicode(); // a Unicode key symbol
        XChangeKeyboardMapping(display, code, 1, &symbol, 1);
        m_codes[letter.unicode()] = static_cast<unsigned int>(code--);
    }
    XSync(display, False);
}

void XKeys::send(QChar letter, bool press)
{
    fake(m_codes.at(letter.unicode()), press);
}

void XKeys::sendBackspace(bool press)
{
    fake(m_backspace, press);
}

void XKeys::fake(unsigned int code, bool press)
{
    auto* display = static_cast<Display*>(m_display);
    reinterpret_cast<FakeKey>(m_fake)(display, code, press ? True : False, CurrentTime);
    XFlush(display);
}

} // namespace bench
