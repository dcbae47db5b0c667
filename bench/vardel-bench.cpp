// vardel-bench: what the user of Vardel waits for, measured as the user feels it, beside two
// floors measured in the same run. docs/performance.md has the method and the figures.
//
//   vardel-bench [--runs N] [--quick] [--sizes 32767,250000] [--layouts keyed,plain]
//                [--keys-on offscreen|x11|both] [--startup-platform xcb|offscreen]
//                [--no-startup] [--startup-parts] [--only keys,select,startup,mkdb]
//                [--verbose] [--trace]
//   vardel-bench --what-if-meaning | --what-if-index | --make-folder DIR
//   vardel-bench --callgrind keys|all|select [--sizes N] [--layouts keyed|plain]
//
// For each size (32,767 and 250,000 names) and each file layout (order keys, as vardel-mkdb
// makes files, and plain four-column files, as other programs make them):
//
// - Keystrokes in the real main window, in a process of their own (the benchmark started
//   again with --keys-child), twice: under the offscreen platform, where each key enters
//   through Qt's window-system input path (qt_handleKeyEvent), and under the xcb platform on
//   the benchmark's Xvfb, where XTEST presses the key in the X server. Then the event loop runs
//   until three rounds in a row deliver no event, and the time is taken at the end of the last
//   paint (under X, once a round trip to the server returns: the server has the flushed
//   image). One, two and three letters of the beginning of a real name, then deleting them
//   again; deleting the last one lists all names. Page faults per keystroke (getrusage) are
//   counted in passes of the program's keystrokes alone, before the floors allocate anything.
// - Floors, in the same run and on the same file and prefixes: (a) as the program works: the
//   file opened for the action, the store's statement prepared and its rows read, the file
//   closed; for a plain four-column file, SQLite's own scan of every row in its built-in order,
//   the rows the list shows kept and sorted with ICU's Persian collation in C++; (b) a bare
//   QListView (uniform item sizes) over a plain model of the same strings, refilled with a
//   model reset and painted, timed the same way as the keystrokes. Vardel's keystroke is given
//   as a ratio to (a) + (b); the store's statement on a connection kept open stands beside.
// - Selecting the entry whose meaning is 1 MB of text without a space: a mouse click through
//   the window-system input path on its entry, until painted; then Ctrl+E on it, until the
//   edit window showing that meaning has painted.
// - Start-up: the real vardel executable started as a process in a fresh application folder
//   (the executable hard-linked, its pictures, a fresh copy of db.mdb, its pages dropped from
//   the page cache for a cold start, left there for a warm one), to its first flushed window,
//   observed by an LD_PRELOAD probe (paintprobe.cpp) under an X server of the benchmark's own
//   (Xvfb) or the offscreen platform; and the program's peak memory (VmHWM) read from /proc
//   while it runs. Its floor, started the same way right after: vardel-startfloor
//   (startfloor.cpp), a bare program with a window of the same size that reads all names and
//   shows them in a bare QListView in the list's font. --startup-parts adds the pieces of
//   Vardel's start-up to that floor one by one (vardel-startparts).
// - vardel-mkdb building db.mdb from data/names.tsv.
//
// --what-if-meaning and --what-if-index measure other ways of showing a long meaning and
// other layouts of the order-key file. With --callgrind the program runs a short piece of
// work with callgrind's instrumentation on only around the measured operations: run it under
// valgrind --tool=callgrind --instr-atstart=no.
#include "benchnames.h"
#include "launch.h"
#include "xkeys.h"

#include "app/frmmain.h"
#include "app/namelist.h"
#include "app/startup.h"
#include "dbfile.h"
#include "editing/meaningedit.h"
#include "look/look.h"
#include "store/namestore.h"
#include "store/persian.h"
#include "store/statements.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMetaEnum>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyleHints>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/utsname.h>
#include <unicode/ucol.h>
#include <xcb/xcb.h>
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else // without valgrind's headers --callgrind runs without switching the instrumentation
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif
#include <vector>

namespace {

using bench::monotonicNs;

// ---------------------------------------------------------------------------------------------
// Figures

struct Samples
{
    std::vector<double> ms;

    void add(double value) { ms.push_back(value); }
    bool empty() const { return ms.empty(); }
    size_t size() const { return ms.size(); }
    double median() const
    {
        if (ms.empty())
            return NAN;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    // Nearest rank.
    double percentile(double p) const
    {
        if (ms.empty())
            return NAN;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const auto rank = static_cast<size_t>(std::ceil(p * static_cast<double>(sorted.size())));
        return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
    }
    double p95() const { return percentile(0.95); }
    double mean() const
    {
        double sum = 0;
        for (const double value : ms)
            sum += value;
        return ms.empty() ? NAN : sum / static_cast<double>(ms.size());
    }
};

// ---------------------------------------------------------------------------------------------
// The event loop, run as the user's machine runs it, and the end of the last paint.

qint64 lastPaintEnd = 0;
quint64 eventsDelivered = 0;
quint64 keyEventsSeen = 0;
int paintsCounted = 0;
// While set, every event delivered is printed with its time from `traceStart`.
bool tracing = false;
qint64 traceStart = 0;

class BenchApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        ++eventsDelivered;
        const QEvent::Type type = event->type();
        if (type == QEvent::KeyPress || type == QEvent::KeyRelease)
            ++keyEventsSeen;
        if (tracing) {
            // Named before delivery: the event may delete its receiver.
            const char* typeName = QMetaEnum::fromType<QEvent::Type>().valueToKey(type);
            const QByteArray receiverName = QByteArray(receiver->metaObject()->className()) +
                                            " \"" + receiver->objectName().toUtf8() + '"';
            const qint64 begin = monotonicNs();
            const bool result = QApplication::notify(receiver, event);
            std::printf("    %8.3f-%8.3f ms  %-24s %s\n",
                        static_cast<double>(begin - traceStart) / 1e6,
                        static_cast<double>(monotonicNs() - traceStart) / 1e6,
                        typeName ? typeName : "(other)", receiverName.constData());
            notePaint(type);
            return result;
        }
        const bool result = QApplication::notify(receiver, event);
        notePaint(type);
        return result;
    }

private:
    static void notePaint(QEvent::Type type)
    {
        // The repaint manager paints the dirty widgets and flushes the backing store while it
        // handles the window's update request (or an expose); paint events come inside it.
        if (type == QEvent::UpdateRequest || type == QEvent::Expose) {
            lastPaintEnd = monotonicNs();
            ++paintsCounted;
        } else if (type == QEvent::Paint) {
            lastPaintEnd = monotonicNs();
        }
    }
};

// Runs the event loop until three rounds in a row deliver no event: posted events, the
// zero-time timers of delayed layouts and the update requests they post are all handled.
void runUntilIdle()
{
    for (int quiet = 0; quiet < 3;) {
        const quint64 before = eventsDelivered;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        quiet = eventsDelivered == before ? quiet + 1 : 0;
    }
}

// Milliseconds from `start` to the end of the last paint after it; NaN when nothing painted.
double paintedSince(qint64 start)
{
    return lastPaintEnd > start ? static_cast<double>(lastPaintEnd - start) / 1e6 : NAN;
}

// Page faults of this process so far: each is a page of memory the system maps in (minor) or
// reads (major).
long pageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// Window updates (paint and flush) and page faults that the last key press caused.
int lastKeyPaints = 0;
long lastKeyFaults = 0;

bench::XKeys* xKeys = nullptr; // set in the X server mode

// The program's own X connection: a round trip on it returns once the server has done every
// request sent before, the flushed window image included.
void waitForXServer()
{
    auto* native = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t* connection = native ? native->connection() : nullptr)
        free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// Runs the event loop until idle and, under the X server, until the server has the window's
// last image: the time in ms from `start` to then, NaN when nothing was painted.
double runUntilShown(qint64 start)
{
    runUntilIdle();
    if (xKeys && lastPaintEnd > start) {
        waitForXServer();
        lastPaintEnd = monotonicNs();
    }
    return paintedSince(start);
}

// Runs the event loop until the key event sent through the X server has come in.
void waitForKeyEvent(quint64 before)
{
    QElapsedTimer waited;
    waited.start();
    while (keyEventsSeen == before) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        if (waited.elapsed() > 5000)
            qFatal("a key sent through the X server did not arrive");
    }
}

// A key press as the window system delivers it, run until painted; then the release. Under
// the X server the time runs until the server has the window's last flushed image.
double pressKey(QWindow* window, int key, const QString& text, std::optional<QChar> letter)
{
    const int paintsBefore = paintsCounted;
    const long faultsBefore = pageFaults();
    const quint64 keysBefore = keyEventsSeen;
    const qint64 start = monotonicNs();
    if (xKeys) {
        letter ? xKeys->send(*letter, true) : xKeys->sendBackspace(true);
        waitForKeyEvent(keysBefore);
    } else {
        qt_handleKeyEvent(window, QEvent::KeyPress, key, Qt::NoModifier, text);
    }
    const double ms = runUntilShown(start);
    lastKeyFaults = pageFaults() - faultsBefore;
    lastKeyPaints = paintsCounted - paintsBefore;
    if (xKeys) {
        const quint64 pressSeen = keyEventsSeen;
        letter ? xKeys->send(*letter, false) : xKeys->sendBackspace(false);
        waitForKeyEvent(pressSeen);
    } else {
        qt_handleKeyEvent(window, QEvent::KeyRelease, key, Qt::NoModifier, text);
    }
    runUntilIdle();
    return ms;
}

