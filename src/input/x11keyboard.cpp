// X11 with XKB: the keyboard layout of the active XKB group stands for the active Windows
// layout, and the hot key moves to the next group.
//
// Layout names: "us" in its default variant is 00000409 and "ir" in its default variant is
// 00000429. Every other layout or variant is reported as FFFFFFFF, which reads as no number,
// so neither switch acts on it. The layouts come from the root window's _XKB_RULES_NAMES
// property, as setxkbmap and desktop keyboard settings leave it.
//
// Under any other Qt platform (offscreen, Wayland), or without XKB, a read fails and nothing
// is sent.
#include "input/keyboardplatform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// After the Qt headers: Xlib defines macros (None, Bool, FocusIn...) that clash with Qt names.
#include <X11/Xatom.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

constexpr char kUsEnglish[] = "00000409";
constexpr char kPersian[] = "00000429";
constexpr char kUnknown[] = "FFFFFFFF";

std::vector<std::string> split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    for (;;) {
        const size_t end = text.find(separator);
        parts.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            return parts;
        text.remove_prefix(end + 1);
    }
}

std::string_view windowsLayoutName(std::string_view layout, std::string_view variant)
{
    if (layout == "us" && (variant.empty() || variant == "basic"))
        return kUsEnglish;
    if (layout == "ir" && (variant.empty() || variant == "pes"))
        return kPersian;
    return kUnknown;
}

struct Layout
{
    std::string name;
    std::string variant;
};

// The layouts of the groups in order, from _XKB_RULES_NAMES: NUL-separated fields rules,
// model, layouts, variants, options; layouts and variants are comma-separated lists.
std::optional<std::vector<Layout>> groupLayouts(Display* display)
{
    const Atom property = XInternAtom(display, "_XKB_RULES_NAMES", True);
    if (property == None)
        return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long length = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1024, False, XA_STRING,
                           &type, &format, &length, &remaining, &data) != Success)
        return std::nullopt;
    std::string text;
    if (data) {
        if (type == XA_STRING && format == 8)
            text.assign(reinterpret_cast<const char*>(data), length);
        XFree(data);
    }
    const std::vector<std::string> fields = split(text, '\0');
    if (fields.size() < 3 || fields[2].empty())
        return std::nullopt;
    const std::vector<std::string> names = split(fields[2], ',');
    const std::vector<std::string> variants =
        fields.size() > 3 ? split(fields[3], ',') : std::vector<std::string>{};
    std::vector<Layout> layouts;
    for (size_t i = 0; i < names.size(); ++i)
        layouts.push_back({names[i], i < variants.size() ? variants[i] : std::string()});
    return layouts;
}

std::optional<int> activeGroup(Display* display)
{
    XkbStateRec state;
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    return state.group;
}

int groupCount(Display* display)
{
    XkbDescPtr keyboard = XkbAllocKeyboard();
    if (!keyboard)
        return 0;
    int count = 0;
    if (XkbGetControls(display, XkbGroupsWrapMask, keyboard) == Success && keyboard->ctrls)
        count = keyboard->ctrls->num_groups;
    XkbFreeKeyboard(keyboard, 0, True);
    return count;
}

class X11Keyboard : public KeyboardPlatform
{
public:
    ~X11Keyboard() override
    {
        if (m_ownDisplay)
            XCloseDisplay(m_ownDisplay);
    }

    bool readLayoutName(char* buffer, int size) override
    {
        Display* display = xkbDisplay();
        if (!display)
            return false;
        const std::optional<int> group = activeGroup(display);
        const std::optional<std::vector<Layout>> layouts = groupLayouts(display);
        if (!group || !layouts || *group < 0 || *group >= static_cast<int>(layouts->size()))
            return false;
        const Layout& layout = (*layouts)[*group];
        const std::string_view name = windowsLayoutName(layout.name, layout.variant);
        if (size <= static_cast<int>(name.size()))
            return false;
        std::memcpy(buffer, name.data(), name.size());
        buffer[name.size()] = '\0';
        return true;
    }

    // Locks the next group, as Shift+Alt does with the usual group toggle, and waits until the
    // server has carried it out.
    void sendHotKey() override
    {
        Display* display = xkbDisplay();
        if (!display)
            return;
        const std::optional<int> group = activeGroup(display);
        const int count = groupCount(display);
        if (!group || count < 2)
            return;
        XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned>((*group + 1) % count));
        XSync(display, False);
    }

    void yield() override { QCoreApplication::processEvents(); }

private:
    // The application's X display with XKB in use, or nullptr when Qt does not run on X11.
    Display* xkbDisplay()
    {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ||
            QGuiApplication::platformName() != QLatin1String("xcb"))
            return nullptr;
        Display* display = qtDisplay();
        if (!display) {
            // Qt built without Xlib: a connection of our own to the same server.
            if (!m_ownDisplay)
                m_ownDisplay = XOpenDisplay(nullptr);
            display = m_ownDisplay;
        }
        if (!display)
            return nullptr;
        int opcode = 0;
        int event = 0;
        int error = 0;
        int major = XkbMajorVersion;
        int minor = XkbMinorVersion;
        if (!XkbQueryExtension(display, &opcode, &event, &error, &major, &minor))
            return nullptr;
        return display;
    }

    static Display* qtDisplay()
    {
#if QT_CONFIG(xcb)
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            return x11->display();
#endif
        return nullptr;
    }

    Display* m_ownDisplay = nullptr;
};

} // namespace

std::unique_ptr<KeyboardPlatform> createNativeKeyboardPlatform()
{
    return std::make_unique<X11Keyboard>();
}
