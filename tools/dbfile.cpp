#include "dbfile.h"

#include "store/orderkey.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace dbfile {

namespace {

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

bool write(QSqlDatabase& db, const QList<Entry>& entries, QString* error, Layout layout)
{
    QSqlQuery query(db);
    const QStringList schema =
        layout == Layout::OrderKeys
            ? store::orderkey::schema()
            : QStringList{QStringLiteral("CREATE TABLE vardel ("
                                         "id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                         "p_name TEXT, means TEXT, gender TEXT)")};
    for (const QString& statement : schema) {
        if (!query.exec(statement))
            return fail(error, query.lastError().text());
    }
    if (!db.transaction())
        return fail(error, db.lastError().text());
    if (!query.prepare(
            QStringLiteral("INSERT INTO vardel (p_name, means, gender) VALUES (?, ?, ?)")))
        return fail(error, query.lastError().text());
    for (const Entry& entry : entries) {
        query.addBindValue(entry.name);
        query.addBindValue(entry.meaning);
        query.addBindValue(entry.gender);
        if (!query.exec())
            return fail(error, query.lastError().text());
    }
    if (!db.commit())
        return fail(error, db.lastError().text());
    return true;
}

} // namespace

bool create(const QString& path, const QList<Entry>& entries, QString* error, Layout layout)
{
    if (QFileInfo::exists(path))
        return fail(error, QStringLiteral("%1 already exists").arg(path));
    const QString name = QStringLiteral("dbfile-create");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open() ? write(db, entries, error, layout) : fail(error, db.lastError().text());
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok)
        QFile::remove(path);
    return ok;
}

bool readList(const QString& path, QList<Entry>* entries, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(file.readLine()).chopped(0).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 3)
            return fail(error, QStringLiteral("%1:%2: expected name, meaning and gender "
                                              "separated by tabs")
                                   .arg(path)
                                   .arg(lineNumber));
        entries->append({fields[0], fields[1], fields[2]});
    }
    return true;
}

} // namespace dbfile
