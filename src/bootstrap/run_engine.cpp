#include "bootstrap/run_engine.h"

#include "bootstrap/exit_codes.h"

namespace korvane {

// The interpreter is not joined to the setup yet: the script does not run and the start-up
// sequence goes on with the shutdown steps.
int RunEngine(StartupContext&) { return exit_code::kSuccess; }

}  // namespace korvane
