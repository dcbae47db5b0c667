#include "app/heapreserve.h"

#include <array>
#include <climits>
#include <cstdlib>
#include <malloc.h>
#include <unistd.h>

namespace heapreserve {

void keep(std::size_t bytes)
{
    // Left to itself, glibc moves both thresholds after the largest block freed so far: a block
    // above the mmap threshold is mapped afresh at each request, and memory at the top of the
    // heap goes back to the system once more than the trim threshold is free there. Fixed, every
    // block below half the reserve comes from the heap, and the reserve together with the
    // largest such block stays below the trim threshold: the touched pages stay in the heap.
    const std::size_t mmapThreshold = bytes / 2;
    const std::size_t trimThreshold = 2 * bytes;
    if (bytes < (std::size_t{1} << 20) || trimThreshold > INT_MAX ||
        mallopt(M_MMAP_THRESHOLD, static_cast<int>(mmapThreshold)) != 1 ||
        mallopt(M_TRIM_THRESHOLD, static_cast<int>(trimThreshold)) != 1)
        return;

    // Taken in pieces below the mmap threshold, so that they come from the heap; freed, they
    // join again there. A write maps a page; a read alone would map the shared zero page, and
    // the first write would fault again.
    std::array<volatile char*, 4> pieces{};
    const std::size_t pieceSize = bytes / pieces.size();
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    for (volatile char*& piece : pieces) {
        piece = static_cast<volatile char*>(std::malloc(pieceSize));
        for (std::size_t at = 0; piece && at < pieceSize; at += page)
            piece[at] = 0;
    }
    for (volatile char* piece : pieces)
        std::free(const_cast<char*>(piece));
}

} // namespace heapreserve
