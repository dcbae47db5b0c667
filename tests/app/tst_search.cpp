#include "app/messagebox.h"
#include "mainwindowfixture.h"

#include <QApplication>

using dbfile::Entry;
using testsupport::typeText;

namespace {

QList<Entry> names()
{
    return {{QStringLiteral("مهسا"), QStringLiteral("ماه مانند"), QStringLiteral("f")},
            {QStringLiteral("ماهان"), QStringLiteral("منسوب به ماه"), QStringLiteral("m")},
            {QStringLiteral("مهدی"), QStringLiteral("هدایت شده"), QStringLiteral("m")},
            {QStringLiteral("نیما"), QStringLiteral("ماه کامل"), QStringLiteral("m")},
            {QStringLiteral("ماهرخ"), QStringLiteral("ماه رو"), QStringLiteral("f")},
            {QStringLiteral("O'Hara"), QStringLiteral("it's 100%"), QStringLiteral("f")},
            {QStringLiteral("50_50"), QStringLiteral("نیمه_نیمه"), QStringLiteral("m")},
            {QStringLiteral("50x50"), QStringLiteral("نیمه‌کاره"), QStringLiteral("m")}};
}

} // namespace

class SearchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { MessageBox::takeAnswered(); }

    void searchShapes_data();
    void searchShapes();
    void neitherBoxTickedSearchesBoth();
    void textTooLongToSearch();
    void searchIgnoresGenderFilterAndKeepsIt();
    void liveFilterFollowsTyping();
    void oddTypedCharacters_data();
    void oddTypedCharacters();
};

void SearchTest::searchShapes_data()
{
    QTest::addColumn<bool>("inNames");
    QTest::addColumn<bool>("inMeanings");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    const QString mah = QStringLiteral("ماه");
    QTest::newRow("names") << true << false << mah
                           << QStringList{QStringLiteral("ماهان"), QStringLiteral("ماهرخ")};
    QTest::newRow("meanings") << false << true << mah
                              << QStringList{QStringLiteral("ماهرخ"), QStringLiteral("مهسا"),
                                             QStringLiteral("نیما")};
    QTest::newRow("both") << true << true << mah
                          << QStringList{QStringLiteral("ماهان"), QStringLiteral("ماهرخ"),
                                         QStringLiteral("مهسا"), QStringLiteral("نیما")};
    // Inside a meaning but not at its start: not found.
    QTest::newRow("not at the start") << true << true << QStringLiteral("شده") << QStringList{};
    QTest::newRow("empty text in names")
        << true << false << QString()
        << QStringList{QStringLiteral("50_50"), QStringLiteral("50x50"), QStringLiteral("ماهان"),
                       QStringLiteral("ماهرخ"), QStringLiteral("مهدی"),  QStringLiteral("مهسا"),
                       QStringLiteral("نیما"),  QStringLiteral("O'Hara")};
}

void SearchTest::searchShapes()
{
    QFETCH(bool, inNames);
    QFETCH(bool, inMeanings);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    MainWindowFixture f(names());
    f.find<QCheckBox>("Check1")->setChecked(inNames);
    f.find<QCheckBox>("Check2")->setChecked(inMeanings);
    f.find<QLineEdit>("txtSearch")->setText(text);
    f.select(0);
    QTest::mouseClick(f.find("Command1"), Qt::LeftButton);
    QCOMPARE(f.listed(), expected);
    QCOMPARE(f.count(), QString::number(expected.size()));
    QCOMPARE(f.list()->currentRow(), -1);
    QCOMPARE(f.find<QCheckBox>("Check1")->isChecked(), inNames);
    QCOMPARE(f.find<QCheckBox>("Check2")->isChecked(), inMeanings);
    QCOMPARE(f.find<QLineEdit>("txtSearch")->text(), text);
}

void SearchTest::neitherBoxTickedSearchesBoth()
{
    MainWindowFixture f(names());
    f.find<QCheckBox>("Check1")->setChecked(false);
    f.find<QCheckBox>("Check2")->setChecked(false);
    f.find<QLineEdit>("txtSearch")->setText(QStringLiteral("نیم"));
    QTest::mouseClick(f.find("Command1"), Qt::LeftButton);
    QVERIFY(f.find<QCheckBox>("Check1")->isChecked());
    QVERIFY(f.find<QCheckBox>("Check2")->isChecked());
    QCOMPARE(f.listed(), (QStringList{QStringLiteral("50_50"), QStringLiteral("50x50"),
                                      QStringLiteral("نیما")}));
}

void SearchTest::textTooLongToSearch()
{
    MainWindowFixture f(names());
    const QStringList before = f.listed();
    f.find<QLineEdit>("txtSearch")->setText(QString(60000, QChar(0x0645)));
    MessageBox::setNextAnswer(MessageBox::Ok);
    QTest::mouseClick(f.find("Command1"), Qt::LeftButton);
    const QStringList reports = MessageBox::takeAnswered();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().startsWith(QStringLiteral("متن جستجو بیش از اندازه بلند است")),
             qPrintable(reports.first()));
    QCOMPARE(f.listed(), before);
    QCOMPARE(f.count(), QString::number(before.size()));
}

