#include "bootstrap/library_language_file.h"

#include <string>

#include "platform/file_stream.h"

namespace korvane {

Status ReadLibraryLanguageFile(const std::filesystem::path& library, uint64_t imageEnd, LanguageTable& table,
                               std::string_view userLanguage) {
  platform::FileStream file;
  if (!file.OpenForReading(library)) return Error{"cannot open " + library.string()};
  const int64_t size = file.Size();
  if (size < 0) return Error{"cannot tell the size of " + library.string()};
  if (static_cast<uint64_t>(size) <= imageEnd) return Ok();
  std::string text(static_cast<size_t>(static_cast<uint64_t>(size) - imageEnd), '\0');
  if (!file.Seek(imageEnd) || file.Read(text.data(), text.size()) != text.size())
    return Error{"cannot read the language file after the image of " + library.string()};
  table.ReadLanguageFile(text, userLanguage);
  return Ok();
}

}  // namespace korvane
