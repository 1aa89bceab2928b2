#include "wizard/language_table.h"

#include <gtest/gtest.h>

#include "wizard/language_names.h"

namespace korvane {
namespace {

// A block of 115 lines "<prefix> k" for entry k.
std::string Block(const std::string& prefix, int lines = LanguageTable::kEntryCount) {
  std::string out;
  for (int k = 1; k <= lines; ++k) out += prefix + " " + std::to_string(k) + "\r\n";
  return out;
}

TEST(LanguageTable, DefaultsAreTheEnglishMessages) {
  LanguageTable table;
  EXPECT_EQ(table.Message(2), "Setup resource not found");
  EXPECT_EQ(table.Message(20), "Runtime error in setup script:");
  EXPECT_EQ(table.Message(27), " Proxy Information (optional) ");
  EXPECT_EQ(table.Message(54), "");
  EXPECT_EQ(table.Message(55), "Locating resource");
  EXPECT_EQ(table.Message(87), "Accept ranges");
  EXPECT_EQ(table.Message(90), "Please select the language to use during the installation:");
  EXPECT_EQ(table.Message(100), "");
  EXPECT_EQ(table.Message(112), "Unable to play Flash movie");
  EXPECT_EQ(table.Message(115), "Entire feature will be &unavailable");
  EXPECT_EQ(table.Message(0), "");
  EXPECT_EQ(table.Message(116), "");
}

TEST(LanguageTable, AppliesBlocksUpToTheUsersLanguage) {
  const std::string file = Block("base") + "French\r\n" + Block("fr") + "German\r\n" + Block("de");
  struct Case {
    const char* user;
    const char* entry2;
  } cases[] = {{"German", "de 2"}, {"GERMAN", "de 2"}, {"Japanese", "de 2"}, {"French", "fr 2"}};
  for (const auto& c : cases) {
    LanguageTable table;
    table.ReadLanguageFile(file, c.user);
    EXPECT_EQ(table.Message(2), c.entry2) << c.user;
    EXPECT_EQ(table.Message(95), "") << "entries 91 to 111 are dropped";
    EXPECT_EQ(table.Message(112), std::string(c.entry2).substr(0, 3) + "112") << c.user;
  }
}

TEST(LanguageTable, AShortFileEmptiesTheMissingEntries) {
  LanguageTable table;
  table.ReadLanguageFile(Block("base", 100), "English");
  EXPECT_EQ(table.Message(90), "base 90");
  EXPECT_EQ(table.Message(112), "");
  EXPECT_EQ(table.Message(115), "");
}

TEST(LanguageNames, IdentifiersAndNames) {
  EXPECT_EQ(LanguageIdOf("portugese (brazil)"), "1046");
  EXPECT_EQ(LanguageIdOf("Klingon"), "1033");
  auto windows = [](int id) -> std::string {
    if (id == 2055) return "German";    // Swiss German
    if (id == 1111) return "Konkani";
    return "";
  };
  EXPECT_EQ(LanguageNameOf(1031, windows), "German");
  EXPECT_EQ(LanguageNameOf(2055, windows), "German");
  EXPECT_EQ(LanguageNameOf(1111, windows), "English");
  EXPECT_EQ(LanguageNameOf(0, nullptr), "English");
}

}  // namespace
}  // namespace korvane
