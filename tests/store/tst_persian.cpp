#include "store/connectionstring.h"
#include "store/persian.h"
#include "store/recordset.h"
#include "store/statements.h"
#include "testsupport.h"

#include <QCollator>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>

using namespace store;
using testsupport::AppFolder;

namespace {

QStringList names(const Statement& statement)
{
    Connection connection(connectionString());
    QStringList result;
    for (Recordset rows(connection, statement, OpenMode::Read); !rows.eof(); rows.moveNext())
        result << rows.value(QStringLiteral("p_name")).toString();
    return result;
}

QList<dbfile::Entry> entries(const QStringList& names)
{
    QList<dbfile::Entry> list;
    for (const QString& name : names)
        list.append({name, QStringLiteral("معنی"), QStringLiteral("m")});
    return list;
}

QCollator persianCollator()
{
    return QCollator(QLocale(QLocale::Persian, QLocale::Iran));
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// The alphabet in its order.
const QStringList alphabet =
    QStringLiteral("آ ا ب پ ت ث ج چ ح خ د ذ ر ز ژ س ش ص ض ط ظ ع غ ف ق ک گ ل م ن و ه ی")
        .split(QLatin1Char(' '));

} // namespace

class PersianTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void alphabeticalOrder();
    void realNamesInIcuOrder();
    void compareAgreesWithIcu();
    void foldingLetterByLetter_data();
    void foldingLetterByLetter();
    void foldingKeepsOtherLettersApart();
    void searchStillMatchesFromTheFirstLetter();
    void fileStaysUsableByOtherPrograms();
};

void PersianTest::alphabeticalOrder()
{
    QStringList shuffled = alphabet;
    std::shuffle(shuffled.begin(), shuffled.end(), *QRandomGenerator::global());
    AppFolder folder(entries(shuffled));
    setConnectionString(buildConnectionString(folder.path()));
    QCOMPARE(names(genderFilterStatement(2)), alphabet);

    QStringList sorted = alphabet;
    std::sort(sorted.begin(), sorted.end(), persianCollator());
    QCOMPARE(sorted, alphabet);

    // Two-letter names: the second letter decides among names of one first letter.
    QStringList pairs;
    for (const QString& second : {alphabet[33 - 1], alphabet[0], alphabet[4]})
        for (const QString& first : {alphabet[9], alphabet[30], alphabet[31]})
            pairs << first + second;
    AppFolder pairFolder(entries(pairs));
    setConnectionString(buildConnectionString(pairFolder.path()));
    QStringList expected = pairs;
    std::sort(expected.begin(), expected.end(), persianCollator());
    QCOMPARE(names(genderFilterStatement(2)), expected);
}

void PersianTest::realNamesInIcuOrder()
{
    QStringList real;
    for (const dbfile::Entry& entry : testsupport::realNames(3000))
        real << entry.name;
    // Spellings met in the wild: Arabic letter forms, joiners, short vowels, Latin names.
    real << QStringLiteral("علي") << QStringLiteral("علی") << QStringLiteral("كاوه")
         << QStringLiteral("فاطمة") << QStringLiteral("أحمد") << QStringLiteral("مه‌سا")
         << QStringLiteral("مُحَمَّد") << QStringLiteral("رئوف") << QStringLiteral("مؤمن")
         << QStringLiteral("Sara") << QStringLiteral("amir") << QStringLiteral("علی رضا");
    AppFolder folder(entries(real));
    setConnectionString(buildConnectionString(folder.path()));
    const QStringList listed = names(genderFilterStatement(2));
    QCOMPARE(listed.size(), real.size());
    const QCollator collator = persianCollator();
    for (qsizetype i = 1; i < listed.size(); ++i)
        QVERIFY2(collator.compare(listed[i - 1], listed[i]) <= 0,
                 qPrintable(listed[i - 1] + QStringLiteral(" > ") + listed[i]));
    QStringList a = listed, b = real;
    a.sort();
    b.sort();
    QCOMPARE(a, b);
}

