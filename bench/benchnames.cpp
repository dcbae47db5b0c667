#include "benchnames.h"

#include "testsupport.h"

#include <algorithm>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSet>
#include <random>

namespace bench {

namespace {

const QChar zwnj(0x200C);

const QStringList& meaningWords()
{
    static const QStringList words =
        QStringLiteral("روشنایی ماه خورشید گل ستاره دریا باران نسیم بهار شادی مهربان دلیر پاک "
                       "زیبا نیک آسمان کوه فرشته امید نور")
            .split(QLatin1Char(' '));
    return words;
}

// A meaning as long as those users write: Persian words, 20 to 200 characters.
QString shortMeaning(QRandomGenerator& random)
{
    const QStringList& words = meaningWords();
    auto word = [&] {
        return words[static_cast<int>(random.bounded(words.size()))];
    };
    // Words of at most 8 letters: a meaning ends at most 11 characters beyond `length`.
    const int length = 20 + static_cast<int>(random.bounded(170));
    QString meaning = word();
    while (meaning.size() < length)
        meaning += (random.bounded(4) ? QStringLiteral(" ") : QStringLiteral(" و ")) + word();
    return meaning;
}

// The real names of the shared data, in the file's key order, with their gender labels.
QList<dbfile::Entry> sharedNames(QString* source)
{
    const QString folder = qEnvironmentVariableIsEmpty("VARDEL_NAMES_DATA")
                               ? QStringLiteral(VARDEL_NAMES_DATA_DEFAULT)
                               : qEnvironmentVariable("VARDEL_NAMES_DATA");
    QFile file(folder + QStringLiteral("/names.json"));
    QList<dbfile::Entry> names;
    if (!file.open(QIODevice::ReadOnly))
        return names;
    const QJsonObject all = QJsonDocument::fromJson(file.readAll()).object();
    QRandomGenerator random(8816);
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QString label = it.value().toObject().value(QStringLiteral("gender")).toString();
        QString gender;
        if (label == QStringLiteral("MALE"))
            gender = QStringLiteral("m");
        else if (label == QStringLiteral("FEMALE"))
            gender = QStringLiteral("f");
        else
            gender = random.bounded(2) ? QStringLiteral("f") : QStringLiteral("m");
        names.append({it.key(), QString(), gender});
    }
    *source = QStringLiteral("%1 real names of %2/names.json").arg(names.size()).arg(folder);
    return names;
}

bool typeable(const QString& name)
{
    if (name.size() < 3)
        return false;
    for (int i = 0; i < 3; ++i) {
        const QChar c = name[i];
        if (c == zwnj || !c.isLetter())
            return false;
    }
    return true;
}

} // namespace

QString longMeaning(int letters)
{
    const QString pattern = meaningWords().join(QString());
    QString text;
    text.reserve(letters + pattern.size());
    while (text.size() < letters)
        text += pattern;
    text.truncate(letters);
    return text;
}

QString longMeaningName()
{
    return QStringLiteral("بلندمعنا");
}

NameSet makeNames(int count, int prefixCount, int longLetters)
{
    NameSet set;
    set.longLetters = longLetters;
    QList<dbfile::Entry> real = sharedNames(&set.source);
    if (real.isEmpty()) {
        real = testsupport::realNames(8816);
        set.source = QStringLiteral("%1 generated names (the shared data folder is missing)")
                         .arg(real.size());
    }
    if (real.size() >= count)
        real.resize(count - 1);
    set.realCount = static_cast<int>(real.size());

    QRandomGenerator random(2026);
    QSet<QString> taken;
    taken.insert(longMeaningName());
    QList<dbfile::Entry>& entries = set.entries;
    entries.reserve(count);
    for (dbfile::Entry entry : std::as_const(real)) {
        taken.insert(entry.name);
        entry.meaning = shortMeaning(random);
        entries.append(entry);
    }
    // Compounds of two real names, joined directly or with a zero-width non-joiner as
    // Persian writes them; each spelling once.
    while (entries.size() < count - 1) {
        const dbfile::Entry& first = real[static_cast<int>(random.bounded(real.size()))];
        const dbfile::Entry& second = real[static_cast<int>(random.bounded(real.size()))];
        const QString name =
            first.name + (random.bounded(2) ? QString(zwnj) : QString()) + second.name;
        if (taken.contains(name))
            continue;
        taken.insert(name);
        entries.append({name, shortMeaning(random), first.gender});
    }
    entries.append({longMeaningName(), longMeaning(longLetters), QStringLiteral("f")});
    // A dictionary grows in no particular order: ids say nothing of alphabetical order.
    std::mt19937 shuffle(count);
    std::shuffle(entries.begin(), entries.end(), shuffle);

    QRandomGenerator pick(11);
    while (set.typedPrefixes.size() < prefixCount) {
        const QString& name = real[static_cast<int>(pick.bounded(real.size()))].name;
        if (typeable(name))
            set.typedPrefixes << name.left(3);
    }
    return set;
}

} // namespace bench
