// Builds a db.mdb from a starter list of names. An existing db.mdb is never touched.
#include "dbfile.h"

#include <cstdio>
#include <QCoreApplication>
#include <QFileInfo>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: vardel-mkdb NAMES.tsv DB.mdb\n");
        return 2;
    }
    const QString& list = args[1];
    const QString& target = args[2];
    if (QFileInfo::exists(target)) {
        std::printf("%s exists; left unchanged\n", qPrintable(target));
        return 0;
    }
    QList<dbfile::Entry> entries;
    QString error;
    if (!dbfile::readList(list, &entries, &error) || !dbfile::create(target, entries, &error)) {
        std::fprintf(stderr, "vardel-mkdb: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s: %lld names\n", qPrintable(target), static_cast<long long>(entries.size()));
    return 0;
}
