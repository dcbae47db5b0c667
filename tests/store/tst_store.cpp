#include "listednames.h"
#include "store/connectionstring.h"
#include "store/error.h"
#include "store/namestore.h"
#include "store/sqlite.h"
#include "store/statements.h"
#include "testsupport.h"

#include <future>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>
#include <thread>

using namespace store;
using testsupport::AppFolder;

namespace {

// The row with `id` and `storedName`, which the test has just written or read.
NameRecord found(const NameStore& db, NameId id, QByteArrayView storedName)
{
    std::optional<NameRecord> row = db.find(id, storedName);
    if (!row)
        qFatal("no row %lld is stored as expected", static_cast<long long>(id));
    return *row;
}

// The kind of error `work` throws, if any.
std::optional<Error::Kind> errorKind(const std::function<void()>& work, QString* file = nullptr)
{
    try {
        work();
    } catch (const Error& error) {
        if (file)
            *file = error.file();
        return error.kind();
    }
    return std::nullopt;
}

// A file whose table is made by hand: `columns` as given to CREATE TABLE vardel.
void makeTable(const AppFolder& folder, const QString& columns)
{
    folder.exec(QStringLiteral("DROP TABLE vardel"));
    folder.exec(QStringLiteral("CREATE TABLE vardel (%1)").arg(columns));
}

QVariant single(const AppFolder& folder, const QString& sql)
{
    return folder.query(sql).value(0).value(0);
}

// Another program holds the write lock of `path` for `holdMs`, from a thread of its own. The
// returned future is ready when the lock is taken.
std::thread holdWriteLock(const QString& path, int holdMs, std::promise<void>& taken)
{
    return std::thread([path, holdMs, &taken] {
        sqlite::Database other(path, sqlite::Database::Open::Existing);
        other.exec("BEGIN IMMEDIATE");
        taken.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
        other.exec("COMMIT");
    });
}

} // namespace

class StoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buildsConnectionString_data();
    void buildsConnectionString();
    void likePatternTakesTypedCharactersLiterally();

    void listsAndSearchesInOrder_data();
    void listsAndSearchesInOrder();
    void typedQuotesAndWildcardsAreSafe();
    void nullNamesOnEveryPath_data();
    void nullNamesOnEveryPath();
    void searchTextTooLongForSqlite_data();
    void searchTextTooLongForSqlite();

    void addsUpdatesAndRemovesRows();
    void idsBeyond32Bits();
    void idReusedByAnotherWriterIsNotTouched();
    void untouchedColumnsStayByteForByte();
    void nameThatIsNotUtf8SurvivesAnEdit();
    void pathTooLongForSqliteIsReported();
    void writesWaitForAnotherProgramsLock();
    void lockHeldTooLongFailsWithoutWriting();

    void tableWithoutAutoNumberedId_data();
    void tableWithoutAutoNumberedId();
    void missingFileIsAnErrorAndStaysMissing();
    void foreignFilesAreErrorsNamingTheFile_data();
    void foreignFilesAreErrorsNamingTheFile();

    void nameListKeepsEntriesAndTextInStep();
    void listsReadIntoTheStorageOfEarlierOnes();
};

void StoreTest::buildsConnectionString_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("plain") << QStringLiteral("/opt/vardel");
    QTest::newRow("blanks and Persian") << QStringLiteral("/home/me/برنامه ها/vardel app");
    QTest::newRow("semicolon") << QStringLiteral("/tmp/a;b");
    QTest::newRow("trailing slash kept") << QStringLiteral("/tmp/x/");
}

void StoreTest::buildsConnectionString()
{
    QFETCH(QString, folder);
    const QString value = buildConnectionString(folder);
    QCOMPARE(value, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + folder +
                        QStringLiteral("/db.mdb;Persist Security Info=False;"));
    QCOMPARE(dataSource(value), folder + QStringLiteral("/db.mdb"));
}

