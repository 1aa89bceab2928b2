#pragma once
// The operating-system services the start-up sequence needs: version, registry marks,
// processor affinity, the program's own file and command line, the archive library's image,
// the user's language, message boxes, the start-up windows, the timing log file and the
// environment. The setup uses the Win32 implementation; host tests use a fake.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/locale.h"
#include "platform/startup_windows.h"
#include "platform/window_handle.h"
#include "support/result.h"

namespace korvane::platform {

struct WindowsVersion {
  unsigned major = 0;
  unsigned minor = 0;
};

enum class RegistryRoot { ClassesRoot, CurrentUser };

class StartupServices {
 public:
  virtual ~StartupServices() = default;

  [[nodiscard]] virtual WindowsVersion Version() = 0;
  // Opens or creates key under root and writes one value.
  virtual Status WriteRegistryText(RegistryRoot root, const std::string& key, const std::string& name,
                                   const std::string& value) = 0;
  virtual Status WriteRegistryNumber(RegistryRoot root, const std::string& key, const std::string& name,
                                     uint32_t value) = 0;
  // Keeps the process on the first processor, where the system offers that.
  virtual void RestrictToFirstProcessor() = 0;

  [[nodiscard]] virtual std::filesystem::path ProgramPath() = 0;
  // The user's temporary folder with a trailing separator, created when missing.
  [[nodiscard]] virtual std::filesystem::path TempFolder() = 0;
  // The raw process command line, program part included.
  [[nodiscard]] virtual std::string RawCommandLine() = 0;
  // Where the running executable's image ends (its stub size).
  [[nodiscard]] virtual Result<uint64_t> RunningImageEnd() = 0;
  // Loads the library as a module, reads where its image ends and unloads it again.
  [[nodiscard]] virtual Result<uint64_t> LibraryImageEnd(const std::filesystem::path& library) = 0;

  [[nodiscard]] virtual int UserLanguageId(LocaleValue value) = 0;
  [[nodiscard]] virtual std::string EnglishLanguageName(int identifier) = 0;

  // A modal message box with the error icon.
  virtual void ShowError(std::string_view caption, std::string_view text, WindowHandle owner) = 0;
  [[nodiscard]] virtual std::unique_ptr<StartupWindows> ShowStartupWindows(const std::filesystem::path& splashPicture,
                                                                           const std::string& caption,
                                                                           const std::string& text) = 0;
  // One line of the timing log (see log_file.h).
  virtual Status AppendLogLine(std::string_view path, std::string_view text, bool truncate) = 0;
  // The value of an environment variable, empty when it is not set.
  [[nodiscard]] virtual std::string EnvironmentValue(const char* name) = 0;
};

// The services of the running system.
std::unique_ptr<StartupServices> SystemStartupServices();

}  // namespace korvane::platform