double typeLetter(QWindow* window, QChar letter)
{
    // X11 reports a letter outside Latin-1 with its code point as the key.
    return pressKey(window, letter.unicode(), QString(letter), letter);
}

double backspace(QWindow* window)
{
    return pressKey(window, Qt::Key_Backspace, QString(), std::nullopt);
}

// A left click at `at` (window coordinates) as the window system delivers it, until painted.
double click(QWindow* window, QPoint at)
{
    static int timestamp = 1000000;
    const QPointF local(at);
    const QPointF global = window->mapToGlobal(local);
    const qint64 start = monotonicNs();
    timestamp += 1000; // far from the last click: no double click
    qt_handleMouseEvent(window, local, global, Qt::LeftButton, Qt::LeftButton,
                        QEvent::MouseButtonPress, Qt::NoModifier, timestamp);
    runUntilIdle();
    timestamp += 60;
    qt_handleMouseEvent(window, local, global, Qt::NoButton, Qt::LeftButton,
                        QEvent::MouseButtonRelease, Qt::NoModifier, timestamp);
    runUntilIdle();
    return paintedSince(start);
}

template <typename Work> double timed(Work work)
{
    const qint64 start = monotonicNs();
    work();
    return static_cast<double>(monotonicNs() - start) / 1e6;
}

// Shows `widget` as a window of its own and makes it the active one.
void showActive(QWidget* widget)
{
    widget->show();
    widget->activateWindow();
    if (!QTest::qWaitForWindowExposed(widget) || !QTest::qWaitForWindowActive(widget))
        qFatal("a window did not show");
    runUntilIdle();
}

// ---------------------------------------------------------------------------------------------
// Floor (a): the rows of a list read with the store's SQL on a connection kept open.

struct Rows
{
    std::vector<qint64> ids;
    std::string bytes;
    std::vector<std::pair<size_t, size_t>> names;

    qsizetype size() const { return static_cast<qsizetype>(ids.size()); }
    void clear()
    {
        ids.clear();
        bytes.clear();
        names.clear();
    }
    // The row `statement` stands on: its id (column 0) and name bytes (column 1).
    void append(sqlite3_stmt* statement)
    {
        ids.push_back(sqlite3_column_int64(statement, 0));
        const auto* name = static_cast<const char*>(sqlite3_column_blob(statement, 1));
        const auto length = static_cast<size_t>(sqlite3_column_bytes(statement, 1));
        names.emplace_back(bytes.size(), length);
        bytes.append(name ? name : "", length);
    }
    QStringList strings() const
    {
        QStringList result;
        result.reserve(size());
        for (const auto& [offset, length] : names)
            result << QString::fromUtf8(bytes.data() + offset, static_cast<qsizetype>(length));
        return result;
    }
};

// The values of each run of a statement, as UTF-8 ready to bind.
using Bound = std::vector<std::vector<QByteArray>>;

Bound boundValues(const QList<QStringList>& runs)
{
    Bound bound;
    for (const QStringList& values : runs) {
        bound.emplace_back();
        for (const QString& value : values)
            bound.back().push_back(value.toUtf8());
    }
    return bound;
}

// Runs `statement` once for each run's values and appends the rows (id, name) to `rows`.
void readRuns(sqlite3_stmt* statement, const Bound& bound, Rows& rows)
{
    for (const std::vector<QByteArray>& values : bound) {
        for (size_t i = 0; i < values.size(); ++i)
            sqlite3_bind_text(statement, static_cast<int>(i + 1), values[i].constData(),
                              static_cast<int>(values[i].size()), SQLITE_STATIC);
        while (sqlite3_step(statement) == SQLITE_ROW)
            rows.append(statement);
        sqlite3_reset(statement);
    }
}

class SqlFloor
{
public:
    // `flags` are added to SQLITE_OPEN_READWRITE, with which Vardel opens the file.
    SqlFloor(const QString& path, bool keyed, int flags = 0) : m_keyed(keyed)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | flags,
                            nullptr) != SQLITE_OK ||
            !persian::registerOn(m_db))
            qFatal("floor: cannot open %s", qPrintable(path));
    }
    ~SqlFloor()
    {
        for (auto& [sql, statement] : m_statements)
            sqlite3_finalize(statement);
        sqlite3_close(m_db);
    }
    SqlFloor(const SqlFloor&) = delete;
    SqlFloor& operator=(const SqlFloor&) = delete;

    // Reads the rows of `query` into `rows`; the time in ms (preparing excluded).
    double read(const store::Query& query, Rows& rows)
    {
        const QString& sql = m_keyed ? query.keyedSql : query.sql;
        const QList<QStringList> runs =
            m_keyed ? query.keyedRuns : QList<QStringList>{query.values};
        sqlite3_stmt*& statement = m_statements[sql];
        if (!statement) {
            const QByteArray utf8 = sql.toUtf8();
            if (sqlite3_prepare_v3(m_db, utf8.constData(), static_cast<int>(utf8.size()),
                                   SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK)
                qFatal("floor: %s", sqlite3_errmsg(m_db));
        }
        const Bound bound = boundValues(runs);
        rows.clear();
        const qint64 start = monotonicNs();
        readRuns(statement, bound, rows);
        const double ms = static_cast<double>(monotonicNs() - start) / 1e6;
        sqlite3_clear_bindings(statement);
        return ms;
    }

private:
    bool m_keyed;
    sqlite3* m_db = nullptr;
    std::map<QString, sqlite3_stmt*> m_statements;
};

// The ids of `rows`, as a set.
std::vector<bool> listedIds(const Rows& rows)
{
    std::vector<bool> listed;
    for (const qint64 id : rows.ids) {
        if (static_cast<size_t>(id) >= listed.size())
            listed.resize(static_cast<size_t>(id) + 1);
        listed[static_cast<size_t>(id)] = true;
    }
    return listed;
}

// Floor (a) as the program works: opening the file for the action (with the Persian order and
// folding registered on the connection), preparing the store's statement, reading the rows,
// and closing the file again; the time in ms.
double readOpening(const QString& path, const store::Query& query, Rows& rows)
{
    const QByteArray file = path.toUtf8();
    const QByteArray sql = query.keyedSql.toUtf8();
    const Bound bound = boundValues(query.keyedRuns);
    rows.clear();
    const qint64 start = monotonicNs();
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK ||
        !persian::registerOn(db) ||
        sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &statement,
                           nullptr) != SQLITE_OK)
        qFatal("floor: %s", sqlite3_errmsg(db));
    readRuns(statement, bound, rows);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return static_cast<double>(monotonicNs() - start) / 1e6;
}

// Floor (a) of a plain four-column file, where no order is kept in the file: opening it,
// SQLite's own scan of every row in its built-in (binary) order, keeping the rows the list
// shows (`listed`, by id), sorting their names with ICU's Persian collation in C++ and closing
// the file; the time in ms. Folding the typed text and matching it is the program's own cost.
class PlainFloor
{
public:
    PlainFloor()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_collator = ucol_open("fa", &status);
        if (U_FAILURE(status))
            qFatal("floor: no Persian collation in ICU");
    }
    ~PlainFloor() { ucol_close(m_collator); }
    PlainFloor(const PlainFloor&) = delete;
    PlainFloor& operator=(const PlainFloor&) = delete;

    double read(const QString& path, const std::vector<bool>& listed, Rows& rows)
    {
        const QByteArray file = path.toUtf8();
        rows.clear();
        Rows scanned;
        const qint64 start = monotonicNs();
        sqlite3* db = nullptr;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK ||
            sqlite3_prepare_v2(db, "SELECT id, p_name FROM vardel ORDER BY p_name", -1, &statement,
                               nullptr) != SQLITE_OK)
            qFatal("floor: %s", sqlite3_errmsg(db));
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const qint64 id = sqlite3_column_int64(statement, 0);
            if (id >= 0 && static_cast<size_t>(id) < listed.size() && listed[id])
                scanned.append(statement);
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        std::vector<size_t> order(scanned.ids.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            UErrorCode status = U_ZERO_ERROR;
            const auto& [aAt, aLength] = scanned.names[a];
            const auto& [bAt, bLength] = scanned.names[b];
            return ucol_strcollUTF8(m_collator, scanned.bytes.data() + aAt,
                                    static_cast<int32_t>(aLength), scanned.bytes.data() + bAt,
                                    static_cast<int32_t>(bLength), &status) == UCOL_LESS;
        });
        for (const size_t i : order) {
            rows.ids.push_back(scanned.ids[i]);
            rows.names.push_back(scanned.names[i]);
        }
        rows.bytes.swap(scanned.bytes);
        return static_cast<double>(monotonicNs() - start) / 1e6;
    }

private:
    UCollator* m_collator = nullptr;
};

// Floor (b): a bare list view like Vardel's over a plain model of the strings, refilled with a
// model reset and painted. The strings are made beforehand, and the list they replace is
// freed after the measurement: the floor is the reset, the layout and the paint alone.
class StringsModel : public QAbstractListModel
{
public:
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_strings.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return role == Qt::DisplayRole && index.isValid() ? QVariant(m_strings.at(index.row()))
                                                          : QVariant();
    }
    // Takes `strings` and hands the previous ones back in it.
    void swapIn(QStringList& strings)
    {
        beginResetModel();
        m_strings.swap(strings);
        endResetModel();
    }

