#pragma once

#include "dbfile.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

class QWidget;

namespace testsupport {

// A temporary application folder: db.mdb holding `entries` (ids 1, 2, ... in order) and the
// two gender pictures.
class AppFolder
{
public:
    explicit AppFolder(const QList<dbfile::Entry>& entries = {},
                       dbfile::Layout layout = dbfile::Layout::OrderKeys);

    QString path() const { return m_dir.path(); }
    QString dbPath() const { return m_dir.filePath(QStringLiteral("db.mdb")); }

    // Runs `sql` on db.mdb directly, away from the program, and returns its rows.
    QList<QVariantList> query(const QString& sql, const QVariantList& values = {}) const;
    // Runs a changing statement on db.mdb directly, as another program would; without
    // values, `sql` may hold several statements.
    void exec(const QString& sql, const QVariantList& values = {}) const;

private:
    QTemporaryDir m_dir;
};

// Types `text` into `widget` as a user would: one key event per character, carrying the
// character (QTest::keyClicks cannot send non-Latin text).
void typeText(QWidget* widget, const QString& text);

// Real Persian names with genders ("m"/"f") from the shared names data, or generated ones
// when that data is not there. At most `count` names.
QList<dbfile::Entry> realNames(int count);

} // namespace testsupport
