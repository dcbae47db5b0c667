#include "editing/deletename.h"

#include "store/connectionstring.h"
#include "store/error.h"
#include "store/recordset.h"
#include "store/statements.h"

namespace editing {

bool deleteName(qint32 id)
{
    store::Connection connection(store::connectionString());
    store::Recordset row(connection, store::rowByIdStatement(id), store::OpenMode::Write);
    if (row.eof())
        return false;
    try {
        row.deleteCurrent();
    } catch (const store::Error& error) {
        // Removed by another program after it was found.
        if (error.number() == store::Error::NoCurrentRow)
            return false;
        throw;
    }
    return true;
}

} // namespace editing
