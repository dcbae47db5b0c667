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

// Names that begin with `typed`, for a table with order keys: ranges of the index, one after
// the other, narrowed by the search condition where a range alone holds more.
void addKeyedNameFilter(Query& query, const QString& typed)
{
    const QList<orderkey::Range> ranges = orderkey::prefixRanges(persian::fold(typed));
    if (ranges.size() == 1 && ranges.front().everything) {
        query.keyedSql = selectNames + orderByKey;
        query.keyedRuns = {{}};
        return;
    }
    // The third value says whether every key of the run is certain: then the search condition
    // is not checked row by row.
    query.keyedSql = selectNames +
                     QStringLiteral(" WHERE p_order >= ? AND p_order < ? AND (? OR ") + nameLike +
                     QStringLiteral(")") + orderByKey;
    const QString pattern = foldedPattern(typed);
    const QString certain = QStringLiteral("1");
    const QString uncertain = QStringLiteral("0");
    for (const orderkey::Range& range : ranges) {
        // The certain part first: its keys are below the rest of the range.
        if (!range.certainBelow.isEmpty()) {
            query.keyedRuns.append({range.low, range.certainBelow, certain, pattern});
            query.keyedRuns.append({range.certainBelow, range.high, uncertain, pattern});
        } else {
            query.keyedRuns.append({range.low, range.high, uncertain, pattern});
        }
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
    return {sql + orderByName, {}, sql + orderByKey, {{}}};
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
        query.keyedRuns = {query.values};
    }
    query.sql += orderByName;
    return query;
}

Query namePrefixQuery(const QString& text)
{
    return searchQuery(SearchIn::Names, text);
}

} // namespace store
