#pragma once

#include <QString>

// The order key: a text whose plain (binary) order is Persian alphabetical order, kept by
// db.mdb in the generated column p_order and its index, so that every list comes out of the
// index in order instead of being sorted for each keystroke.
//
// It is written with SQLite's own functions only (lower and replace), so any SQLite program
// can still add and change rows. It holds each letter's place in the alphabet: آ, then ا,
// then the hamza forms, ب, پ, ... ی; it leaves out joiners, tatweel and vowel marks, and
// puts names in other scripts after the Persian ones. Forms of one letter (ي ى ی, ك ک, ة ۀ ه)
// share their place.
namespace store::orderkey {

// CREATE TABLE and CREATE INDEX statements of a db.mdb with order keys.
QStringList schema();

// The key of `text`, exactly as the generated column computes it.
QString of(const QString& text);

// A range [low, high) of order keys. It may hold more names than those searched for: the
// search condition must still decide, except for keys below `certainBelow` where that is given.
struct Range
{
    QString low;
    QString high;
    // The range holds every name (the text was empty, or only characters search ignores).
    bool everything = false;
    QString certainBelow = {};
};
// Ranges that together hold every name whose folded text begins with `folded` (already folded
// for search): apart from each other, in key order, at most a few dozen.
QList<Range> prefixRanges(const QString& folded);

} // namespace store::orderkey
