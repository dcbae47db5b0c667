#include "store/userdata.h"

#include "store/error.h"

#include <cerrno>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace store {

namespace {

QString userDataHome()
{
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG base directory rules say.
    QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

// Copies `starter` to `target` through a temporary file beside it, renamed into place once
// complete and on disk. A db.mdb that appeared meanwhile (another copy of the program
// starting) is kept.
void copyStarter(const QString& starter, const QString& target)
{
    if (!QFileInfo::exists(starter))
        throw Error(Error::Kind::FileMissing, starter);
    // Qt's own error texts can lose the reason a buffered write failed; the system's stays.
    const auto fail = [&target] {
        throw Error(Error::Kind::NoUserCopy, target, qt_error_string(errno));
    };
    QFile source(starter);
    if (!source.open(QIODevice::ReadOnly) || !QDir().mkpath(QFileInfo(target).path()))
        fail();
    QTemporaryFile copy(target + QStringLiteral(".XXXXXX"));
    if (!copy.open())
        fail();
    constexpr qint64 chunk = 1 << 20;
    while (!source.atEnd()) {
        const QByteArray bytes = source.read(chunk);
        if (bytes.isEmpty() || copy.write(bytes) != bytes.size() || !copy.flush())
            fail();
    }
#ifdef Q_OS_UNIX
    if (::fsync(copy.handle()) != 0)
        fail();
#endif
    // Never over an existing file; once renamed, the file is no longer temporary.
    if (copy.rename(target))
        copy.setAutoRemove(false);
    else if (!QFileInfo::exists(target))
        fail();
}

} // namespace

QString databaseFolder(const QString& appFolder)
{
    if (!QFileInfo::exists(appFolder + QLatin1Char('/') + QLatin1String(systemWideMarker)))
        return appFolder;
    QString folder = userDataHome() + QStringLiteral("/vardel");
    const QString db = folder + QStringLiteral("/db.mdb");
    if (!QFileInfo::exists(db))
        copyStarter(appFolder + QStringLiteral("/db.mdb"), db);
    return folder;
}

} // namespace store
