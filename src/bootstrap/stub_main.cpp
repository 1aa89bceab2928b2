// Program entry of the setup stub: finds the script package at the end of its own file and
// reads it. The rest of the start-up sequence builds on this.

#include <windows.h>

#include <filesystem>
#include <string>

#include "bootstrap/command_line.h"
#include "bootstrap/exit_codes.h"
#include "bootstrap/package_reader.h"
#include "bootstrap/parameter_lookup.h"
#include "bootstrap/timing_log.h"
#include "engine/engine_run.h"
#include "platform/ansi_text.h"
#include "platform/application_window.h"
#include "platform/log_file.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/system_clock.h"
#include "platform/user_facts.h"

namespace korvane {
namespace {

constexpr const char* kStartupCaption = "Korvane Wizard";

std::string AnsiPath(const std::filesystem::path& path) { return platform::AnsiFromUtf16(path.u16string()); }

// Hands the package to the script engine. Until the start-up sequence creates the support
// directory and copies the installer database into it, the database beside the program stands in.
int RunScript(const PackageTables& tables, const CommandLine& commandLine, TimingLog& log,
              const std::filesystem::path& program, const std::filesystem::path& temp) {
  ParameterLookup parameters;
  parameters.AddList(tables.parameters);
  TVariableManager store;
  LanguageTable language;
  const auto clock = platform::MakeSystemClock();
  const auto window = platform::MakeApplicationWindow();
  const auto errorBoxes = platform::MakeSystemErrorBoxes();
  EngineExtensions extensions;

  StartValues start;
  start.programPath = AnsiPath(program);
  start.programFolder = AnsiPath(program.parent_path()) + "\\";
  start.tempFolder = AnsiPath(temp);
  start.installerDatabase = AnsiPath(std::filesystem::path(program).replace_extension(".msi"));
  start.commandLineText = commandLine.text;
  start.logPath = commandLine.LogPath();
  start.launcherPath = commandLine.ValuedSwitch("/m=");
  start.policyPath = commandLine.ValuedSwitch("/g=");
  start.silent = commandLine.Silent();
  start.user = platform::ReadUserFacts();

  EngineStart engine{tables,    parameters, store, log, language, {*clock, *window, *errorBoxes}, extensions,
                     std::move(start), commandLine.variablePairs, nullptr, {}, {}};
  const EngineResult result = RunEngine(engine);
  if (result.endProcessNow) ExitProcess(static_cast<UINT>(result.exitCode));
  return result.exitCode;
}

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
  log.Write("  <RunScript>");
  const int exitCode = RunScript(*tables, commandLine, log, program, temp);
  log.Write("  </RunScript>");
  log.Write("</Korvane>");
  return exitCode;
}

}  // namespace
}  // namespace korvane

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return korvane::RunSetup(); }
