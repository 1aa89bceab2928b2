#pragma once
// The one point where the start-up sequence hands over to the script engine: the start values
// the engine takes from what start-up found, and the run itself.

#include "bootstrap/startup_context.h"
#include "engine/engine_extensions.h"
#include "engine/engine_variables.h"
#include "engine/script_run.h"

namespace korvane {

// The engine's start values from the start-up context: the program and its folder, the
// temporary folder, the support directory and the installer database inside it, the command
// line, the log path, the "/m=" and "/g=" values and the silent switch. `user` is the caller's.
[[nodiscard]] StartValues StartValuesFrom(const StartupContext& context, const platform::UserFacts& user);

// The setup cache is not read yet: every run starts as the first installation of the product,
// with nothing of it installed and no cache.
class FirstInstallationStart : public EngineExtensions {
 public:
  explicit FirstInstallationStart(const StartupContext& context) : context_(context) {}
  // PRODUCTCODE, REVISIONCODE, DATADIR (the media folder), NEEDSUPGRADE, MAINTENANCE and
  // NEWINSTANCE "FALSE". UNINSTALLLINK and ENGINECACHE need the cache root and stay unset.
  void CacheStart(ScriptRun& run) override;

 private:
  const StartupContext& context_;
};

// The result of a hand-over: the exit code in force, and whether the script was rejected by the
// preparation pass, after which the process ends at once.
struct HandOverResult {
  int exitCode = 0;
  bool endProcessNow = false;
};

// Runs the script of the package once on the given store with the given system services.
[[nodiscard]] HandOverResult HandOverToEngine(StartupContext& context, TVariableManager& store,
                                              const EngineServices& services, const platform::UserFacts& user);

}  // namespace korvane
