#pragma once

#include "store/namelist.h"

#include <memory>
#include <optional>
#include <QString>

namespace store {

struct StoredColumns;
struct Query;

// The gender column: "m" and "f"; anything else (another program may write it) is Other.
enum class Gender
{
    Male,
    Female,
    Other
};

// Which names a list holds by gender.
enum class GenderFilter
{
    Male,
    Female,
    All
};

// Where a search looks for its text: at the beginning of names, of meanings, or of either.
enum class SearchIn
{
    Names,
    Meanings,
    NamesAndMeanings
};

// One row of the name table as read.
struct NameRecord
{
    NameId id = 0;
    // The name exactly as stored (a NULL name as no bytes): what a list entry of the row holds.
    QByteArray storedName;
    QString name;    // a NULL name reads as empty
    QString meaning; // likewise
    Gender gender = Gender::Other;
    // The row's columns exactly as they were stored when read: a change checks that the row
    // still holds them before it writes.
    std::shared_ptr<const StoredColumns> stored;
};

// What an edit changes: only the fields given are written; the others stay exactly as stored.
struct NameChange
{
    std::optional<QString> name;
    std::optional<QString> meaning;
    std::optional<Gender> gender; // Male or Female
};

// What a NameStore remembers of the last table that passed its check: the file's schema, and
// whether the table keeps order keys.
struct CheckedTable
{
    QByteArray schema;
    bool hasOrderKeys = false;
};

// The names in db.mdb. Every operation opens the file, does its work in one statement and
// closes the file again, so a file that another program replaces or removes is seen at the
// next operation. The table is checked at each opening; the check is done again only when the
// file's schema differs from the one that passed last. Failures throw store::Error.
//
// Lists come out in Persian alphabetical order. Searches match the beginning of a name or
// meaning, the typed and the stored text folded alike (persian::fold). A NULL name or meaning
// counts as empty text everywhere.
class NameStore
{
public:
    explicit NameStore(QString databasePath);

    const QString& path() const { return m_path; }

    // Opens the file and checks that it holds a usable name table.
    void check() const;

    // Each list is read into `reuse`, emptied first: a caller that hands back the list a new
    // one replaces keeps its storage, and lists no longer than the largest so far then take
    // no new memory.
    NameList list(GenderFilter filter, NameList reuse = {}) const;
    NameList search(SearchIn where, const QString& text, NameList reuse = {}) const;
    NameList namesBeginningWith(const QString& text, NameList reuse = {}) const;

    // The row with `id`, if it is still the listed entry whose stored name is `storedName`.
    std::optional<NameRecord> find(NameId id, QByteArrayView storedName) const;

    // Adds a row and returns its id. Without a gender the column keeps its default.
    NameId add(const QString& name, const QString& meaning, std::optional<Gender> gender) const;
    // Writes `change` into the row `loaded` was read from, provided the row still holds what
    // was read, and returns the row as it is now stored. Otherwise writes nothing and throws
    // Error::Kind::RowChanged, or RowGone when no row has that id and name any more.
    NameRecord update(const NameRecord& loaded, const NameChange& change) const;
    // Removes the row `read` was read from, provided it still holds exactly what was read
    // (name, meaning and gender, byte for byte). Otherwise removes nothing and throws
    // Error::Kind::RowChanged, or RowGone when no row has that id and name any more.
    void remove(const NameRecord& read) const;

private:
    NameList fill(const Query& query, NameList names) const;

    QString m_path;
    mutable CheckedTable m_checked;
    // The largest list so far: the next one reserves room for as many.
    mutable qsizetype m_largestCount = 0;
    mutable qsizetype m_largestBytes = 0;
};

} // namespace store
