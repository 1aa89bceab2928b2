// Ending the script from a statement.

#include <cstdint>
#include <limits>

#include "engine/script_run.h"
#include "statements/statement_families.h"
#include "support/text.h"

namespace korvane {

void RegisterTermination(StatementCatalogue& catalogue) {
  catalogue.Register("Terminate Install", [](ScriptRun& run, size_t) { run.EndScript(); });
  catalogue.Register("Terminate with Exit Code", [](ScriptRun& run, size_t statement) {
    // A text that is not a 32-bit integer gives exit code 0.
    const auto code = ParseInteger(run.store.Expand(run.Parameter(statement, 1)));
    const bool fits = code && *code >= std::numeric_limits<int32_t>::min() &&
                      *code <= std::numeric_limits<int32_t>::max();
    run.exitCode = fits ? static_cast<int>(*code) : 0;
    run.EndScript();
  });
}

}  // namespace korvane