private:
    QStringList m_strings;
};

class ListFloor
{
public:
    explicit ListFloor(const QListView* like)
    {
        m_view.setModel(&m_model);
        m_view.setUniformItemSizes(true);
        m_view.setFont(like->font());
        m_view.setLayoutDirection(like->layoutDirection());
        m_view.setFixedSize(like->size());
        m_view.setWindowTitle(QStringLiteral("floor"));
        showActive(&m_view);
    }

    double refill(QStringList strings)
    {
        const qint64 start = monotonicNs();
        m_model.swapIn(strings);
        return runUntilShown(start);
    }

private:
    StringsModel m_model;
    QListView m_view;
};

// ---------------------------------------------------------------------------------------------
// One file: its in-process figures and its start-ups.

enum Step
{
    OneLetter,
    TwoLetters,
    ThreeLetters,
    AllNames,
    Steps
};
const char* const stepNames[Steps] = {"1 letter", "2 letters", "3 letters", "all names"};

struct FileFigures
{
    int size = 0;
    dbfile::Layout layout = dbfile::Layout::OrderKeys;
    double createSeconds = 0;
    double fileMiB = 0;

    Samples key[Steps];     // Vardel, as the user feels it; AllNames: deleting the last letter
    Samples deleting[2];    // from 3 letters to 2 and from 2 to 1
    Samples sql[Steps];     // floor (a): the file opened and closed for the action
    Samples sqlOpen[Steps]; // the store's statement on a connection kept open, prepared once
    Samples list[Steps];    // floor (b)
    Samples floorSum[Steps];
    Samples store[Steps]; // NameStore's list read alone (opening the file included)
    Samples opening;      // NameStore::check(): opening the file and checking the table
    std::vector<double> rows[Steps];
    Samples paints[Steps];      // update requests per keystroke
    Samples faults[Steps];      // page faults of a keystroke, each list shown once before
    Samples firstFaults[Steps]; // the same, the first time the prefix is typed
    Samples floorFaults[Steps]; // page faults of floors (a) and (b) together

    Samples selectShort;   // a click on an entry with a short meaning
    Samples selectLong;    // a click on the entry with the 1 MB meaning
    Samples findLong;      // NameStore::find of that row alone
    Samples plainTextLong; // a bare QPlainTextEdit like Vardel's given the text Vardel's shows
    bool longShown = false;
    Samples editLong; // Ctrl+E on the entry with the 1 MB meaning, until the edit window painted
    bool editShown = false;

    Samples startup, settled, loaded, application, loop, peak, resident;
    Samples startupWarm, residentWarm;      // db.mdb left in the page cache
    Samples startupFloor, startupFloorWarm; // the bare program (vardel-startfloor)
    int flushes = 0;
    QString startupFailure;
};

QString layoutName(dbfile::Layout layout)
{
    return layout == dbfile::Layout::OrderKeys ? QStringLiteral("order keys")
                                               : QStringLiteral("plain");
}

struct Options
{
    int runs = 30;
    bool quick = false;
    std::vector<int> sizes{32767, 250000};
    std::vector<dbfile::Layout> layouts{dbfile::Layout::OrderKeys, dbfile::Layout::Plain};
    QString startupPlatform; // empty: xcb when Xvfb is there, else offscreen
    bool startup = true;
    bool keys = true;
    bool select = true;
    bool mkdb = true;
    bool verbose = false;
    bool trace = false;
    QString keysOn = QStringLiteral("both"); // offscreen, x11 (the X server) or both
    bool startupParts = false;
    // The process that types into the program's window: the folder of its db.mdb, and the
    // beginnings of names it types.
    QString childFolder;
    QStringList prefixes;
    QString callgrind;
    bool whatIfMeaning = false;
    bool whatIfIndex = false;
    QString makeFolder; // only make an application folder with db.mdb there
    int longLetters = bench::LongMeaningLetters;
};

// The time each operation's runs may take, in seconds, beyond the first five runs.
double keyBudgetSeconds(const Options& options)
{
    return options.quick ? 30 : 90;
}

// The size of the file at `path` in MiB.
double fileMiB(const QString& path)
{
    return static_cast<double>(QFileInfo(path).size()) / 1048576.0;
}

QString appFolderFor(const QTemporaryDir& dir)
{
    return dir.path();
}

// Makes db.mdb (as vardel-mkdb makes it, or plain) and the pictures in `dir`.
double makeFolder(const QTemporaryDir& dir, const bench::NameSet& names, dbfile::Layout layout)
{
    const QString db = dir.filePath(QStringLiteral("db.mdb"));
    QString error;
    const double ms = timed([&] {
        if (!dbfile::create(db, names.entries, &error, layout))
            qFatal("cannot create %s: %s", qPrintable(db), qPrintable(error));
    });
    for (const char* picture : {"man.jpg", "Female.jpg"})
        QFile::copy(QStringLiteral(VARDEL_ASSETS "/") + QLatin1String(picture),
                    dir.filePath(QLatin1String(picture)));
    return ms / 1000;
}

struct MainWindow
{
    std::unique_ptr<frmMain> window;
    QWindow* handle = nullptr;
    QLineEdit* box = nullptr;
    NameListBox* list = nullptr;
    QPlainTextEdit* meaning = nullptr;
};

MainWindow openMainWindow(const QString& folder, bool trace = false)
{
    MainWindow main;
    main.window = std::make_unique<frmMain>();
    startup::keepMemoryOnceShown(main.window.get()); // as the program's start-up does
    main.window->load(folder);
    if (trace) {
        std::printf("  events of showing the main window:\n");
        traceStart = monotonicNs();
        tracing = true;
    }
    showActive(main.window.get());
    tracing = false;
    main.handle = main.window->windowHandle();
    main.box = main.window->findChild<QLineEdit*>(QStringLiteral("txtName"));
    main.list = main.window->findChild<NameListBox*>(QStringLiteral("LstNames"));
    main.meaning = main.window->findChild<QPlainTextEdit*>(QStringLiteral("meanlbl"));
    if (!main.box || !main.list || !main.meaning)
        qFatal("the main window has no txtName, LstNames or meanlbl");
    if (QApplication::focusWidget() != main.box)
        qFatal("the name box does not have the focus");
    return main;
}

