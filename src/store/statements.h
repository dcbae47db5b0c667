#pragma once

#include <QString>
#include <QVariantList>

namespace store {

// One SQL statement with the values bound to its placeholders. Text typed by the user only
// ever travels in `values`, never inside `sql`.
struct Statement
{
    QString sql;
    QVariantList values;
    // The same statement for a db.mdb that keeps order keys (see orderkey.h): it reads the
    // rows in order from the index. Empty where the statement has no order.
    QString keyedSql = {};
    QVariantList keyedValues = {};
};

// Statement 1: the gender filter; index 0 is male, 1 female, anything else all names.
Statement genderFilterStatement(int filterIndex);

// Statement 2: names whose name and/or meaning begins with `text`.
Statement searchStatement(bool inNames, bool inMeanings, const QString& text);

// Statement 3: names that begin with `text` (the live filter over the list).
Statement nameFilterStatement(const QString& text);

// Statements 4, 6, 7 and 8: the one row with this id.
Statement rowByIdStatement(qint32 id);

// Statement 5: the whole table, opened to append a row.
Statement wholeTableStatement();

// `text` as a LIKE pattern that matches exactly the values beginning with it: the pattern
// characters % and _ and the escape character itself stand for themselves.
QString likePrefixPattern(const QString& text);

} // namespace store
