#pragma once
// The language table: the engine's own 115 messages, with built-in English defaults that a
// language file replaces.

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace korvane {

class LanguageTable {
 public:
  static constexpr int kEntryCount = 115;

  LanguageTable();

  // Entry k (1 to 115). Entries 91 to 111 hold no text and read as empty.
  [[nodiscard]] const std::string& Message(int entry) const;

  // Fills the table from a language file: the base block of 115 lines, then named blocks (a
  // language name line and 115 lines), each applied in turn until the block named like
  // userLanguage (letter case ignored) has been applied. Lines missing at the end of the file
  // read as empty texts. Entries 91 to 111 are read and dropped.
  void ReadLanguageFile(std::string_view text, std::string_view userLanguage);

  // Well-known entries.
  static constexpr int kSupportArchiveMissing = 2;
  static constexpr int kSupportArchiveFailed = 3;
  static constexpr int kInstallerDatabaseMissing = 4;
  static constexpr int kRuntimeErrorHeading = 20;
  static constexpr int kWizardCaption = 23;
  static constexpr int kPreparing = 24;

 private:
  std::array<std::string, kEntryCount + 1> entries_;  // index 0 unused
};

}  // namespace korvane