// Keystrokes and their floors, prefix after prefix, until `runs` or the time budget.
void measureKeystrokes(FileFigures& f, const QString& folder, const QStringList& prefixes, int runs,
                       double budgetSeconds, const Options& options)
{
    MainWindow main = openMainWindow(folder, options.trace);
    const QString db = folder + QStringLiteral("/db.mdb");
    const bool keyed = f.layout == dbfile::Layout::OrderKeys;
    SqlFloor keptOpen(db, keyed, SQLITE_OPEN_NOMUTEX);
    PlainFloor plainFloor;
    ListFloor listFloor(main.list);
    const store::NameStore store(db);
    // The main window's name box takes the keys again.
    showActive(main.window.get());
    main.box->setFocus();

    auto typePrefix = [&](const QString& prefix) {
        for (int i = 0; i < 3; ++i)
            typeLetter(main.handle, prefix[i]);
    };
    auto erasePrefix = [&](bool measure) {
        for (int i = 0; i < 3; ++i) {
            const double ms = backspace(main.handle);
            if (!measure)
                continue;
            if (i < 2)
                f.deleting[i].add(ms);
            else {
                f.key[AllNames].add(ms);
                f.paints[AllNames].add(lastKeyPaints);
            }
        }
    };
    // Warming up: the first keystrokes load fonts and fill caches.
    for (int i = 0; i < 2; ++i) {
        typePrefix(prefixes[prefixes.size() - 1 - i]);
        erasePrefix(false);
    }

    // Page faults, in a pass of the program's keystrokes alone, before anything else in this
    // process allocates: the floors and the store's reads below allocate and free lists of
    // their own, after which the C library gives memory back to the system or keeps more
    // (its thresholds follow the largest blocks freed), and a keystroke would count faults
    // that are not its own, or miss its own. Two rounds over the same prefixes: in the first,
    // letters and lists shown for the first time also fill caches that stay (the glyphs of
    // letters not typed before); the second counts what each keystroke takes every time.
    for (Samples* counted : {f.firstFaults, f.faults}) {
        for (int run = 0; run < runs && run < prefixes.size(); ++run) {
            for (int i = 0; i < 3; ++i) {
                typeLetter(main.handle, prefixes[run][i]);
                counted[i].add(static_cast<double>(lastKeyFaults));
            }
            for (int i = 0; i < 3; ++i)
                backspace(main.handle);
            counted[AllNames].add(static_cast<double>(lastKeyFaults));
        }
    }
    // One step of the floors on `typed`: (a) the file opened, read and closed, then (b) the
    // list refilled, with the page faults of both. The store's statement on the connection kept
    // open comes first where it is asked for, and on plain files always: it says which rows the
    // list shows.
    struct FloorStep
    {
        double keptOpenMs = NAN;
        double sqlMs = 0;
        double listMs = 0;
        long faults = 0;
    };
    Rows rows;
    auto floorStep = [&](const QString& typed, bool keptOpenToo) {
        FloorStep step;
        const store::Query query = store::namePrefixQuery(typed);
        if (keptOpenToo || !keyed)
            step.keptOpenMs = keptOpen.read(query, rows);
        const std::vector<bool> listed = keyed ? std::vector<bool>() : listedIds(rows);
        const long before = pageFaults();
        step.sqlMs = keyed ? readOpening(db, query, rows) : plainFloor.read(db, listed, rows);
        step.faults = pageFaults() - before;
        QStringList strings = rows.strings();
        const long listBefore = pageFaults();
        step.listMs = listFloor.refill(std::move(strings));
        step.faults += pageFaults() - listBefore;
        return step;
    };
    // What each step types: one, two and three letters of `prefix`, then nothing.
    auto stepsOf = [](const QString& prefix) {
        return std::array<QString, Steps>{prefix.left(1), prefix.left(2), prefix.left(3),
                                          QString()};
    };

    // The floors' page faults, counted the same way at the same point: two rounds over the same
    // prefixes, the second counted. (Counted after the timed runs instead, the floors would run
    // in a heap grown and freed by all of them.) Without the kept-open read on order-key files,
    // which would take memory of its own.
    for (const bool counted : {false, true}) {
        for (int run = 0; run < runs && run < prefixes.size(); ++run) {
            const auto typed = stepsOf(prefixes[run]);
            for (int step = 0; step < Steps; ++step) {
                const long faults = floorStep(typed[step], false).faults;
                if (counted)
                    f.floorFaults[step].add(static_cast<double>(faults));
            }
        }
    }

    QElapsedTimer spent;
    spent.start();
    bool mismatchReported = false;
    for (int run = 0; run < runs && run < prefixes.size(); ++run) {
        if (run >= 5 && spent.elapsed() > budgetSeconds * 1000)
            break;
        const QString& prefix = prefixes[run];
        const auto typed = stepsOf(prefix);

        // Vardel, and what its list shows after each step.
        qsizetype shown[Steps];
        if (options.trace && run == 0) {
            std::printf("  events of the keystroke of \"%s\":\n", qPrintable(prefix.left(1)));
            traceStart = monotonicNs();
            tracing = true;
            typeLetter(main.handle, prefix[0]);
            tracing = false;
            backspace(main.handle);
            std::printf("  events of deleting it (all names):\n");
            typeLetter(main.handle, prefix[0]);
            traceStart = monotonicNs();
            tracing = true;
            backspace(main.handle);
            tracing = false;
        }
        for (int i = 0; i < 3; ++i) {
            f.key[i].add(typeLetter(main.handle, prefix[i]));
            f.paints[i].add(lastKeyPaints);
            shown[i] = main.list->count();
        }
        erasePrefix(true);
        shown[AllNames] = main.list->count();
        if (main.box->text() != QString())
            qFatal("the name box still holds %s", qPrintable(main.box->text()));

        // The floors on the same prefixes, in the same order.
        for (int step = 0; step < Steps; ++step) {
            const FloorStep floor = floorStep(typed[step], true);
            f.sqlOpen[step].add(floor.keptOpenMs);
            f.sql[step].add(floor.sqlMs);
            f.list[step].add(floor.listMs);
            f.floorSum[step].add(floor.sqlMs + floor.listMs);
            f.rows[step].push_back(static_cast<double>(rows.size()));
            if (rows.size() != shown[step] && !mismatchReported) {
                std::printf("  note: for \"%s\" Vardel listed %lld names, the floor read %lld\n",
                            qPrintable(typed[step]), static_cast<long long>(shown[step]),
                            static_cast<long long>(rows.size()));
                mismatchReported = true;
            }
            f.store[step].add(timed([&] { (void)store.namesBeginningWith(typed[step]); }));
        }
        f.opening.add(timed([&] { store.check(); }));
        if (options.verbose)
            std::printf("  run %d \"%s\": %.2f %.2f %.2f all %.2f ms\n", run, qPrintable(prefix),
                        f.key[0].ms.back(), f.key[1].ms.back(), f.key[2].ms.back(),
                        f.key[AllNames].ms.back());
    }
}

// A bare text box like Vardel's meaning box.
void copyLook(QPlainTextEdit& box, const QPlainTextEdit* like)
{
    box.setFont(like->font());
    box.setFixedSize(like->size());
    box.setLayoutDirection(like->layoutDirection());
    box.setFrameShape(like->frameShape());
    box.setVerticalScrollBarPolicy(like->verticalScrollBarPolicy());
    box.setHorizontalScrollBarPolicy(like->horizontalScrollBarPolicy());
    box.setWordWrapMode(like->wordWrapMode());
}

// setPlainText(text) in `box`, after a short text, until painted.
double showText(QPlainTextEdit& box, const QString& text)
{
    box.setPlainText(QStringLiteral("کوتاه"));
    runUntilIdle();
    const qint64 start = monotonicNs();
    box.setPlainText(text);
    runUntilIdle();
    return paintedSince(start);
}

// Ctrl+E on the selected entry, the one with the 1 MB meaning, as the window system delivers
// it, until the edit window has painted; then the window is closed. At least one; more while the
// budget lasts.
void measureEditWindow(FileFigures& f, const MainWindow& main, int longLetters, int runs,
                       double budgetSeconds)
{
    QElapsedTimer spent;
    spent.start();
    for (int run = 0; run < runs && (run == 0 || spent.elapsed() < budgetSeconds * 1000); ++run) {
        qint64 start = 0;
        double ms = NAN;
        // The window is modal: this runs in its own event loop, once it is up.
        QTimer::singleShot(0, [&] {
            QWidget* window = QApplication::activeModalWidget();
            if (!window)
                return;
            runUntilIdle();
            ms = paintedSince(start);
            if (run == 0) {
                const auto* box = window->findChild<editing::MeaningEdit*>();
                f.editShown = box && box->meaning().size() == longLetters;
            }
            window->close();
        });
        start = monotonicNs();
        qt_handleKeyEvent(main.handle, QEvent::KeyPress, Qt::Key_E, Qt::ControlModifier, QString());
        qt_handleKeyEvent(main.handle, QEvent::KeyRelease, Qt::Key_E, Qt::ControlModifier,
                          QString());
        runUntilIdle();
        if (std::isnan(ms))
            qFatal("the edit window did not open");
        f.editLong.add(ms);
        // The main window takes the keys again, as it would from a window manager.
        main.window->activateWindow();
        if (!QTest::qWaitForWindowActive(main.window.get()))
            qFatal("the main window did not become active again");
        runUntilIdle();
    }
}

// Clicks on the entry with the 1 MB meaning, each after a click on its neighbour. At least one
// of each; more while the budget lasts. Then, with `editWindow`, the edit window on it, and
// with `diagnose`, where the time goes.
void measureSelection(FileFigures& f, const QString& folder, int longLetters, int runs,
                      double budgetSeconds, bool diagnose, bool editWindow)
{
    MainWindow main = openMainWindow(folder);
    NameListBox* list = main.list;
    int longRow = -1;
    for (int row = 0; row < list->count() && longRow < 0; ++row) {
        if (list->textAt(row) == bench::longMeaningName())
            longRow = row;
    }
    if (longRow < 0)
        qFatal("the entry with the long meaning is not listed");
    const int shortRow = longRow + 1 < list->count() ? longRow + 1 : longRow - 1;
    list->scrollTo(list->model()->index(longRow), QAbstractItemView::PositionAtCenter);
    runUntilIdle();
    auto centre = [&](int row) {
        return list->viewport()->mapTo(main.window.get(),
                                       list->visualRect(list->model()->index(row)).center());
    };
    const QPoint longAt = centre(longRow);
    const QPoint shortAt = centre(shortRow);

    click(main.handle, shortAt); // warming up
    QElapsedTimer spent;
    spent.start();
    for (int run = 0; run < runs; ++run) {
        if (run >= 1 && spent.elapsed() > budgetSeconds * 1000)
            break;
        f.selectShort.add(click(main.handle, shortAt));
        f.selectLong.add(click(main.handle, longAt));
        if (run == 0) {
            // All of it, though the box may break it into lines of its own.
            QString shown = main.meaning->toPlainText();
            shown.remove(QLatin1Char('\n'));
            f.longShown = list->currentRow() == longRow && shown.size() == longLetters;
        }
    }
    if (editWindow)
        measureEditWindow(f, main, longLetters, runs, budgetSeconds);
    if (!diagnose)
        return;

    // Where the time goes: reading the row, and a bare text box like Vardel's.
    const store::NameStore store(folder + QStringLiteral("/db.mdb"));
    const store::NameId id = list->idAt(longRow);
    const QByteArray stored = list->storedNameAt(longRow).toByteArray();
    QString meaning;
    for (int run = 0; run < 5; ++run)
        f.findLong.add(timed([&] { meaning = store.find(id, stored)->meaning; }));
    if (f.selectLong.median() > 5000)
        return; // see --what-if-meaning
    // The text exactly as Vardel's box holds it (with any line breaks it put in for display).
    const QString shown = main.meaning->toPlainText();
    QPlainTextEdit bare;
    copyLook(bare, main.meaning);
    showActive(&bare);
    spent.restart();
    for (int run = 0; run < 5 && (run == 0 || spent.elapsed() < budgetSeconds * 500); ++run)
        f.plainTextLong.add(showText(bare, shown));
}

