#pragma once

#include "dbfile.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace bench {

// The name of the entry whose meaning is LongMeaningLetters letters without a space: 1 MB of
// text (1,000,000 bytes in UTF-8 and in UTF-16).
QString longMeaningName();
inline constexpr int LongMeaningLetters = 500000;

struct NameSet
{
    QList<dbfile::Entry> entries; // in the order they are written to the table
    int realCount = 0;            // how many of them are real names (not compounds)
    QStringList typedPrefixes;    // three-letter beginnings of real names, in typing order
    QString source;               // where the real names came from
    int longLetters = 0;          // the length of the long meaning
};

// `count` entries: every real name of names.json in the shared data folder (those without a
// gender label get a generated one), completed by compounds of two of them, each entry with a
// meaning of 20 to 200 characters of Persian words, and one entry with a meaning of 1 MB. Generated
// names stand in for the real ones when the shared data is missing. The same count gives the same
// entries. `prefixCount` beginnings of real names to type. `longLetters` sets the length of the
// long meaning.
NameSet makeNames(int count, int prefixCount, int longLetters = LongMeaningLetters);

// `letters` Persian letters without a space or a joiner.
QString longMeaning(int letters);

} // namespace bench