void StoreTest::likePatternTakesTypedCharactersLiterally()
{
    QCOMPARE(likePrefixPattern(QString()), QStringLiteral("%"));
    QCOMPARE(likePrefixPattern(QStringLiteral("علی")), QStringLiteral("علی%"));
    QCOMPARE(likePrefixPattern(QStringLiteral("50%_a\\")), QStringLiteral("50\\%\\_a\\\\%"));
    // The typed text never becomes part of the SQL.
    const QString typed = QStringLiteral("x' OR 1=1 --");
    const Query query = searchQuery(SearchIn::NamesAndMeanings, typed);
    QVERIFY(!query.sql.contains(typed) && !query.keyedSql.contains(typed));
}

void StoreTest::listsAndSearchesInOrder_data()
{
    QTest::addColumn<dbfile::Layout>("layout");
    QTest::newRow("order keys") << dbfile::Layout::OrderKeys;
    QTest::newRow("plain") << dbfile::Layout::Plain;
}

void StoreTest::listsAndSearchesInOrder()
{
    QFETCH(dbfile::Layout, layout);
    AppFolder folder(
        {{QStringLiteral("مهسا"), QStringLiteral("ماه مانند"), QStringLiteral("f")},
         {QStringLiteral("ماهان"), QStringLiteral("منسوب به ماه"), QStringLiteral("m")},
         {QStringLiteral("آرش"), QStringLiteral("درخشان"), QStringLiteral("m")},
         {QStringLiteral("نیما"), QStringLiteral("ماه کامل"), QStringLiteral("m")},
         {QStringLiteral("آرش"), QStringLiteral("درخشان"), QStringLiteral("f")}},
        layout);
    const NameStore db(folder.dbPath());
    const QString arash = QStringLiteral("آرش");
    QCOMPARE(names(db.list(GenderFilter::All)),
             (QStringList{arash, arash, QStringLiteral("ماهان"), QStringLiteral("مهسا"),
                          QStringLiteral("نیما")}));
    QCOMPARE(names(db.list(GenderFilter::Female)), (QStringList{arash, QStringLiteral("مهسا")}));
    QCOMPARE(names(db.list(GenderFilter::Male)).size(), 3);

    const QString mah = QStringLiteral("ماه");
    QCOMPARE(names(db.namesBeginningWith(mah)), QStringList{QStringLiteral("ماهان")});
    QCOMPARE(names(db.search(SearchIn::Names, mah)), QStringList{QStringLiteral("ماهان")});
    QCOMPARE(names(db.search(SearchIn::Meanings, mah)),
             (QStringList{QStringLiteral("مهسا"), QStringLiteral("نیما")}));
    QCOMPARE(
        names(db.search(SearchIn::NamesAndMeanings, mah)),
        (QStringList{QStringLiteral("ماهان"), QStringLiteral("مهسا"), QStringLiteral("نیما")}));
    // "خشان" stands inside "درخشان" but not at its start.
    QVERIFY(db.search(SearchIn::NamesAndMeanings, QStringLiteral("خشان")).isEmpty());

    // Every entry carries its own row's id.
    const NameList all = db.list(GenderFilter::All);
    for (qsizetype row = 0; row < all.size(); ++row)
        QCOMPARE(db.find(all.id(row), all.storedName(row))->name, all.name(row));
}

void StoreTest::typedQuotesAndWildcardsAreSafe()
{
    AppFolder folder(
        {{QStringLiteral("O'Neil"), QStringLiteral("it's"), QStringLiteral("m")},
         {QStringLiteral("50%"), QStringLiteral("a_b"), QStringLiteral("f")},
         {QStringLiteral("500"), QStringLiteral("axb"), QStringLiteral("f")},
         {QStringLiteral("\"q\\"), QStringLiteral("back\\slash"), QStringLiteral("f")}});
    const NameStore db(folder.dbPath());
    QCOMPARE(names(db.namesBeginningWith(QStringLiteral("O'"))),
             QStringList{QStringLiteral("O'Neil")});
    QCOMPARE(names(db.search(SearchIn::Meanings, QStringLiteral("it'"))),
             QStringList{QStringLiteral("O'Neil")});
    QCOMPARE(names(db.namesBeginningWith(QStringLiteral("50%"))),
             QStringList{QStringLiteral("50%")});
    QCOMPARE(names(db.search(SearchIn::Meanings, QStringLiteral("a_"))),
             QStringList{QStringLiteral("50%")});
    QCOMPARE(names(db.search(SearchIn::NamesAndMeanings, QStringLiteral("back\\"))),
             QStringList{QStringLiteral("\"q\\")});
    for (const QString& half : {QStringLiteral("'"), QStringLiteral("')"), QStringLiteral("\\"),
                                QStringLiteral("%'--"), QStringLiteral("\"")})
        QVERIFY(db.search(SearchIn::NamesAndMeanings, half).size() <= 1);
}

