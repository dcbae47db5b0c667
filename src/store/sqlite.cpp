#include "store/sqlite.h"

#include "store/error.h"

#include <cstdlib>
#include <QFileInfo>
#include <sqlite3.h>

namespace sqlite {

namespace {
// How long a statement waits for another program's lock before it fails.
constexpr int busyTimeoutMs = 2000;

// Pages of SQLite's page cache held in memory of the program's own: as many as the cache of
// one connection holds by default (2,000 KiB) of pages up to 4 KiB, the page size of the
// files vardel-mkdb makes. Every action opens the file anew; without this, each connection
// takes its cache from the C library, which gives it back to the system when the connection
// closes, and the next action faults the same amount of fresh memory in again. Pages of this
// pool that were used once stay in place for the next connection; larger pages, and the
// pages of connections open at the same time beyond the pool, come from the heap as before.
constexpr int pooledPageSize = 4096;
constexpr int pooledPages = 512;

void configureMemory()
{
    // Before SQLite initializes itself, that is before its first use in the process;
    // afterwards it refuses (SQLITE_MISUSE) and keeps its defaults.
    int header = 0;
    if (sqlite3_config(SQLITE_CONFIG_PCACHE_HDRSZ, &header) != SQLITE_OK)
        return;
    // Statistics of memory use are not read; without them an allocation takes no lock.
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    const int slot = (pooledPageSize + header + 7) / 8 * 8;
    // Never freed: SQLite may use it until the process ends. Its pages are mapped in as they
    // are first used.
    static void* const pool = std::malloc(static_cast<size_t>(slot) * pooledPages);
    if (pool)
        sqlite3_config(SQLITE_CONFIG_PAGECACHE, pool, slot, pooledPages);
}

// SQLite opens a database only when the name of its journal, the full path with "-journal"
// added, fits the file layer's longest path. Windows' own calls take fewer characters still
// (MAX_PATH, 260 with the closing NUL) than SQLite's layer takes bytes.
constexpr qsizetype journalSuffix = 8;
#ifdef Q_OS_WIN
constexpr qsizetype systemPathLimit = 259 - journalSuffix;
#endif

// Throws PathTooLong when SQLite cannot open a database at `path`.
void checkPathLength(const QString& path)
{
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    if (!vfs)
        return;
    // The full path as SQLite makes it (absolute, links resolved), with room to spare; where
    // SQLite cannot make it (a folder name longer than the system takes) or cuts it to its
    // longest path (Windows), as Qt makes it.
    const QByteArray utf8 = path.toUtf8();
    QByteArray full(4 * (utf8.size() + vfs->mxPathname) + 4096, '\0');
    if (vfs->xFullPathname(vfs, utf8.constData(), static_cast<int>(full.size()), full.data()) !=
            SQLITE_OK ||
        qstrlen(full.constData()) >= static_cast<size_t>(vfs->mxPathname) - 1)
        full = QFileInfo(path).absoluteFilePath().toUtf8();
    const qsizetype bytes = qstrlen(full.constData());
#ifdef Q_OS_WIN
    const qsizetype characters = QString::fromUtf8(full.constData(), bytes).size();
    if (characters > systemPathLimit)
        throw store::Error::pathTooLong(path, characters, systemPathLimit, true);
#endif
    const qsizetype byteLimit = vfs->mxPathname - journalSuffix;
    if (bytes > byteLimit)
        throw store::Error::pathTooLong(path, bytes, byteLimit, false);
}
} // namespace

Database::Database(const QString& path, Open how) : m_path(path)
{
    static const bool configured = (configureMemory(), true);
    Q_UNUSED(configured);
    // After the memory is set up: finding the full path starts SQLite. Each action opens the
    // same file again; its path is measured once (resolving it asks the system about each of
    // its folders).
    thread_local QString measuredPath;
    if (path != measuredPath) {
        checkPathLength(path);
        measuredPath = path;
    }
    // Each connection serves one thread: SQLite's own locking of it is not needed.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (how == Open::CreateOrExisting)
        flags |= SQLITE_OPEN_CREATE;
    const int status = sqlite3_open_v2(path.toUtf8().constData(), &m_handle, flags, nullptr);
    if (status != SQLITE_OK) {
        // SQLite would create a missing file only when asked to; here it is reported.
        if (how == Open::Existing && !QFileInfo::exists(path)) {
            sqlite3_close(m_handle);
            throw store::Error(store::Error::Kind::FileMissing, path);
        }
        const store::Error error = store::Error::fromSqlite(
            path, status, m_handle ? QString::fromUtf8(sqlite3_errmsg(m_handle)) : QString());
        sqlite3_close(m_handle);
        throw error;
    }
    sqlite3_extended_result_codes(m_handle, 1);
    sqlite3_busy_timeout(m_handle, busyTimeoutMs);
}

Database::~Database()
{
    sqlite3_close(m_handle);
}

void Database::exec(const char* sql)
{
    if (sqlite3_exec(m_handle, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail();
}

int Database::changes() const
{
    return sqlite3_changes(m_handle);
}

qint64 Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_handle);
}

void Database::fail() const
{
    throw store::Error::fromSqlite(m_path, sqlite3_extended_errcode(m_handle),
                                   QString::fromUtf8(sqlite3_errmsg(m_handle)));
}

Statement::Statement(Database& db, QStringView sql) : m_db(db)
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db.handle(), utf8.constData(), static_cast<int>(utf8.size()),
                           &m_statement, nullptr) != SQLITE_OK)
        db.fail();
}

Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

