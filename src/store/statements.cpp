#include "store/statements.h"

#include "store/persian.h"

namespace store {

namespace {
const QString selectAll = QStringLiteral("SELECT * FROM vardel");
// Names in Persian alphabetical order.
const QString orderByName = QStringLiteral(" ORDER BY p_name COLLATE persian");
// A prefix match of the folded texts: the typed text, then anything.
const QString nameLike = QStringLiteral("vardel_fold(p_name) LIKE (?) ESCAPE '\\'");
const QString meansLike = QStringLiteral("vardel_fold(means) LIKE (?) ESCAPE '\\'");

QString foldedPattern(const QString& typed)
{
    return likePrefixPattern(persian::fold(typed));
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
    sql += orderByName;
    return {sql, {}};
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
    statement.sql += orderByName;
    return statement;
}

Statement nameFilterStatement(const QString& text)
{
    return {selectAll + QStringLiteral(" WHERE ") + nameLike + orderByName, {foldedPattern(text)}};
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
