#include "store/connectionstring.h"

namespace store {

QString buildConnectionString(const QString& appFolder)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + appFolder +
           QStringLiteral("/db.mdb;Persist Security Info=False;");
}

QString dataSource(const QString& connectionString)
{
    // Entries are "key=value" separated by ';'. The folder may itself hold ';', so the value
    // runs up to the last ';' before the next known key, or to the end.
    static const QString key = QStringLiteral("Data Source=");
    const qsizetype start = connectionString.indexOf(key, 0, Qt::CaseInsensitive);
    if (start < 0)
        return {};
    const qsizetype from = start + key.size();
    static const QString next = QStringLiteral(";Persist Security Info=");
    qsizetype end = connectionString.indexOf(next, from, Qt::CaseInsensitive);
    if (end < 0)
        end = connectionString.indexOf(QLatin1Char(';'), from);
    if (end < 0)
        end = connectionString.size();
    return connectionString.mid(from, end - from);
}

} // namespace store
