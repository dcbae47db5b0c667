#include "store/namelist.h"

namespace store {

QByteArrayView NameList::storedName(qsizetype row) const
{
    const Entry& entry = m_entries.at(static_cast<size_t>(row));
    return {m_bytes.data() + entry.offset, static_cast<qsizetype>(entry.length)};
}

QString NameList::name(qsizetype row) const
{
    const QByteArrayView bytes = storedName(row);
    return QString::fromUtf8(bytes.data(), bytes.size());
}

void NameList::reserve(qsizetype count, qsizetype bytes)
{
    m_entries.reserve(static_cast<size_t>(count));
    m_bytes.reserve(static_cast<size_t>(bytes));
}

void NameList::clear()
{
    m_entries.clear();
    m_bytes.clear();
}

void NameList::append(NameId id, QByteArrayView storedName)
{
    m_entries.push_back({id, m_bytes.size(), static_cast<size_t>(storedName.size())});
    m_bytes.append(storedName.data(), static_cast<size_t>(storedName.size()));
}

void NameList::rename(qsizetype row, QByteArrayView storedName)
{
    // The old bytes stay unused in the buffer until the next fill replaces the whole list.
    Entry& entry = m_entries.at(static_cast<size_t>(row));
    entry.offset = m_bytes.size();
    entry.length = static_cast<size_t>(storedName.size());
    m_bytes.append(storedName.data(), static_cast<size_t>(storedName.size()));
}

void NameList::remove(qsizetype row)
{
    m_entries.erase(m_entries.begin() + row);
}

} // namespace store
