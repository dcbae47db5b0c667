// The X11 keyboard platform on a real X server (Xvfb): the layout names it reads, the group
// its hot key moves to, and Vardel itself switching to Persian when its window shows and back
// to English when the exit command ends it.
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/prctl.h>

// After the Qt headers: Xlib defines macros that clash with Qt names.
#include <X11/keysym.h>
#include <X11/Xatom.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

constexpr int kTimeout = 30000; // ms; only a hang ever takes this long

// Ends the process started by `process` if the test itself is killed.
void endWithTest(QProcess& process)
{
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

// An Xvfb server on a free display, with a connection of its own to watch the keyboard.
class XServer
{
public:
    ~XServer()
    {
        if (display)
            XCloseDisplay(display);
        m_process.kill();
        m_process.waitForFinished(kTimeout);
    }

    // Starts the server; returns an error text, empty on success.
    QString start()
    {
        endWithTest(m_process);
        // -noreset keeps the keyboard settings when setxkbmap disconnects.
        m_process.start(QStringLiteral("Xvfb"),
                        {QStringLiteral("-displayfd"), QStringLiteral("1"),
                         QStringLiteral("-noreset"), QStringLiteral("-nolisten"),
                         QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                         QStringLiteral("1024x768x24")});
        if (!m_process.waitForStarted(kTimeout))
            return QStringLiteral("Xvfb does not start: ") + m_process.errorString();
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(kTimeout))
                return QStringLiteral("Xvfb gives no display number");
        name = QLatin1Char(':') + QString::fromLatin1(m_process.readLine().trimmed());
        int major = XkbMajorVersion;
        int minor = XkbMinorVersion;
        int reason = 0;
        display = XkbOpenDisplay(name.toLatin1().data(), nullptr, nullptr, &major, &minor, &reason);
        if (!display)
            return QStringLiteral("no XKB connection to ") + name;
        // A window that goes away while it is looked at is no reason to end the test.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        return {};
    }

    int group() const
    {
        XkbStateRec state;
        XkbGetState(display, XkbUseCoreKbd, &state);
        return state.group;
    }

    void lockGroup(int group) const
    {
        XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned>(group));
        XSync(display, False);
    }

    // The viewable top-level window named `title`, or 0.
    Window viewableWindow(const QByteArray& title) const
    {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
            return 0;
        Window found = 0;
        for (unsigned i = 0; i < count && !found; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable && windowName(children[i]) == title)
                found = children[i];
        }
        if (children)
            XFree(children);
        return found;
    }

    // Gives `window` the input focus, as a window manager does with a new window.
    void focus(Window window) const
    {
        XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
        XSync(display, False);
    }

    // Ctrl+`key` delivered to `window` in the keyboard's current group.
    void sendControlKey(Window window, KeySym key) const
    {
        XKeyEvent event = {};
        event.display = display;
        event.window = window;
        event.root = DefaultRootWindow(display);
        event.same_screen = True;
        event.state = ControlMask | (static_cast<unsigned>(group()) << 13);
        event.keycode = XKeysymToKeycode(display, key);
        for (const int type : {KeyPress, KeyRelease}) {
            event.type = type;
            XSendEvent(display, window, True, KeyPressMask | KeyReleaseMask,
                       reinterpret_cast<XEvent*>(&event));
        }
        XSync(display, False);
    }

    QString name;
    Display* display = nullptr;

private:
    QByteArray windowName(Window window) const
    {
        const Atom property = XInternAtom(display, "_NET_WM_NAME", False);
        Atom type = 0;
        int format = 0;
        unsigned long length = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        QByteArray name;
        if (XGetWindowProperty(display, window, property, 0, 256, False, AnyPropertyType, &type,
                               &format, &length, &remaining, &data) == Success &&
            data) {
            name = QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(length));
            XFree(data);
        }
        return name;
    }

    QProcess m_process;
};

} // namespace

class tst_X11Keyboard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { m_server.reset(); }
    void layoutNames_data();
    void layoutNames();
    void hotKey_data();
    void hotKey();
    void vardel_data();
    void vardel();

