#include "dbfile.h"

#include "store/error.h"
#include "store/orderkey.h"
#include "store/sqlite.h"

#include <QFile>
#include <QFileInfo>

namespace dbfile {

namespace {

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

void write(sqlite::Database& db, const QList<Entry>& entries, Layout layout)
{
    const QStringList schema =
        layout == Layout::OrderKeys
            ? store::orderkey::schema()
            : QStringList{QStringLiteral("CREATE TABLE vardel ("
                                         "id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                         "p_name TEXT, means TEXT, gender TEXT)")};
    // The table first, its index after the rows: the index's pages then lie in order in the
    // file, and a list read from it reads the file from front to back.
    db.exec(schema.first().toUtf8().constData());
    db.exec("BEGIN");
    sqlite::Statement insert(db, u"INSERT INTO vardel (p_name, means, gender) VALUES (?, ?, ?)");
    for (const Entry& entry : entries) {
        insert.bind(1, entry.name).bind(2, entry.meaning);
        if (entry.gender.isNull())
            insert.bindNull(3);
        else
            insert.bind(3, entry.gender.toString());
        insert.run();
        insert.reset();
    }
    for (const QString& statement : schema.mid(1))
        db.exec(statement.toUtf8().constData());
    db.exec("COMMIT");
}

} // namespace

bool create(const QString& path, const QList<Entry>& entries, QString* error, Layout layout)
{
    if (QFileInfo::exists(path))
        return fail(error, QStringLiteral("%1 already exists").arg(path));
    try {
        sqlite::Database db(path, sqlite::Database::Open::CreateOrExisting);
        write(db, entries, layout);
    } catch (const store::Error& e) {
        QFile::remove(path);
        return fail(error, QStringLiteral("%1: %2").arg(path, e.details()));
    }
    return true;
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
