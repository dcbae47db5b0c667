#include "store/orderkey.h"

#include <QStringList>

namespace store::orderkey {

namespace {

// After every key character: greater than any character of a name (the last character of
// the last private use plane, an ordinary character for every UTF-8 and UTF-16 conversion).
const QString afterAll = QString::fromUcs4(U"\U0010FFFD");
// Marks a letter that sorts after the one written before it: چ is ج then this. Any
// character above the letters of every script serves (HALFWIDTH WHITE CIRCLE).
const QChar after(0xFFEE);

// Characters left out of the key: those search ignores.
QList<char16_t> leftOut()
{
    QList<char16_t> characters{u'\u200C', u'\u0640', u'\u0670'};
    for (char16_t c = 0x064B; c <= 0x0655; ++c)
        characters << c;
    return characters;
}

// Each letter whose code point is out of alphabetical place, with the key it gets.
struct Replacement
{
    char16_t letter;
    QString key;
};

QList<Replacement> replacements()
{
    const QString alef = QStringLiteral("ا");
    return {
        {u'ء', alef + after},
        {u'أ', alef + after},
        {u'ؤ', alef + after},
        {u'إ', alef + after},
        {u'ئ', alef + after},
        {u'ٱ', alef},
        {u'ة', QStringLiteral("ه")},
        {u'ۀ', QStringLiteral("ه")},
        // پ takes the free place of ة, between ب and ت.
        {u'پ', QString(QChar(0x0629))},
        {u'چ', QStringLiteral("ج") + after},
        {u'ژ', QStringLiteral("ز") + after},
        {u'ک', QStringLiteral("ك")},
        {u'گ', QStringLiteral("ك") + after},
        // و goes before ه.
        {u'و', QStringLiteral("ن") + after},
        {u'ی', QStringLiteral("ى")},
        {u'ي', QStringLiteral("ى")},
    };
}

QString sqlText(const QString& text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// Letters of other scripts come after the Arabic script: a-z after lower(), and the letters
// from U+00C0 up to the Arabic block.
bool isOtherScript(char32_t first)
{
    return (first >= 'a' && first <= 'z') || (first >= 0xC0 && first < 0x600);
}

} // namespace

QStringList schema()
{
    QString stripped = QStringLiteral("lower(p_name)");
    for (const char16_t c : leftOut())
        stripped = QStringLiteral("replace(%1,%2,'')").arg(stripped, sqlText(QString(QChar(c))));
    QString key = QStringLiteral("p_order1");
    for (const Replacement& r : replacements())
        key = QStringLiteral("replace(%1,%2,%3)")
                  .arg(key, sqlText(QString(QChar(r.letter))), sqlText(r.key));
    const QString otherScript = QStringLiteral(
        "(CASE WHEN unicode(p_order1) BETWEEN 97 AND 122 OR unicode(p_order1) BETWEEN 192 AND "
        "1535 THEN char(65518) ELSE '' END)");
    return {
        QStringLiteral("CREATE TABLE vardel ("
                       "id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "p_name TEXT, means TEXT, gender TEXT, "
                       "p_order1 TEXT GENERATED ALWAYS AS (%1) STORED, "
                       "p_order TEXT GENERATED ALWAYS AS (%2 || %3) STORED)")
            .arg(stripped, otherScript, key),
        // Holds every column, so that a list is read from the index alone.
        QStringLiteral("CREATE INDEX vardel_order "
                       "ON vardel (p_order, p_name, means, gender, p_order1)"),
    };
}

QString of(const QString& text)
{
    static const QList<char16_t> dropped = leftOut();
    static const QList<Replacement> replaced = replacements();
    QString stripped;
    stripped.reserve(text.size());
    for (const QChar c : text) {
        if (dropped.contains(c.unicode()))
            continue;
        // SQLite's lower() changes ASCII letters only.
        stripped += c.unicode() < 0x80 ? c.toLower() : c;
    }
    QString key;
    key.reserve(stripped.size() + 2);
    if (!stripped.isEmpty() && isOtherScript(stripped.toUcs4().constFirst()))
        key += after;
    for (const QChar c : std::as_const(stripped)) {
        const auto found = std::find_if(replaced.begin(), replaced.end(),
                                        [c](const Replacement& r) { return r.letter == c; });
        key += found == replaced.end() ? QString(c) : found->key;
    }
    return key;
}

Range prefixRange(const QString& folded)
{
    // Folding makes آ أ إ ٱ into ا, but the alphabet keeps آ, ا and the hamza forms apart.
    // Those three stand side by side in key order, so a range up to the first alef reaches
    // them all, together with the names of ء ؤ ئ, which the search condition then leaves out.
    const qsizetype alef = folded.indexOf(QStringLiteral("ا"));
    if (alef >= 0) {
        const QString head = folded.left(alef);
        return {of(head + QStringLiteral("آ")), of(head + QStringLiteral("ا")) + afterAll};
    }
    const QString key = of(folded);
    if (key.isEmpty())
        return {key, afterAll, true}; // every name
    // ء ؤ ئ share one place in the alphabet but not in search.
    const bool hamza = folded.contains(QStringLiteral("ء")) ||
                       folded.contains(QStringLiteral("ؤ")) || folded.contains(QStringLiteral("ئ"));
    if (hamza)
        return {key, key + afterAll};
    // Keys that go on with a character below the mark hold the name's own letters. Keys that
    // go on with the mark mostly belong to the next letter (چ after ج), and those with a
    // character above it (U+FFEF to U+FFFD, and every character beyond U+FFFF: UTF-8 orders
    // them after the mark) are names of this prefix: the search condition tells those apart.
    return {key, key + afterAll, false, key + after};
}

} // namespace store::orderkey
