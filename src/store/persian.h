#pragma once

#include <QString>
#include <string>
#include <string_view>

struct sqlite3;

// Persian text as users expect it: alphabetical order, and search that does not fail on the
// different Arabic and Persian forms of a letter.
namespace persian {

// Folds `text` for prefix search: the Arabic and Persian forms of a letter become one
// (ي ى ی, ك ک, ة ۀ ه, أ إ ٱ آ ا), and zero-width non-joiners, short-vowel marks and the
// tatweel disappear. Stored and typed text go through this same folding.
QString fold(QStringView text);
std::string foldUtf8(std::string_view text);

// Compares two UTF-8 texts in Persian alphabetical order (ICU's "fa" collation).
int compare(std::string_view a, std::string_view b);

// Names under which the connection knows the two.
inline constexpr char collationName[] = "persian";
inline constexpr char foldFunctionName[] = "vardel_fold";

// Registers the collation and the folding function on a database connection. Both live only
// in the connection: nothing in the database file depends on them.
bool registerOn(sqlite3* db);

} // namespace persian
