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
        RowGone,       // no row has the id and name that were read: removed by another program
        RowChanged,    // the row still has its id and name, but not all else that was read
        PathTooLong,   // the file's path is longer than SQLite can open with its journal
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
    // For PathTooLong: the length of the file's full path and the longest that can be opened,
    // both in bytes of UTF-8, or in characters where the system's own limit is the one
    // exceeded (Windows).
    qsizetype pathLength() const { return m_pathLength; }
    qsizetype pathLimit() const { return m_pathLimit; }
    bool pathInCharacters() const { return m_pathInCharacters; }
    const char* what() const noexcept override { return m_what.constData(); }

    // The error for SQLite's result `code` with its message.
    static Error fromSqlite(const QString& file, int code, const QString& message);
    static Error pathTooLong(const QString& file, qsizetype length, qsizetype limit,
                             bool inCharacters);

private:
    Kind m_kind;
    QString m_file;
    QString m_details;
    int m_sqliteCode;
    qsizetype m_pathLength = 0;
    qsizetype m_pathLimit = 0;
    bool m_pathInCharacters = false;
    QByteArray m_what;
};

} // namespace store
