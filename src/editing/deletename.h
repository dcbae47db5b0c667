#pragma once

#include "store/namestore.h"

namespace editing {

// Removes the listed entry's row from the name table. False when the row is no longer what
// the list read (another program removed or changed it): then nothing is removed. A failure
// of the database throws store::Error.
bool deleteName(const store::NameStore& names, const store::ListedName& entry);

} // namespace editing