// A meaning broken into paragraphs of at most `longest` characters (after a blank where there
// is one), as a text box can show without laying out all of it. With `bounded`, each search
// looks only at the paragraph at hand; without, each goes on to the end (or the beginning) of
// the whole text, as a first version of Vardel's meaning box did.
QString brokenForDisplay(const QString& meaning, bool bounded, qsizetype longest = 1000)
{
    QString shown;
    shown.reserve(meaning.size() + meaning.size() / longest);
    qsizetype start = 0;
    qsizetype lineEnd = -1;
    while (start < meaning.size()) {
        if (!bounded || lineEnd < start) {
            lineEnd = meaning.indexOf(QLatin1Char('\n'), start);
            if (lineEnd < 0)
                lineEnd = meaning.size();
        }
        qsizetype end = lineEnd;
        if (end - start > longest) {
            end = start + longest;
            const qsizetype blank =
                bounded ? QStringView(meaning).mid(start, longest).lastIndexOf(u' ') + start
                        : meaning.lastIndexOf(QLatin1Char(' '), end - 1);
            if (blank > start)
                end = blank + 1;
            if (meaning.at(end - 1).isHighSurrogate())
                ++end;
        }
        shown += QStringView(meaning).mid(start, end - start);
        if (end < meaning.size())
            shown += QLatin1Char('\n');
        start = end == lineEnd ? end + 1 : end;
    }
    return shown;
}

// The meaning box with a long meaning, as Vardel has it and with other settings: where the
// time goes and what would remove it.
int whatIfMeaning()
{
    {
        const QString meaning = bench::longMeaning(bench::LongMeaningLetters);
        Samples unbounded, bounded;
        QString a, b;
        for (int run = 0; run < 5; ++run) {
            unbounded.add(timed([&] { a = brokenForDisplay(meaning, false); }));
            bounded.add(timed([&] { b = brokenForDisplay(meaning, true); }));
        }
        if (a != b)
            qFatal("the two ways of breaking the meaning differ");
        std::printf("breaking a 1 MB meaning into paragraphs of 1,000 letters: searching to the "
                    "text's ends %.2f ms, within the paragraph %.2f ms (median of 5)\n\n",
                    unbounded.median(), bounded.median());
    }
    frmMain window;
    const auto* like = window.findChild<QPlainTextEdit*>(QStringLiteral("meanlbl"));
    if (!like)
        qFatal("the main window has no meanlbl");
    struct Variant
    {
        const char* name;
        std::optional<QTextOption::WrapMode> wrap;
        int shown; // letters given to the box; 0: all
        int block; // a line break after every `block` letters; 0: none
    };
    const Variant variants[] = {
        {"one paragraph, the box's own wrap mode", std::nullopt, 0, 0},
        {"one paragraph, WrapAnywhere", QTextOption::WrapAnywhere, 0, 0},
        {"one paragraph, NoWrap", QTextOption::NoWrap, 0, 0},
        {"first 2,000 letters only", std::nullopt, 2000, 0},
        {"a line break every 1,000 letters", std::nullopt, 0, 1000},
        {"a line break every 1,000 letters, WrapAnywhere", QTextOption::WrapAnywhere, 0, 1000},
    };
    std::printf("setPlainText(meaning) in a text box like Vardel's meaning box, until painted "
                "(median of 3; one run above 5 s; a size skipped after one above 2 s)\n");
    std::printf("%-48s %12s %12s %12s %12s\n", "letters without a space:", "5,000", "20,000",
                "50,000", "500,000");
    for (const Variant& variant : variants) {
        std::printf("%-48s", variant.name);
        double previous = 0;
        for (const int letters : {5000, 20000, 50000, 500000}) {
            if (previous > 2000) {
                std::printf(" %12s", "(skipped)");
                continue;
            }
            QPlainTextEdit box;
            copyLook(box, like);
            if (variant.wrap)
                box.setWordWrapMode(*variant.wrap);
            showActive(&box);
            QString text = bench::longMeaning(letters);
            if (variant.shown)
                text.truncate(variant.shown);
            for (qsizetype at = variant.block; variant.block && at < text.size();
                 at += variant.block + 1)
                text.insert(at, QLatin1Char('\n'));
            Samples samples;
            for (int run = 0; run < 3; ++run) {
                samples.add(showText(box, text));
                if (samples.ms.back() > 5000)
                    break;
            }
            previous = samples.median();
            std::printf(" %9.2f ms", previous);
            std::fflush(stdout);
        }
        std::printf("\n");
    }
    return 0;
}

// What the floor of start-up is given: the main window's size, where its list is, and the
// font its list shows.
QStringList floorArguments()
{
    // The same for every file: made once.
    static const QStringList arguments = [] {
        frmMain window;
        window.show();
        QCoreApplication::processEvents();
        const auto* list = window.findChild<NameListBox*>(QStringLiteral("LstNames"));
        const QRect at(list->mapTo(&window, QPoint(0, 0)), list->size());
        return QStringList{
            QString::number(window.width()),  QString::number(window.height()),
            QString::number(at.x()),          QString::number(at.y()),
            QString::number(at.width()),      QString::number(at.height()),
            QFontInfo(list->font()).family(), QString::number(list->font().pointSizeF())};
    }();
    return arguments;
}

// Starts of `executable` in fresh application folders with `folder`'s db.mdb.
bench::StartupSetup startupSetup(const QString& executable, const QString& folder,
                                 const QString& platform, const QString& display)
{
    bench::StartupSetup setup;
    setup.executable = executable;
    setup.probe = QStringLiteral(VARDEL_PAINTPROBE);
    setup.database = folder + QStringLiteral("/db.mdb");
    setup.pictures = QStringLiteral(VARDEL_ASSETS);
    setup.workFolder = QStringLiteral(VARDEL_BENCH_WORK);
    setup.platform = platform;
    setup.display = display;
    QDir().mkpath(setup.workFolder);
    return setup;
}

void measureStartups(FileFigures& f, const QString& folder, const QString& platform,
                     const QString& display, int runs, double budgetSeconds)
{
    bench::StartupSetup floor =
        startupSetup(QStringLiteral(VARDEL_STARTFLOOR), folder, platform, display);
    floor.arguments = floorArguments();
    bench::StartupSetup setup =
        startupSetup(QStringLiteral(VARDEL_EXECUTABLE), folder, platform, display);
    QElapsedTimer spent;
    spent.start();
    // Cold (db.mdb dropped from the page cache) and warm starts take turns; run -1 warms the
    // program's own files up and is not counted.
    for (int run = -1; run < 2 * runs; ++run) {
        if (run >= 6 && spent.elapsed() > budgetSeconds * 1000)
            break;
        setup.dropCache = run % 2 == 0;
        const bench::StartupRun result = bench::startOnce(setup, run + 1);
        if (!result.ok) {
            f.startupFailure = result.failure;
            std::printf("  start-up failed: %s\n", qPrintable(result.failure));
            return;
        }
        // The floor right after, in the same state of the page cache.
        floor.dropCache = setup.dropCache;
        const bench::StartupRun bare = bench::startOnce(floor, run + 1);
        if (!bare.ok) {
            f.startupFailure = QStringLiteral("floor: ") + bare.failure;
            std::printf("  start-up of the floor failed: %s\n", qPrintable(bare.failure));
            return;
        }
        if (run < 0)
            continue;
        if (!setup.dropCache) {
            f.startupFloorWarm.add(bare.firstPaintMs);
            f.startupWarm.add(result.firstPaintMs);
            f.residentWarm.add(result.residentDbPercent);
            f.peak.add(result.peakMiB);
            continue;
        }
        f.startupFloor.add(bare.firstPaintMs);
        f.startup.add(result.firstPaintMs);
        f.settled.add(result.settledMs);
        f.loaded.add(result.loadedMs);
        f.application.add(result.applicationMs);
        f.loop.add(result.loopMs);
        f.peak.add(result.peakMiB);
        f.resident.add(result.residentDbPercent);
        f.flushes = std::max(f.flushes, result.flushes);
    }
}

// ---------------------------------------------------------------------------------------------
// Printing

QString thousands(double value)
{
    return QLocale(QLocale::English).toString(static_cast<qlonglong>(std::llround(value)));
}

const char* verdict(bool met)
{
    return met ? "MET" : "NOT MET";
}

double ratio(const Samples& of, const Samples& floor)
{
    return of.median() / floor.median();
}

