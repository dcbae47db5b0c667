// Lists a names file the way Vardel lists it and writes the lists to a file, so that builds for
// different platforms can be compared line by line (tests/store/listorder.cmake):
//   store_listorder NAMES.tsv OUTPUT.txt
// The names go into a db.mdb in each file layout; for each layout the output holds the lists
// by gender and the results of a few searches, one name a line, in the order they are listed.
#include "dbfile.h"
#include "store/namestore.h"

#include <cstdio>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace store;

namespace {

void writeList(QFile& out, const QString& title, const NameList& list)
{
    out.write("== " + title.toUtf8() + '\n');
    for (qsizetype row = 0; row < list.size(); ++row)
        out.write(list.name(row).toUtf8() + '\n');
}

void writeLists(QFile& out, const QString& layoutName, const NameStore& db)
{
    const QString prefix = layoutName + QStringLiteral(": ");
    writeList(out, prefix + QStringLiteral("all"), db.list(GenderFilter::All));
    writeList(out, prefix + QStringLiteral("male"), db.list(GenderFilter::Male));
    writeList(out, prefix + QStringLiteral("female"), db.list(GenderFilter::Female));
    // Typed text in both the Persian and the Arabic forms of its letters.
    for (const char16_t* typed : {u"ا", u"آ", u"م", u"مه", u"مح", u"ی", u"ي", u"ک", u"ك", u"ع"}) {
        const QString text = QString::fromUtf16(typed);
        writeList(out, prefix + QStringLiteral("beginning with ") + text,
                  db.namesBeginningWith(text));
    }
    const QString stoudeh = QStringLiteral("ستوده");
    writeList(out, prefix + QStringLiteral("names ") + stoudeh,
              db.search(SearchIn::Names, stoudeh));
    writeList(out, prefix + QStringLiteral("meanings ") + stoudeh,
              db.search(SearchIn::Meanings, stoudeh));
    const QString ma = QStringLiteral("ما");
    writeList(out, prefix + QStringLiteral("names and meanings ") + ma,
              db.search(SearchIn::NamesAndMeanings, ma));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: store_listorder NAMES.tsv OUTPUT.txt\n");
        return 2;
    }
    QList<dbfile::Entry> entries;
    QString error;
    if (!dbfile::readList(args[1], &entries, &error)) {
        std::fprintf(stderr, "store_listorder: %s\n", qPrintable(error));
        return 1;
    }
    QFile out(args[2]);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "store_listorder: %s: %s\n", qPrintable(args[2]),
                     qPrintable(out.errorString()));
        return 1;
    }
    QTemporaryDir folder;
    for (const auto& [layout, layoutName] :
         {std::pair{dbfile::Layout::OrderKeys, QStringLiteral("order keys")},
          std::pair{dbfile::Layout::Plain, QStringLiteral("plain")}}) {
        const QString path = folder.filePath(layoutName + QStringLiteral(".mdb"));
        if (!folder.isValid() || !dbfile::create(path, entries, &error, layout)) {
            std::fprintf(stderr, "store_listorder: %s\n", qPrintable(error));
            return 1;
        }
        try {
            writeLists(out, layoutName, NameStore(path));
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "store_listorder: %s\n", failure.what());
            return 1;
        }
    }
    return out.flush() ? 0 : 1;
}
