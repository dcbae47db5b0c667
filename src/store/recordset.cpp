#include "store/recordset.h"

#include "store/connectionstring.h"
#include "store/error.h"
#include "store/persian.h"

#include <atomic>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>
#include <sqlite3.h>

namespace store {

namespace {

constexpr int SqliteNotADatabase = 26;

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("vardel-%1").arg(++counter);
}

// Persian order and folding live in the connection, never in the file.
void registerPersian(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        if (auto* sqlite = *static_cast<sqlite3* const*>(handle.constData()))
            persian::registerOn(sqlite);
    }
}

} // namespace

Connection::Connection(const QString& connectionString)
    : m_name(nextConnectionName()), m_filePath(dataSource(connectionString))
{
    // SQLite would quietly create a missing file; a missing db.mdb is an error instead.
    if (!QFileInfo(m_filePath).isFile())
        throw Error(Error::FileNotFound,
                    QStringLiteral("فایل پایگاه داده پیدا نشد: %1").arg(m_filePath));

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    // mode=rw opens an existing file for reading and writing and never creates one.
    db.setDatabaseName(QUrl::fromLocalFile(m_filePath).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open())
        fail(db.lastError());
    registerPersian(db);
}

Connection::~Connection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

void Connection::fail(const QSqlError& error) const
{
    bool isNumber = false;
    int number = error.nativeErrorCode().toInt(&isNumber);
    if (!isNumber || number == 0)
        number = 1;
    const QString details = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if ((number & 0xff) == SqliteNotADatabase)
        throw Error(number, QStringLiteral("فایل %1 پایگاه داده‌ی SQLite نیست یا آسیب دیده "
                                           "است "
                                           "(%2).")
                                .arg(m_filePath, details));
    throw Error(
        number,
        QStringLiteral("خطا در پایگاه داده‌ی %1: %2").arg(m_filePath, details));
}

Recordset::Recordset(Connection& connection, const Statement& statement, OpenMode mode)
    : m_connection(connection), m_query(connection.database()), m_mode(mode)
{
    m_query.setForwardOnly(true);
    if (!m_query.prepare(statement.sql))
        m_connection.fail(m_query.lastError());
    for (const QVariant& value : statement.values)
        m_query.addBindValue(value);
    exec(m_query);
    moveNext();
}

void Recordset::exec(QSqlQuery& query) const
{
    if (!query.exec())
        m_connection.fail(query.lastError());
}

void Recordset::moveNext()
{
    m_adding = false;
    m_changes.clear();
    m_eof = !m_query.next();
    if (m_eof && m_query.lastError().isValid())
        m_connection.fail(m_query.lastError());
}

int Recordset::column(const QString& name) const
{
    const int index = m_query.record().indexOf(name);
    if (index < 0)
        throw Error(1,
                    QStringLiteral(
                        "ستون %1 در جدول vardel پایگاه داده‌ی %2 نیست.")
                        .arg(name, m_connection.filePath()));
    return index;
}

QVariant Recordset::value(int column) const
{
    requireCurrentRow();
    return m_query.value(column);
}

void Recordset::requireCurrentRow() const
{
    if (m_eof)
        throw Error(
            Error::NoCurrentRow,
            QStringLiteral("این نام دیگر در پایگاه داده‌ی %1 نیست؛ "
                           "شاید برنامه‌ی دیگری "
                           "آن را حذف کرده است.")
                .arg(m_connection.filePath()));
}

void Recordset::requireWriteMode() const
{
    Q_ASSERT_X(m_mode == OpenMode::Write, "Recordset", "changes need write mode");
}

void Recordset::addNew()
{
    requireWriteMode();
    m_adding = true;
    m_changes.clear();
}

void Recordset::setValue(const QString& name, const QVariant& value)
{
    requireWriteMode();
    if (!m_adding)
        requireCurrentRow();
    m_changes.append({name, value});
}

void Recordset::update()
{
    requireWriteMode();
    if (!m_adding)
        requireCurrentRow();
    if (m_changes.isEmpty() && !m_adding)
        return;

    QStringList columns;
    for (const auto& change : std::as_const(m_changes))
        columns << change.first;

    QSqlQuery write(m_connection.database());
    if (m_adding) {
        const QString sql =
            columns.isEmpty()
                ? QStringLiteral("INSERT INTO vardel DEFAULT VALUES")
                : QStringLiteral("INSERT INTO vardel (%1) VALUES (%2)")
                      .arg(columns.join(QLatin1Char(',')),
                           QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
        if (!write.prepare(sql))
            m_connection.fail(write.lastError());
    } else {
        for (QString& column : columns)
            column += QStringLiteral("=?");
        if (!write.prepare(QStringLiteral("UPDATE vardel SET %1 WHERE id=?")
                               .arg(columns.join(QLatin1Char(',')))))
            m_connection.fail(write.lastError());
    }
    for (const auto& change : std::as_const(m_changes))
        write.addBindValue(change.second);
    if (!m_adding)
        write.addBindValue(m_query.value(column(QStringLiteral("id"))));
    exec(write);
    if (!m_adding && write.numRowsAffected() != 1) {
        m_eof = true; // the row went away since it was read
        requireCurrentRow();
    }
    m_adding = false;
    m_changes.clear();
}

void Recordset::deleteCurrent()
{
    requireWriteMode();
    requireCurrentRow();
    QSqlQuery remove(m_connection.database());
    if (!remove.prepare(QStringLiteral("DELETE FROM vardel WHERE id=?")))
        m_connection.fail(remove.lastError());
    remove.addBindValue(m_query.value(column(QStringLiteral("id"))));
    exec(remove);
    if (remove.numRowsAffected() != 1) {
        m_eof = true;
        requireCurrentRow();
    }
}

} // namespace store
