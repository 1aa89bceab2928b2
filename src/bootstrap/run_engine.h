#pragma once
// The one point where the start-up sequence hands over to the script engine.

#include "bootstrap/startup_context.h"

namespace korvane {

// Runs the script of the package once and returns the exit code in force when it ends.
int RunEngine(StartupContext& context);

}  // namespace korvane
