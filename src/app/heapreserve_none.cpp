#include "app/heapreserve.h"

namespace heapreserve {

// This C library's heap has no thresholds to fix; it keeps or returns memory as it sees fit.
bool keep(std::size_t)
{
    return false;
}

} // namespace heapreserve
