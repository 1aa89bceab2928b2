#include "platform/file_stamp.h"

#include <windows.h>

namespace korvane::platform {

std::optional<FileFacts> ReadFileFacts(const std::filesystem::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FileFacts facts;
  facts.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  facts.modified = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                   data.ftLastWriteTime.dwLowDateTime;
  return facts;
}

bool ApplyFileStamp(const std::filesystem::path& path, std::optional<uint64_t> modified,
                    std::optional<uint32_t> attributes) {
  bool ok = true;
  if (modified) {
    // Folders open only with backup semantics.
    HANDLE handle = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      ok = false;
    } else {
      FILETIME time;
      time.dwLowDateTime = static_cast<DWORD>(*modified);
      time.dwHighDateTime = static_cast<DWORD>(*modified >> 32);
      ok = SetFileTime(handle, nullptr, nullptr, &time) != 0;
      CloseHandle(handle);
    }
  }
  if (attributes) {
    DWORD settable = *attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (settable == 0) settable = FILE_ATTRIBUTE_NORMAL;
    if (!SetFileAttributesW(path.c_str(), settable)) ok = false;
  }
  return ok;
}

void ClearFileAttributes(const std::filesystem::path& path) {
  DWORD now = GetFileAttributesW(path.c_str());
  if (now == INVALID_FILE_ATTRIBUTES) return;
  DWORD cleared = now & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  if (cleared != now) SetFileAttributesW(path.c_str(), cleared ? cleared : FILE_ATTRIBUTE_NORMAL);
}

bool MoveFileOver(const std::filesystem::path& source, const std::filesystem::path& target) {
  return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace korvane::platform
