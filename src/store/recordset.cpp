#include "store/recordset.h"

#include "store/connectionstring.h"
#include "store/error.h"
#include "store/persian.h"

#include <atomic>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
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

Error databaseError(const QString& file, int number, const QString& details)
{
    if ((number & 0xff) == SqliteNotADatabase)
        return Error(
            number,
            QStringLiteral(
                "فایل %1 پایگاه داده‌ی SQLite نیست یا آسیب دیده "
                "است "
                "(%2).")
                .arg(file, details));
    return Error(
        number, QStringLiteral("خطا در پایگاه داده‌ی %1: %2").arg(file, details));
}

sqlite3* handleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

// Binds `values` to the placeholders of `statement`, in order.
int bind(sqlite3_stmt* statement, const QVariantList& values)
{
    int status = SQLITE_OK;
    for (int i = 0; i < values.size() && status == SQLITE_OK; ++i) {
        const QVariant& value = values[i];
        if (value.isNull()) {
            status = sqlite3_bind_null(statement, i + 1);
        } else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong) {
            status = sqlite3_bind_int64(statement, i + 1, value.toLongLong());
        } else {
            const QByteArray text = value.toString().toUtf8();
            status = sqlite3_bind_text(statement, i + 1, text.constData(),
                                       static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
    }
    return status;
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
    m_handle = handleOf(db);
    if (!m_handle)
        throw Error(1, QStringLiteral("پایگاه داده‌ی %1 با SQLite باز نشد.")
                           .arg(m_filePath));
    // Persian order and folding live in the connection, never in the file.
    persian::registerOn(m_handle);
    m_hasOrderKeys = sqlite3_table_column_metadata(m_handle, "main", "vardel", "p_order", nullptr,
                                                   nullptr, nullptr, nullptr, nullptr) == SQLITE_OK;
}

Connection::~Connection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

void Connection::fail(const QSqlError& error) const
{
    bool isNumber = false;
    int number = error.nativeErrorCode().toInt(&isNumber);
    if (!isNumber || number == 0)
        number = 1;
    throw databaseError(m_filePath, number,
                        error.databaseText().isEmpty() ? error.text() : error.databaseText());
}

void Connection::fail() const
{
    throw databaseError(m_filePath, sqlite3_extended_errcode(m_handle),
                        QString::fromUtf8(sqlite3_errmsg(m_handle)));
}

Recordset::Recordset(Connection& connection, const Statement& statement, OpenMode mode)
    : m_connection(connection), m_mode(mode)
{
    const bool keyed = connection.hasOrderKeys() && !statement.keyedSql.isEmpty();
    const QByteArray sql = (keyed ? statement.keyedSql : statement.sql).toUtf8();
    if (sqlite3_prepare_v2(connection.handle(), sql.constData(), static_cast<int>(sql.size()),
                           &m_statement, nullptr) != SQLITE_OK ||
        bind(m_statement, keyed ? statement.keyedValues : statement.values) != SQLITE_OK)
        m_connection.fail();
    moveNext();
}

Recordset::~Recordset()
{
    sqlite3_finalize(m_statement);
}

void Recordset::moveNext()
{
    m_adding = false;
    m_changes.clear();
    switch (sqlite3_step(m_statement)) {
    case SQLITE_ROW:
        m_eof = false;
        break;
    case SQLITE_DONE:
        m_eof = true;
        break;
    default:
        m_eof = true;
        m_connection.fail();
    }
}

int Recordset::column(const QString& name) const
{
    const QByteArray wanted = name.toUtf8();
    for (int i = 0; i < sqlite3_column_count(m_statement); ++i) {
        if (qstricmp(sqlite3_column_name(m_statement, i), wanted.constData()) == 0)
            return i;
    }
    throw Error(1, QStringLiteral(
                       "ستون %1 در جدول vardel پایگاه داده‌ی %2 نیست.")
                       .arg(name, m_connection.filePath()));
}

QVariant Recordset::value(int column) const
{
    requireCurrentRow();
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(m_statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, column));
    case SQLITE_NULL:
        return QVariant();
    default:
        return text(column);
    }
}

QString Recordset::text(int column) const
{
    requireCurrentRow();
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(m_statement, column));
}

void Recordset::readAll(int textColumn, int numberColumn, RowSink sink, void* context)
{
    while (!m_eof) {
        const auto* text =
            reinterpret_cast<const char*>(sqlite3_column_text(m_statement, textColumn));
        sink(context, text ? text : "", sqlite3_column_bytes(m_statement, textColumn),
             sqlite3_column_int(m_statement, numberColumn));
        moveNext();
    }
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

int Recordset::change(const QString& sql, const QVariantList& values) const
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    int status = sqlite3_prepare_v2(m_connection.handle(), text.constData(),
                                    static_cast<int>(text.size()), &statement, nullptr);
    if (status == SQLITE_OK)
        status = bind(statement, values);
    if (status == SQLITE_OK)
        status = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (status != SQLITE_DONE)
        m_connection.fail();
    return sqlite3_changes(m_connection.handle());
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
    QVariantList values;
    for (const auto& [column, value] : std::as_const(m_changes)) {
        columns << column;
        values << value;
    }
    if (m_adding) {
        const QString sql =
            columns.isEmpty()
                ? QStringLiteral("INSERT INTO vardel DEFAULT VALUES")
                : QStringLiteral("INSERT INTO vardel (%1) VALUES (%2)")
                      .arg(columns.join(QLatin1Char(',')),
                           QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
        change(sql, values);
    } else {
        for (QString& column : columns)
            column += QStringLiteral("=?");
        values << value(column(QStringLiteral("id")));
        if (change(QStringLiteral("UPDATE vardel SET %1 WHERE id=?")
                       .arg(columns.join(QLatin1Char(','))),
                   values) != 1) {
            m_eof = true; // the row went away since it was read
            requireCurrentRow();
        }
    }
    m_adding = false;
    m_changes.clear();
}

void Recordset::deleteCurrent()
{
    requireWriteMode();
    requireCurrentRow();
    if (change(QStringLiteral("DELETE FROM vardel WHERE id=?"),
               {value(column(QStringLiteral("id")))}) != 1) {
        m_eof = true;
        requireCurrentRow();
    }
}

} // namespace store
