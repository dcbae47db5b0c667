#include "app/heapreserve.h"

#include <climits>
#include <cstdlib>
#include <malloc.h>
#include <unistd.h>

namespace heapreserve {

bool keep(std::size_t bytes)
{
    // Left to itself, glibc moves both thresholds after the largest block freed so far, and gives
    // memory at the top of the heap back to the system once more than the trim threshold is free
    // there. Fixed, a block below the mmap threshold always comes from the heap, and the touched
    // reserve stays there after it is freed: the trim threshold is above the reserve and the
    // largest block the heap hands out together.
    const std::size_t mmapThreshold = 2 * bytes;
    const std::size_t trimThreshold = 2 * mmapThreshold;
    if (bytes == 0 || trimThreshold > INT_MAX ||
        mallopt(M_MMAP_THRESHOLD, static_cast<int>(mmapThreshold)) != 1 ||
        mallopt(M_TRIM_THRESHOLD, static_cast<int>(trimThreshold)) != 1)
        return false;

    auto* block = static_cast<volatile char*>(std::malloc(bytes));
    if (!block)
        return false;
    // A write maps the page; a read alone would map the shared zero page, and the first write
    // would fault again.
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    for (std::size_t at = 0; at < bytes; at += page)
        block[at] = 0;
    std::free(const_cast<char*>(block));
    return true;
}

} // namespace heapreserve
