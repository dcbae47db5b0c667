#include "store/statements.h"

#include "store/orderkey.h"
#include "store/persian.h"

namespace store {

namespace {
const QString selectAll = QStringLiteral("SELECT * FROM vardel");
// Names in Persian alphabetical order.
const QString orderByName = QStringLiteral(" ORDER BY p_name COLLATE persian");
// A prefix match of the folded texts: the typed text, then anything.
const QString nameLike = QStringLiteral("vardel_fold(p_name) LIKE (?) ESCAPE '\\'");
const QString meansLike = QStringLiteral("vardel_fold(means) LIKE (?) ESCAPE '\\'");

// With order keys: the index holds the Persian order; the name breaks ties.
const QString orderByKey = QStringLiteral(" ORDER BY p_order, p_name");
const QString keyRange = QStringLiteral("p_order >= ? AND p_order < ? AND ");

QString foldedPattern(const QString& typed)
{
    return likePrefixPattern(persian::fold(typed));
}

// Names that begin with `typed`: a range of the index, narrowed by the search condition where
// the range alone holds more.
void addKeyedNameFilter(Statement& statement, const QString& typed)
{
    const orderkey::Range range = orderkey::prefixRange(persian::fold(typed));
    if (range.everything) {
        statement.keyedSql = selectAll + QStringLiteral(" WHERE p_order IS NOT NULL") + orderByKey;
        return;
    }
    if (range.exact) {
        statement.keyedSql =
            selectAll + QStringLiteral(" WHERE p_order >= ? AND p_order < ?") + orderByKey;
        statement.keyedValues = {range.low, range.high};
        return;
    }
    statement.keyedSql = selectAll + QStringLiteral(" WHERE ") + keyRange + nameLike + orderByKey;
    statement.keyedValues = {range.low, range.high, foldedPattern(typed)};
}
} // namespace

QString likePrefixPattern(const QString& text)
{
    QString pattern;
    pattern.reserve(text.size() + 2);
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            pattern += QLatin1Char('\\');
        pattern += c;
    }
    pattern += QLatin1Char('%');
    return pattern;
}

Statement genderFilterStatement(int filterIndex)
{
    QString sql = selectAll;
    if (filterIndex == 0)
        sql += QStringLiteral(" WHERE gender='m'");
    if (filterIndex == 1)
        sql += QStringLiteral(" WHERE gender='f'");
    Statement statement{sql + orderByName, {}};
    statement.keyedSql = sql + orderByKey;
    return statement;
}

Statement searchStatement(bool inNames, bool inMeanings, const QString& text)
{
    Statement statement{selectAll + QStringLiteral(" WHERE "), {}};
    if (inNames) {
        statement.sql += nameLike;
        statement.values << foldedPattern(text);
    }
    if (inMeanings) {
        if (inNames)
            statement.sql += QStringLiteral(" OR ");
        statement.sql += meansLike;
        statement.values << foldedPattern(text);
    }
    if (inNames && !inMeanings) {
        addKeyedNameFilter(statement, text);
    } else {
        statement.keyedSql = statement.sql + orderByKey;
        statement.keyedValues = statement.values;
    }
    statement.sql += orderByName;
    return statement;
}

Statement nameFilterStatement(const QString& text)
{
    Statement statement{selectAll + QStringLiteral(" WHERE ") + nameLike + orderByName,
                        {foldedPattern(text)}};
    addKeyedNameFilter(statement, text);
    return statement;
}

Statement rowByIdStatement(qint32 id)
{
    return {selectAll + QStringLiteral(" WHERE id=") + QString::number(id), {}};
}

Statement wholeTableStatement()
{
    return {selectAll, {}};
}

} // namespace store
