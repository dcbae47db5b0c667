#include "store/persian.h"

#include <sqlite3.h>
#include <unicode/ucol.h>
#include <unicode/uset.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <map>
#include <QList>
#include <vector>

namespace persian {

namespace {

constexpr char32_t Dropped = 0;

// The folding of one character; Dropped for characters that search ignores.
char32_t foldChar(char32_t c)
{
    switch (c) {
    case U'\u064A': // ARABIC LETTER YEH
    case U'\u0649': // ARABIC LETTER ALEF MAKSURA
        return U'\u06CC';
    case U'\u0643': // ARABIC LETTER KAF
        return U'\u06A9';
    case U'\u0629': // TEH MARBUTA
    case U'\u06C0': // HEH WITH YEH ABOVE
        return U'\u0647';
    case U'\u0622': // ALEF WITH MADDA ABOVE
    case U'\u0623': // ALEF WITH HAMZA ABOVE
    case U'\u0625': // ALEF WITH HAMZA BELOW
    case U'\u0671': // ALEF WASLA
        return U'\u0627';
    case U'\u200C': // ZERO WIDTH NON-JOINER
    case U'\u0640': // TATWEEL
    case U'\u0670': // SUPERSCRIPT ALEF
        return Dropped;
    default:
        // Short vowels and the combining madda and hamzas (the decomposed forms of آ أ إ).
        if (c >= U'\u064B' && c <= U'\u0655')
            return Dropped;
        return c;
    }
}

// Decodes one code point of UTF-8 at `i`, advancing it; malformed bytes decode as U+FFFD.
char32_t next(std::string_view text, size_t& i)
{
    UChar32 c = 0;
    int32_t at = static_cast<int32_t>(i);
    U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), at, static_cast<int32_t>(text.size()),
            c);
    i = static_cast<size_t>(at);
    return c < 0 ? U'\uFFFD' : static_cast<char32_t>(c);
}

void appendUtf8(std::string& out, char32_t c)
{
    std::array<uint8_t, 4> bytes{};
    int32_t length = 0;
    U8_APPEND_UNSAFE(bytes.data(), length, static_cast<UChar32>(c));
    out.append(reinterpret_cast<const char*>(bytes.data()), static_cast<size_t>(length));
}

// ICU's "fa" collation, opened once for the process.
UCollator* collator()
{
    static UCollator* const instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("fa", &status);
        return U_SUCCESS(status) ? c : nullptr;
    }();
    return instance;
}

int icuCompare(std::string_view a, std::string_view b)
{
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        ucol_strcollUTF8(collator(), a.data(), static_cast<int32_t>(a.size()), b.data(),
                         static_cast<int32_t>(b.size()), &status);
    if (U_FAILURE(status))
        return a.compare(b);
    return result;
}

// The primary weights of the characters names are written in, ranked in the collation's
// order: most pairs of names differ in their first letters, which the ranks decide without
// building whole ICU sort keys. Rank 0 means the character is ignored at this level; a
// character without a rank (one that expands or contracts, or lies outside the table) sends
// the comparison to ICU.
class PrimaryRanks
{
public:
    static constexpr uint16_t Ignorable = 0;
    static constexpr uint16_t Unknown = 0xFFFF;

    PrimaryRanks()
    {
        m_ranks.fill(Unknown);
        UCollator* base = collator();
        if (!base)
            return;
        UErrorCode status = U_ZERO_ERROR;
        UCollator* primary = ucol_clone(base, &status);
        if (U_FAILURE(status))
            return;
        ucol_setStrength(primary, UCOL_PRIMARY);

        // Characters that take part in contractions or expansions are left to ICU.
        USet* contractions = uset_openEmpty();
        USet* expansions = uset_openEmpty();
        ucol_getContractionsAndExpansions(primary, contractions, expansions, true, &status);

        std::map<std::string, std::vector<char32_t>> byKey;
        for (char32_t c = 0x20; c < Size; ++c) {
            if (c == 0x7F || (c >= 0x80 && c < 0x600) || (c >= 0x700 && c < 0x2000) ||
                uset_contains(contractions, static_cast<UChar32>(c)) ||
                uset_contains(expansions, static_cast<UChar32>(c)))
                continue;
            const UChar unit = static_cast<UChar>(c);
            std::array<uint8_t, 32> key{};
            const int32_t length = ucol_getSortKey(primary, &unit, 1, key.data(), key.size());
            if (length <= 0 || length > static_cast<int32_t>(key.size()))
                continue;
            byKey[std::string(reinterpret_cast<const char*>(key.data()), length)].push_back(c);
        }
        uset_close(contractions);
        uset_close(expansions);
        ucol_close(primary);

        uint16_t rank = 0;
        for (const auto& [key, characters] : byKey) {
            // A key of the terminator alone: nothing at the primary level.
            const uint16_t value = key.size() <= 1 ? Ignorable : ++rank;
            for (const char32_t c : characters)
                m_ranks[c] = value;
        }
    }

