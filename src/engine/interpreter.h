#pragma once
// The statement loop: fetches statement after statement, refreshes the engine variables before
// each, skips blocks, moves through Wizard Loops and dispatches by name.

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_set>

#include "engine/statement_catalogue.h"
#include "engine/statement_refresh.h"

namespace korvane {

class ScriptRun;

// Window messages are processed before every statement whose index is a multiple of this.
inline constexpr size_t kMessageInterval = 314;

struct LoopOutcome {
  bool failed = false;       // a statement raised an error
  size_t statement = 0;      // the failing statement
  std::string message;       // its error text
};

class Interpreter {
 public:
  Interpreter(ScriptRun& run, const StatementCatalogue& catalogue);

  // Runs from the flow's statement pointer until the script runs off its end, a statement ends
  // it, or a statement raises an error (caught here, at the statement boundary).
  [[nodiscard]] LoopOutcome Run();

 private:
  // One pass of the loop; false when the script has ended.
  bool Step();
  void SkipBlocks();
  // The next statement to execute, or nothing when the fetch met a disabled statement.
  [[nodiscard]] std::optional<size_t> Fetch();
  [[nodiscard]] std::optional<size_t> NavigateWizard();
  void LeaveWizard(size_t endIndex);
  void PublishProgressChange();
  void Dispatch(size_t statement);

  ScriptRun& run_;
  const StatementCatalogue& catalogue_;
  StatementRefresh refresh_;
  std::string lastProgressText_;
  std::string lastProgress_;
  std::unordered_set<std::string> plugins_;
  size_t executing_ = 0;
};

}  // namespace korvane
