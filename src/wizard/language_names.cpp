#include "wizard/language_names.h"

#include <array>

#include "support/text.h"

namespace korvane {
namespace {

struct LanguageName {
  const char* displayName;
  int identifier;
};

constexpr std::array<LanguageName, 35> kLanguages{{
    {"Arabic", 1025},   {"Catalan", 1027},   {"Chinese (Taiwan)", 1028},  {"Chinese (PRC)", 2052},
    {"Czech", 1029},    {"Danish", 1030},    {"German", 1031},            {"Greek", 1032},
    {"English", 1033},  {"Spanish", 3082},   {"Estonian", 1061},          {"Finnish", 1035},
    {"French", 1036},   {"Hebrew", 1037},    {"Hungarian", 1038},         {"Italian", 1040},
    {"Japanese", 1041}, {"Korean", 1042},    {"Lithuanian", 1063},        {"Latvian", 1062},
    {"Dutch", 1043},    {"Norwegian", 1044}, {"Polish", 1045},            {"Portugese (Brazil)", 1046},
    {"Portugese (Portugal)", 2070},          {"Romanian", 1048},          {"Russian", 1049},
    {"Croatian", 1050}, {"Slovak", 1051},    {"Swedish", 1053},           {"Thai", 1054},
    {"Turkish", 1055},  {"Slovenian", 1060}, {"Vietnamese", 1066},        {"Basque", 1069},
}};

}  // namespace

std::string LanguageIdOf(std::string_view name) {
  for (const auto& language : kLanguages)
    if (SameText(name, language.displayName)) return std::to_string(language.identifier);
  return "1033";
}

std::string LanguageNameOf(int identifier, const EnglishLanguageNameLookup& englishName) {
  for (const auto& language : kLanguages)
    if (language.identifier == identifier) return language.displayName;
  const int mapped = static_cast<int>(*ParseInteger(LanguageIdOf(englishName ? englishName(identifier) : "")));
  for (const auto& language : kLanguages)
    if (language.identifier == mapped) return language.displayName;
  return "English";
}

}  // namespace korvane