void PersianTest::compareAgreesWithIcu()
{
    QStringList real;
    for (const dbfile::Entry& entry : testsupport::realNames(2000))
        real << entry.name;
    real << QStringLiteral("علي") << QStringLiteral("علی") << QStringLiteral("عليرضا")
         << QStringLiteral("مه‌سا") << QStringLiteral("مهسا") << QStringLiteral("مُحَمَّد")
         << QStringLiteral("محمد") << QStringLiteral("Ali") << QStringLiteral("ali")
         << QStringLiteral("١٢") << QStringLiteral("12") << QString() << QStringLiteral(" ");
    const QCollator collator = persianCollator();
    QRandomGenerator random(7);
    for (int i = 0; i < 20000; ++i) {
        const QString& a = real[random.bounded(real.size())];
        const QString& b = i % 10 ? real[random.bounded(real.size())] : a.left(a.size() - 1);
        const int ours = persian::compare(a.toStdString(), b.toStdString());
        QVERIFY2(sign(ours) == sign(collator.compare(a, b)), qPrintable(a + QLatin1Char('|') + b));
    }
}

void PersianTest::foldingLetterByLetter_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    const QList<QStringList> sameLetter = {
        {QStringLiteral("ي"), QStringLiteral("ى"), QStringLiteral("ی")},
        {QStringLiteral("ك"), QStringLiteral("ک")},
        {QStringLiteral("ة"), QStringLiteral("ۀ"), QStringLiteral("ه")},
        {QStringLiteral("أ"), QStringLiteral("إ"), QStringLiteral("ٱ"), QStringLiteral("آ"),
         QStringLiteral("ا")}};
    // Every form stored is found by every form typed: both directions.
    for (const QStringList& forms : sameLetter)
        for (const QString& stored : forms)
            for (const QString& typed : forms)
                QTest::addRow("%s by %s", qPrintable(stored), qPrintable(typed))
                    << QStringLiteral("ر") + stored + QStringLiteral("ز")
                    << QStringLiteral("ر") + typed + QStringLiteral("ز");
    QTest::newRow("first letter") << QStringLiteral("ياسمن") << QStringLiteral("یاس");
    QTest::newRow("joiner stored") << QStringLiteral("مه‌لقا") << QStringLiteral("مهل");
    QTest::newRow("joiner typed") << QStringLiteral("مهلقا") << QStringLiteral("مه‌ل");
    QTest::newRow("vowels stored") << QStringLiteral("مُحَمَّد") << QStringLiteral("محم");
    QTest::newRow("vowels typed") << QStringLiteral("محمد") << QStringLiteral("مُحَمّ");
    QTest::newRow("superscript alef") << QStringLiteral("رحمٰن") << QStringLiteral("رحمن");
    QTest::newRow("tatweel stored") << QStringLiteral("مهـسا") << QStringLiteral("مهس");
    QTest::newRow("tatweel typed") << QStringLiteral("مهسا") << QStringLiteral("مهـس");
    QTest::newRow("whole name") << QStringLiteral("فاطمة") << QStringLiteral("فاطمه");
    QTest::newRow("decomposed madda") << QStringLiteral("آرش") << QStringLiteral("ا\u0653ر");
}

void PersianTest::foldingLetterByLetter()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    AppFolder folder({{stored, stored, QStringLiteral("m")},
                      {QStringLiteral("ب"), QString(), QStringLiteral("f")}});
    setConnectionString(buildConnectionString(folder.path()));
    QCOMPARE(names(nameFilterStatement(typed)), QStringList{stored});
    QCOMPARE(names(searchStatement(false, true, typed)), QStringList{stored});
    QCOMPARE(names(searchStatement(true, true, typed)), QStringList{stored});
    QCOMPARE(persian::fold(stored).startsWith(persian::fold(typed)), true);
    QCOMPARE(QString::fromStdString(persian::foldUtf8(stored.toStdString())),
             persian::fold(stored));
}

