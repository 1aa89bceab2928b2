// Set Variable: the script's assignment, with its persist marker and the side effects of ABORT,
// PROGRESS and PROGRESSTEXT.

#include <string>

#include "engine/reference_name.h"
#include "engine/script_run.h"
#include "engine/truth_words.h"
#include "statements/statement_families.h"
#include "support/text.h"

namespace korvane {
namespace {

constexpr std::string_view kPersistMarker = "$VRAX$VRAX$";
constexpr std::string_view kContext = "Set Variable Action";

// Clears the worker-busy flag however the statement ends.
class BusyWhileSetting {
 public:
  explicit BusyWhileSetting(ScriptRun& run) : run_(run) {}
  ~BusyWhileSetting() { run_.workerBusy = false; }
  BusyWhileSetting(const BusyWhileSetting&) = delete;
  BusyWhileSetting& operator=(const BusyWhileSetting&) = delete;

 private:
  ScriptRun& run_;
};

void SetVariableStatement(ScriptRun& run, size_t statement) {
  BusyWhileSetting busy(run);
  // The value: translated when a language is active (parameter 2 is the statement's only
  // translated text), then expanded.
  const std::string value = run.store.Expand(run.TranslatedParameter(statement, 2));

  std::string name = run.Parameter(statement, 1);
  bool persist = false;
  if (const size_t marker = name.find(kPersistMarker); marker != std::string::npos) {
    persist = name.substr(marker + kPersistMarker.size()) == "TRUE";
    name.resize(marker);
  }
  if (std::string referenced = ReferenceName(name); !referenced.empty()) name = std::move(referenced);

  if (!run.store.Exists(name)) run.Set(UpperCase(name), "", kContext);
  run.Set(name, value, kContext);
  if (persist) run.lists.Persist(name);

  run.workerBusy = true;
  // Setting ABORT cancels the run like the Cancel button does.
  if (SameText(name, "ABORT")) run.store.Set("VRAX_IsCancelled", run.Get(name));
  if (SameText(name, "PROGRESS") || SameText(name, "PROGRESSTEXT")) {
    const auto position = ParseInteger(run.Get("PROGRESS"));
    run.extensions.RefreshProgress(run, run.Get("PROGRESSTEXT"), position ? *position : 0);
  }
}

}  // namespace

void RegisterSetVariable(StatementCatalogue& catalogue) { catalogue.Register("Set Variable", SetVariableStatement); }

}  // namespace korvane
