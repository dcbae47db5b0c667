// A probe that vardel-bench loads into the real program with LD_PRELOAD, so that start-up is
// observed from outside: the program has no switch for it and runs its own start-up code.
//
// When PAINTPROBE_OUT names a file (vardel-bench makes it a FIFO and reads it), the probe
// writes one line per moment, each with the CLOCK_MONOTONIC time in nanoseconds:
//   loaded <ns>        the probe's constructor ran (every library is mapped and relocated)
//   application <ns>   the QApplication constructor returned
//   loop <ns>          QApplication::exec() was entered
//   flush <ns>         a window's backing store was flushed to the screen (first 32 only)
// Without PAINTPROBE_OUT the probe does nothing but pass the calls on.
//
// The hooks replace the exported Qt functions the program and Qt Widgets call through the
// dynamic linker and call the originals found with dlvsym. Each is given the Qt function's
// mangled name as its symbol, so no Qt header is needed and the probe does not link Qt.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

int out = -1;
std::atomic<int> flushes{0};

void note(const char* what)
{
    if (out < 0)
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char line[64];
    const int length =
        std::snprintf(line, sizeof line, "%s %lld\n", what,
                      static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    if (length > 0) {
        [[maybe_unused]] const ssize_t written = write(out, line, static_cast<size_t>(length));
    }
}

// The original of an exported Qt function: the next definition after the probe's.
template <typename Function> Function original(const char* mangled)
{
    void* found = dlvsym(RTLD_NEXT, mangled, "Qt_6");
    if (!found)
        found = dlsym(RTLD_NEXT, mangled);
    if (!found) {
        std::fprintf(stderr, "paintprobe: %s not found\n", mangled);
        std::abort();
    }
    return reinterpret_cast<Function>(found);
}

__attribute__((constructor)) void start()
{
    const char* path = std::getenv("PAINTPROBE_OUT");
    if (path && *path)
        out = open(path, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    note("loaded");
}

} // namespace

// The hooks, each given the exported symbol of the Qt function it stands in for.
extern "C" {
__attribute__((visibility("default"))) void probeApplication(
    void* self, int* argc, char** argv,
    int flags) __asm__("_ZN12QApplicationC1ERiPPci"); // QApplication::QApplication(int&,
                                                      // char**, int)
__attribute__((visibility("default"))) int
probeExec() __asm__("_ZN12QApplication4execEv"); // static int QApplication::exec()
__attribute__((visibility("default"))) void probeFlush(void* self, const void* region, void* window,
                                                       const void* offset)
    // void QBackingStore::flush(const QRegion&, QWindow*, const QPoint&)
    __asm__("_ZN13QBackingStore5flushERK7QRegionP7QWindowRK6QPoint");
}

void probeApplication(void* self, int* argc, char** argv, int flags)
{
    using Constructor = void (*)(void*, int*, char**, int);
    static const auto real = original<Constructor>("_ZN12QApplicationC1ERiPPci");
    real(self, argc, argv, flags);
    note("application");
}

int probeExec()
{
    using Exec = int (*)();
    static const auto real = original<Exec>("_ZN12QApplication4execEv");
    note("loop");
    return real();
}

void probeFlush(void* self, const void* region, void* window, const void* offset)
{
    using Flush = void (*)(void*, const void*, void*, const void*);
    static const auto real =
        original<Flush>("_ZN13QBackingStore5flushERK7QRegionP7QWindowRK6QPoint");
    real(self, region, window, offset);
    if (flushes.fetch_add(1) < 32)
        note("flush");
}
