#include "media/extract_progress.h"

namespace korvane::media {

int ExtractPercent(uint64_t done, uint64_t total) {
  if (total == 0) return 100;
  // done * 100 could overflow for totals beyond 2^57 bytes; divide first there.
  uint64_t percent = done <= UINT64_MAX / 100 ? done * 100 / total : done / (total / 100 + 1);
  return percent >= 99 ? 100 : static_cast<int>(percent) + 1;
}

std::string ExtractProgressText(const std::string& entry_name, int percent, const std::string& complete_message) {
  size_t cut = entry_name.find_last_of("\\/");
  std::string file = cut == std::string::npos ? entry_name : entry_name.substr(cut + 1);
  return file + ", " + std::to_string(percent) + complete_message;
}

}  // namespace korvane::media