void printFile(const FileFigures& f)
{
    // The process that types only opens the file the benchmark made.
    const QString made = f.createSeconds > 0
                             ? QStringLiteral("; made in %1 s").arg(f.createSeconds, 0, 'f', 1)
                             : QString();
    std::printf("\n== %s names, %s layout (%.1f MiB%s) ==\n", qPrintable(thousands(f.size)),
                qPrintable(layoutName(f.layout)), f.fileMiB, qPrintable(made));
    if (!f.key[0].empty()) {
        std::printf("%-28s %9s %9s | %8s %8s %8s | %7s | %8s | %13s\n", "keystroke (rows listed)",
                    "median", "p95", "sql", "list", "floor", "ratio", "store", "faults, floor");
        for (int step = 0; step < Steps; ++step) {
            Samples rows;
            rows.ms = f.rows[step];
            const QString what =
                QStringLiteral("%1%2 (%3)")
                    .arg(step == AllNames ? QStringLiteral("deleting to ") : QString(),
                         QLatin1String(stepNames[step]), thousands(rows.median()));
            std::printf("%-28s %6.2f ms %6.2f ms | %5.2f ms %5.2f ms %5.2f ms | %6.2fx | %5.2f ms "
                        "| %6.1f %6.1f\n",
                        qPrintable(what), f.key[step].median(), f.key[step].p95(),
                        f.sql[step].median(), f.list[step].median(), f.floorSum[step].median(),
                        ratio(f.key[step], f.floorSum[step]), f.store[step].median(),
                        f.faults[step].mean(), f.floorFaults[step].mean());
        }
        std::printf("the store's statement on a connection kept open, prepared once: %.2f, %.2f, "
                    "%.2f, all %.2f ms\n",
                    f.sqlOpen[0].median(), f.sqlOpen[1].median(), f.sqlOpen[2].median(),
                    f.sqlOpen[AllNames].median());
        std::printf("page faults per keystroke, the first time a prefix is typed (mean): %.1f, "
                    "%.1f, %.1f, all %.1f\n",
                    f.firstFaults[0].mean(), f.firstFaults[1].mean(), f.firstFaults[2].mean(),
                    f.firstFaults[AllNames].mean());
        std::printf("page faults per keystroke, largest: %.0f, %.0f, %.0f, all %.0f (floor %.0f, "
                    "%.0f, %.0f, all %.0f)\n",
                    f.faults[0].percentile(1), f.faults[1].percentile(1), f.faults[2].percentile(1),
                    f.faults[AllNames].percentile(1), f.floorFaults[0].percentile(1),
                    f.floorFaults[1].percentile(1), f.floorFaults[2].percentile(1),
                    f.floorFaults[AllNames].percentile(1));
        std::printf("%-28s %6.2f ms %6.2f ms\n", "deleting 3rd letter", f.deleting[0].median(),
                    f.deleting[0].p95());
        std::printf("%-28s %6.2f ms %6.2f ms\n", "deleting 2nd letter", f.deleting[1].median(),
                    f.deleting[1].p95());
        std::printf("(%zu runs each; paints per keystroke: %.0f, %.0f, %.0f, all %.0f; opening and "
                    "checking the file, part of every store read: %.2f ms)\n",
                    f.key[0].size(), f.paints[0].median(), f.paints[1].median(),
                    f.paints[2].median(), f.paints[AllNames].median(), f.opening.median());
    }
    if (!f.selectLong.empty()) {
        std::printf("%-28s %6.2f ms %6.2f ms  (%zu runs)\n", "selecting, short meaning",
                    f.selectShort.median(), f.selectShort.p95(), f.selectShort.size());
        std::printf("%-28s %6.2f ms %6.2f ms  (%zu runs%s", "selecting, 1 MB meaning",
                    f.selectLong.median(), f.selectLong.p95(), f.selectLong.size(),
                    f.longShown ? "" : "; NOT SHOWN IN FULL");
        // Where the time goes is measured on the first file only.
        if (!f.findLong.empty() && !f.plainTextLong.empty())
            std::printf("; reading the row %.2f ms, the same text in a bare QPlainTextEdit %.2f ms",
                        f.findLong.median(), f.plainTextLong.median());
        std::printf(")\n");
        if (!f.editLong.empty())
            std::printf("%-28s %6.2f ms %6.2f ms  (%zu runs%s)\n", "edit window, 1 MB meaning",
                        f.editLong.median(), f.editLong.p95(), f.editLong.size(),
                        f.editShown ? "" : "; NOT SHOWN IN FULL");
    }
    if (!f.startup.empty()) {
        std::printf("%-28s %6.1f ms %6.1f ms  (%zu runs; settled %.1f ms after %d flushes; "
                    "libraries %.1f, QApplication %.1f, event loop %.1f ms; db.mdb %.0f%% "
                    "cached)\n",
                    "start-up to first paint", f.startup.median(), f.startup.p95(),
                    f.startup.size(), f.settled.median(), f.flushes, f.loaded.median(),
                    f.application.median(), f.loop.median(), f.resident.median());
        std::printf("%-28s %6.1f ms %6.1f ms  (%zu runs; db.mdb %.0f%% cached)\n",
                    "start-up, warm db.mdb", f.startupWarm.median(), f.startupWarm.p95(),
                    f.startupWarm.size(), f.residentWarm.median());
        std::printf("%-28s %6.1f ms %6.1f ms  (warm %.1f ms; ratios %.2fx cold, %.2fx warm)\n",
                    "start-up floor (bare)", f.startupFloor.median(), f.startupFloor.p95(),
                    f.startupFloorWarm.median(), ratio(f.startup, f.startupFloor),
                    ratio(f.startupWarm, f.startupFloorWarm));
        std::printf("%-28s %6.1f MiB (%.1f MB), largest %.1f MiB\n", "program peak memory",
                    f.peak.median(), f.peak.median() * 1.048576, f.peak.percentile(1.0));
    } else if (!f.startupFailure.isEmpty()) {
        std::printf("start-up: failed: %s\n", qPrintable(f.startupFailure));
    }
    std::fflush(stdout);
}

void printGoals(const std::vector<FileFigures>& files)
{
    std::printf("\n== Goals (medians; page faults: the mean per keystroke once its list has been "
                "shown before) ==\n");
    for (const FileFigures& f : files) {
        const QString name = QStringLiteral("%1, %2").arg(thousands(f.size), layoutName(f.layout));
        if (!f.key[0].empty()) {
            const bool keyed = f.layout == dbfile::Layout::OrderKeys;
            for (int step = 0; step < Steps; ++step) {
                // Plain files: every step at most 1.8x its floor.
                const double limit = !keyed ? 1.8 : step == AllNames ? 1.2 : 1.3;
                const double r = ratio(f.key[step], f.floorSum[step]);
                std::printf("%-22s %-10s %6.2f ms, %5.2fx floor (<= %.1fx): %-7s  page faults "
                            "%5.1f, floor %5.1f: %s\n",
                            qPrintable(name), stepNames[step], f.key[step].median(), r, limit,
                            verdict(r <= limit), f.faults[step].mean(), f.floorFaults[step].mean(),
                            verdict(f.faults[step].mean() <= f.floorFaults[step].mean()));
            }
        }
        if (!f.startup.empty() && !f.startupFloor.empty()) {
            const double r = ratio(f.startup, f.startupFloor);
            std::printf("%-22s start-up   %6.1f ms, %5.2fx its floor %.1f ms (<= 1.3x): %s\n",
                        qPrintable(name), f.startup.median(), r, f.startupFloor.median(),
                        verdict(r <= 1.3));
        }
        if (!f.peak.empty()) {
            std::printf("%-22s peak memory        %6.1f MiB (<= 60 MB): %s\n", qPrintable(name),
                        f.peak.percentile(1.0), verdict(f.peak.percentile(1.0) * 1.048576 <= 60));
        }
        if (!f.selectLong.empty())
            std::printf(
                "%-22s 1 MB meaning       median %6.1f ms, p95 %6.1f ms (well under 100 ms, "
                "taken as median <= 50 and p95 < 100): %s\n",
                qPrintable(name), f.selectLong.median(), f.selectLong.p95(),
                verdict(f.longShown && f.selectLong.median() <= 50 && f.selectLong.p95() < 100));
        if (!f.editLong.empty())
            std::printf("%-22s edit, 1 MB meaning median %6.1f ms, p95 %6.1f ms (<= 300 ms): %s\n",
                        qPrintable(name), f.editLong.median(), f.editLong.p95(),
                        verdict(f.editShown && f.editLong.median() <= 300));
    }
}

void printSideBySide(const std::vector<FileFigures>& files)
{
    // Keystrokes stand in the tables of the processes that typed them, above.
    std::printf("\n== Side by side: median (p95) in ms ==\n%-30s", "");
    for (const FileFigures& f : files)
        std::printf(" %20s", qPrintable(QStringLiteral("%1 %2").arg(thousands(f.size),
                                                                    layoutName(f.layout))));
    std::printf("\n");
    auto line = [&](const char* what, auto pick) {
        std::printf("%-30s", what);
        for (const FileFigures& f : files) {
            const Samples& s = pick(f);
            std::printf(" %20s", s.empty() ? "-"
                                           : qPrintable(QStringLiteral("%1 (%2)")
                                                            .arg(s.median(), 0, 'f', 2)
                                                            .arg(s.p95(), 0, 'f', 2)));
        }
        std::printf("\n");
    };
    line("selecting, 1 MB meaning",
         [](const FileFigures& f) -> const Samples& { return f.selectLong; });
    line("start-up to first paint",
         [](const FileFigures& f) -> const Samples& { return f.startup; });
    line("start-up, warm db.mdb",
         [](const FileFigures& f) -> const Samples& { return f.startupWarm; });
    line("peak memory (MiB)", [](const FileFigures& f) -> const Samples& { return f.peak; });
}

// ---------------------------------------------------------------------------------------------

