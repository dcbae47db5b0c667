#include "launch.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace bench {

namespace {

double sinceMs(qint64 from, qint64 to)
{
    return static_cast<double>(to - from) / 1e6;
}

// The environment of this process with `changes` ("NAME=value") put in, for a child.
std::vector<QByteArray> environmentWith(const QStringList& changes)
{
    std::vector<QByteArray> result;
    for (char** variable = environ; *variable; ++variable) {
        const QByteArray entry(*variable);
        const QByteArray name = entry.left(entry.indexOf('=') + 1);
        bool replaced = false;
        for (const QString& change : changes)
            replaced = replaced || change.toLocal8Bit().startsWith(name);
        if (!replaced)
            result.push_back(entry);
    }
    for (const QString& change : changes)
        result.push_back(change.toLocal8Bit());
    return result;
}

// Starts `program`; stdout and stderr go to `log` (or nowhere). -1 when it cannot start.
pid_t spawn(const QString& program, const QStringList& arguments, const QStringList& environment,
            const QString& log = {}, int keepOpen = -1)
{
    std::vector<QByteArray> argumentBytes{program.toLocal8Bit()};
    argumentBytes.reserve(static_cast<size_t>(arguments.size()) + 1);
    for (const QString& argument : arguments)
        argumentBytes.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    argv.reserve(argumentBytes.size() + 1);
    for (QByteArray& argument : argumentBytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> environmentBytes = environmentWith(environment);
    std::vector<char*> envp;
    envp.reserve(environmentBytes.size() + 1);
    for (QByteArray& entry : environmentBytes)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray logPath = log.isEmpty() ? QByteArray("/dev/null") : log.toLocal8Bit();
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logPath.constData(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (keepOpen >= 0) // clears FD_CLOEXEC in the child
        posix_spawn_file_actions_adddup2(&actions, keepOpen, keepOpen);
    pid_t pid = -1;
    const int status = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return status == 0 ? pid : -1;
}

// A fresh copy of `from`, written to disk and, with `drop`, dropped from the page cache;
// returns the share of its pages in the cache (0 to 100), or -1 when the copy failed.
double copyFresh(const QString& from, const QString& to, bool drop)
{
    if (!QFile::copy(from, to))
        return -1;
    const int fd = open(to.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    fdatasync(fd);
    if (drop)
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    struct stat info
    {
    };
    fstat(fd, &info);
    double resident = 0;
    if (info.st_size > 0) {
        void* map = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_SHARED, fd, 0);
        if (map != MAP_FAILED) {
            const long page = sysconf(_SC_PAGESIZE);
            const size_t pages = (static_cast<size_t>(info.st_size) + page - 1) / page;
            std::vector<unsigned char> flags(pages);
            if (mincore(map, static_cast<size_t>(info.st_size), flags.data()) == 0) {
                size_t cached = 0;
                for (const unsigned char flag : flags)
                    cached += flag & 1;
                resident = 100.0 * static_cast<double>(cached) / static_cast<double>(pages);
            }
            munmap(map, static_cast<size_t>(info.st_size));
        }
    }
    close(fd);
    return resident;
}

// VmHWM of a running process, in KiB; -1 when it cannot be read.
long peakKiB(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

void endProcess(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 500; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

VirtualDisplay::~VirtualDisplay()
{
    if (m_pid > 0)
        endProcess(m_pid);
}

bool VirtualDisplay::start()
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return false;
    m_pid = spawn(QStringLiteral("/usr/bin/Xvfb"),
                  {QStringLiteral("-displayfd"), QString::number(fds[1]), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp")},
                  {}, {}, fds[1]);
    close(fds[1]);
    if (m_pid < 0) {
        close(fds[0]);
        return false;
    }
    QByteArray number;
    pollfd wait{fds[0], POLLIN, 0};
    while (!number.endsWith('\n') && poll(&wait, 1, 10000) > 0) {
        char buffer[16];
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        number.append(buffer, got);
    }
    close(fds[0]);
    if (!number.endsWith('\n')) {
        endProcess(m_pid);
        m_pid = -1;
        return false;
    }
    m_name = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    return true;
}

StartupRun startOnce(const StartupSetup& setup, int run)
{
    StartupRun result;
    const QString folder = setup.workFolder + QStringLiteral("/app-%1").arg(run);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString executable = folder + QStringLiteral("/vardel");
    if (link(setup.executable.toLocal8Bit().constData(), executable.toLocal8Bit().constData()) !=
            0 &&
        !QFile::copy(setup.executable, executable)) {
        result.failure = QStringLiteral("cannot place the executable in %1").arg(folder);
        return result;
    }
    for (const char* picture : {"man.jpg", "Female.jpg"})
        QFile::copy(setup.pictures + QLatin1Char('/') + QLatin1String(picture),
                    folder + QLatin1Char('/') + QLatin1String(picture));
    result.residentDbPercent =
        copyFresh(setup.database, folder + QStringLiteral("/db.mdb"), setup.dropCache);
    if (result.residentDbPercent < 0) {
        result.failure = QStringLiteral("cannot copy db.mdb");
        return result;
    }

    const QString fifo = folder + QStringLiteral("/probe.fifo");
    mkfifo(fifo.toLocal8Bit().constData(), 0600);
    const int probe = open(fifo.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    QStringList environment{QStringLiteral("LD_PRELOAD=") + setup.probe,
                            QStringLiteral("PAINTPROBE_OUT=") + fifo,
                            QStringLiteral("QT_QPA_PLATFORM=") + setup.platform};
    if (!setup.display.isEmpty())
        environment << QStringLiteral("DISPLAY=") + setup.display;

    const qint64 started = monotonicNs();
    const pid_t pid =
        spawn(executable, setup.arguments, environment, folder + QStringLiteral("/output.log"));
    if (pid < 0) {
        close(probe);
        result.failure = QStringLiteral("cannot start %1").arg(executable);
        return result;
    }

    // The first flush, then more until none comes for quietMs.
    constexpr qint64 firstTimeoutNs = 120'000'000'000LL;
    constexpr int quietMs = 400;
    QByteArray pending;
    qint64 firstFlush = 0;
    qint64 lastFlush = 0;
    bool ended = false;
    bool reaped = false;
    for (;;) {
        pollfd wait{probe, POLLIN, 0};
        const int ready = poll(&wait, 1, firstFlush ? quietMs : 200);
        if (ready == 0) {
            if (firstFlush)
                break; // quiet
            reaped = waitpid(pid, nullptr, WNOHANG) == pid;
            if (reaped || monotonicNs() - started > firstTimeoutNs) {
                ended = true;
                break;
            }
            continue;
        }
        if (ready < 0 && errno == EINTR)
            continue;
        char buffer[512];
        const ssize_t got = ready > 0 ? read(probe, buffer, sizeof buffer) : -1;
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
            ended = true; // the program closed its end: it ended
            break;
        }
        if (got < 0)
            continue;
        pending.append(buffer, got);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QList<QByteArray> fields = pending.left(end).split(' ');
            pending.remove(0, end + 1);
            if (fields.size() != 2)
                continue;
            const qint64 at = fields[1].toLongLong();
            if (fields[0] == "loaded")
                result.loadedMs = sinceMs(started, at);
            else if (fields[0] == "application")
                result.applicationMs = sinceMs(started, at);
            else if (fields[0] == "loop")
                result.loopMs = sinceMs(started, at);
            else if (fields[0] == "flush") {
                if (!firstFlush)
                    firstFlush = at;
                lastFlush = at;
                ++result.flushes;
            }
        }
    }
    close(probe);
    if (firstFlush) {
        result.ok = true;
        result.firstPaintMs = sinceMs(started, firstFlush);
        result.settledMs = sinceMs(started, lastFlush);
        result.peakMiB = static_cast<double>(peakKiB(pid)) / 1024.0;
        if (ended) {
            result.ok = false;
            result.failure = QStringLiteral("the program ended after its first paint");
        }
    } else {
        QFile log(folder + QStringLiteral("/output.log"));
        log.open(QIODevice::ReadOnly);
        result.failure = QStringLiteral("no painted window%1: %2")
                             .arg(ended ? QStringLiteral(" (the program ended)") : QString(),
                                  QString::fromLocal8Bit(log.readAll().left(2000)));
    }
    if (!reaped)
        endProcess(pid);
    QDir(folder).removeRecursively();
    return result;
}

double runTimed(const QString& program, const QStringList& arguments)
{
    const qint64 started = monotonicNs();
    const pid_t pid = spawn(program, arguments, {});
    if (pid < 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const qint64 ended = monotonicNs();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return sinceMs(started, ended);
}

} // namespace bench