void SearchTest::searchIgnoresGenderFilterAndKeepsIt()
{
    MainWindowFixture f(names());
    f.chooseFilter(1);
    // Persian names first, then Latin ones, as in Persian alphabetical order.
    QCOMPARE(f.listed(), (QStringList{QStringLiteral("ماهرخ"), QStringLiteral("مهسا"),
                                      QStringLiteral("O'Hara")}));
    f.find<QLineEdit>("txtSearch")->setText(QStringLiteral("مه"));
    QTest::mouseClick(f.find("Command1"), Qt::LeftButton);
    QCOMPARE(f.listed(), (QStringList{QStringLiteral("مهدی"), QStringLiteral("مهسا")}));
    QCOMPARE(f.find<QComboBox>("Combo1")->currentIndex(), 1);

    typeText(f.find("txtName"), QStringLiteral("ما"));
    QCOMPARE(f.listed(), (QStringList{QStringLiteral("ماهان"), QStringLiteral("ماهرخ")}));
    QCOMPARE(f.find<QComboBox>("Combo1")->currentIndex(), 1);
    QCOMPARE(f.find<QLineEdit>("txtSearch")->text(), QStringLiteral("مه"));
}

void SearchTest::liveFilterFollowsTyping()
{
    MainWindowFixture f(names());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QWidget* box = f.find("txtName");
    f.chooseFilter(0);
    f.select(0);
    const QString shown = f.find<QLabel>("namestr")->text();

    typeText(box, QStringLiteral("م"));
    QCOMPARE(f.listed().size(), 4);
    typeText(box, QStringLiteral("ا"));
    QCOMPARE(f.listed(), (QStringList{QStringLiteral("ماهان"), QStringLiteral("ماهرخ")}));
    typeText(box, QStringLiteral("هر"));
    QCOMPARE(f.listed(), QStringList{QStringLiteral("ماهرخ")});
    QCOMPARE(f.count(), QStringLiteral("1"));
    typeText(box, QStringLiteral("ز"));
    QVERIFY(f.listed().isEmpty());
    QCOMPARE(f.count(), QStringLiteral("0"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(f.listed(), QStringList{QStringLiteral("ماهرخ")});
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(box, Qt::Key_Backspace);
    // Emptied: every name, whatever the gender filter shows.
    QCOMPARE(f.listed().size(), 8);
    QCOMPARE(f.find<QComboBox>("Combo1")->currentIndex(), 0);
    // Refilling never touches the details panel.
    QCOMPARE(f.find<QLabel>("namestr")->text(), shown);
}

void SearchTest::oddTypedCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("byName");
    QTest::addColumn<QStringList>("byMeaning");
    QTest::newRow("apostrophe") << QStringLiteral("O'") << QStringList{QStringLiteral("O'Hara")}
                                << QStringList{};
    QTest::newRow("apostrophe in meaning")
        << QStringLiteral("it'") << QStringList{} << QStringList{QStringLiteral("O'Hara")};
    QTest::newRow("underscore") << QStringLiteral("50_") << QStringList{QStringLiteral("50_50")}
                                << QStringList{};
    QTest::newRow("underscore in meaning")
        << QStringLiteral("نیمه_") << QStringList{} << QStringList{QStringLiteral("50_50")};
    QTest::newRow("percent") << QStringLiteral("%") << QStringList{} << QStringList{};
    QTest::newRow("lone quote") << QStringLiteral("'") << QStringList{} << QStringList{};
    QTest::newRow("quote and bracket") << QStringLiteral("')") << QStringList{} << QStringList{};
    QTest::newRow("double quote") << QStringLiteral("\"") << QStringList{} << QStringList{};
    QTest::newRow("backslash") << QStringLiteral("\\") << QStringList{} << QStringList{};
}

void SearchTest::oddTypedCharacters()
{
    QFETCH(QString, text);
    QFETCH(QStringList, byName);
    QFETCH(QStringList, byMeaning);
    MainWindowFixture f(names());
    typeText(f.find("txtName"), text);
    QCOMPARE(f.listed(), byName);

    f.find<QCheckBox>("Check1")->setChecked(false);
    f.find<QCheckBox>("Check2")->setChecked(true);
    f.find<QLineEdit>("txtSearch")->setText(text);
    QTest::mouseClick(f.find("Command1"), Qt::LeftButton);
    QCOMPARE(f.listed(), byMeaning);
    QVERIFY(MessageBox::takeAnswered().isEmpty());
}

QTEST_MAIN(SearchTest)
#include "tst_search.moc"