void StoreTest::nullNamesOnEveryPath_data()
{
    listsAndSearchesInOrder_data();
}

void StoreTest::nullNamesOnEveryPath()
{
    QFETCH(dbfile::Layout, layout);
    AppFolder folder({{QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("m")}}, layout);
    folder.exec(
        QStringLiteral("INSERT INTO vardel (p_name, means, gender) VALUES (NULL, 'y', 'm')"));
    folder.exec(
        QStringLiteral("INSERT INTO vardel (p_name, means, gender) VALUES ('b', NULL, 'f')"));
    const NameStore db(folder.dbPath());
    // A NULL name or meaning is empty text: every way of listing everything lists all three.
    QCOMPARE(names(db.list(GenderFilter::All)),
             (QStringList{QString(), QStringLiteral("a"), QStringLiteral("b")}));
    QCOMPARE(names(db.namesBeginningWith(QString())), names(db.list(GenderFilter::All)));
    for (const SearchIn where : {SearchIn::Names, SearchIn::Meanings, SearchIn::NamesAndMeanings})
        QCOMPARE(names(db.search(where, QString())), names(db.list(GenderFilter::All)));
    QCOMPARE(db.list(GenderFilter::Male).size(), 2);
    // Its entry is found, shown and removed like any other.
    const NameList all = db.list(GenderFilter::All);
    QCOMPARE(db.find(all.id(0), all.storedName(0))->meaning, QStringLiteral("y"));
    db.remove(found(db, all.id(0), all.storedName(0)));
    QCOMPARE(db.list(GenderFilter::All).size(), 2);
}

void StoreTest::searchTextTooLongForSqlite_data()
{
    listsAndSearchesInOrder_data();
}

void StoreTest::searchTextTooLongForSqlite()
{
    QFETCH(dbfile::Layout, layout);
    AppFolder folder({{QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("m")}}, layout);
    const NameStore db(folder.dbPath());
    const QString longText(60000, QLatin1Char('a'));
    for (const SearchIn where : {SearchIn::Names, SearchIn::Meanings, SearchIn::NamesAndMeanings})
        QCOMPARE(errorKind([&] { db.search(where, longText); }), Error::Kind::SearchTooLong);
    QCOMPARE(errorKind([&] { db.namesBeginningWith(longText); }), Error::Kind::SearchTooLong);
    // Long but within the limit: an ordinary search.
    QVERIFY(db.search(SearchIn::NamesAndMeanings, QString(20000, QLatin1Char('a'))).isEmpty());
}