private:
    // Sets the keyboard's layouts (setxkbmap arguments) and locks `group`.
    bool setKeyboard(const QString& layouts, int group);
    // Runs the probe under `platform` and returns what it printed.
    QByteArray probe(const QString& command, const QString& platform);
    QProcessEnvironment environment(const QString& platform) const;

    std::unique_ptr<XServer> m_server;
};

void tst_X11Keyboard::initTestCase()
{
    for (const char* tool : {"Xvfb", "setxkbmap", "xkbcomp"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QSKIP(qPrintable(QLatin1String(tool) +
                             QStringLiteral(" is not installed (scripts/deps.sh --tests)")));
    m_server = std::make_unique<XServer>();
    const QString error = m_server->start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

QProcessEnvironment tst_X11Keyboard::environment(const QString& platform) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_server->name);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return environment;
}

bool tst_X11Keyboard::setKeyboard(const QString& layouts, int group)
{
    QProcess setxkbmap;
    setxkbmap.setProcessChannelMode(QProcess::ForwardedChannels);
    setxkbmap.start(QStringLiteral("setxkbmap"),
                    QStringList{QStringLiteral("-display"), m_server->name} +
                        layouts.split(QLatin1Char(' ')));
    if (!setxkbmap.waitForFinished(kTimeout) || setxkbmap.exitCode() != 0)
        return false;
    m_server->lockGroup(group);
    return m_server->group() == group;
}

QByteArray tst_X11Keyboard::probe(const QString& command, const QString& platform)
{
    QProcess probe;
    probe.setProcessEnvironment(environment(platform));
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QStringLiteral(VARDEL_X11PROBE), {command});
    if (!probe.waitForFinished(kTimeout) || probe.exitCode() != 0)
        return "probe did not run";
    return probe.readAllStandardOutput().trimmed();
}

void tst_X11Keyboard::layoutNames_data()
{
    QTest::addColumn<QString>("layouts");
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QByteArray>("name");

    const QString xcb = QStringLiteral("xcb");
    const QString us_ir = QStringLiteral("-layout us,ir");
    QTest::newRow("us of us,ir") << us_ir << 0 << xcb << QByteArray("00000409");
    QTest::newRow("ir of us,ir") << us_ir << 1 << xcb << QByteArray("00000429");
    QTest::newRow("us of ir,us") << QStringLiteral("-layout ir,us") << 1 << xcb
                                 << QByteArray("00000409");
    QTest::newRow("default variants named")
        << QStringLiteral("-layout us,ir -variant basic,pes") << 1 << xcb << QByteArray("00000429");
    QTest::newRow("us dvorak") << QStringLiteral("-layout us,ir -variant dvorak,") << 0 << xcb
                               << QByteArray("FFFFFFFF");
    QTest::newRow("ir with the keypad") << QStringLiteral("-layout us,ir -variant ,pes_keypad") << 1
                                        << xcb << QByteArray("FFFFFFFF");
    QTest::newRow("de of de,ir") << QStringLiteral("-layout de,ir") << 0 << xcb
                                 << QByteArray("FFFFFFFF");
    QTest::newRow("offscreen") << us_ir << 0 << QStringLiteral("offscreen") << QByteArray("failed");
}

void tst_X11Keyboard::layoutNames()
{
    QFETCH(QString, layouts);
    QFETCH(int, group);
    QFETCH(QString, platform);
    QFETCH(QByteArray, name);
    QVERIFY(setKeyboard(layouts, group));
    QCOMPARE(probe(QStringLiteral("read"), platform), name);
}

