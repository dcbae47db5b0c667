#include "testsupport.h"

#include "store/error.h"
#include "store/sqlite.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QTest>
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

// Runs `sql` with `values` on the file at `path`, handing each row to `row`.
template <typename Row>
void run(const QString& path, const QString& sql, const QVariantList& values, Row row)
{
    try {
        sqlite::Database db(path, sqlite::Database::Open::Existing);
        sqlite::Statement statement(db, sql);
        for (int i = 0; i < values.size(); ++i) {
            const QVariant& value = values[i];
            if (value.isNull())
                statement.bindNull(i + 1);
            else if (value.typeId() == QMetaType::QByteArray)
                statement.bindBlob(i + 1, value.toByteArray());
            else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
                statement.bind(i + 1, value.toLongLong());
            else
                statement.bind(i + 1, value.toString());
        }
        while (statement.step())
            row(statement);
    } catch (const store::Error& error) {
        qFatal("%s: %s", qPrintable(sql), error.what());
    }
}

} // namespace

QList<QVariantList> AppFolder::query(const QString& sql, const QVariantList& values) const
{
    QList<QVariantList> rows;
    run(dbPath(), sql, values, [&rows](const sqlite::Statement& statement) {
        QVariantList row;
        for (int i = 0; i < statement.columnCount(); ++i)
            row << statement.value(i);
        rows << row;
    });
    return rows;
}

void AppFolder::exec(const QString& sql, const QVariantList& values) const
{
    if (!values.isEmpty())
        return run(dbPath(), sql, values, [](const sqlite::Statement&) {});
    // Without values, `sql` may hold several statements.
    try {
        sqlite::Database(dbPath(), sqlite::Database::Open::Existing).exec(sql.toUtf8().constData());
    } catch (const store::Error& error) {
        qFatal("%s: %s", qPrintable(sql), error.what());
    }
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
