#pragma once
// The user's language settings, from Windows.

#include <string>

namespace korvane::platform {

enum class LocaleValue {
  Language,         // the user's language (language files)
  DefaultLanguage,  // the user's default language (the language dialog)
};

// The language identifier of the user's default locale for the given value; 0 when Windows
// cannot tell.
int UserLanguageId(LocaleValue value);

// The English name Windows gives a language identifier; empty when it has none.
std::string EnglishLanguageName(int identifier);

}  // namespace korvane::platform