void tst_X11Keyboard::hotKey_data()
{
    QTest::addColumn<QString>("layouts");
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<int>("next");

    const QString xcb = QStringLiteral("xcb");
    QTest::newRow("us to ir") << QStringLiteral("-layout us,ir") << 0 << xcb << 1;
    QTest::newRow("ir to us") << QStringLiteral("-layout us,ir") << 1 << xcb << 0;
    QTest::newRow("second of three") << QStringLiteral("-layout us,ir,de") << 1 << xcb << 2;
    QTest::newRow("last of three") << QStringLiteral("-layout us,ir,de") << 2 << xcb << 0;
    QTest::newRow("one layout") << QStringLiteral("-layout us") << 0 << xcb << 0;
    QTest::newRow("offscreen") << QStringLiteral("-layout us,ir") << 0
                               << QStringLiteral("offscreen") << 0;
}

void tst_X11Keyboard::hotKey()
{
    QFETCH(QString, layouts);
    QFETCH(int, group);
    QFETCH(QString, platform);
    QFETCH(int, next);
    QVERIFY(setKeyboard(layouts, group));
    QCOMPARE(probe(QStringLiteral("send"), platform), QByteArray());
    // The probe has ended: its XSync made the server carry the change out before.
    QCOMPARE(m_server->group(), next);
}

void tst_X11Keyboard::vardel_data()
{
    QTest::addColumn<QString>("layouts");
    QTest::addColumn<int>("group");     // before Vardel starts
    QTest::addColumn<int>("shown");     // once its window shows with the focus in txtName
    QTest::addColumn<int>("afterExit"); // after the exit command

    QTest::newRow("us,ir from us") << QStringLiteral("-layout us,ir") << 0 << 1 << 0;
    QTest::newRow("us,ir from ir") << QStringLiteral("-layout us,ir") << 1 << 1 << 0;
    QTest::newRow("de,ir from de") << QStringLiteral("-layout de,ir") << 0 << 0 << 0;
    QTest::newRow("de,ir from ir") << QStringLiteral("-layout de,ir") << 1 << 1 << 0;
}

void tst_X11Keyboard::vardel()
{
    QFETCH(QString, layouts);
    QFETCH(int, group);
    QFETCH(int, shown);
    QFETCH(int, afterExit);

    // An application folder: the program, a database from the starter list, the pictures.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString program = folder.filePath(QStringLiteral("vardel"));
    QVERIFY(QFile::copy(QStringLiteral(VARDEL_PROGRAM), program));
    QProcess mkdb;
    mkdb.setProcessChannelMode(QProcess::ForwardedChannels);
    mkdb.start(QStringLiteral(VARDEL_MKDB),
               {QStringLiteral(VARDEL_NAMES), folder.filePath(QStringLiteral("db.mdb"))});
    QVERIFY(mkdb.waitForFinished(kTimeout) && mkdb.exitCode() == 0);
    for (const QString& picture : {QStringLiteral("man.jpg"), QStringLiteral("Female.jpg")})
        QVERIFY(QFile::copy(QStringLiteral(VARDEL_ASSETS "/") + picture, folder.filePath(picture)));

    QVERIFY(setKeyboard(layouts, group));
    QProcess vardel; // killed by its destructor on every early return
    endWithTest(vardel);
    vardel.setProcessEnvironment(environment(QStringLiteral("xcb")));
    vardel.setProcessChannelMode(QProcess::ForwardedChannels);
    vardel.start(program, QStringList());
    QVERIFY2(vardel.waitForStarted(kTimeout), qPrintable(vardel.errorString()));

    Window window = 0;
    QTRY_VERIFY_WITH_TIMEOUT((window = m_server->viewableWindow("Vardel")) != 0, kTimeout);
    // No window manager runs on Xvfb: the test gives the new window the focus as one would.
    m_server->focus(window);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->group(), shown, kTimeout);

    // The key reaches Vardel after its focus-in: the layout seen at the end is also the one
    // its focus handler left.
    m_server->sendControlKey(window, XK_x);
    QVERIFY(vardel.waitForFinished(kTimeout));
    QCOMPARE(vardel.exitStatus(), QProcess::NormalExit);
    QCOMPARE(vardel.exitCode(), 0);
    QCOMPARE(m_server->group(), afterExit);
}

QTEST_GUILESS_MAIN(tst_X11Keyboard)
#include "tst_x11keyboard.moc"
