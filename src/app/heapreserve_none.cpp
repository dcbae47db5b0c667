#include "app/heapreserve.h"

namespace heapreserve {

// This C library's heap has no thresholds to fix; it keeps or returns memory as it sees fit.
void keep(std::size_t) {}

} // namespace heapreserve