void PersianTest::foldingKeepsOtherLettersApart()
{
    const QList<QPair<QString, QString>> distinct = {
        {QStringLiteral("ب"), QStringLiteral("پ")}, {QStringLiteral("ج"), QStringLiteral("چ")},
        {QStringLiteral("ز"), QStringLiteral("ژ")}, {QStringLiteral("ک"), QStringLiteral("گ")},
        {QStringLiteral("ه"), QStringLiteral("ح")}, {QStringLiteral("ی"), QStringLiteral("ئ")},
        {QStringLiteral("و"), QStringLiteral("ؤ")}, {QStringLiteral("ا"), QStringLiteral("ع")}};
    for (const auto& [a, b] : distinct) {
        AppFolder folder(entries({a + QStringLiteral("رش"), b + QStringLiteral("رش")}));
        setConnectionString(buildConnectionString(folder.path()));
        QCOMPARE(names(nameFilterStatement(a)), QStringList{a + QStringLiteral("رش")});
        QCOMPARE(names(nameFilterStatement(b)), QStringList{b + QStringLiteral("رش")});
    }
    QCOMPARE(persian::fold(QStringLiteral("Ali_50%")), QStringLiteral("Ali_50%"));
}

void PersianTest::searchStillMatchesFromTheFirstLetter()
{
    AppFolder folder({{QStringLiteral("آرش"), QStringLiteral("درخشان"), QStringLiteral("m")},
                      {QStringLiteral("رشید"), QStringLiteral("راه یافته"), QStringLiteral("m")},
                      {QStringLiteral("يگانه"), QStringLiteral("یکتا"), QStringLiteral("f")}});
    setConnectionString(buildConnectionString(folder.path()));
    QCOMPARE(names(nameFilterStatement(QStringLiteral("رش"))), QStringList{QStringLiteral("رشید")});
    QCOMPARE(names(searchStatement(true, true, QStringLiteral("خشان"))), QStringList{});
    // The gender filter never narrows a search.
    QCOMPARE(names(searchStatement(true, true, QStringLiteral("ی"))),
             QStringList{QStringLiteral("يگانه")});
}

void PersianTest::fileStaysUsableByOtherPrograms()
{
    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (sqlite3.isEmpty())
        QSKIP("the sqlite3 command-line tool is not installed");
    AppFolder folder(entries({QStringLiteral("کاوه"), QStringLiteral("بهار")}));
    setConnectionString(buildConnectionString(folder.path()));
    QCOMPARE(names(nameFilterStatement(QStringLiteral("ك"))).size(), 1);
    {
        Connection connection(connectionString());
        Recordset table(connection, wholeTableStatement(), OpenMode::Write);
        table.addNew();
        table.setValue(QStringLiteral("p_name"), QStringLiteral("پرستو"));
        table.update();
    }
    QProcess tool;
    tool.start(sqlite3,
               {folder.dbPath(), QStringLiteral("INSERT INTO vardel (p_name, means, gender) "
                                                "VALUES ('ژاله', 'شبنم', 'f'); "
                                                "SELECT count(*) FROM vardel;")});
    QVERIFY(tool.waitForFinished(10000));
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(tool.readAllStandardOutput().trimmed(), QByteArray("4"));
    QCOMPARE(names(genderFilterStatement(2)),
             (QStringList{QStringLiteral("بهار"), QStringLiteral("پرستو"), QStringLiteral("ژاله"),
                          QStringLiteral("کاوه")}));
    const auto schema = folder.query(QStringLiteral("SELECT group_concat(sql) FROM sqlite_master"));
    QVERIFY(!schema.first().first().toString().contains(QStringLiteral("persian")));
}

QTEST_GUILESS_MAIN(PersianTest)
#include "tst_persian.moc"
