#include "bootstrap/startup_context.h"

#include "platform/ansi_text.h"

namespace korvane {

std::string PathText(const std::filesystem::path& path) { return platform::AnsiFromUtf16(path.u16string()); }

std::string FolderText(const std::filesystem::path& folder) {
  std::string text = PathText(folder);
  const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
  if (text.empty() || text.back() != separator) text.push_back(separator);
  return text;
}

}  // namespace korvane
