#include "store/statements.h"

#include "store/orderkey.h"
#include "store/persian.h"

namespace store {

namespace {
const QString selectNames = QStringLiteral("SELECT id, p_name FROM vardel");
// Names in Persian alphabetical order.
const QString orderByName = QStringLiteral(" ORDER BY p_name COLLATE persian");
// With order keys: the index holds the Persian order; the name breaks ties.
const QString orderByKey = QStringLiteral(" ORDER BY p_order, p_name");
// A prefix match of the folded texts, the typed text then anything; NULL counts as empty.
const QString nameLike = QStringLiteral("vardel_fold(ifnull(p_name,'')) LIKE ? ESCAPE '\\'");
const QString meansLike = QStringLiteral("vardel_fold(ifnull(means,'')) LIKE ? ESCAPE '\\'");

QString foldedPattern(const QString& typed)
{
    return likePrefixPattern(persian::fold(typed));
}

// Names that begin with `typed`, for a table with order keys: a range of the index, narrowed
// by the search condition where the range alone holds more.
void addKeyedNameFilter(Query& query, const QString& typed)
{
    const orderkey::Range range = orderkey::prefixRange(persian::fold(typed));
    if (range.everything) {
        query.keyedSql = selectNames + orderByKey;
    } else if (!range.certainBelow.isEmpty()) {
        query.keyedSql =
            selectNames +
            QStringLiteral(" WHERE p_order >= ? AND p_order < ? AND (p_order < ? OR ") + nameLike +
            QStringLiteral(")") + orderByKey;
        query.keyedValues = {range.low, range.high, range.certainBelow, foldedPattern(typed)};
    } else {
        query.keyedSql = selectNames + QStringLiteral(" WHERE p_order >= ? AND p_order < ? AND ") +
                         nameLike + orderByKey;
        query.keyedValues = {range.low, range.high, foldedPattern(typed)};
    }
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

Query genderQuery(GenderFilter filter)
{
    QString sql = selectNames;
    if (filter == GenderFilter::Male)
        sql += QStringLiteral(" WHERE gender='m'");
    if (filter == GenderFilter::Female)
        sql += QStringLiteral(" WHERE gender='f'");
    return {sql + orderByName, {}, sql + orderByKey, {}};
}

Query searchQuery(SearchIn where, const QString& text)
{
    const QString pattern = foldedPattern(text);
    Query query;
    query.patternBytes = pattern.toUtf8().size();
    switch (where) {
    case SearchIn::Names:
        query.sql = selectNames + QStringLiteral(" WHERE ") + nameLike;
        query.values = {pattern};
        addKeyedNameFilter(query, text);
        break;
    case SearchIn::Meanings:
        query.sql = selectNames + QStringLiteral(" WHERE ") + meansLike;
        query.values = {pattern};
        break;
    case SearchIn::NamesAndMeanings:
        query.sql =
            selectNames + QStringLiteral(" WHERE ") + nameLike + QStringLiteral(" OR ") + meansLike;
        query.values = {pattern, pattern};
        break;
    }
    if (query.keyedSql.isEmpty()) {
        query.keyedSql = query.sql + orderByKey;
        query.keyedValues = query.values;
    }
    query.sql += orderByName;
    return query;
}

Query namePrefixQuery(const QString& text)
{
    return searchQuery(SearchIn::Names, text);
}

} // namespace store
