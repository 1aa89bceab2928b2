#pragma once
// What the extraction workers report for each progress call of the archive library.

#include <cstdint>
#include <string>

namespace korvane::media {

// done * 100 / total (truncated) + 1, at most 100; a total of 0 counts as finished (100).
int ExtractPercent(uint64_t done, uint64_t total);

// The entry's file name without its folder, ", ", the percent and the "% complete" message.
std::string ExtractProgressText(const std::string& entry_name, int percent, const std::string& complete_message);

}  // namespace korvane::media
