#pragma once

#include "store/statements.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;
class QSqlError;

namespace store {

// One connection to db.mdb, opened from the connection string and closed again when it goes
// out of scope. Every handler that needs data makes its own.
class Connection
{
public:
    explicit Connection(const QString& connectionString);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const QString& filePath() const { return m_filePath; }
    // The SQLite connection Qt SQL opened: statements run on it directly, so that a list
    // fill reads only the columns it needs instead of every column of every row.
    sqlite3* handle() const { return m_handle; }
    // Whether the file keeps order keys (see orderkey.h); statements use them where it does.
    bool hasOrderKeys() const { return m_hasOrderKeys; }

    // Turns a failure into an Error that names the file.
    [[noreturn]] void fail(const QSqlError& error) const;
    [[noreturn]] void fail() const;

private:
    QString m_name;
    QString m_filePath;
    sqlite3* m_handle = nullptr;
    bool m_hasOrderKeys = false;
};

// How a statement is opened: read mode walks its rows forward only; write mode also lets the
// caller append, change or delete the current row.
enum class OpenMode
{
    Read,
    Write
};

// The rows of one statement, standing on the first row (or at the end when there is none).
class Recordset
{
public:
    Recordset(Connection& connection, const Statement& statement, OpenMode mode);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    bool eof() const { return m_eof; }
    void moveNext();

    // Column values of the current row; a missing current row is an Error.
    int column(const QString& name) const;
    QVariant value(int column) const;
    QVariant value(const QString& name) const { return value(column(name)); }
    // Walks the remaining rows, handing `sink` the text of one column (as stored, valid for
    // the call) and the whole number of another: the quick way to fill a list.
    using RowSink = void (*)(void* context, const char* text, int length, qint32 number);
    void readAll(int textColumn, int numberColumn, RowSink sink, void* context);

    // Write mode: start a new row, set fields of the new or current row, then store it.
    void addNew();
    void setValue(const QString& name, const QVariant& value);
    void update();
    // Write mode: remove the current row from the table.
    void deleteCurrent();

private:
    QString text(int column) const;
    void requireCurrentRow() const;
    void requireWriteMode() const;
    // Runs a changing statement on the current row and returns the number of rows changed.
    int change(const QString& sql, const QVariantList& values) const;

    Connection& m_connection;
    sqlite3_stmt* m_statement = nullptr;
    OpenMode m_mode;
    bool m_eof = true;
    bool m_adding = false;
    QList<QPair<QString, QVariant>> m_changes;
};

} // namespace store
