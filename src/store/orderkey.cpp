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

// Texts with many alefs: one range from the first alef's آ to the end of its ا, wide enough
// for every spelling, where the search condition decides each name.
constexpr qsizetype MaxRanges = 27;

Range wideAlefRange(const QString& folded)
{
    const qsizetype first = folded.indexOf(u'ا');
    const QString head = folded.left(first);
    return {of(head + QStringLiteral("آ")), of(head + QStringLiteral("ا")) + afterAll};
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

QList<Range> prefixRanges(const QString& folded)
{
    const QString key = of(folded);
    if (key.isEmpty())
        return {{key, afterAll, true}}; // every name
    const QChar alef(u'ا');

    // Folding makes آ أ إ ٱ into ا, but the alphabet keeps آ, ا (with ٱ) and the hamza forms
    // apart. So each alef that was typed stands for three spellings, each with a narrow range
    // of its own; an alef at the end needs two, as the range of ا reaches the hamza forms.
    QStringList spellings{QString()};
    for (qsizetype i = 0; i < folded.size(); ++i) {
        QStringList forms{QString(folded[i])};
        if (folded[i] == alef) {
            forms = {QStringLiteral("آ"), QStringLiteral("ا")};
            if (i + 1 < folded.size())
                forms << QStringLiteral("أ");
        }
        if (spellings.size() * forms.size() > MaxRanges)
            return {wideAlefRange(folded)};
        QStringList longer;
        for (const QString& spelling : std::as_const(spellings))
            for (const QString& form : std::as_const(forms))
                longer << spelling + form;
        spellings = longer;
    }

    QList<Range> ranges;
    for (const QString& spelling : std::as_const(spellings)) {
        const QString low = of(spelling);
        // Keys that go on with a character below the mark hold the name's own letters. Keys
        // that go on with the mark mostly belong to the next letter (چ after ج), and those
        // with a character above it (U+FFEF to U+FFFD, and every character beyond U+FFFF:
        // UTF-8 orders them after the mark) are names of this prefix: the search condition
        // tells those apart. A key that holds the mark itself is shared by letters that search
        // tells apart (ء ؤ ئ أ, or a name that holds the mark as a character), so there the
        // condition decides every name.
        const bool shared = low.contains(after);
        ranges.append({low, low + afterAll, false, shared ? QString() : low + after});
    }
    // In the order SQLite compares text (UTF-8 bytes), so that the rows of one range after
    // another come in key order. Ranges must not overlap (one key the beginning of another,
    // when the text itself holds the mark), or a name would be listed twice.
    std::sort(ranges.begin(), ranges.end(),
              [](const Range& a, const Range& b) { return a.low.toUtf8() < b.low.toUtf8(); });
    for (qsizetype i = 1; i < ranges.size(); ++i)
        if (ranges[i].low.startsWith(ranges[i - 1].low))
            return {wideAlefRange(folded)};
    return ranges;
}

} // namespace store::orderkey
