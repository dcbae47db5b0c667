#pragma once

// The names a statement lists, read as the main window reads them.
#include "store/connectionstring.h"
#include "store/recordset.h"
#include "store/statements.h"

#include <QStringList>

inline QStringList listedNames(const store::Statement& statement)
{
    store::Connection connection(store::connectionString());
    QStringList result;
    for (store::Recordset rows(connection, statement, store::OpenMode::Read); !rows.eof();
         rows.moveNext())
        result << rows.value(QStringLiteral("p_name")).toString();
    return result;
}
