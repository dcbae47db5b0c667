#include "store/statements.h"

namespace store {

namespace {
const QString selectAll = QStringLiteral("SELECT * FROM vardel");
const QString orderByName = QStringLiteral(" ORDER BY p_name");
// A prefix match: the escaped text, then anything.
const QString nameLike = QStringLiteral("p_name LIKE (?) ESCAPE '\\'");
const QString meansLike = QStringLiteral("means LIKE (?) ESCAPE '\\'");
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
        statement.values << likePrefixPattern(text);
    }
    if (inMeanings) {
        if (inNames)
            statement.sql += QStringLiteral(" OR ");
        statement.sql += meansLike;
        statement.values << likePrefixPattern(text);
    }
    statement.sql += orderByName;
    return statement;
}

Statement nameFilterStatement(const QString& text)
{
    return {selectAll + QStringLiteral(" WHERE ") + nameLike + orderByName,
            {likePrefixPattern(text)}};
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
