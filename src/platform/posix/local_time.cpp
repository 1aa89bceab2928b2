#include "platform/local_time.h"

#include <time.h>

#include <cstdio>

namespace korvane::platform {

std::string LocalDateTimeText(uint64_t filetime) {
  constexpr uint64_t kUnixEpochAsFiletime = 116444736000000000ull;
  if (filetime < kUnixEpochAsFiletime) return {};
  time_t seconds = static_cast<time_t>((filetime - kUnixEpochAsFiletime) / 10000000ull);
  tm local;
  if (!localtime_r(&seconds, &local)) return {};
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

}  // namespace korvane::platform
