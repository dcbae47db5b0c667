#include "store/error.h"

#include <sqlite3.h>

namespace store {

Error::Error(Kind kind, QString file, QString details, int sqliteCode)
    : m_kind(kind), m_file(std::move(file)), m_details(std::move(details)),
      m_sqliteCode(sqliteCode), m_what((m_file + QStringLiteral(": ") + m_details).toUtf8())
{
}

Error Error::fromSqlite(const QString& file, int code, const QString& message)
{
    switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return {Kind::NotADatabase, file, message, code};
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {Kind::Locked, file, message, code};
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return {Kind::ReadOnly, file, message, code};
    case SQLITE_FULL:
        return {Kind::Full, file, message, code};
    default:
        return {Kind::Other, file, message, code};
    }
}

Error Error::pathTooLong(const QString& file, qsizetype length, qsizetype limit, bool inCharacters)
{
    const QString unit = inCharacters ? QStringLiteral("characters") : QStringLiteral("bytes");
    Error error(Kind::PathTooLong, file,
                QStringLiteral("the path is too long for SQLite: %1 %3, at most %2 %3")
                    .arg(length)
                    .arg(limit)
                    .arg(unit));
    error.m_pathLength = length;
    error.m_pathLimit = limit;
    error.m_pathInCharacters = inCharacters;
    return error;
}

} // namespace store
