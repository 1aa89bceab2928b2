#include "engine/engine_run.h"

#include <filesystem>
#include <optional>

#include "bootstrap/exit_codes.h"
#include "bootstrap/parameter_lookup.h"
#include "engine/compiler_constants.h"
#include "engine/interpreter.h"
#include "engine/preparation_pass.h"
#include "engine/script_error.h"
#include "engine/worker_channel.h"
#include "platform/ansi_text.h"
#include "statements/statement_families.h"

namespace korvane {
namespace {

// The single-instance marker: temporary folder + revision code + ".vok", kept while the script
// runs when the build switched the option on.
class InstanceMarker {
 public:
  // False when another setup of the same revision holds the marker.
  bool Take(const PackageTables& tables, const std::string& tempFolder) {
    if (SubstituteConstants("#SINGLEINSTANCE#", tables.compilerConstants) != "TRUE") return true;
    path_ = platform::PathFromAnsi(tempFolder + tables.revisionCode + ".vok");
    std::error_code error;
    if (std::filesystem::exists(path_, error)) {
      path_.clear();
      return false;
    }
    std::FILE* file = nullptr;
#ifdef _WIN32
    file = _wfopen(path_.c_str(), L"wb");
#else
    file = std::fopen(path_.c_str(), "wb");
#endif
    if (file) std::fclose(file);
    return true;
  }
  void Release() {
    if (path_.empty()) return;
    std::error_code ignored;  // a marker already gone is what we want
    std::filesystem::remove(path_, ignored);
    path_.clear();
  }

 private:
  std::filesystem::path path_;
};

bool FileExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(platform::PathFromAnsi(path), error);
}

std::string WithExtension(const std::string& path, const char* extension) {
  const size_t dot = path.rfind('.');
  const size_t separator = path.find_last_of("\\/");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return path + extension;
  return path.substr(0, dot) + extension;
}

class EngineRunner {
 public:
  explicit EngineRunner(EngineStart& start)
      : start_(start),
        run_(start.tables, start.parameters, start.store, start.log, start.language, start.services,
             start.extensions, CommandLineProtection(start.start.silent, start.commandLineVariables),
             start.start.silent),
        standard_(start.catalogue ? std::nullopt : std::optional<StatementCatalogue>(StandardCatalogue())),
        catalogue_(start.catalogue ? *start.catalogue : *standard_) {}

  EngineResult Run() {
    try {
      return RunPrepared();
    } catch (const std::exception& error) {
      // A hook of the prologue failed before any statement ran: no source position to name.
      if (!run_.Silent())
        run_.ShowError(std::string(start_.language.Message(LanguageTable::kRuntimeErrorHeading)) + "\r\r" +
                       error.what());
      Cleanup();
      return {run_.exitCode, false};
    }
  }

 private:
  EngineResult RunPrepared() {
    TimingLog& log = start_.log;
    log.Write("    <Variables>");
    run_.lists.Clear();
    run_.labels.Clear();
    log.Write("    </Variables>");

    log.Write("    <CompileScript>");
    PreparationResult prepared = PrepareScript(start_.tables, start_.parameters, start_.store);
    if (!prepared.Passed()) return {exit_code::kScriptRejected, true};
    log.Write("    </CompileScript>");
    run_.lists.statementStates = std::move(prepared.statementStates);

    start_.store.Clear();
    start_.extensions.ClearComponents(run_);
    SetWorkerStartValues(start_.store, start_.services.clock.TickCount());
    SetPreInitializationVariables(run_, start_.start);

    log.Write("    <BootStrap>");
    start_.extensions.CacheStart(run_);
    log.Write("    </BootStrap>");

    run_.labels.Build(start_.tables, start_.parameters);

    const std::string& database = start_.start.installerDatabase;
    const std::string patch = WithExtension(database, ".msp");
    if (!FileExists(database) && !FileExists(patch)) return {run_.exitCode, false};

    if (!marker_.Take(start_.tables, start_.start.tempFolder)) return {run_.exitCode, false};

    log.Write("    <vrax>");
    start_.extensions.DefinePredefinedComponent(run_);
    SetInitializationVariables(run_, start_.start);

    // A failure from here on is a run-time error of the script.
    LoopOutcome outcome;
    try {
      if (FileExists(patch)) start_.extensions.PatchStart(run_);
      start_.extensions.RemoveResumeEntry(run_);
      WalkCommandHeaders();
      if (!start_.extensions.SelectLanguage(run_)) {
        Cleanup();
        return {run_.exitCode, false};
      }
      for (size_t i = 0; i + 1 < start_.commandLineVariables.size(); i += 2)
        run_.Set(start_.commandLineVariables[i], start_.commandLineVariables[i + 1], kInjectOverrideCommandLine);
      outcome = Interpreter(run_, catalogue_).Run();
    } catch (const std::exception& error) {
      outcome = {true, run_.flow.Current(), error.what()};
    }
    if (outcome.failed) {
      ReportRuntimeError(outcome);
      Cleanup();
      return {run_.exitCode, false};
    }

    log.Write("    </vrax>");
    log.Write("    <ExitScript>");
    Cleanup();
    log.Write("    </ExitScript>");
    if (start_.programMediaRemoved && start_.onMediaRemoved && start_.programMediaRemoved())
      start_.onMediaRemoved(run_.exitCode);
    return {run_.exitCode, false};
  }

  // Every statement's command header, published as "A" + header = "FALSE" in statement order.
  void WalkCommandHeaders() {
    const CommandHeaderTable headers(start_.tables.commandHeaders);
    for (size_t i = 0; i < start_.tables.StatementCount(); ++i)
      if (std::string header = headers.HeaderOf(i); !header.empty()) run_.lists.Publish("A" + header, "FALSE");
  }

  void ReportRuntimeError(const LoopOutcome& outcome) {
    if (run_.Silent()) return;
    run_.extensions.SetProgressErrorState(run_, true);
    run_.ShowError(RuntimeErrorText(start_.language.Message(LanguageTable::kRuntimeErrorHeading),
                                    SourcePlaceOf(start_.tables, outcome.statement), outcome.message));
  }

  void Cleanup() {
    marker_.Release();
    start_.extensions.Cleanup(run_);
  }

  EngineStart& start_;
  ScriptRun run_;
  std::optional<StatementCatalogue> standard_;
  const StatementCatalogue& catalogue_;
  InstanceMarker marker_;
};

}  // namespace

EngineResult RunEngine(EngineStart& start) { return EngineRunner(start).Run(); }

}  // namespace korvane
