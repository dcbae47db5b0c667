#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace dbfile {

struct Entry
{
    QString name;
    QString meaning;
    QVariant gender; // "m", "f", another text or null
};

// How the table is laid out: with the order keys Vardel reads its lists from, or plain, with
// the four columns alone, as another program may have made it.
enum class Layout
{
    OrderKeys,
    Plain
};

// Creates a new db.mdb at `path` holding the table vardel with `entries`, in order.
// Fails (returns false, with `error` set) when the file already exists.
bool create(const QString& path, const QList<Entry>& entries, QString* error = nullptr,
            Layout layout = Layout::OrderKeys);

// Reads a starter list: UTF-8 lines "name<TAB>meaning<TAB>gender"; '#' starts a comment line.
bool readList(const QString& path, QList<Entry>* entries, QString* error);

} // namespace dbfile
