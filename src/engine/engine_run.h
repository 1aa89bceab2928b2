#pragma once
// The script engine's entry: the prologue, the statement loop and the epilogue of one run.

#include <functional>
#include <string>

#include "bootstrap/package_tables.h"
#include "bootstrap/parameter_lookup.h"
#include "bootstrap/timing_log.h"
#include "engine/engine_extensions.h"
#include "engine/engine_variables.h"
#include "engine/script_run.h"
#include "engine/statement_catalogue.h"
#include "engine/variable_manager.h"
#include "wizard/language_table.h"

namespace korvane {

struct EngineStart {
  const PackageTables& tables;
  const ParameterLookup& parameters;
  TVariableManager& store;
  TimingLog& log;
  const LanguageTable& language;
  EngineServices services;
  EngineExtensions& extensions;
  StartValues start;
  LineList commandLineVariables;  // pairs: upper-cased NAME, VALUE, in command-line order
  // The statements the run knows; the standard catalogue when null.
  const StatementCatalogue* catalogue = nullptr;
  // The removable-media check after the epilogue: true when the program's folder lies on a drive
  // that is not fixed and no longer exists. Then onMediaRemoved finishes the process (the
  // start-up sequence's own shutdown) instead of the engine returning. Both optional.
  std::function<bool()> programMediaRemoved;
  std::function<void(int exitCode)> onMediaRemoved;
};

struct EngineResult {
  int exitCode = 0;
  // The preparation pass rejected the script: end the process at once with exitCode (314),
  // without any further shutdown step.
  bool endProcessNow = false;
};

[[nodiscard]] EngineResult RunEngine(EngineStart& start);

}  // namespace korvane