void StoreTest::addsUpdatesAndRemovesRows()
{
    AppFolder folder({{QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("m")}});
    const NameStore db(folder.dbPath());
    QCOMPARE(db.add(QStringLiteral("b'c"), QString(), std::nullopt), 2);
    QCOMPARE(db.add(QStringLiteral("b'c"), QStringLiteral("y"), Gender::Female), 3);
    // A gender that was not given stays missing (NULL); an empty meaning is empty, not NULL.
    QCOMPARE(folder.query(QStringLiteral("SELECT id, p_name, quote(means), quote(gender) "
                                         "FROM vardel ORDER BY id")),
             (QList<QVariantList>{
                 {1, QStringLiteral("a"), QStringLiteral("'x'"), QStringLiteral("'m'")},
                 {2, QStringLiteral("b'c"), QStringLiteral("''"), QStringLiteral("NULL")},
                 {3, QStringLiteral("b'c"), QStringLiteral("'y'"), QStringLiteral("'f'")}}));

    const std::optional<NameRecord> second = db.find(2, "b'c");
    QVERIFY(second && second->gender == Gender::Other);
    db.update(*second, {std::nullopt, std::nullopt, Gender::Male});
    const std::optional<NameRecord> first = db.find(1, "a");
    db.update(*first, {QStringLiteral("آ"), QStringLiteral("z"), std::nullopt});
    QCOMPARE(
        folder.query(QStringLiteral("SELECT p_name, means, gender FROM vardel ORDER BY id")),
        (QList<QVariantList>{{QStringLiteral("آ"), QStringLiteral("z"), QStringLiteral("m")},
                             {QStringLiteral("b'c"), QStringLiteral(""), QStringLiteral("m")},
                             {QStringLiteral("b'c"), QStringLiteral("y"), QStringLiteral("f")}}));
    // A record read before its row changed no longer matches it: nothing is written or
    // removed, and the error tells a changed row from one that went. A renamed row is no
    // longer the name that was read.
    QCOMPARE(errorKind([&] {
                 db.update(*first, {QStringLiteral("x"), {}, {}});
             }),
             Error::Kind::RowGone);
    QCOMPARE(errorKind([&] { db.remove(*first); }), Error::Kind::RowGone);
    const std::optional<NameRecord> third = db.find(3, "b'c");
    // Another program changes only the meaning, then only the gender: the name is the same,
    // the row is not what was read.
    for (const QString& change : {QStringLiteral("UPDATE vardel SET means = 'y2' WHERE id = 3"),
                                  QStringLiteral("UPDATE vardel SET means = 'y', gender = 'm' "
                                                 "WHERE id = 3")}) {
        folder.exec(change);
        QCOMPARE(errorKind([&] { db.remove(*third); }), Error::Kind::RowChanged);
        QCOMPARE(errorKind([&] { db.update(*third, {}); }), Error::Kind::RowChanged);
    }
    QCOMPARE(single(folder, QStringLiteral("SELECT count(*) FROM vardel")), 3);
    const std::optional<NameRecord> now = db.find(3, "b'c");
    QVERIFY(now && now->storedName == "b'c" && now->gender == Gender::Male);
    db.remove(*now);
    QCOMPARE(errorKind([&] { db.remove(*now); }), Error::Kind::RowGone);
    QCOMPARE(errorKind([&] { db.update(*now, {}); }), Error::Kind::RowGone);
    // Ids are never reused in files made by Vardel, also after the last row was removed.
    QCOMPARE(db.add(QStringLiteral("d"), QString(), Gender::Male), 4);
}

void StoreTest::idsBeyond32Bits()
{
    AppFolder folder({{QStringLiteral("two"), QStringLiteral("2"), QStringLiteral("m")}});
    folder.exec(QStringLiteral("UPDATE vardel SET id = 2"));
    constexpr NameId big = (NameId(1) << 32) + 2;
    folder.exec(QStringLiteral("INSERT INTO vardel (id, p_name, means, gender) "
                               "VALUES (?, 'big', 'b', 'f'), (?, 'negative', 'n', 'm')"),
                {QVariant(big), QVariant(-big)});
    const NameStore db(folder.dbPath());
    const NameList all = db.list(GenderFilter::All);
    QCOMPARE(names(all), (QStringList{QStringLiteral("big"), QStringLiteral("negative"),
                                      QStringLiteral("two")}));
    QCOMPARE(all.id(0), big);
    QCOMPARE(all.id(1), -big);

    const std::optional<NameRecord> row = db.find(big, "big");
    QVERIFY(row && row->meaning == QStringLiteral("b"));
    QCOMPARE(db.update(*row, {QStringLiteral("bigger"), {}, {}}).storedName, "bigger");
    db.remove(found(db, -big, "negative"));
    QCOMPARE(folder.query(QStringLiteral("SELECT id, p_name FROM vardel ORDER BY id")),
             (QList<QVariantList>{{2, QStringLiteral("two")}, {big, QStringLiteral("bigger")}}));
    QCOMPARE(db.add(QStringLiteral("next"), QString(), Gender::Male), big + 1);
}

