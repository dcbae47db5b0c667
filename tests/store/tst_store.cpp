#include "listednames.h"
#include "store/connectionstring.h"
#include "store/error.h"
#include "store/recordset.h"
#include "store/statements.h"
#include "testsupport.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace store;
using testsupport::AppFolder;

namespace {

QStringList names(const Statement& statement)
{
    return listedNames(statement);
}

int errorNumber(const std::function<void()>& work, QString* description = nullptr)
{
    try {
        work();
    } catch (const Error& error) {
        if (description)
            *description = error.description();
        return error.number();
    }
    return 0;
}

} // namespace

class StoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buildsConnectionString_data();
    void buildsConnectionString();
    void statementsKeepTheirShape();
    void likePatternTakesTypedCharactersLiterally();

    void listsRowsInNameOrder();
    void prefixSearchesMatchOnlyBeginnings();
    void typedQuotesAndWildcardsAreSafe();
    void emptyMeaningFilter();

    void appendsChangesAndDeletesRows();
    void changingARemovedRowFails();
    void missingFileIsAnErrorAndStaysMissing();
    void foreignFilesAreErrorsNamingTheFile_data();
    void foreignFilesAreErrorsNamingTheFile();
    void lockedDatabaseFailsWithoutPartialRows();
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

void StoreTest::statementsKeepTheirShape()
{
    QCOMPARE(
        genderFilterStatement(0).sql,
        QStringLiteral("SELECT * FROM vardel WHERE gender='m' ORDER BY p_name COLLATE persian"));
    QCOMPARE(
        genderFilterStatement(1).sql,
        QStringLiteral("SELECT * FROM vardel WHERE gender='f' ORDER BY p_name COLLATE persian"));
    QCOMPARE(genderFilterStatement(2).sql,
             QStringLiteral("SELECT * FROM vardel ORDER BY p_name COLLATE persian"));
    QCOMPARE(genderFilterStatement(-1).sql, genderFilterStatement(2).sql);
    QCOMPARE(rowByIdStatement(17).sql, QStringLiteral("SELECT * FROM vardel WHERE id=17"));
    QCOMPARE(rowByIdStatement(-5).sql, QStringLiteral("SELECT * FROM vardel WHERE id=-5"));

    // The typed text never becomes part of the SQL.
    const QString typed = QStringLiteral("x' OR 1=1 --");
    for (const Statement& statement :
         {searchStatement(true, true, typed), nameFilterStatement(typed)}) {
        QVERIFY(!statement.sql.contains(typed));
        QVERIFY(statement.sql.startsWith(QStringLiteral("SELECT * FROM vardel WHERE ")));
        QVERIFY(statement.sql.endsWith(QStringLiteral(" ORDER BY p_name COLLATE persian")));
    }
    QCOMPARE(searchStatement(true, true, typed).values.size(), 2);
    QCOMPARE(searchStatement(true, false, typed).values.size(), 1);
    QVERIFY(searchStatement(true, true, typed).sql.contains(QStringLiteral(" OR ")));
    QVERIFY(
        !searchStatement(false, true, typed).sql.contains(QStringLiteral("vardel_fold(p_name)")));
    QVERIFY(
        !searchStatement(true, false, typed).sql.contains(QStringLiteral("vardel_fold(means)")));
}

void StoreTest::likePatternTakesTypedCharactersLiterally()
{
    QCOMPARE(likePrefixPattern(QString()), QStringLiteral("%"));
    QCOMPARE(likePrefixPattern(QStringLiteral("علی")), QStringLiteral("علی%"));
    QCOMPARE(likePrefixPattern(QStringLiteral("50%_a\\")), QStringLiteral("50\\%\\_a\\\\%"));
}

