#pragma once

#include "store/namelist.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QStringList>

// The names of a list, as text.
inline QStringList names(const store::NameList& list)
{
    QStringList result;
    for (qsizetype row = 0; row < list.size(); ++row)
        result << list.name(row);
    return result;
}

// The entries of a list: each one's id and name as stored.
inline QList<QPair<store::NameId, QByteArray>> entries(const store::NameList& list)
{
    QList<QPair<store::NameId, QByteArray>> result;
    for (qsizetype row = 0; row < list.size(); ++row)
        result.append({list.id(row), list.storedName(row).toByteArray()});
    return result;
}
