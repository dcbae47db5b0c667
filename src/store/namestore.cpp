#include "store/namestore.h"

#include "store/error.h"
#include "store/persian.h"
#include "store/sqlite.h"
#include "store/statements.h"

#include <sqlite3.h>

namespace store {

// A row's three columns as stored, kept past the statement that read them.
struct StoredColumns
{
    sqlite3_value* name = nullptr;
    sqlite3_value* meaning = nullptr;
    sqlite3_value* gender = nullptr;

    StoredColumns() = default;
    StoredColumns(const StoredColumns&) = delete;
    StoredColumns& operator=(const StoredColumns&) = delete;
    ~StoredColumns()
    {
        sqlite3_value_free(name);
        sqlite3_value_free(meaning);
        sqlite3_value_free(gender);
    }
};

namespace {

const QString male = QStringLiteral("m");
const QString female = QStringLiteral("f");

QString genderCode(Gender gender)
{
    return gender == Gender::Female ? female : male;
}

Gender genderOf(const QString& code)
{
    if (code == male)
        return Gender::Male;
    if (code == female)
        return Gender::Female;
    return Gender::Other;
}

// The same name in both: its stored bytes, where a NULL name counts as empty.
const QString sameStoredName = QStringLiteral("coalesce(CAST(p_name AS BLOB), x'') = ?");

// The schema as SQLite keeps it in the file: every table, index and trigger with its SQL.
QByteArray schemaOf(sqlite::Database& db)
{
    sqlite::Statement rows(db, u"SELECT type, name, tbl_name, sql FROM sqlite_schema");
    QByteArray schema;
    while (rows.step())
        for (int column = 0; column < 4; ++column)
            schema.append(rows.bytes(column)).append('\0');
    return schema;
}

// db.mdb, opened for one operation: Persian order and folding registered on the connection,
// and the table checked.
class Connection : public sqlite::Database
{
public:
    // `checked` is the table that passed last; the check is done again only for another schema.
    Connection(const QString& path, CheckedTable& checked) : Database(path, Open::Existing)
    {
        // Persian order and folding live in the connection, never in the file.
        if (!persian::registerOn(handle()))
            fail();
        // What the check finds follows from the schema alone.
        const QByteArray schema = schemaOf(*this);
        if (!schema.isEmpty() && schema == checked.schema) {
            m_hasOrderKeys = checked.hasOrderKeys;
            return;
        }
        checkTable(path);
        // Kept only when no other program changed the schema during the check.
        checked = schemaOf(*this) == schema ? CheckedTable{schema, m_hasOrderKeys} : CheckedTable{};
    }

    // Whether the file keeps order keys (see orderkey.h).
    bool hasOrderKeys() const { return m_hasOrderKeys; }

private:
    // The table must have its name columns and an id that is SQLite's rowid (INTEGER PRIMARY
    // KEY, without DESC, in a table with rowids): only then does every added row get its own id.
    void checkTable(const QString& path)
    {
        sqlite::Statement table(
            *this, u"SELECT "
                   "(SELECT count(*) FROM pragma_table_info('vardel') WHERE pk > 0),"
                   "(SELECT count(*) FROM pragma_table_info('vardel') WHERE lower(name) = 'id'"
                   " AND pk = 1 AND upper(type) = 'INTEGER'),"
                   "(SELECT count(*) FROM pragma_index_list('vardel') WHERE origin = 'pk'),"
                   "(SELECT count(*) FROM pragma_table_info('vardel')"
                   " WHERE lower(name) IN ('p_name', 'means', 'gender')),"
                   "(SELECT count(*) FROM pragma_table_xinfo('vardel') WHERE lower(name) = "
                   "'p_order')");
        table.step();
        if (table.integer(0) != 1 || table.integer(1) != 1 || table.integer(2) != 0 ||
            table.integer(3) != 3)
            throw Error(Error::Kind::TableUnusable, path);
        m_hasOrderKeys = table.integer(4) == 1;
    }