void StoreTest::idReusedByAnotherWriterIsNotTouched()
{
    // Without AUTOINCREMENT, SQLite gives the id of a removed last row to the next one.
    AppFolder folder;
    makeTable(folder,
              QStringLiteral("id INTEGER PRIMARY KEY, p_name TEXT, means TEXT, gender TEXT"));
    folder.exec(QStringLiteral("INSERT INTO vardel (p_name, means, gender) VALUES "
                               "('a', 'x', 'm'), ('b', 'y', 'f'), ('c', 'z', 'f')"));
    const NameStore db(folder.dbPath());
    const NameList listed = db.list(GenderFilter::All);
    const std::optional<NameRecord> loaded = db.find(3, listed.storedName(2));
    QVERIFY(loaded);

    folder.exec(QStringLiteral("DELETE FROM vardel WHERE id = 3"));
    folder.exec(
        QStringLiteral("INSERT INTO vardel (p_name, means, gender) VALUES ('d', 'w', 'm')"));
    QCOMPARE(single(folder, QStringLiteral("SELECT id FROM vardel WHERE p_name = 'd'")), 3);

    QVERIFY(!db.find(3, listed.storedName(2)));
    QCOMPARE(errorKind([&] { db.remove(*loaded); }), Error::Kind::RowGone);
    QCOMPARE(errorKind([&] {
                 db.update(*loaded, {QStringLiteral("e"), {}, {}});
             }),
             Error::Kind::RowGone);
    QCOMPARE(errorKind([&] { db.update(*loaded, {}); }), Error::Kind::RowGone);
    // The same name again, with another meaning, under the reused id.
    folder.exec(QStringLiteral("UPDATE vardel SET p_name = 'c', means = 'other' WHERE id = 3"));
    QVERIFY(db.find(3, listed.storedName(2)));
    QCOMPARE(errorKind([&] { db.remove(*loaded); }), Error::Kind::RowChanged);
    QCOMPARE(
        folder.query(QStringLiteral("SELECT p_name, means, gender FROM vardel WHERE id = 3")),
        (QList<QVariantList>{{QStringLiteral("c"), QStringLiteral("other"), QStringLiteral("m")}}));
}

void StoreTest::untouchedColumnsStayByteForByte()
{
    AppFolder folder({{QStringLiteral("x"), QString(), QStringLiteral("m")}});
    // A name longer than a line edit holds, a meaning that is not text, line breaks and spaces
    // that text boxes rewrite.
    folder.exec(QStringLiteral("UPDATE vardel SET p_name = ?, means = ?"),
                {QString(40000, QChar(0x0628)), QByteArray("\xff\x00\xfe", 3)});
    folder.exec(QStringLiteral("INSERT INTO vardel (p_name, means, gender) VALUES (?, ?, 'f')"),
                {QStringLiteral("y"), QStringLiteral("a\u00a0b\r\nc\u2028d")});
    const QString snapshot =
        QStringLiteral("SELECT id, typeof(p_name), hex(p_name), typeof(means), hex(means), "
                       "gender FROM vardel ORDER BY id");
    const QList<QVariantList> before = folder.query(snapshot);
    const NameStore db(folder.dbPath());
    const NameList all = db.list(GenderFilter::All);
    for (qsizetype row = 0; row < all.size(); ++row) {
        const std::optional<NameRecord> record = db.find(all.id(row), all.storedName(row));
        QVERIFY(record);
        db.update(*record, {std::nullopt, std::nullopt,
                            record->gender == Gender::Male ? Gender::Female : Gender::Male});
    }
    QList<QVariantList> after = folder.query(snapshot);
    QCOMPARE(after.size(), 2);
    for (qsizetype i = 0; i < after.size(); ++i) {
        QCOMPARE(after[i].mid(0, 5), before[i].mid(0, 5));
        QVERIFY(after[i][5] != before[i][5]);
    }
}

