#include "platform/locale.h"

#include <windows.h>

#include <cstdlib>

namespace korvane::platform {

int UserLanguageId(LocaleValue value) {
  char buffer[16] = {};
  const LCTYPE type = value == LocaleValue::Language ? LOCALE_ILANGUAGE : LOCALE_IDEFAULTLANGUAGE;
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer)) return 0;
  char* end = nullptr;
  long id = std::strtol(buffer, &end, 16);  // hexadecimal text such as 0409
  return (end == buffer || *end != '\0') ? 0 : static_cast<int>(id);
}

std::string EnglishLanguageName(int identifier) {
  char buffer[128] = {};
  if (!GetLocaleInfoA(static_cast<LCID>(identifier), LOCALE_SENGLANGUAGE, buffer, sizeof buffer)) return {};
  return buffer;
}

}  // namespace korvane::platform