void printMachine(const QString& startupPlatform)
{
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    cpuinfo.open(QIODevice::ReadOnly);
    QString model;
    double mhz = 0;
    for (const QByteArray& line : cpuinfo.readAll().split('\n')) {
        if (model.isEmpty() && line.startsWith("model name"))
            model = QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
        if (mhz == 0 && line.startsWith("cpu MHz"))
            mhz = line.mid(line.indexOf(':') + 1).trimmed().toDouble();
    }
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    meminfo.open(QIODevice::ReadOnly);
    const QByteArray memTotal = meminfo.readLine().simplified();
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    loadavg.open(QIODevice::ReadOnly);
    std::printf("machine: %d cores, %s (%.0f MHz), %s; %s; Qt %s; SQLite %s\n",
                QThread::idealThreadCount(), qPrintable(model), mhz, memTotal.constData(),
                qPrintable(QSysInfo::prettyProductName()), qVersion(), sqlite3_libversion());
    std::printf("load average at start: %s", loadavg.readAll().constData());
    std::printf("start-ups through the %s platform\n", qPrintable(startupPlatform));
}

Options parse(const QStringList& args)
{
    Options options;
    bool runsGiven = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        // The option's value: the argument after it.
        auto value = [&] {
            return i + 1 < args.size() ? args[++i] : QString();
        };
        if (arg == QStringLiteral("--runs")) {
            options.runs = std::max(3, value().toInt());
            runsGiven = true;
        } else if (arg == QStringLiteral("--quick")) {
            options.quick = true;
        } else if (arg == QStringLiteral("--sizes")) {
            options.sizes.clear();
            for (const QString& size : value().split(QLatin1Char(',')))
                options.sizes.push_back(size.toInt());
        } else if (arg == QStringLiteral("--layouts")) {
            options.layouts.clear();
            for (const QString& layout : value().split(QLatin1Char(',')))
                options.layouts.push_back(layout == QStringLiteral("plain")
                                              ? dbfile::Layout::Plain
                                              : dbfile::Layout::OrderKeys);
        } else if (arg == QStringLiteral("--startup-platform")) {
            options.startupPlatform = value();
        } else if (arg == QStringLiteral("--no-startup")) {
            options.startup = false;
        } else if (arg == QStringLiteral("--only")) {
            const QStringList parts = value().split(QLatin1Char(','));
            options.keys = parts.contains(QStringLiteral("keys"));
            options.select = parts.contains(QStringLiteral("select"));
            options.startup = parts.contains(QStringLiteral("startup"));
            options.mkdb = parts.contains(QStringLiteral("mkdb"));
        } else if (arg == QStringLiteral("--verbose")) {
            options.verbose = true;
        } else if (arg == QStringLiteral("--trace")) {
            options.trace = true;
        } else if (arg == QStringLiteral("--keys-on")) {
            options.keysOn = value();
        } else if (arg == QStringLiteral("--startup-parts")) {
            options.startupParts = true;
        } else if (arg == QStringLiteral("--keys-child")) {
            options.childFolder = value();
        } else if (arg == QStringLiteral("--prefixes")) {
            options.prefixes = value().split(QLatin1Char(','));
        } else if (arg == QStringLiteral("--make-folder")) {
            options.makeFolder = value();
        } else if (arg == QStringLiteral("--what-if-index")) {
            options.whatIfIndex = true;
        } else if (arg == QStringLiteral("--what-if-meaning")) {
            options.whatIfMeaning = true;
        } else if (arg == QStringLiteral("--long-letters")) {
            options.longLetters = std::max(1000, value().toInt());
        } else if (arg == QStringLiteral("--callgrind")) {
            options.callgrind = value();
        } else {
            std::fprintf(stderr,
                         "usage: vardel-bench [--runs N] [--quick] [--sizes N,N] "
                         "[--layouts keyed,plain] [--startup-platform xcb|offscreen] "
                         "[--no-startup] [--only keys,select,startup,mkdb] [--verbose] [--trace] "
                         "[--keys-on offscreen|x11|both] [--startup-parts] "
                         "[--what-if-meaning] [--what-if-index] "
                         "[--callgrind keys|all|select [--long-letters N]] [--make-folder DIR]\n");
            std::exit(2);
        }
    }
    if (options.quick) {
        if (options.sizes.size() > 1)
            options.sizes = {32767};
        if (!runsGiven)
            options.runs = 12;
    }
    return options;
}

// The order-key file with a narrower index: (p_order, p_name, gender) instead of every column.
// Its size, the read of all names, and cold and warm start-ups, beside the file as vardel-mkdb
// makes it.
int whatIfIndex(const Options& options, const QString& platform, const QString& display)
{
    for (const int size : options.sizes) {
        const bench::NameSet names = bench::makeNames(size, 1);
        QTemporaryDir made;
        QTemporaryDir vacuumed;
        QTemporaryDir narrow;
        auto change = [](const QTemporaryDir& dir, const char* sql) {
            sqlite3* db = nullptr;
            sqlite3_open(dir.filePath(QStringLiteral("db.mdb")).toUtf8().constData(), &db);
            if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
                qFatal("%s", sqlite3_errmsg(db));
            sqlite3_close(db);
        };
        makeFolder(made, names, dbfile::Layout::OrderKeys);
        makeFolder(vacuumed, names, dbfile::Layout::OrderKeys);
        change(vacuumed, "VACUUM;");
        makeFolder(narrow, names, dbfile::Layout::OrderKeys);
        change(narrow, "DROP INDEX vardel_order;"
                       "CREATE INDEX vardel_order ON vardel (p_order, p_name, gender);"
                       "VACUUM;");
        std::printf("%s names\n", qPrintable(thousands(size)));
        for (const QTemporaryDir* dir : {&made, &vacuumed, &narrow}) {
            const QString db = dir->filePath(QStringLiteral("db.mdb"));
            SqlFloor floor(db, true);
            Rows rows;
            Samples all;
            for (int run = 0; run < 9; ++run)
                all.add(floor.read(store::genderQuery(store::GenderFilter::All), rows));
            FileFigures f;
            measureStartups(f, dir->path(), platform, display, 8, 60);
            std::printf("  %-34s %6.1f MiB; all names read %6.2f ms; start-up cold %6.1f ms, "
                        "warm %6.1f ms\n",
                        dir == &made       ? "as vardel-mkdb makes it"
                        : dir == &vacuumed ? "the same after VACUUM"
                                           : "index (p_order, p_name, gender), VACUUM",
                        fileMiB(db), all.median(), f.startup.median(), f.startupWarm.median());
            std::fflush(stdout);
        }
    }
    return 0;
}

// A short piece of work for callgrind, instrumented only around the measured operations.
int runCallgrind(const Options& options)
{
    const int size = options.sizes.front();
    const bench::NameSet names = bench::makeNames(size, 20, options.longLetters);
    QTemporaryDir dir;
    makeFolder(dir, names, options.layouts.front());
    MainWindow main = openMainWindow(dir.path());
    const QStringList& prefixes = names.typedPrefixes;
    auto measured = [](auto work) {
        CALLGRIND_START_INSTRUMENTATION;
        work();
        CALLGRIND_STOP_INSTRUMENTATION;
    };
    for (int run = 0; run < 10; ++run) {
        const QString& prefix = prefixes[run];
        const bool warm = run >= 2;
        for (int i = 0; i < 3; ++i) {
            if (warm && options.callgrind == QStringLiteral("keys"))
                measured([&] { typeLetter(main.handle, prefix[i]); });
            else
                typeLetter(main.handle, prefix[i]);
        }
        backspace(main.handle);
        backspace(main.handle);
        if (warm && options.callgrind == QStringLiteral("all"))
            measured([&] { backspace(main.handle); });
        else
            backspace(main.handle);
    }
    if (options.callgrind == QStringLiteral("select")) {
        FileFigures f;
        f.size = size;
        CALLGRIND_START_INSTRUMENTATION;
        measureSelection(f, dir.path(), names.longLetters, 1, 1000, false, false);
        CALLGRIND_STOP_INSTRUMENTATION;
        std::printf("selecting, 1 MB meaning: %.1f ms under callgrind\n", f.selectLong.median());
    }
    return 0;
}

// The keystrokes of one file in a process of their own, started by the benchmark: the program's
// window is the first thing in it that allocates, as in the program itself, so that the page
// faults counted are the program's. Under the xcb platform (the benchmark's Xvfb) the keys go
// through the X server.
int typeInChild(const Options& options)
{
    bench::XKeys keys;
    const bool throughX = QGuiApplication::platformName() == QStringLiteral("xcb");
    if (throughX) {
        if (!keys.open())
            qFatal("no X server with the XTEST extension on DISPLAY");
        keys.mapLetters(options.prefixes.join(QString()));
        // The program's X connection takes the new keyboard map.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 300)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        xKeys = &keys;
    }
    FileFigures f;
    f.size = options.sizes.front();
    f.layout = options.layouts.front();
    f.fileMiB = fileMiB(options.childFolder + QStringLiteral("/db.mdb"));
    measureKeystrokes(f, options.childFolder, options.prefixes, options.runs,
                      keyBudgetSeconds(options), options);
    std::printf(throughX ? "\n(keys sent through the X server, until it has the window's last "
                           "image)"
                         : "\n(keys through Qt's input path under the offscreen platform)");
    printFile(f);
    printGoals({f});
    std::fflush(stdout);
    return 0;
}

