#pragma once
// Where the interpreter stands in the statement list and which block it is in.

#include <cstddef>

namespace korvane {

// Where a Wizard Loop moves after a dialog.
enum class WizardDirection { Stay = 0, Forward = 1, Backward = -1 };

struct FlowState {
  size_t pointer = 0;         // the next statement to fetch; the one executing is pointer - 1
  int branchLevel = 0;        // If levels entered
  bool skipToBranch = false;  // a condition failed: skip to the matching Else, Else If or End
  bool skipToEnd = false;     // a branch ran to its end: skip to the matching End
  bool endReached = false;    // a skip stopped at an End that the next fetch reads again
  bool inWizard = false;      // a Wizard Loop is active
  WizardDirection wizardDirection = WizardDirection::Forward;
  bool wizardExit = false;    // the Wizard Loop was left; the next End belongs to it
  bool evaluateElseIf = false;  // a skip stopped at an Else If: the next fetch evaluates it like an If

  // The statement being executed.
  [[nodiscard]] size_t Current() const { return pointer == 0 ? 0 : pointer - 1; }

  // A dialog result code steers the Wizard Loop: 2 cancels, 6 moves forward, 7 moves back;
  // other codes leave the direction as it is.
  void SteerWizard(int dialogResultCode) {
    if (dialogResultCode == 2) wizardDirection = WizardDirection::Stay;
    if (dialogResultCode == 6) wizardDirection = WizardDirection::Forward;
    if (dialogResultCode == 7) wizardDirection = WizardDirection::Backward;
  }

  // A jump to a label leaves every block.
  void JumpTo(size_t statement) {
    pointer = statement;
    branchLevel = 0;
    skipToBranch = skipToEnd = endReached = inWizard = wizardExit = evaluateElseIf = false;
  }
};

}  // namespace korvane
