#pragma once

#include <cstddef>

namespace heapreserve {

// Touches `bytes` of fresh memory and hands it back to the C library to keep, so that memory
// a keystroke takes for a moment, or keeps as the program's memory grows, is found already
// mapped instead of faulted in page by page. The library is told to keep free memory up to a
// few times `bytes` rather than give it back. Returns false where the C library has no such
// setting (the memory is then left as the library manages it).
bool keep(std::size_t bytes);

} // namespace heapreserve
