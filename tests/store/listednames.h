#pragma once

// The names of a list, as text.
#include "store/namelist.h"

#include <QStringList>

inline QStringList names(const store::NameList& list)
{
    QStringList result;
    for (qsizetype row = 0; row < list.size(); ++row)
        result << list.name(row);
    return result;
}
