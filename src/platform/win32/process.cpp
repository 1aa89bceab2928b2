#include "platform/process.h"

#include <windows.h>

#include <span>
#include <vector>

#include "bootstrap/pe_image.h"

namespace korvane::platform {

std::filesystem::path ProgramPath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

std::filesystem::path TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  std::filesystem::path folder = n ? std::filesystem::path(std::wstring(buffer, n)) : std::filesystem::path(L"C:\\");
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

std::string RawCommandLine() { return GetCommandLineA(); }

Result<uint64_t> RunningImageEnd() {
  auto* base = reinterpret_cast<const uint8_t*>(GetModuleHandleW(nullptr));
  if (!base) return Error{"cannot find the running image"};
  // The headers are mapped as they stand in the file; SizeOfHeaders covers the section table.
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return ImageEndFromHeaders(std::span<const uint8_t>(base, nt->OptionalHeader.SizeOfHeaders));
}

}  // namespace korvane::platform
