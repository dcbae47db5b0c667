#include "xkeys.h"

#include <dlfcn.h>
#include <X11/keysym.h>
#include <X11/Xlib.h>

namespace bench {

XKeys::~XKeys()
{
    if (m_display)
        XCloseDisplay(m_display);
}

bool XKeys::open()
{
    m_display = XOpenDisplay(nullptr);
    void* xtst = dlopen("libXtst.so.6", RTLD_NOW);
    if (!m_display || !xtst)
        return false;
    m_fake = reinterpret_cast<FakeKey>(dlsym(xtst, "XTestFakeKeyEvent"));
    m_backspace = XKeysymToKeycode(m_display, XK_BackSpace);
    return m_fake && m_backspace;
}

void XKeys::mapLetters(const QString& letters)
{
    int low = 0;
    int high = 0;
    XDisplayKeycodes(m_display, &low, &high);
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
        XChangeKeyboardMapping(m_display, code, 1, &symbol, 1);
        m_codes[letter.unicode()] = static_cast<unsigned int>(code--);
    }
    XSync(m_display, False);
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
    m_fake(m_display, code, press ? True : False, CurrentTime);
    XFlush(m_display);
}

} // namespace bench
