#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QUuid>
#include <QWidget>

namespace testsupport {

AppFolder::AppFolder(const QList<dbfile::Entry>& entries, dbfile::Layout layout)
{
    QString error;
    if (!dbfile::create(dbPath(), entries, &error, layout))
        qFatal("cannot create test database: %s", qPrintable(error));
    for (const char* picture : {"man.jpg", "Female.jpg"})
        QFile::copy(QStringLiteral(VARDEL_ASSETS "/") + QLatin1String(picture),
                    m_dir.filePath(QLatin1String(picture)));
}

namespace {

template <typename Work> auto withDatabase(const QString& path, Work work)
{
    const QString name = QUuid::createUuid().toString();
    struct Remove
    {
        QString name;
        ~Remove() { QSqlDatabase::removeDatabase(name); }
    } remove{name};
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    if (!db.open())
        qFatal("cannot open %s", qPrintable(path));
    QSqlQuery query(db);
    return work(query);
}

void run(QSqlQuery& query, const QString& sql, const QVariantList& values)
{
    if (!query.prepare(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
}

} // namespace

QList<QVariantList> AppFolder::query(const QString& sql, const QVariantList& values) const
{
    return withDatabase(dbPath(), [&](QSqlQuery& query) {
        run(query, sql, values);
        QList<QVariantList> rows;
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << query.value(i);
            rows << row;
        }
        return rows;
    });
}

void AppFolder::exec(const QString& sql, const QVariantList& values) const
{
    withDatabase(dbPath(), [&](QSqlQuery& query) {
        run(query, sql, values);
        return 0;
    });
}

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

QList<dbfile::Entry> realNames(int count)
{
    QList<dbfile::Entry> names;
    QFile file(qEnvironmentVariable("VARDEL_NAMES_DATA") + QStringLiteral("/names.json"));
    if (file.open(QIODevice::ReadOnly)) {
        const QJsonObject all = QJsonDocument::fromJson(file.readAll()).object();
        for (auto it = all.begin(); it != all.end() && names.size() < count; ++it) {
            const QString gender = it.value().toObject().value(QStringLiteral("gender")).toString();
            if (gender != QStringLiteral("MALE") && gender != QStringLiteral("FEMALE"))
                continue;
            names.append(
                {it.key(), QString(),
                 gender == QStringLiteral("MALE") ? QStringLiteral("m") : QStringLiteral("f")});
        }
    }
    // Generated names: a Persian first letter and syllables, so that ordering and prefixes
    // stay realistic when the shared data is missing.
    static const QString letters = QStringLiteral("آابپتثجچحخدذرزژسشصضطظعغفقکگلمنوهی");
    for (int i = 0; names.size() < count; ++i) {
        QString name;
        for (int n = i, k = 0; k < 5; ++k, n = static_cast<int>(n / letters.size()) + 7 * k)
            name += letters.at(n % letters.size());
        names.append({name, QString(), i % 2 ? QStringLiteral("f") : QStringLiteral("m")});
    }
    return names;
}

} // namespace testsupport
