#pragma once
// The state of one script run, shared by the interpreter, the statements and the worker
// protocol: the package, the store, the run's lists and flags, and the services it uses.

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "bootstrap/package_tables.h"
#include "bootstrap/parameter_lookup.h"
#include "bootstrap/timing_log.h"
#include "engine/deferred_lists.h"
#include "engine/engine_extensions.h"
#include "engine/flow_state.h"
#include "engine/label_table.h"
#include "engine/mathematics.h"
#include "engine/variable_access.h"
#include "engine/variable_manager.h"
#include "platform/application_window.h"
#include "platform/message_box.h"
#include "platform/system_clock.h"
#include "wizard/language_table.h"

namespace korvane {

// What the engine runs on: the operating system seams.
struct EngineServices {
  platform::SystemClock& clock;
  platform::ApplicationWindow& window;
  platform::ErrorBoxes& errorBoxes;
};

class WorkerSupervisor;

class ScriptRun {
 public:
  ScriptRun(const PackageTables& tables, const ParameterLookup& parameters, TVariableManager& store,
            TimingLog& log, const LanguageTable& language, EngineServices services,
            EngineExtensions& extensions, CommandLineProtection protection, bool silent);
  ~ScriptRun();
  ScriptRun(const ScriptRun&) = delete;
  ScriptRun& operator=(const ScriptRun&) = delete;

  const PackageTables& tables;
  const ParameterLookup& parameters;
  TVariableManager& store;
  TimingLog& log;
  const LanguageTable& language;
  EngineServices services;
  EngineExtensions& extensions;

  DeferredLists lists;
  FlowState flow;
  LabelTable labels;
  RandomGeneratorState random;

  // Parameter number of the statement; parameter 0 is its key. A statement without a key has
  // only empty parameters.
  [[nodiscard]] std::string Parameter(size_t statement, size_t number) const;
  // The same, translated for the active language first (for the parameters that are translated).
  [[nodiscard]] std::string TranslatedParameter(size_t statement, int number);

  // SetVariable under the command-line protection of this run.
  void Set(std::string_view name, std::string_view value, std::string_view context);
  [[nodiscard]] std::string Get(std::string_view name) const { return GetVariable(store, name); }
  [[nodiscard]] const CommandLineProtection& Protection() const { return protection_; }
  void SetProtection(CommandLineProtection protection) { protection_ = std::move(protection); }

  // The values refreshed before every statement.
  [[nodiscard]] bool Silent() const { return silent_; }
  void SetSilent(bool silent) { silent_ = silent; }
  void SetCaptionParts(std::string title, bool brandingOff);
  [[nodiscard]] std::string StandardCaption() const;

  // The process exit code in force.
  int exitCode = 0;

  // A statement asks to end the script; the interpreter runs the epilogue after it.
  void EndScript() { endRequested_ = true; }
  [[nodiscard]] bool EndRequested() const { return endRequested_; }

  // Set while a worker statement waits for its worker; the dialog timer reads it from the
  // main thread.
  std::atomic<bool> workerBusy{false};

  // The worker threads of this run, created on first use (on the main thread).
  WorkerSupervisor& Workers();

  // Shows an error box with the standard caption, owned by the active dialog window.
  void ShowError(std::string_view text);

 private:
  CommandLineProtection protection_;
  bool silent_ = false;
  std::string title_;
  bool brandingOff_ = false;
  bool endRequested_ = false;
  std::unique_ptr<WorkerSupervisor> workers_;
};

}  // namespace korvane
