#include "editing/deletename.h"

#include "store/error.h"

namespace editing {

DeleteResult deleteName(const store::NameStore& names, const store::ListedName& entry,
                        const std::optional<store::NameRecord>& shown)
{
    const bool shownIsEntry =
        shown && shown->id == entry.id && shown->storedName == entry.storedName;
    const std::optional<store::NameRecord> read =
        shownIsEntry ? shown : names.find(entry.id, entry.storedName);
    if (!read)
        return DeleteResult::Gone;
    try {
        names.remove(*read);
    } catch (const store::Error& error) {
        if (error.kind() == store::Error::Kind::RowChanged)
            return DeleteResult::Changed;
        if (error.kind() == store::Error::Kind::RowGone)
            return DeleteResult::Gone;
        throw;
    }
    return DeleteResult::Deleted;
}

} // namespace editing
