#pragma once

#include <QString>
#include <QStringList>
#include <sys/types.h>

// Running programs from outside, as a user starts them: the real vardel executable from its
// own application folder, and vardel-mkdb.
namespace bench {

// CLOCK_MONOTONIC in nanoseconds: the clock the probe writes too.
qint64 monotonicNs();

// An X server of the benchmark's own (Xvfb), for start-ups through the X11 platform.
class VirtualDisplay
{
public:
    VirtualDisplay() = default;
    ~VirtualDisplay();
    Q_DISABLE_COPY_MOVE(VirtualDisplay)

    // Starts Xvfb on a free display; false when it cannot be started.
    bool start();
    // ":N", or empty before start() succeeded.
    const QString& name() const { return m_name; }

private:
    pid_t m_pid = -1;
    QString m_name;
};

struct StartupRun
{
    bool ok = false;
    QString failure;
    double firstPaintMs = 0;      // from the start of the process to its first flushed window
    double settledMs = 0;         // to the last flush before it went quiet
    int flushes = 0;              // flushes until quiet
    double loadedMs = 0;          // to the probe's constructor (libraries loaded)
    double applicationMs = 0;     // to the QApplication object
    double loopMs = 0;            // to the event loop
    double peakMiB = 0;           // VmHWM of the program, read while it runs
    double residentDbPercent = 0; // of db.mdb in the page cache when the program started
};

struct StartupSetup
{
    QString executable;    // build-bench/bin/vardel
    QStringList arguments; // given to it
    QString probe;         // the paint probe library
    QString database;      // the db.mdb to copy
    QString pictures;      // folder holding man.jpg and Female.jpg
    QString workFolder;    // where fresh application folders are made
    QString platform;      // "xcb" or "offscreen"
    QString display;       // for xcb
    bool dropCache = true; // drop db.mdb's pages from the page cache before the start
};

// Starts the program once in a fresh application folder (the executable hard-linked or
// copied, its pictures, a fresh copy of db.mdb whose pages are dropped from the page cache
// unless setup.dropCache is false),
// waits for its first painted window and for it to go quiet, reads its peak memory and ends
// it with SIGTERM.
StartupRun startOnce(const StartupSetup& setup, int run);

// Runs `program` with `arguments`, its output discarded; the wall time in ms, or a negative
// number when it failed.
double runTimed(const QString& program, const QStringList& arguments);

} // namespace bench
