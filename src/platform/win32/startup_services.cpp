#include "platform/startup_services.h"

#include <windows.h>

#include <cstdlib>
#include <span>

#include "bootstrap/pe_image.h"
#include "platform/log_file.h"
#include "platform/message_box.h"
#include "platform/process.h"

namespace korvane::platform {
namespace {

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER; }

Status WriteValue(RegistryRoot root, const std::string& key, const std::string& name, DWORD type, const void* data,
                  DWORD size) {
  HKEY handle = nullptr;
  LONG opened = RegCreateKeyExA(RootKey(root), key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                &handle, nullptr);
  if (opened != ERROR_SUCCESS)
    return Error{"cannot open the registry key " + key + " (system error " + std::to_string(opened) + ")"};
  LONG written = RegSetValueExA(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(handle);
  if (written != ERROR_SUCCESS)
    return Error{"cannot write the registry value " + name + " under " + key + " (system error " +
                 std::to_string(written) + ")"};
  return Ok();
}

class Win32StartupServices final : public StartupServices {
 public:
  WindowsVersion Version() override {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return {};
#pragma GCC diagnostic pop
    return {info.dwMajorVersion, info.dwMinorVersion};
  }

  Status WriteRegistryText(RegistryRoot root, const std::string& key, const std::string& name,
                           const std::string& value) override {
    return WriteValue(root, key, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
  }

  Status WriteRegistryNumber(RegistryRoot root, const std::string& key, const std::string& name,
                             uint32_t value) override {
    DWORD data = value;
    return WriteValue(root, key, name, REG_DWORD, &data, sizeof data);
  }

  void RestrictToFirstProcessor() override {
    // Resolved at run time: systems of the 95 family do not have it.
    using AffinityFunction = BOOL(WINAPI*)(HANDLE, DWORD_PTR);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return;
    auto setAffinity =
        reinterpret_cast<AffinityFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetProcessAffinityMask")));
    if (setAffinity) setAffinity(GetCurrentProcess(), 1);
  }

  std::filesystem::path ProgramPath() override { return platform::ProgramPath(); }
  std::filesystem::path TempFolder() override { return platform::TempFolder(); }
  std::string RawCommandLine() override { return platform::RawCommandLine(); }
  Result<uint64_t> RunningImageEnd() override { return platform::RunningImageEnd(); }

  Result<uint64_t> LibraryImageEnd(const std::filesystem::path& library) override {
    HMODULE module = LoadLibraryW(library.c_str());
    if (!module)
      return Error{"cannot load the library " + library.string() + " (system error " + std::to_string(GetLastError()) +
                   ")"};
    // The headers are mapped as they stand in the file; SizeOfHeaders covers the section table.
    const auto* base = reinterpret_cast<const uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    auto end = ImageEndFromHeaders(std::span<const uint8_t>(base, nt->OptionalHeader.SizeOfHeaders));
    FreeLibrary(module);
    return end;
  }

  int UserLanguageId(LocaleValue value) override { return platform::UserLanguageId(value); }
  std::string EnglishLanguageName(int identifier) override { return platform::EnglishLanguageName(identifier); }

  void ShowError(std::string_view caption, std::string_view text, WindowHandle owner) override {
    ShowErrorMessage(caption, text, owner);
  }

  std::unique_ptr<StartupWindows> ShowStartupWindows(const std::filesystem::path& splashPicture,
                                                     const std::string& caption, const std::string& text) override {
    return platform::ShowStartupWindows(splashPicture, caption, text);
  }

  Status AppendLogLine(std::string_view path, std::string_view text, bool truncate) override {
    return platform::AppendLogLine(path, text, truncate);
  }

  std::string EnvironmentValue(const char* name) override {
    const char* value = std::getenv(name);
    return value ? value : "";
  }
};

}  // namespace

std::unique_ptr<StartupServices> SystemStartupServices() { return std::make_unique<Win32StartupServices>(); }

}  // namespace korvane::platform