void StoreTest::nameThatIsNotUtf8SurvivesAnEdit()
{
    AppFolder folder({{QStringLiteral("x"), QStringLiteral("m1"), QStringLiteral("m")}});
    const QByteArray odd("\xd8\xb2\xd8\xb2\xd8\xb2\xff\x41");
    folder.exec(QStringLiteral("UPDATE vardel SET p_name = CAST(? AS TEXT)"), {odd});
    const NameStore db(folder.dbPath());
    const NameList listed = db.list(GenderFilter::All);
    QCOMPARE(listed.storedName(0), QByteArrayView(odd));
    const std::optional<NameRecord> loaded = db.find(1, listed.storedName(0));
    QVERIFY(loaded && loaded->storedName == odd);
    // Only the meaning changes: the name keeps its bytes, and the row as written says so, so
    // that the list entry can still find and remove it.
    const NameRecord written = db.update(*loaded, {std::nullopt, QStringLiteral("m2"), {}});
    QCOMPARE(written.storedName, odd);
    QCOMPARE(written.meaning, QStringLiteral("m2"));
    QCOMPARE(single(folder, QStringLiteral("SELECT hex(p_name) FROM vardel")),
             QString::fromLatin1(odd.toHex().toUpper()));
    // A new name is written as the text's own bytes.
    const NameRecord renamed =
        db.update(written, {QStringLiteral("زر\nد"), std::nullopt, std::nullopt});
    QCOMPARE(renamed.storedName, QStringLiteral("زر\nد").toUtf8());
    db.remove(found(db, 1, renamed.storedName));
    QCOMPARE(single(folder, QStringLiteral("SELECT count(*) FROM vardel")), 0);
}

