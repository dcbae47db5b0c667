// The starter dictionary, data/names.tsv, as a careful editor would check it: every line a
// name, a meaning and a gender; standard Persian letters; no stray blanks; each name once; a
// meaning that says what the name means and ends with its origin, spelled one way, where the
// name is not Persian.
#include "dbfile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

class StarterNamesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyLineIsClean()
    {
        QFile file(QStringLiteral(VARDEL_STARTER_NAMES));
        QVERIFY(file.open(QIODevice::ReadOnly));
        // Letters that have a standard Persian form, Latin letters, and short vowels.
        const QRegularExpression foreign(QStringLiteral("[\u064A\u0649\u0643A-Za-z\u064B-\u0652]"));
        // A meaning that only names who bore the name, without saying what it means.
        const QRegularExpression bearerOnly(QStringLiteral(
            "^نام (پسر|پدر|دختر|مادر|همسر|پیامبر|پادشاه|امام|سردار|یکی از پهلوانان)[^؛]*$"));
        // Only the origin closes a meaning: one language, or two for a mixed name, Persian
        // last and Arabic first. A language in brackets anywhere else is an origin out of place.
        const QString language = QStringLiteral(
            "(عربی|ترکی|عبری|کردی|یونانی|لاتین|سانسکریت|فرانسوی|روسی|اسپانیایی|مغولی|سریانی|"
            "ارمنی|آلمانی|آرامی|انگلیسی|ایتالیایی|ژاپنی|آشوری|گرجی)");
        const QRegularExpression closing(QStringLiteral("[^ ] \\(([^()]*)\\)$"));
        const QRegularExpression origin(QStringLiteral("^%1( و (%1|فارسی))?$").arg(language));
        const QRegularExpression looseLanguage(
            QStringLiteral("\\([^()]*(%1|فارسی|لاتینی|سنسکریت)[^()]*\\)(?!$)").arg(language));
        // A name given to both sexes says so in one phrase, right before its origin.
        const QRegularExpression both(QStringLiteral("پسر و دختر|دختر و پسر"));
        const QRegularExpression bothPhrase(
            QStringLiteral("[^؛]؛ برای پسر و دختر( \\([^()]*\\))?$"));
        QSet<QString> names;
        int lineNumber = 0;
        int entries = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).chopped(1);
            ++lineNumber;
            if (line.startsWith(QLatin1Char('#')))
                continue;
            const QString where = QStringLiteral("line %1: %2").arg(lineNumber).arg(line);
            const QStringList fields = line.split(QLatin1Char('\t'));
            QVERIFY2(fields.size() == 3, qPrintable(where));
            const QString& name = fields[0];
            const QString& meaning = fields[1];
            const QString& gender = fields[2];
            QVERIFY2(gender == u"m" || gender == u"f", qPrintable(where));
            for (const QString& text : {name, meaning}) {
                QVERIFY2(!text.isEmpty(), qPrintable(where));
                QVERIFY2(text == text.trimmed() && !text.contains(QStringLiteral("  ")),
                         qPrintable(where));
                QVERIFY2(!text.contains(QStringLiteral("\u200C\u200C")) &&
                             !text.contains(QStringLiteral(" \u200C")) &&
                             !text.contains(QStringLiteral("\u200C ")),
                         qPrintable(where));
                QVERIFY2(!foreign.match(text).hasMatch(), qPrintable(where));
            }
            QVERIFY2(meaning != name && !bearerOnly.match(meaning).hasMatch(), qPrintable(where));
            if (meaning.endsWith(QLatin1Char(')'))) {
                const QRegularExpressionMatch tag = closing.match(meaning);
                QVERIFY2(tag.hasMatch() && origin.match(tag.captured(1)).hasMatch() &&
                             !tag.captured(1).contains(QStringLiteral(" و عربی")),
                         qPrintable(where));
            }
            QVERIFY2(!looseLanguage.match(meaning).hasMatch(), qPrintable(where));
            QVERIFY2(!both.match(meaning).hasMatch() || bothPhrase.match(meaning).hasMatch(),
                     qPrintable(where));
            QVERIFY2(!names.contains(name), qPrintable(where + QStringLiteral(" again")));
            names.insert(name);
            ++entries;
        }
        QVERIFY2(names.size() >= 4000, qPrintable(QString::number(names.size())));

        // The tool that makes db.mdb reads every entry.
        QList<dbfile::Entry> read;
        QString error;
        QVERIFY2(dbfile::readList(file.fileName(), &read, &error), qPrintable(error));
        QCOMPARE(read.size(), entries);
    }
};

QTEST_GUILESS_MAIN(StarterNamesTest)
#include "tst_starternames.moc"
