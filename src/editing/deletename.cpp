#include "editing/deletename.h"

#include "store/error.h"

namespace editing {

bool deleteName(const store::NameStore& names, const store::ListedName& entry)
{
    try {
        names.remove(entry.id, entry.storedName);
    } catch (const store::Error& error) {
        if (error.kind() == store::Error::Kind::RowGone)
            return false;
        throw;
    }
    return true;
}

} // namespace editing
