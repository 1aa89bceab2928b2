#include "engine/block_scan.h"

namespace korvane {

bool Executable(const PackageTables& tables, size_t index) {
  return !tables.IsDisabled(index) && tables.statementNames[index] != "Ignore";
}

ScanStop ScanForward(const PackageTables& tables, size_t pointer, ScanTarget target) {
  ScanStop stop;
  int depth = 0;
  const size_t count = tables.StatementCount();
  while (pointer < count) {
    const size_t index = pointer++;
    if (!Executable(tables, index)) continue;
    const std::string& name = tables.statementNames[index];
    if (name == "If" || name == "Wizard Loop") {
      ++depth;
    } else if (name == "End") {
      if (--depth < 0) {
        stop.isEnd = stop.found = true;
        break;
      }
    } else if (target == ScanTarget::BranchOrEnd && depth == 0 && (name == "Else" || name == "Else If")) {
      stop.found = true;
      (name == "Else" ? stop.isElse : stop.isElseIf) = true;
      break;
    }
  }
  stop.after = pointer;
  return stop;
}

}  // namespace korvane
