#pragma once
// Local date-time text of a file time.

#include <cstdint>
#include <string>

namespace korvane::platform {

// A FILETIME (UTC) converted to local time, as "yyyy-mm-dd hh:nn:ss"; empty for 0.
std::string LocalDateTimeText(uint64_t filetime);

}  // namespace korvane::platform
