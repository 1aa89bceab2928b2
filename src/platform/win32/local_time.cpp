#include "platform/local_time.h"

#include <windows.h>

#include <cstdio>

namespace korvane::platform {

std::string LocalDateTimeText(uint64_t filetime) {
  if (filetime == 0) return {};
  FILETIME utc, local;
  utc.dwLowDateTime = static_cast<DWORD>(filetime);
  utc.dwHighDateTime = static_cast<DWORD>(filetime >> 32);
  SYSTEMTIME time;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time)) return {};
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                time.wMinute, time.wSecond);
  return text;
}

}  // namespace korvane::platform
