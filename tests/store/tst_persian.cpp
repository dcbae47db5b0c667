#include "listednames.h"
#include "store/connectionstring.h"
#include "store/namestore.h"
#include "store/orderkey.h"
#include "store/persian.h"
#include "testsupport.h"

#include <array>
#include <functional>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>
#include <unicode/ucol.h>

using namespace store;
using testsupport::AppFolder;

namespace {

QList<dbfile::Entry> entries(const QStringList& names)
{
    QList<dbfile::Entry> list;
    for (const QString& name : names)
        list.append({name, QStringLiteral("معنی"), QStringLiteral("m")});
    return list;
}

// ICU's Persian collation, set up as QCollator sets up ICU: the reference order. QCollator
// itself cannot be the reference everywhere: Qt for Windows collates with the system's
// functions, not with ICU.
class PersianCollator
{
public:
    PersianCollator()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_collator = ucol_open("fa", &status);
        ucol_setAttribute(m_collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        ucol_setAttribute(m_collator, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
        ucol_setAttribute(m_collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
        if (U_FAILURE(status))
            qFatal("ICU's Persian collation: %s", u_errorName(status));
    }
    ~PersianCollator() { ucol_close(m_collator); }
    PersianCollator(const PersianCollator&) = delete;
    PersianCollator& operator=(const PersianCollator&) = delete;

    int compare(const QString& a, const QString& b) const
    {
        return ucol_strcoll(
            m_collator, reinterpret_cast<const UChar*>(a.utf16()), static_cast<int32_t>(a.size()),
            reinterpret_cast<const UChar*>(b.utf16()), static_cast<int32_t>(b.size()));
    }
    bool operator()(const QString& a, const QString& b) const { return compare(a, b) < 0; }

private:
    UCollator* m_collator = nullptr;
};

const PersianCollator& persianCollator()
{
    static const PersianCollator collator;
    return collator;
}

// ICU's Persian order at the letter level alone: forms of one letter, vowel marks and joiners
// make no difference.
int comparePrimary(const QString& a, const QString& b)
{
    static UCollator* const collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("fa", &status);
        ucol_setStrength(c, UCOL_PRIMARY);
        return c;
    }();
    return ucol_strcoll(collator, reinterpret_cast<const UChar*>(a.utf16()),
                        static_cast<int32_t>(a.size()), reinterpret_cast<const UChar*>(b.utf16()),
                        static_cast<int32_t>(b.size()));
}

void addLayouts()
{
    QTest::addColumn<dbfile::Layout>("layout");
    QTest::newRow("order keys") << dbfile::Layout::OrderKeys;
    QTest::newRow("plain") << dbfile::Layout::Plain;
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
    void alphabeticalOrder_data() { addLayouts(); }
    void alphabeticalOrder();
    void realNamesInIcuOrder_data() { addLayouts(); }
    void realNamesInIcuOrder();
    void keyOfMatchesTheFile();
    void keyedSearchFindsWhatPlainSearchFinds();
    void compareAgreesWithIcu();
    void foldingLetterByLetter_data();
    void foldingLetterByLetter();
    void foldingKeepsOtherLettersApart_data() { addLayouts(); }
    void foldingKeepsOtherLettersApart();
    void searchStillMatchesFromTheFirstLetter_data() { addLayouts(); }
    void searchStillMatchesFromTheFirstLetter();
    void fileStaysUsableByOtherPrograms_data() { addLayouts(); }
    void fileStaysUsableByOtherPrograms();
};

void PersianTest::alphabeticalOrder()
{
    QFETCH(dbfile::Layout, layout);
    QStringList shuffled = alphabet;
    std::shuffle(shuffled.begin(), shuffled.end(), *QRandomGenerator::global());
    AppFolder folder(entries(shuffled), layout);
    NameStore db(folder.dbPath());
    QCOMPARE(names(db.list(GenderFilter::All)), alphabet);

    QStringList sorted = alphabet;
    std::sort(sorted.begin(), sorted.end(), std::cref(persianCollator()));
    QCOMPARE(sorted, alphabet);

    // Two-letter names: the second letter decides among names of one first letter.
    QStringList pairs;
    for (const QString& second : {alphabet[33 - 1], alphabet[0], alphabet[4]})
        for (const QString& first : {alphabet[9], alphabet[30], alphabet[31]})
            pairs << first + second;
    AppFolder pairFolder(entries(pairs), layout);
    db = NameStore(pairFolder.dbPath());
    QStringList expected = pairs;
    std::sort(expected.begin(), expected.end(), std::cref(persianCollator()));
    QCOMPARE(names(db.list(GenderFilter::All)), expected);
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
    QFETCH(dbfile::Layout, layout);
    AppFolder folder(entries(real), layout);
    NameStore db(folder.dbPath());
    const QStringList listed = names(db.list(GenderFilter::All));
    QCOMPARE(listed.size(), real.size());
    // A plain file is sorted by the collation alone: ICU's order to the last detail. A file with
    // order keys is read in ICU's order of the letters; names with the same letters (forms of
    // one letter, vowel marks, joiners) follow their spelling.
    const PersianCollator& collator = persianCollator();
    for (qsizetype i = 1; i < listed.size(); ++i) {
        const int order = layout == dbfile::Layout::Plain
                              ? collator.compare(listed[i - 1], listed[i])
                              : comparePrimary(listed[i - 1], listed[i]);
        QVERIFY2(order <= 0, qPrintable(listed[i - 1] + QStringLiteral(" > ") + listed[i]));
    }
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
    const PersianCollator& collator = persianCollator();
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
    QTest::addColumn<dbfile::Layout>("layout");
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
                for (const dbfile::Layout layout :
                     {dbfile::Layout::OrderKeys, dbfile::Layout::Plain})
                    QTest::addRow("%s by %s, %d", qPrintable(stored), qPrintable(typed),
                                  int(layout))
                        << QStringLiteral("ر") + stored + QStringLiteral("ز")
                        << QStringLiteral("ر") + typed + QStringLiteral("ز") << layout;
    // The same letters at the start of a name, where the order key starts.
    for (const QStringList& forms : sameLetter)
        for (const QString& stored : forms)
            for (const QString& typed : forms)
                QTest::addRow("first %s by %s", qPrintable(stored), qPrintable(typed))
                    << stored + QStringLiteral("رز") << typed + QStringLiteral("ر")
                    << dbfile::Layout::OrderKeys;
    const QList<std::array<QString, 3>> spellings = {
        {QStringLiteral("first letter"), QStringLiteral("ياسمن"), QStringLiteral("یاس")},
        {QStringLiteral("joiner stored"), QStringLiteral("مه‌لقا"), QStringLiteral("مهل")},
        {QStringLiteral("joiner typed"), QStringLiteral("مهلقا"), QStringLiteral("مه‌ل")},
        {QStringLiteral("vowels stored"), QStringLiteral("مُحَمَّد"), QStringLiteral("محم")},
        {QStringLiteral("vowels typed"), QStringLiteral("محمد"), QStringLiteral("مُحَمّ")},
        {QStringLiteral("superscript alef"), QStringLiteral("رحمٰن"), QStringLiteral("رحمن")},
        {QStringLiteral("tatweel stored"), QStringLiteral("مهـسا"), QStringLiteral("مهس")},
        {QStringLiteral("tatweel typed"), QStringLiteral("مهسا"), QStringLiteral("مهـس")},
        {QStringLiteral("whole name"), QStringLiteral("فاطمة"), QStringLiteral("فاطمه")},
        {QStringLiteral("decomposed madda"), QStringLiteral("آرش"), QStringLiteral("ا\u0653ر")},
    };
    for (const auto& [name, stored, typed] : spellings) {
        QTest::addRow("%s", qPrintable(name)) << stored << typed << dbfile::Layout::OrderKeys;
        QTest::addRow("%s, plain", qPrintable(name)) << stored << typed << dbfile::Layout::Plain;
    }
}

void PersianTest::foldingLetterByLetter()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    AppFolder folder({{stored, stored, QStringLiteral("m")},
                      {QStringLiteral("ب"), QString(), QStringLiteral("f")}});
    NameStore db(folder.dbPath());
    QCOMPARE(names(db.namesBeginningWith(typed)), QStringList{stored});
    QCOMPARE(names(db.search(SearchIn::Meanings, typed)), QStringList{stored});
    QCOMPARE(names(db.search(SearchIn::NamesAndMeanings, typed)), QStringList{stored});
    QCOMPARE(persian::fold(stored).startsWith(persian::fold(typed)), true);
    QCOMPARE(QString::fromStdString(persian::foldUtf8(stored.toStdString())),
             persian::fold(stored));
}

void PersianTest::foldingKeepsOtherLettersApart()
{
    QFETCH(dbfile::Layout, layout);
    const QList<QPair<QString, QString>> distinct = {
        {QStringLiteral("ب"), QStringLiteral("پ")}, {QStringLiteral("ج"), QStringLiteral("چ")},
        {QStringLiteral("ز"), QStringLiteral("ژ")}, {QStringLiteral("ک"), QStringLiteral("گ")},
        {QStringLiteral("ه"), QStringLiteral("ح")}, {QStringLiteral("ی"), QStringLiteral("ئ")},
        {QStringLiteral("و"), QStringLiteral("ؤ")}, {QStringLiteral("ا"), QStringLiteral("ع")}};
    for (const auto& [a, b] : distinct) {
        AppFolder folder(entries({a + QStringLiteral("رش"), b + QStringLiteral("رش")}), layout);
        NameStore db(folder.dbPath());
        QCOMPARE(names(db.namesBeginningWith(a)), QStringList{a + QStringLiteral("رش")});
        QCOMPARE(names(db.namesBeginningWith(b)), QStringList{b + QStringLiteral("رش")});
    }
    QCOMPARE(persian::fold(QStringLiteral("Ali_50%")), QStringLiteral("Ali_50%"));
}

void PersianTest::searchStillMatchesFromTheFirstLetter()
{
    QFETCH(dbfile::Layout, layout);
    AppFolder folder({{QStringLiteral("آرش"), QStringLiteral("درخشان"), QStringLiteral("m")},
                      {QStringLiteral("رشید"), QStringLiteral("راه یافته"), QStringLiteral("m")},
                      {QStringLiteral("يگانه"), QStringLiteral("یکتا"), QStringLiteral("f")}},
                     layout);
    NameStore db(folder.dbPath());
    QCOMPARE(names(db.namesBeginningWith(QStringLiteral("رش"))),
             QStringList{QStringLiteral("رشید")});
    QCOMPARE(names(db.search(SearchIn::NamesAndMeanings, QStringLiteral("خشان"))), QStringList{});
    // The gender filter never narrows a search.
    QCOMPARE(names(db.search(SearchIn::NamesAndMeanings, QStringLiteral("ی"))),
             QStringList{QStringLiteral("يگانه")});
}

void PersianTest::fileStaysUsableByOtherPrograms()
{
    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (sqlite3.isEmpty())
        QSKIP("the sqlite3 command-line tool is not installed");
    QFETCH(dbfile::Layout, layout);
    AppFolder folder(entries({QStringLiteral("کاوه"), QStringLiteral("بهار")}), layout);
    NameStore db(folder.dbPath());
    QCOMPARE(names(db.namesBeginningWith(QStringLiteral("ك"))).size(), 1);
    db.add(QStringLiteral("پرستو"), QString(), std::nullopt);
    QProcess tool;
    tool.start(sqlite3,
               {folder.dbPath(), QStringLiteral("INSERT INTO vardel (p_name, means, gender) "
                                                "VALUES ('ژاله', 'شبنم', 'f'); "
                                                "SELECT count(*) FROM vardel;")});
    QVERIFY(tool.waitForFinished(10000));
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(tool.readAllStandardOutput().trimmed(), QByteArray("4"));
    QCOMPARE(names(db.list(GenderFilter::All)),
             (QStringList{QStringLiteral("بهار"), QStringLiteral("پرستو"), QStringLiteral("ژاله"),
                          QStringLiteral("کاوه")}));
    const auto schema = folder.query(QStringLiteral("SELECT group_concat(sql) FROM sqlite_master"));
    QVERIFY(!schema.first().first().toString().contains(QStringLiteral("persian")));
    QVERIFY(!schema.first().first().toString().contains(QStringLiteral("vardel_fold")));
}

void PersianTest::keyOfMatchesTheFile()
{
    QStringList all;
    for (const dbfile::Entry& entry : testsupport::realNames(3000))
        all << entry.name;
    all << QStringLiteral("علي") << QStringLiteral("كاوه") << QStringLiteral("أحمد")
        << QStringLiteral("مه‌سا") << QStringLiteral("مُحَمَّد") << QStringLiteral("مهـسا")
        << QStringLiteral("رئوف") << QStringLiteral("ٱ") << QStringLiteral("ۀ")
        << QStringLiteral("Sara") << QStringLiteral("ÉLODIE") << QStringLiteral("1 علی")
        << QStringLiteral(" ") << QStringLiteral("") << QStringLiteral("پچژکگوی");
    AppFolder folder(entries(all));
    const auto rows =
        folder.query(QStringLiteral("SELECT p_name, p_order FROM vardel ORDER BY id"));
    QCOMPARE(rows.size(), all.size());
    for (const QVariantList& row : rows)
        QCOMPARE(orderkey::of(row[0].toString()), row[1].toString());
}

void PersianTest::keyedSearchFindsWhatPlainSearchFinds()
{
    QList<dbfile::Entry> list = testsupport::realNames(4000);
    for (const QString& odd :
         {QStringLiteral("آرش"), QStringLiteral("أرسلان"), QStringLiteral("ئیلا"),
          QStringLiteral("ارغوان"), QStringLiteral("سأر"), QStringLiteral("سارا"),
          QStringLiteral("سآرا"), QStringLiteral("ساره"), QStringLiteral("Ali"),
          QStringLiteral("ali"), QStringLiteral("علي"), QStringLiteral("مه‌سا"),
          // Characters after the first letter that UTF-8 orders above the order key's mark.
          QStringLiteral("ب𐎠راو"), QStringLiteral("ک😀يازاد"), QStringLiteral("ج\uFFEFا"),
          QStringLiteral("ج\uFFEEب"), QStringLiteral("سا😀"),
          // Every form of alef, in the middle of names too.
          QStringLiteral("إرا"), QStringLiteral("ٱرا"), QStringLiteral("اأا"),
          QStringLiteral("آآآا"), QStringLiteral("ا\uFFEEب"), QStringLiteral("اءا"),
          QStringLiteral("سإا"),
          // Names that hold the order key's mark where a letter's key has it.
          QStringLiteral("ج\uFFEEا"), QStringLiteral("\uFFEEa"), QStringLiteral("ا\uFFEEر")})
        list.append({odd, odd, QStringLiteral("f")});
    AppFolder keyed(list, dbfile::Layout::OrderKeys);
    AppFolder plain(list, dbfile::Layout::Plain);
    QStringList typed = {
        QStringLiteral("ب"),       QStringLiteral("ک"),        QStringLiteral("ج"),
        QStringLiteral("ا"),       QStringLiteral("آ"),        QStringLiteral("أ"),
        QStringLiteral("سا"),      QStringLiteral("سار"),      QStringLiteral("سآ"),
        QStringLiteral("a"),       QStringLiteral("AL"),       QStringLiteral("علی"),
        QStringLiteral("مهس"),     QStringLiteral("ئ"),        QString(),
        QStringLiteral("%"),       QStringLiteral("ار"),       QStringLiteral("آرا"),
        QStringLiteral("اا"),      QStringLiteral("ساا"),      QStringLiteral("اااا"),
        QStringLiteral("ا\uFFEE"), QStringLiteral("اء"),       QStringLiteral("چا"),
        QStringLiteral("چب"),      QStringLiteral("ج\uFFEEا"), QStringLiteral("ا\uFFEEر"),
        QStringLiteral("أر")};
    QRandomGenerator random(3);
    for (int i = 0; i < 60; ++i) {
        const QString& name = list[random.bounded(list.size())].name;
        typed << name.left(1 + random.bounded(3));
    }
    for (const QString& text : std::as_const(typed)) {
        for (const SearchIn where :
             {SearchIn::Names, SearchIn::Meanings, SearchIn::NamesAndMeanings}) {
            QStringList fromKeys = names(NameStore(keyed.dbPath()).search(where, text));
            QStringList fromPlain = names(NameStore(plain.dbPath()).search(where, text));
            // In key order, except that characters outside the scripts of names (emoji and
            // the like) keep their code-point order.
            QStringList ordinary;
            for (const QString& name : std::as_const(fromKeys))
                if (std::none_of(name.begin(), name.end(),
                                 [](QChar c) { return c.isSurrogate() || c.unicode() >= 0xFFEE; }))
                    ordinary << name;
            for (qsizetype i = 1; i < ordinary.size(); ++i)
                QVERIFY(comparePrimary(ordinary[i - 1], ordinary[i]) <= 0);
            fromKeys.sort();
            fromPlain.sort();
            QVERIFY2(fromKeys == fromPlain, qPrintable(text));
        }
    }
}

QTEST_GUILESS_MAIN(PersianTest)
#include "tst_persian.moc"
