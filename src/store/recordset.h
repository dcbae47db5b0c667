#pragma once

#include "store/statements.h"

#include <optional>
#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

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

    QSqlDatabase database() const;
    const QString& filePath() const { return m_filePath; }

    // Turns a failure reported by Qt SQL into an Error that names the file.
    [[noreturn]] void fail(const QSqlError& error) const;

private:
    QString m_name;
    QString m_filePath;
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

    bool eof() const { return m_eof; }
    void moveNext();

    // Column values of the current row; a missing current row is an Error.
    int column(const QString& name) const;
    QVariant value(int column) const;
    QVariant value(const QString& name) const { return value(column(name)); }

    // Write mode: start a new row, set fields of the new or current row, then store it.
    void addNew();
    void setValue(const QString& name, const QVariant& value);
    void update();
    // Write mode: remove the current row from the table.
    void deleteCurrent();

private:
    void requireCurrentRow() const;
    void requireWriteMode() const;
    void exec(QSqlQuery& query) const;

    Connection& m_connection;
    QSqlQuery m_query;
    OpenMode m_mode;
    bool m_eof = true;
    bool m_adding = false;
    QList<QPair<QString, QVariant>> m_changes;
};

} // namespace store
