#pragma once

#include <exception>
#include <QByteArray>
#include <QString>

namespace store {

// A failed operation on the name table: what kind of failure it was, in which file, and what
// SQLite said about it. The windows turn the kind into words for the user.
class Error : public std::exception
{
public:
    enum class Kind
    {
        FileMissing,   // there is no db.mdb
        NotADatabase,  // the file is not an SQLite database, or it is damaged
        TableUnusable, // no table vardel with an auto-numbered id and the name columns
        Locked,        // another program holds the file longer than we wait
        ReadOnly,      // the file or its folder cannot be written
        Full,          // the disk is full
        RowGone,       // the row is no longer what was read: removed or changed by another program
        SearchTooLong, // a search text longer than SQLite can match
        NoUserCopy,    // the user's own copy of the starter db.mdb cannot be made
        Other,
    };

    Error(Kind kind, QString file, QString details = {}, int sqliteCode = 0);

    Kind kind() const { return m_kind; }
    const QString& file() const { return m_file; }
    // SQLite's own message, untranslated; may be empty.
    const QString& details() const { return m_details; }
    // SQLite's extended result code; 0 where the failure is our own finding.
    int sqliteCode() const { return m_sqliteCode; }
    const char* what() const noexcept override { return m_what.constData(); }

    // The error for SQLite's result `code` with its message.
    static Error fromSqlite(const QString& file, int code, const QString& message);

private:
    Kind m_kind;
    QString m_file;
    QString m_details;
    int m_sqliteCode;
    QByteArray m_what;
};

} // namespace store