    bool m_hasOrderKeys = false;
};

void bindAll(sqlite::Statement& statement, const QStringList& values, int first = 1)
{
    for (const QString& value : values)
        statement.bind(first++, value);
}

// The columns a record is read from, in this order.
const QString rowColumns = QStringLiteral("p_name, means, gender");

// The row still holds exactly what was read: the same id, and each column the same value
// of the same type, byte for byte.
const QString stillAsRead =
    QStringLiteral(" WHERE id = ? AND p_name IS ? AND means IS ? AND gender IS ?");

// Binds what `read` was read from to the four parameters of stillAsRead, from `first` on.
void bindAsRead(sqlite::Statement& statement, int first, const NameRecord& read)
{
    statement.bind(first, read.id);
    statement.bind(first + 1, read.stored->name);
    statement.bind(first + 2, read.stored->meaning);
    statement.bind(first + 3, read.stored->gender);
}

// The record of the row `id` whose rowColumns `row` is on.
NameRecord recordOf(const sqlite::Statement& row, NameId id, const QString& path)
{
    auto stored = std::make_shared<StoredColumns>();
    stored->name = row.copyValue(0);
    stored->meaning = row.copyValue(1);
    stored->gender = row.copyValue(2);
    if (!stored->name || !stored->meaning || !stored->gender)
        throw Error(Error::Kind::Other, path, QStringLiteral("out of memory"), SQLITE_NOMEM);
    return NameRecord{id,          row.bytes(0).toByteArray(), row.text(0),
                      row.text(1), genderOf(row.text(2)),      std::move(stored)};
}

// A change needs the columns of the row as it was read, to check that it still holds them.
void requireRead(const NameRecord& record, const QString& path)
{
    if (!record.stored)
        throw Error(Error::Kind::Other, path, QStringLiteral("the row was never read"));
}

// A write found the row `read` came from not as read: tells whether it changed or went.
[[noreturn]] void notAsRead(sqlite::Database& db, const NameRecord& read)
{
    sqlite::Statement row(db, QStringLiteral("SELECT 1 FROM vardel WHERE id = ? AND ") +
                                  sameStoredName);
    row.bind(1, read.id).bindBlob(2, read.storedName);
    throw Error(row.step() ? Error::Kind::RowChanged : Error::Kind::RowGone, db.path());
}

} // namespace

NameStore::NameStore(QString databasePath) : m_path(std::move(databasePath)) {}

void NameStore::check() const
{
    Connection connection(m_path, m_checked);
}

NameList NameStore::fill(const Query& query, NameList names) const
{
    Connection connection(m_path, m_checked);
    if (query.patternBytes >
        sqlite3_limit(connection.handle(), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1))
        throw Error(Error::Kind::SearchTooLong, m_path);
    const bool keyed = connection.hasOrderKeys();
    sqlite::Statement statement(connection, keyed ? query.keyedSql : query.sql);
    names.clear();
    names.reserve(m_largestCount, m_largestBytes);
    for (const QStringList& values : keyed ? query.keyedRuns : QList<QStringList>{query.values}) {
        bindAll(statement, values);
        while (statement.step())
            names.append(statement.integer(0), statement.bytes(1));
        statement.reset();
    }
    m_largestCount = std::max(m_largestCount, names.size());
    m_largestBytes = std::max(m_largestBytes, names.byteSize());
    return names;
}

NameList NameStore::list(GenderFilter filter, NameList reuse) const
{
    return fill(genderQuery(filter), std::move(reuse));
}

NameList NameStore::search(SearchIn where, const QString& text, NameList reuse) const
{
    return fill(searchQuery(where, text), std::move(reuse));
}

NameList NameStore::namesBeginningWith(const QString& text, NameList reuse) const
{
    return fill(namePrefixQuery(text), std::move(reuse));
}

std::optional<NameRecord> NameStore::find(NameId id, QByteArrayView storedName) const
{
    Connection connection(m_path, m_checked);
    sqlite::Statement row(connection, QStringLiteral("SELECT ") + rowColumns +
                                          QStringLiteral(" FROM vardel WHERE id = ? AND ") +
                                          sameStoredName);
    row.bind(1, id).bindBlob(2, storedName);
    if (!row.step())
        return std::nullopt;
    return recordOf(row, id, m_path);
}

NameId NameStore::add(const QString& name, const QString& meaning,
                      std::optional<Gender> gender) const
{
    Connection connection(m_path, m_checked);
    sqlite::Statement insert(connection,
                             gender ? u"INSERT INTO vardel (p_name, means, gender) VALUES (?, ?, ?)"
                                    : u"INSERT INTO vardel (p_name, means) VALUES (?, ?)");
    insert.bind(1, name).bind(2, meaning);
    if (gender)
        insert.bind(3, genderCode(*gender));
    insert.run();
    return connection.lastInsertId();
}

NameRecord NameStore::update(const NameRecord& loaded, const NameChange& change) const
{
    requireRead(loaded, m_path);
    QStringList columns;
    QStringList values;
    if (change.name) {
        columns << QStringLiteral("p_name = ?");
        values << *change.name;
    }
    if (change.meaning) {
        columns << QStringLiteral("means = ?");
        values << *change.meaning;
    }
    if (change.gender) {
        columns << QStringLiteral("gender = ?");
        values << genderCode(*change.gender);
    }
    Connection connection(m_path, m_checked);
    // One statement checks, writes and reads back what it wrote, so that no other writer can
    // come in between.
    const QString sql =
        columns.isEmpty()
            ? QStringLiteral("SELECT ") + rowColumns + QStringLiteral(" FROM vardel") + stillAsRead
            : QStringLiteral("UPDATE vardel SET ") + columns.join(QStringLiteral(", ")) +
                  stillAsRead + QStringLiteral(" RETURNING ") + rowColumns;
    sqlite::Statement statement(connection, sql);
    bindAll(statement, values);
    bindAsRead(statement, static_cast<int>(values.size()) + 1, loaded);
    if (!statement.step())
        notAsRead(connection, loaded);
    NameRecord written = recordOf(statement, loaded.id, m_path);
    // RETURNING hands out its rows before the change is done: see it through.
    statement.run();
    return written;
}

void NameStore::remove(const NameRecord& read) const
{
    requireRead(read, m_path);
    Connection connection(m_path, m_checked);
    sqlite::Statement statement(connection, QStringLiteral("DELETE FROM vardel") + stillAsRead);
    bindAsRead(statement, 1, read);
    statement.run();
    if (connection.changes() != 1)
        notAsRead(connection, read);
}

} // namespace store
