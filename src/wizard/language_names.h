#pragma once
// Language display names and Windows language identifiers.

#include <functional>
#include <string>
#include <string_view>

namespace korvane {

// The identifier of a display name (letter case ignored) as decimal text; "1033" when the name
// is not a known language.
std::string LanguageIdOf(std::string_view name);

// Asks Windows for the English name of a language identifier (empty when it has none).
using EnglishLanguageNameLookup = std::function<std::string(int identifier)>;

// The display name of an identifier. An identifier outside the table is mapped through the
// English name Windows gives it, so a regional variant named like a known language counts as
// that language and anything else as English.
std::string LanguageNameOf(int identifier, const EnglishLanguageNameLookup& englishName);

}  // namespace korvane