void StoreTest::pathTooLongForSqliteIsReported()
{
    // Lengths of paths in the unit of the limit: bytes of UTF-8, or characters on Windows.
    bool inCharacters = false;
    const auto length = [&](const QString& path) {
        return inCharacters ? path.size() : path.toUtf8().size();
    };
    // A folder, mostly in Persian letters, whose db.mdb has a full path of exactly `wanted`.
    QTemporaryDir base;
    const auto folderFor = [&](qsizetype wanted) {
        const QString file = QStringLiteral("/db.mdb");
        QString folder = QDir(base.path()).canonicalPath();
        while (wanted - length(folder + file) > 150)
            folder += QLatin1Char('/') + QString(50, QChar(0x0628));
        folder += QLatin1Char('/') + QString(wanted - length(folder + file) - 1, QLatin1Char('a'));
        QDir().mkpath(folder);
        return folder + file;
    };
    QString longest;
    const QString probe = folderFor(4000);
    try {
        NameStore(probe).check();
        QFAIL("a path of 4000 bytes opened");
    } catch (const Error& error) {
        QCOMPARE(error.kind(), Error::Kind::PathTooLong);
        inCharacters = error.pathInCharacters();
        QCOMPARE(error.pathLength(), length(probe));
        QVERIFY(error.pathLimit() < error.pathLength());
        longest = folderFor(error.pathLimit());
    }
    // At the limit everything works, the journal included; one more is refused, with the
    // limit, before SQLite is asked.
    QString error;
    QVERIFY2(dbfile::create(longest,
                            {{QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("m")}},
                            &error),
             qPrintable(error));
    const NameStore db(longest);
    db.remove(found(db, db.add(QStringLiteral("b"), QString(), Gender::Female), "b"));
    QCOMPARE(db.list(GenderFilter::All).size(), 1);

    const QString tooLong = folderFor(length(longest) + 1);
    QCOMPARE(length(tooLong), length(longest) + 1);
    QVERIFY(!dbfile::create(tooLong, {}, &error));
    QVERIFY2(error.contains(QStringLiteral("too long")), qPrintable(error));
    QVERIFY(!QFileInfo::exists(tooLong));
#ifndef Q_OS_WIN
    // The limit is SQLite's own, not a guess: SQLite itself cannot open one byte more.
    sqlite3* handle = nullptr;
    QVERIFY(sqlite3_open_v2(tooLong.toUtf8().constData(), &handle,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK);
    sqlite3_close(handle);
#endif
}

void StoreTest::writesWaitForAnotherProgramsLock()
{
    AppFolder folder({{QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("m")},
                      {QStringLiteral("b"), QStringLiteral("y"), QStringLiteral("f")}});
    const NameStore db(folder.dbPath());
    const std::optional<NameRecord> a = db.find(1, "a");
    const std::function<void()> writes[] = {
        [&] { db.add(QStringLiteral("c"), QString(), Gender::Male); },
        [&] {
            db.update(*a, {QStringLiteral("a2"), {}, {}});
        },
        [&] { db.remove(found(db, 2, "b")); },
    };
    for (const auto& write : writes) {
        std::promise<void> taken;
        std::thread other = holdWriteLock(folder.dbPath(), 500, taken);
        taken.get_future().wait();
        const std::optional<Error::Kind> failure = errorKind(write);
        other.join();
        QCOMPARE(failure, std::nullopt);
    }
    QCOMPARE(folder.query(QStringLiteral("SELECT p_name FROM vardel ORDER BY id")),
             (QList<QVariantList>{{QStringLiteral("a2")}, {QStringLiteral("c")}}));
}

void StoreTest::lockHeldTooLongFailsWithoutWriting()
{
    AppFolder folder({{QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("m")}});
    const NameStore db(folder.dbPath());
    std::promise<void> taken;
    std::thread other = holdWriteLock(folder.dbPath(), 3000, taken);
    taken.get_future().wait();
    const std::optional<Error::Kind> failure =
        errorKind([&] { db.add(QStringLiteral("b"), QString(), Gender::Male); });
    other.join();
    QCOMPARE(failure, Error::Kind::Locked);
    QCOMPARE(single(folder, QStringLiteral("SELECT count(*) FROM vardel")), 1);
}

void StoreTest::tableWithoutAutoNumberedId_data()
{
    QTest::addColumn<QString>("columns");
    QTest::addColumn<bool>("usable");
    const QString rest = QStringLiteral(", p_name TEXT, means TEXT, gender TEXT");
    QTest::newRow("INTEGER PRIMARY KEY") << QStringLiteral("id INTEGER PRIMARY KEY") + rest << true;
    QTest::newRow("AUTOINCREMENT")
        << QStringLiteral("id INTEGER PRIMARY KEY AUTOINCREMENT") + rest << true;
    QTest::newRow("lower case, ASC") << QStringLiteral("ID integer primary key asc") + rest << true;
    QTest::newRow("INT PRIMARY KEY") << QStringLiteral("id INT PRIMARY KEY") + rest << false;
    QTest::newRow("DESC") << QStringLiteral("id INTEGER PRIMARY KEY DESC") + rest << false;
    QTest::newRow("no key") << QStringLiteral("id INTEGER") + rest << false;
    QTest::newRow("key over two columns")
        << QStringLiteral("id INTEGER, p_name TEXT, means TEXT, gender TEXT, "
                          "PRIMARY KEY (id, p_name)")
        << false;
    QTest::newRow("without rowid")
        << QStringLiteral("id INTEGER PRIMARY KEY") + rest + QStringLiteral(") WITHOUT ROWID; --")
        << false;
    QTest::newRow("no meaning column")
        << QStringLiteral("id INTEGER PRIMARY KEY, p_name TEXT, gender TEXT") << false;
}

void StoreTest::tableWithoutAutoNumberedId()
{
    QFETCH(QString, columns);
    QFETCH(bool, usable);
    AppFolder folder;
    // The store has passed the table of a file with order keys before another program
    // changes it.
    const NameStore db(folder.dbPath());
    QCOMPARE(db.list(GenderFilter::All).size(), 0);
    makeTable(folder, columns);
    QString file;
    QCOMPARE(errorKind([&] { db.check(); }, &file),
             usable ? std::nullopt : std::optional(Error::Kind::TableUnusable));
    QCOMPARE(errorKind([&] { db.add(QStringLiteral("a"), QString(), Gender::Male); }),
             usable ? std::nullopt : std::optional(Error::Kind::TableUnusable));
    if (usable)
        QCOMPARE(db.list(GenderFilter::All).id(0), 1);
    else
        QCOMPARE(file, folder.dbPath());
}

void StoreTest::missingFileIsAnErrorAndStaysMissing()
{
    QTemporaryDir empty;
    const NameStore db(empty.filePath(QStringLiteral("db.mdb")));
    QString file;
    QCOMPARE(errorKind([&] { db.list(GenderFilter::All); }, &file), Error::Kind::FileMissing);
    QCOMPARE(file, empty.filePath(QStringLiteral("db.mdb")));
    QCOMPARE(errorKind([&] { db.add(QStringLiteral("a"), QString(), Gender::Male); }),
             Error::Kind::FileMissing);
    QVERIFY(!QFile::exists(empty.filePath(QStringLiteral("db.mdb"))));
}

void StoreTest::foreignFilesAreErrorsNamingTheFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Error::Kind>("kind");
    // The first bytes of an Access database, an empty file, a cut-off SQLite file.
    QTest::newRow("access") << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 19) +
                                   QByteArray(4096, '\x7f')
                            << Error::Kind::NotADatabase;
    QTest::newRow("text") << QByteArray("name,meaning\n").repeated(400)
                          << Error::Kind::NotADatabase;
    QTest::newRow("truncated sqlite")
        << QByteArray("SQLite format 3\x00", 16) + QByteArray(50, 'x') << Error::Kind::NotADatabase;
    QTest::newRow("empty") << QByteArray() << Error::Kind::TableUnusable;
}