// Starts this benchmark again as the process that types into the program's window: under the
// offscreen platform, or through the X server `display`.
void measureKeystrokesInChild(const FileFigures& f, const QString& folder,
                              const QStringList& prefixes, const QString& display,
                              const Options& options)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       display.isEmpty() ? QStringLiteral("offscreen") : QStringLiteral("xcb"));
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList arguments{QStringLiteral("--keys-child"),
                          folder,
                          QStringLiteral("--prefixes"),
                          prefixes.join(QLatin1Char(',')),
                          QStringLiteral("--sizes"),
                          QString::number(f.size),
                          QStringLiteral("--layouts"),
                          f.layout == dbfile::Layout::OrderKeys ? QStringLiteral("keyed")
                                                                : QStringLiteral("plain"),
                          QStringLiteral("--runs"),
                          QString::number(options.runs)};
    if (options.quick)
        arguments << QStringLiteral("--quick");
    if (options.verbose)
        arguments << QStringLiteral("--verbose");
    if (options.trace)
        arguments << QStringLiteral("--trace");
    std::fflush(stdout);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        std::printf("  typing in a process of its own failed\n");
}

// Start-up of the floor with pieces of Vardel's own start-up added one by one, each against the
// floor in the same rounds (cold db.mdb): where the time above the floor goes.
void measureStartupParts(const QString& folder, const QString& platform, const QString& display,
                         int runs)
{
    const QStringList variants = {QString(),
                                  QStringLiteral("fonts"),
                                  QStringLiteral("style"),
                                  QStringLiteral("icon"),
                                  QStringLiteral("translation"),
                                  QStringLiteral("collation"),
                                  QStringLiteral("fonts,style,icon,translation,collation"),
                                  QStringLiteral("window"),
                                  QStringLiteral("fonts,style,icon,translation,window")};
    bench::StartupSetup setup = startupSetup(QString(), folder, platform, display);
    const QStringList floor = floorArguments();
    std::vector<Samples> figures(static_cast<size_t>(variants.size()) + 1);
    for (int run = -1; run < runs; ++run) {
        for (qsizetype v = 0; v <= variants.size(); ++v) {
            const bool vardel = v == variants.size();
            setup.executable = vardel   ? QStringLiteral(VARDEL_EXECUTABLE)
                               : v == 0 ? QStringLiteral(VARDEL_STARTFLOOR)
                                        : QStringLiteral(VARDEL_STARTPARTS);
            setup.arguments = vardel   ? QStringList()
                              : v == 0 ? floor
                                       : floor + QStringList{variants[v]};
            const bench::StartupRun result = bench::startOnce(setup, 100 + static_cast<int>(v));
            if (!result.ok)
                qFatal("start-up failed: %s", qPrintable(result.failure));
            if (run >= 0)
                figures[static_cast<size_t>(v)].add(result.firstPaintMs);
        }
    }
    std::printf("\nstart-up to first paint, cold db.mdb, median of %d runs each:\n", runs);
    for (qsizetype v = 0; v <= variants.size(); ++v) {
        const Samples& figure = figures[static_cast<size_t>(v)];
        const QString what = v == variants.size() ? QStringLiteral("vardel")
                             : v == 0             ? QStringLiteral("floor (vardel-startfloor)")
                                                  : QStringLiteral("floor + ") + variants[v];
        std::printf("  %-56s %7.1f ms (p95 %7.1f), %+7.1f ms\n", qPrintable(what), figure.median(),
                    figure.p95(), figure.median() - figures[0].median());
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    // The process that types keeps the platform it was given.
    bool child = false;
    for (int i = 1; i < argc; ++i)
        child = child || qstrcmp(argv[i], "--keys-child") == 0;
    if (!child)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchApplication app(argc, argv);
    look::installFontSubstitutes();
    // No blinking cursor: its timer would paint in the middle of the measurements.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    const Options options = parse(QCoreApplication::arguments());
    if (!options.callgrind.isEmpty())
        return runCallgrind(options);
    if (options.whatIfMeaning)
        return whatIfMeaning();
    if (!options.childFolder.isEmpty())
        return typeInChild(options);
    if (!options.makeFolder.isEmpty()) {
        // An application folder for trying the program by hand or under a profiler: db.mdb
        // of the first size and layout given, the pictures and the executable.
        QDir().mkpath(options.makeFolder);
        const QDir folder(options.makeFolder);
        const bench::NameSet names =
            bench::makeNames(options.sizes.front(), 1, options.longLetters);
        QString error;
        if (!dbfile::create(folder.filePath(QStringLiteral("db.mdb")), names.entries, &error,
                            options.layouts.front()))
            qFatal("%s", qPrintable(error));
        for (const char* file : {"man.jpg", "Female.jpg"})
            QFile::copy(QStringLiteral(VARDEL_ASSETS "/") + QLatin1String(file),
                        folder.filePath(QLatin1String(file)));
        QFile::copy(QStringLiteral(VARDEL_EXECUTABLE), folder.filePath(QStringLiteral("vardel")));
        std::printf("%s: vardel and db.mdb of %d names\n", qPrintable(folder.path()),
                    options.sizes.front());
        return 0;
    }

    bench::VirtualDisplay display;
    QString platform = options.startupPlatform;
    const bool keysThroughX = options.keys && options.keysOn != QStringLiteral("offscreen");
    const bool startupsThroughX =
        (options.startup || options.startupParts) && platform != QStringLiteral("offscreen");
    if ((startupsThroughX || keysThroughX) && !display.start()) {
        if (platform == QStringLiteral("xcb"))
            qFatal("cannot start Xvfb");
        if (keysThroughX)
            std::printf("no Xvfb: keys are sent under the offscreen platform only\n");
    }
    if (startupsThroughX)
        platform = display.name().isEmpty() ? QStringLiteral("offscreen") : QStringLiteral("xcb");
    if (options.whatIfIndex)
        return whatIfIndex(options, platform, display.name());
    printMachine(platform + (display.name().isEmpty()
                                 ? QString()
                                 : QStringLiteral(" (Xvfb %1)").arg(display.name())));
    {
        Samples icon;
        for (int run = 0; run < 5; ++run) {
            QApplication::setWindowIcon(QIcon());
            icon.add(timed([] { (void)look::windowIcon(); }));
        }
        std::printf("look::windowIcon(), made anew: median %.2f ms\n", icon.median());
    }
    const int runs = options.runs;
    const double keyBudget = keyBudgetSeconds(options);
    std::printf("%d runs per operation (fewer where an operation's time budget of %.0f s runs "
                "out, never fewer than 5)\n",
                runs, keyBudget);

    // vardel-mkdb: the starter dictionary from data/names.tsv, a fresh target each time.
    if (options.mkdb) {
        QTemporaryDir work;
        Samples mkdb;
        for (int run = 0; run < (options.quick ? 3 : 7); ++run) {
            const double ms = bench::runTimed(QStringLiteral(VARDEL_MKDB),
                                              {QStringLiteral(VARDEL_NAMES_TSV),
                                               work.filePath(QStringLiteral("db%1.mdb").arg(run))});
            if (ms < 0)
                qFatal("vardel-mkdb failed");
            mkdb.add(ms);
        }
        std::printf("\nvardel-mkdb data/names.tsv (%s): median %.1f ms, p95 %.1f ms (%zu runs, "
                    "a fresh target each)\n",
                    qPrintable(QFileInfo(QStringLiteral(VARDEL_NAMES_TSV)).fileName()),
                    mkdb.median(), mkdb.p95(), mkdb.size());
    }

    std::vector<FileFigures> files;
    for (const int size : options.sizes) {
        const bench::NameSet names = bench::makeNames(size, std::max(runs, 40) + 2);
        std::printf("\n%s names: %s, then compounds of two; one with a 1 MB meaning\n",
                    qPrintable(thousands(size)), qPrintable(names.source));
        for (const dbfile::Layout layout : options.layouts) {
            FileFigures f;
            f.size = size;
            f.layout = layout;
            QTemporaryDir dir;
            f.createSeconds = makeFolder(dir, names, layout);
            f.fileMiB = fileMiB(dir.filePath(QStringLiteral("db.mdb")));
            std::printf("%s, %s layout: measuring...\n", qPrintable(thousands(size)),
                        qPrintable(layoutName(layout)));
            std::fflush(stdout);
            if (options.keys && options.keysOn != QStringLiteral("x11"))
                measureKeystrokesInChild(f, appFolderFor(dir), names.typedPrefixes, QString(),
                                         options);
            if (keysThroughX && !display.name().isEmpty())
                measureKeystrokesInChild(f, appFolderFor(dir), names.typedPrefixes, display.name(),
                                         options);
            if (options.startupParts && files.empty())
                measureStartupParts(appFolderFor(dir), platform, display.name(),
                                    std::min(runs, 12));
            // The meaning box does not depend on the layout: --quick clicks in the first only.
            if (options.select && (!options.quick || layout == options.layouts.front()))
                measureSelection(f, appFolderFor(dir), names.longLetters, std::min(runs, 15),
                                 keyBudget / 3, files.empty(), true);
            if (options.startup)
                measureStartups(f, appFolderFor(dir), platform, display.name(), std::min(runs, 20),
                                keyBudget);
            printFile(f);
            files.push_back(std::move(f));
        }
    }
    printSideBySide(files);
    printGoals(files);
    return 0;
}
