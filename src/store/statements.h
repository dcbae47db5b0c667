#pragma once

#include "store/namestore.h"

#include <QString>
#include <QStringList>

// The statements that read lists from the name table. Text typed by the user only ever
// travels in the bound values, never inside the SQL.
namespace store {

struct Query
{
    // For any table with the four columns: sorted by the Persian collation.
    QString sql;
    QStringList values;
    // For a table that keeps order keys (see orderkey.h): read in order from their index, once
    // for each list of values; the rows of one run follow those of the run before.
    QString keyedSql;
    QList<QStringList> keyedRuns;
    // The size in bytes of the longest LIKE pattern among the values.
    qsizetype patternBytes = 0;
};

Query genderQuery(GenderFilter filter);
Query searchQuery(SearchIn where, const QString& text);
Query namePrefixQuery(const QString& text);

// `text` as a LIKE pattern that matches exactly the values beginning with it: the pattern
// characters % and _ and the escape character itself stand for themselves.
QString likePrefixPattern(const QString& text);

} // namespace store
