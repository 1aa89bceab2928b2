// Program entry of the setup stub: finds the script package at the end of its own file and
// reads it. The rest of the start-up sequence builds on this.

#include <windows.h>

#include <filesystem>
#include <string>

#include "bootstrap/command_line.h"
#include "bootstrap/exit_codes.h"
#include "bootstrap/package_reader.h"
#include "bootstrap/timing_log.h"
#include "platform/log_file.h"
#include "platform/message_box.h"
#include "platform/process.h"

namespace korvane {
namespace {

constexpr const char* kStartupCaption = "Korvane Wizard";

int RunSetup() {
  const CommandLine commandLine = ParseCommandLine(platform::RawCommandLine());
  const bool silent = commandLine.Silent();
  TimingLog log([](std::string_view path, std::string_view line, bool truncate) {
    (void)platform::AppendLogLine(path, line, truncate);  // a log that cannot be written is no reason to stop
  });
  log.SetPath(commandLine.LogPath());
  log.Write("<Korvane>");
  log.Write("  <SetupSplash>");

  const std::filesystem::path program = platform::ProgramPath();
  const std::filesystem::path temp = platform::TempFolder();

  auto fail = [&](int code, const std::string& message) {
    if (!silent) platform::ShowErrorMessage(kStartupCaption, message);
    return code;
  };

  log.Write("    <StubSize>");
  auto stubSize = platform::RunningImageEnd();
  std::error_code sizeError;
  const auto fileSize = std::filesystem::file_size(program, sizeError);
  if (!stubSize || sizeError || fileSize <= *stubSize) return fail(exit_code::kNoPackage, "For internal use only");
  log.Write("    </StubSize>");

  log.Write("    <StubData>");
  auto copy = CopyPackageToTemp(program, *stubSize, temp);
  if (!copy) return fail(exit_code::kDamagedPackage, copy.error());
  log.Write("    </StubData>");
  log.Write("    <GlobalLists>");
  auto tables = ReadPackageCopy(*copy);
  if (!tables) return fail(exit_code::kDamagedPackage, tables.error());
  log.Write("    </GlobalLists>");

  log.Write("  </SetupSplash>");
  log.Write("</Korvane>");
  return exit_code::kSuccess;
}

}  // namespace
}  // namespace korvane

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return korvane::RunSetup(); }
