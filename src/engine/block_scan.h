#pragma once
// The forward scans that skip the rest of a block.

#include <cstddef>

#include "bootstrap/package_tables.h"

namespace korvane {

enum class ScanTarget {
  BranchOrEnd,  // a failed condition: the matching Else, Else If or End
  End,          // a finished branch: the matching End
};

struct ScanStop {
  size_t after = 0;     // the statement pointer after the scan: just past the statement it stopped at
  bool found = false;   // false when the scan ran off the end of the script
  bool isEnd = false, isElse = false, isElseIf = false;
};

// Scans forward from pointer. Enabled If and Wizard Loop statements open nested blocks and
// enabled Ends close them; disabled statements and statements named "Ignore" count for nothing.
// Stops at the End that closes no nested block or, for BranchOrEnd, at an Else or Else If met
// outside every nested block.
[[nodiscard]] ScanStop ScanForward(const PackageTables& tables, size_t pointer, ScanTarget target);

// True when the statement takes part in block structure and flow (enabled and not "Ignore").
[[nodiscard]] bool Executable(const PackageTables& tables, size_t index);

}  // namespace korvane
