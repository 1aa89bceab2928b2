#pragma once
// The program's start-up and shutdown sequence: prepares the process, reads the command line
// and the package, fills the support directory from the support archive, shows the start-up
// windows, calls the script engine once and removes the support directory again.

#include <cstddef>
#include <functional>

#include "bootstrap/startup_context.h"
#include "platform/startup_services.h"

namespace korvane {

// The engine-side steps the sequence calls; an empty one is skipped.
struct StartupSteps {
  std::function<int(StartupContext&)> runEngine;           // returns the exit code in force
  std::function<void(StartupContext&)> initialiseDialogs;  // with the support directory ready
  std::function<void(StartupContext&, size_t statementIndex)> preloadDialog;
  std::function<void(StartupContext&)> postRunCache;  // right after the engine returned
};

// When this environment variable names a file, the sequence writes to it, just before the
// engine is called, the support directory and the wall-clock time (nanoseconds since
// 1970-01-01 UTC): the start-up benchmark and the Windows tests read it.
inline constexpr const char* kEngineMarkerVariable = "KORVANE_ENGINE_MARKER";

// Runs the whole sequence and returns the process exit code.
int RunStartupSequence(platform::StartupServices& system, const StartupSteps& steps);

}  // namespace korvane
