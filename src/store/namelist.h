#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <string>
#include <vector>

namespace store {

// The id of a row of the name table: SQLite's 64-bit rowid.
using NameId = qint64;

// An entry of a list, as the commands that act on it need it: its row's id and its name as
// stored when the list was read, which the row must still hold.
struct ListedName
{
    NameId id = 0;
    QByteArray storedName;
};

// The entries of one list as they were read: each row's id and its name exactly as stored,
// the names one after another in one buffer (a list of tens of thousands of names costs one
// allocation, and text is made only for the entries shown). Every change goes through the
// members below, which keep entries and buffer in step.
class NameList
{
public:
    qsizetype size() const { return static_cast<qsizetype>(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }

    NameId id(qsizetype row) const { return m_entries.at(static_cast<size_t>(row)).id; }
    // The name as stored in the table: the bytes a later change checks the row against.
    QByteArrayView storedName(qsizetype row) const;
    // The name as text; bytes that are not UTF-8 read as U+FFFD.
    QString name(qsizetype row) const;

    void reserve(qsizetype count, qsizetype bytes);
    // Empties the list but keeps its storage, so that a list filled again in its place takes
    // no new memory while it is no longer than before.
    void clear();
    void append(NameId id, QByteArrayView storedName);
    // The entry now holds `storedName` (the row was renamed).
    void rename(qsizetype row, QByteArrayView storedName);
    void remove(qsizetype row);

    qsizetype byteSize() const { return static_cast<qsizetype>(m_bytes.size()); }

private:
    struct Entry
    {
        NameId id;
        size_t offset;
        size_t length;
    };
    std::string m_bytes;
    std::vector<Entry> m_entries;
};

} // namespace store
