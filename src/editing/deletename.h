#pragma once

#include <QtGlobal>

namespace editing {

// Removes the one row with this id from the name table. False when there is no such row
// (another program removed it); a failure of the database throws store::Error.
bool deleteName(qint32 id);

} // namespace editing
