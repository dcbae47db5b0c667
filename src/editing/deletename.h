#pragma once

#include "store/namestore.h"

#include <optional>

namespace editing {

// What became of a delete.
enum class DeleteResult
{
    Deleted,
    Changed, // another program changed the row's meaning or gender since it was read:
             // nothing was removed
    Gone,    // another program removed (or renamed) the row since the list was read
};

// Removes the listed entry's row from the name table, provided it still holds exactly what was
// read of it: `shown` when that is the entry's row as the details panel read it, otherwise
// what the row holds now. A failure of the database throws store::Error.
DeleteResult deleteName(const store::NameStore& names, const store::ListedName& entry,
                        const std::optional<store::NameRecord>& shown);

} // namespace editing
