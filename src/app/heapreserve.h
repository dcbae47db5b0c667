#pragma once

#include <cstddef>

namespace heapreserve {

// Touches `bytes` of fresh memory and hands it back to the C library to keep, so that memory
// a keystroke takes for a moment, or keeps as the program's memory grows, is found already
// mapped instead of faulted in page by page. From then on blocks below half of `bytes` come
// from the heap, and up to twice `bytes` of free memory stays there. Where the C library has no
// such settings, or for less than a megabyte, the memory is left as the library manages it.
void keep(std::size_t bytes);

} // namespace heapreserve
