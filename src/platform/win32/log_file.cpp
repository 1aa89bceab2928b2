#include "platform/log_file.h"

#include <windows.h>

#include <string>

namespace korvane::platform {
namespace {

bool IsNtFamily() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) return true;
#pragma GCC diagnostic pop
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

Status AppendLogLine(std::string_view path, std::string_view text, bool truncate) {
  const std::string file(path);
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                         truncate ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Error{"cannot open the log file " + file};
  SetFilePointer(h, 0, nullptr, FILE_END);
  const std::string line = std::string(text) + "\r\n";
  std::string bytes;
  if (IsNtFamily()) {
    int n = MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()), wide.data(), n);
    bytes.assign(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
  } else {
    bytes = line;
  }
  DWORD written = 0;
  BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  if (!ok || written != bytes.size()) return Error{"cannot write the log file " + file};
  return Ok();
}

}  // namespace korvane::platform