void StoreTest::listsRowsInNameOrder()
{
    AppFolder folder({{QStringLiteral("b"), QString(), QStringLiteral("m")},
                      {QStringLiteral("a"), QString(), QStringLiteral("f")},
                      {QStringLiteral("c"), QString(), QStringLiteral("m")},
                      {QStringLiteral("a"), QString(), QStringLiteral("m")}});
    setConnectionString(buildConnectionString(folder.path()));
    QCOMPARE(names(genderFilterStatement(2)),
             (QStringList{QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("b"),
                          QStringLiteral("c")}));
    QCOMPARE(names(genderFilterStatement(0)),
             (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    QCOMPARE(names(genderFilterStatement(1)), QStringList{QStringLiteral("a")});

    Connection connection(connectionString());
    Recordset none(connection, rowByIdStatement(99), OpenMode::Read);
    QVERIFY(none.eof());
}

void StoreTest::prefixSearchesMatchOnlyBeginnings()
{
    AppFolder folder(
        {{QStringLiteral("مهسا"), QStringLiteral("ماه مانند"), QStringLiteral("f")},
         {QStringLiteral("ماهان"), QStringLiteral("منسوب به ماه"), QStringLiteral("m")},
         {QStringLiteral("آرش"), QStringLiteral("درخشان"), QStringLiteral("m")},
         {QStringLiteral("نیما"), QStringLiteral("ماه کامل"), QStringLiteral("m")}});
    setConnectionString(buildConnectionString(folder.path()));
    const QString mah = QStringLiteral("ماه");
    QCOMPARE(names(nameFilterStatement(mah)), QStringList{QStringLiteral("ماهان")});
    QCOMPARE(names(searchStatement(false, true, mah)),
             (QStringList{QStringLiteral("مهسا"), QStringLiteral("نیما")}));
    QCOMPARE(
        names(searchStatement(true, true, mah)),
        (QStringList{QStringLiteral("ماهان"), QStringLiteral("مهسا"), QStringLiteral("نیما")}));
    // "خشان" stands inside "درخشان" but not at its start.
    QVERIFY(names(searchStatement(true, true, QStringLiteral("خشان"))).isEmpty());
    QCOMPARE(names(nameFilterStatement(QString())).size(), 4);
}

void StoreTest::typedQuotesAndWildcardsAreSafe()
{
    AppFolder folder(
        {{QStringLiteral("O'Neil"), QStringLiteral("it's"), QStringLiteral("m")},
         {QStringLiteral("50%"), QStringLiteral("a_b"), QStringLiteral("f")},
         {QStringLiteral("500"), QStringLiteral("axb"), QStringLiteral("f")},
         {QStringLiteral("\"q\\"), QStringLiteral("back\\slash"), QStringLiteral("f")}});
    setConnectionString(buildConnectionString(folder.path()));
    QCOMPARE(names(nameFilterStatement(QStringLiteral("O'"))),
             QStringList{QStringLiteral("O'Neil")});
    QCOMPARE(names(searchStatement(false, true, QStringLiteral("it'"))),
             QStringList{QStringLiteral("O'Neil")});
    QCOMPARE(names(nameFilterStatement(QStringLiteral("50%"))), QStringList{QStringLiteral("50%")});
    QCOMPARE(names(searchStatement(false, true, QStringLiteral("a_"))),
             QStringList{QStringLiteral("50%")});
    QCOMPARE(names(nameFilterStatement(QStringLiteral("\"q\\"))),
             QStringList{QStringLiteral("\"q\\")});
    QCOMPARE(names(searchStatement(true, true, QStringLiteral("back\\"))),
             QStringList{QStringLiteral("\"q\\")});
    for (const QString& half : {QStringLiteral("'"), QStringLiteral("')"), QStringLiteral("\\"),
                                QStringLiteral("%'--"), QStringLiteral("\"")})
        QVERIFY(names(searchStatement(true, true, half)).size() <= 1);
}

void StoreTest::emptyMeaningFilter()
{
    AppFolder folder({{QStringLiteral("a"), QStringLiteral(""), QStringLiteral("m")},
                      {QStringLiteral("b"), QStringLiteral("x"), QStringLiteral("m")}});
    folder.exec(QStringLiteral("INSERT INTO vardel (p_name, means) VALUES ('c', NULL)"));
    setConnectionString(buildConnectionString(folder.path()));
    // An empty meaning matches an empty search, a missing one does not.
    QCOMPARE(names(searchStatement(false, true, QString())),
             (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

void StoreTest::appendsChangesAndDeletesRows()
{
    AppFolder folder({{QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("m")}});
    setConnectionString(buildConnectionString(folder.path()));
    {
        Connection connection(connectionString());
        Recordset table(connection, wholeTableStatement(), OpenMode::Write);
        table.addNew();
        table.setValue(QStringLiteral("p_name"), QStringLiteral("b'c"));
        table.setValue(QStringLiteral("means"), QStringLiteral(""));
        table.update();
        table.addNew();
        table.setValue(QStringLiteral("p_name"), QStringLiteral("b'c"));
        table.setValue(QStringLiteral("means"), QStringLiteral("y"));
        table.setValue(QStringLiteral("gender"), QStringLiteral("f"));
        table.update();
    }
    // A gender that was not set stays missing (NULL).
    QCOMPARE(folder.query(QStringLiteral("SELECT id, p_name, means, ifnull(gender, 'NULL') "
                                         "FROM vardel ORDER BY id")),
             (QList<QVariantList>{
                 {1, QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("m")},
                 {2, QStringLiteral("b'c"), QStringLiteral(""), QStringLiteral("NULL")},
                 {3, QStringLiteral("b'c"), QStringLiteral("y"), QStringLiteral("f")}}));
    {
        Connection connection(connectionString());
        Recordset row(connection, rowByIdStatement(2), OpenMode::Write);
        row.setValue(QStringLiteral("gender"), QStringLiteral("m"));
        row.update();
    }
    {
        Connection connection(connectionString());
        Recordset row(connection, rowByIdStatement(1), OpenMode::Write);
        row.deleteCurrent();
    }
    QCOMPARE(folder.query(QStringLiteral("SELECT id, p_name, gender FROM vardel ORDER BY id")),
             (QList<QVariantList>{{2, QStringLiteral("b'c"), QStringLiteral("m")},
                                  {3, QStringLiteral("b'c"), QStringLiteral("f")}}));
    // Ids are never reused, also after the last row was deleted.
    {
        Connection connection(connectionString());
        Recordset row(connection, rowByIdStatement(3), OpenMode::Write);
        row.deleteCurrent();
    }
    {
        Connection connection(connectionString());
        Recordset table(connection, wholeTableStatement(), OpenMode::Write);
        table.addNew();
        table.setValue(QStringLiteral("p_name"), QStringLiteral("d"));
        table.update();
    }
    QCOMPARE(folder.query(QStringLiteral("SELECT max(id) FROM vardel")).first().first().toInt(), 4);
}

void StoreTest::changingARemovedRowFails()
{
    AppFolder folder({{QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("m")}});
    setConnectionString(buildConnectionString(folder.path()));
    auto changeRow = [](qint32 id) {
        Connection connection(connectionString());
        Recordset row(connection, rowByIdStatement(id), OpenMode::Write);
        row.setValue(QStringLiteral("p_name"), QStringLiteral("new"));
        row.update();
    };
    QCOMPARE(errorNumber([&] { changeRow(7); }), Error::NoCurrentRow);
    QCOMPARE(errorNumber([] {
                 Connection connection(connectionString());
                 Recordset(connection, rowByIdStatement(7), OpenMode::Write).deleteCurrent();
             }),
             Error::NoCurrentRow);
    QCOMPARE(errorNumber([] {
                 Connection connection(connectionString());
                 Recordset(connection, rowByIdStatement(7), OpenMode::Read)
                     .value(QStringLiteral("means"));
             }),
             Error::NoCurrentRow);
    QCOMPARE(folder.query(QStringLiteral("SELECT p_name FROM vardel")).first().first().toString(),
             QStringLiteral("a"));
}

void StoreTest::missingFileIsAnErrorAndStaysMissing()
{
    QTemporaryDir empty;
    setConnectionString(buildConnectionString(empty.path()));
    QString description;
    QCOMPARE(errorNumber([] { names(genderFilterStatement(2)); }, &description),
             Error::FileNotFound);
    QVERIFY(description.contains(empty.filePath(QStringLiteral("db.mdb"))));
    QVERIFY(!QFile::exists(empty.filePath(QStringLiteral("db.mdb"))));
}

void StoreTest::foreignFilesAreErrorsNamingTheFile_data()
{
    QTest::addColumn<QByteArray>("content");
    // The first bytes of an Access database, an empty file, a cut-off SQLite file.
    QTest::newRow("access") << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 19) +
                                   QByteArray(4096, '\x7f');
    QTest::newRow("text") << QByteArray("name,meaning\n").repeated(400);
    QTest::newRow("truncated sqlite")
        << QByteArray("SQLite format 3\x00", 16) + QByteArray(50, 'x');
    QTest::newRow("empty") << QByteArray();
}

void StoreTest::foreignFilesAreErrorsNamingTheFile()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("db.mdb")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    setConnectionString(buildConnectionString(dir.path()));
    QString description;
    QVERIFY(errorNumber([] { names(genderFilterStatement(2)); }, &description) != 0);
    QVERIFY2(description.contains(file.fileName()), qPrintable(description));
    QCOMPARE(file.size(), content.size());
}

void StoreTest::lockedDatabaseFailsWithoutPartialRows()
{
    AppFolder folder({{QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("m")}});
    setConnectionString(buildConnectionString(folder.path()));
    // Another program holds the write lock.
    QSqlDatabase other =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
    other.setDatabaseName(folder.dbPath());
    QVERIFY(other.open());
    QSqlQuery lock(other);
    QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    const int number = errorNumber([] {
        Connection connection(connectionString());
        Recordset table(connection, wholeTableStatement(), OpenMode::Write);
        table.addNew();
        table.setValue(QStringLiteral("p_name"), QStringLiteral("b"));
        table.update();
    });
    QCOMPARE(number & 0xff, 5); // busy
    QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
    lock = QSqlQuery();
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    QCOMPARE(folder.query(QStringLiteral("SELECT count(*) FROM vardel")).first().first().toInt(),
             1);
}

QTEST_GUILESS_MAIN(StoreTest)
#include "tst_store.moc"