void StoreTest::foreignFilesAreErrorsNamingTheFile()
{
    QFETCH(QByteArray, content);
    QFETCH(Error::Kind, kind);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("db.mdb")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QString named;
    QCOMPARE(errorKind([&] { NameStore(file.fileName()).list(GenderFilter::All); }, &named), kind);
    QCOMPARE(named, file.fileName());
    QCOMPARE(file.size(), content.size());
}

void StoreTest::nameListKeepsEntriesAndTextInStep()
{
    // Random appends, renames and removes against a plain list of (id, name) pairs.
    QRandomGenerator random(11);
    for (int round = 0; round < 50; ++round) {
        NameList list;
        QList<QPair<NameId, QByteArray>> model;
        for (int step = 0; step < 60; ++step) {
            const QByteArray name = QStringLiteral("نام").repeated(random.bounded(0, 40)).toUtf8() +
                                    QByteArray::number(step);
            const int choice = random.bounded(4);
            if (choice < 2 || model.isEmpty()) {
                const NameId id = random.generate64() >> 1;
                list.append(id, name);
                model.append({id, name});
            } else if (choice == 2) {
                const int row = random.bounded(static_cast<int>(model.size()));
                list.rename(row, name);
                model[row].second = name;
            } else {
                // The last entry as often as any other.
                const int row = random.bounded(2) ? static_cast<int>(model.size()) - 1
                                                  : random.bounded(static_cast<int>(model.size()));
                list.remove(row);
                model.removeAt(row);
            }
            QCOMPARE(entries(list), model);
        }
    }
}

void StoreTest::listsReadIntoTheStorageOfEarlierOnes()
{
    // A list read into the storage of an earlier one holds exactly what a fresh read holds:
    // longer, shorter and empty lists after one another, the earlier one renamed in or
    // shortened, and after a read that failed.
    AppFolder folder(testsupport::realNames(400));
    const NameStore db(folder.dbPath());
    NameList list = db.list(GenderFilter::All);
    const QByteArray renamed =
        QStringLiteral("نامی بلندتر از همه‌ی نام‌های این فهرست")
            .toUtf8();
    const QStringList typed = {
        QStringLiteral("م"), QStringLiteral("مح"),   QString(), QStringLiteral("x"),
        QStringLiteral("ز"), QStringLiteral("محمد"), QString()};
    for (const QString& text : typed) {
        if (!list.isEmpty()) {
            list.rename(0, renamed);
            list.remove(list.size() - 1);
        }
        const NameList fresh = db.namesBeginningWith(text);
        list = db.namesBeginningWith(text, std::move(list));
        QCOMPARE(entries(list), entries(fresh));
        QCOMPARE(names(list), names(fresh));
    }
    QCOMPARE(errorKind(
                 [&] { list = db.search(SearchIn::Names, QString(30000, u'م'), std::move(list)); }),
             Error::Kind::SearchTooLong);
    list = db.list(GenderFilter::Female, std::move(list));
    QCOMPARE(entries(list), entries(db.list(GenderFilter::Female)));
}

QTEST_GUILESS_MAIN(StoreTest)
#include "tst_store.moc"