    uint16_t operator[](char32_t c) const { return c < Size ? m_ranks[c] : Unknown; }

private:
    static constexpr char32_t Size = 0x2010; // ASCII, Arabic, and the joiners U+200C/D
    std::array<uint16_t, Size> m_ranks;
};

const PrimaryRanks& primaryRanks()
{
    static const PrimaryRanks ranks;
    return ranks;
}

int collate(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return compare({static_cast<const char*>(a), static_cast<size_t>(lengthA)},
                   {static_cast<const char*>(b), static_cast<size_t>(lengthB)});
}

// Whether `text` holds a character that folding changes. Those characters are all in the
// Arabic block (two bytes from 0xD8 to 0xDB) or the zero-width non-joiner.
bool needsFolding(std::string_view text)
{
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const char32_t c = next(text, i);
        if ((lead >= 0xD8 && lead <= 0xDB) || lead == 0xE2) {
            if (foldChar(c) != c)
                return true;
        }
    }
    return false;
}

void foldFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    const std::string_view utf8(text, static_cast<size_t>(sqlite3_value_bytes(arguments[0])));
    // Most names hold nothing to fold: hand the value back untouched.
    if (!needsFolding(utf8)) {
        sqlite3_result_value(context, arguments[0]);
        return;
    }
    const std::string folded = foldUtf8(utf8);
    sqlite3_result_text(context, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
}

} // namespace

QString fold(QStringView text)
{
    QString folded;
    folded.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        const char32_t f = foldChar(c);
        if (f != Dropped)
            folded.append(QChar::fromUcs4(f));
    }
    return folded;
}

std::string foldUtf8(std::string_view text)
{
    std::string folded;
    folded.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char32_t c = next(text, i);
        // ASCII is never folded: copy it as it stands.
        if (c < 0x80) {
            folded.push_back(static_cast<char>(c));
            continue;
        }
        const char32_t f = foldChar(c);
        if (f != Dropped)
            appendUtf8(folded, f);
    }
    return folded;
}

int compare(std::string_view a, std::string_view b)
{
    if (!collator())
        return a.compare(b);
    const PrimaryRanks& ranks = primaryRanks();
    size_t i = 0;
    size_t j = 0;
    for (;;) {
        uint16_t rankA = PrimaryRanks::Ignorable;
        while (rankA == PrimaryRanks::Ignorable && i < a.size())
            rankA = ranks[next(a, i)];
        uint16_t rankB = PrimaryRanks::Ignorable;
        while (rankB == PrimaryRanks::Ignorable && j < b.size())
            rankB = ranks[next(b, j)];
        if (rankA == PrimaryRanks::Unknown || rankB == PrimaryRanks::Unknown)
            return icuCompare(a, b);
        if (rankA != rankB)
            return rankA < rankB ? -1 : 1;    // an ended text has rank 0 and comes first
        if (rankA == PrimaryRanks::Ignorable) // both ended with equal letters
            return icuCompare(a, b);
    }
}

bool registerOn(sqlite3* db)
{
    return sqlite3_create_collation_v2(db, collationName, SQLITE_UTF8, nullptr, collate, nullptr) ==
               SQLITE_OK &&
           sqlite3_create_function_v2(
               db, foldFunctionName, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
               nullptr, foldFunction, nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace persian