void Statement::check(int status)
{
    if (status != SQLITE_OK)
        m_db.fail();
}

Statement& Statement::bind(int parameter, qint64 value)
{
    check(sqlite3_bind_int64(m_statement, parameter, value));
    return *this;
}

Statement& Statement::bind(int parameter, QStringView text)
{
    const QByteArray utf8 = text.toUtf8();
    check(sqlite3_bind_text64(m_statement, parameter, utf8.constData(),
                              static_cast<sqlite3_uint64>(utf8.size()), SQLITE_TRANSIENT,
                              SQLITE_UTF8));
    return *this;
}

Statement& Statement::bindBlob(int parameter, QByteArrayView bytes)
{
    // A zero-length blob, not NULL, for an empty view.
    static const char empty = 0;
    check(sqlite3_bind_blob64(m_statement, parameter, bytes.empty() ? &empty : bytes.data(),
                              static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT));
    return *this;
}

Statement& Statement::bind(int parameter, const sqlite3_value* value)
{
    check(sqlite3_bind_value(m_statement, parameter, value));
    return *this;
}

Statement& Statement::bindNull(int parameter)
{
    check(sqlite3_bind_null(m_statement, parameter));
    return *this;
}

bool Statement::step()
{
    switch (sqlite3_step(m_statement)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        return false;
    default:
        m_db.fail();
    }
}

void Statement::run()
{
    while (step()) {
    }
}

void Statement::reset()
{
    sqlite3_reset(m_statement);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(integer(column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, column));
    case SQLITE_BLOB:
        return QVariant(bytes(column).toByteArray());
    case SQLITE_NULL:
        return {};
    default:
        return text(column);
    }
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QByteArrayView Statement::bytes(int column) const
{
    // For text, the blob accessor hands out the stored UTF-8 bytes unconverted.
    const void* data = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    return data ? QByteArrayView(static_cast<const char*>(data), size) : QByteArrayView();
}

QString Statement::text(int column) const
{
    const QByteArrayView utf8 = bytes(column);
    return QString::fromUtf8(utf8.data(), utf8.size());
}

sqlite3_value* Statement::copyValue(int column) const
{
    return sqlite3_value_dup(sqlite3_column_value(m_statement, column));
}

} // namespace sqlite
