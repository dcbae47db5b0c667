#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

// The one way into SQLite files: the C API behind two small owners. Values typed by a user only
// ever reach SQL as bound parameters.
namespace sqlite {

// An open database file, closed when it goes out of scope.
class Database
{
public:
    enum class Open
    {
        Existing,        // read and write a file that must already exist
        CreateOrExisting // creates the file when it is missing
    };
    // Throws store::Error (naming `path`) when the file cannot be opened.
    Database(const QString& path, Open how);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return m_handle; }
    const QString& path() const { return m_path; }

    // Runs statements without parameters or results (schema, transactions).
    void exec(const char* sql);
    // Rows the last INSERT, UPDATE or DELETE changed, and the id of the last inserted row.
    int changes() const;
    qint64 lastInsertId() const;

    // Throws the store::Error for SQLite's last failure on this connection.
    [[noreturn]] void fail() const;

private:
    QString m_path;
    sqlite3* m_handle = nullptr;
};

// One prepared statement, finalized when it goes out of scope. Parameters count from 1,
// columns from 0.
class Statement
{
public:
    Statement(Database& db, QStringView sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int parameter, qint64 value);
    Statement& bind(int parameter, QStringView text);
    Statement& bindBlob(int parameter, QByteArrayView bytes);
    Statement& bind(int parameter, const sqlite3_value* value);
    Statement& bindNull(int parameter);

    // Steps to the next row: true while there is one, false when done.
    bool step();
    // Runs the statement to its end, leaving any rows it returns unread.
    void run();
    // Makes the statement ready to run again, with new values bound.
    void reset();

    int columnCount() const;
    bool isNull(int column) const;
    qint64 integer(int column) const;
    // The column's bytes as stored (text as UTF-8, blobs as they are; empty for NULL). Valid
    // until the next step.
    QByteArrayView bytes(int column) const;
    // The column as text; NULL reads as empty text.
    QString text(int column) const;
    // The column as Qt sees it: integer, real, text, blob (QByteArray) or null.
    QVariant value(int column) const;
    // The column's value, exactly as stored, for the caller to keep (sqlite3_value_free).
    sqlite3_value* copyValue(int column) const;

private:
    void check(int status);

    Database& m_db;
    sqlite3_stmt* m_statement = nullptr;
};

} // namespace sqlite
