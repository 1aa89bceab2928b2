// Blocks, branches, the Wizard Loop, labels and the statements without effect.

#include <string>

#include "engine/block_scan.h"
#include "engine/condition.h"
#include "engine/script_error.h"
#include "engine/script_run.h"
#include "statements/statement_families.h"

namespace korvane {
namespace {

// If, and an Else If that a skip stopped at: the condition opens a branch level whether it
// holds or not; when it fails the rest of the branch is skipped.
void EvaluateBranch(ScriptRun& run, size_t statement) {
  ConditionParameters condition;
  condition.variable = run.TranslatedParameter(statement, 1);
  condition.operatorCode = run.Parameter(statement, 2);
  condition.value = run.TranslatedParameter(statement, 3);
  condition.negate = run.Parameter(statement, 4);
  Result<bool> holds = EvaluateCondition(condition, run.store);
  if (!holds) throw ScriptError(holds.error());
  ++run.flow.branchLevel;
  if (!*holds) run.flow.skipToBranch = true;
}

// Else, Else If and End reached after a branch ran.
void CloseBranch(ScriptRun& run, std::string_view name) {
  FlowState& flow = run.flow;
  if (flow.endReached && name == "End") {
    --flow.branchLevel;
    flow.endReached = false;
  } else if (name == "Else") {
    flow.skipToEnd = true;
  } else if (flow.branchLevel >= 1 && !flow.wizardExit) {
    if (name == "Else If") flow.skipToEnd = true;
    if (name == "End") --flow.branchLevel;
  } else {
    flow.wizardExit = false;
  }
}

void GoToLabel(ScriptRun& run, size_t statement) {
  const std::string label = run.Parameter(statement, 1);
  const auto target = run.labels.Find(label);
  // The preparation pass rejects a jump to a missing label, so only a damaged package gets here.
  if (!target) throw ScriptError("LABEL undefined: " + label);
  run.flow.JumpTo(*target);
}

void NoEffect(ScriptRun&, size_t) {}

}  // namespace

void RegisterControlFlow(StatementCatalogue& catalogue) {
  catalogue.Register("If", EvaluateBranch);
  catalogue.Register("Else If", [](ScriptRun& run, size_t statement) {
    if (run.flow.evaluateElseIf) {
      run.flow.evaluateElseIf = false;
      EvaluateBranch(run, statement);
    } else {
      CloseBranch(run, "Else If");
    }
  });
  catalogue.Register("Else", [](ScriptRun& run, size_t) { CloseBranch(run, "Else"); });
  catalogue.Register("End", [](ScriptRun& run, size_t) { CloseBranch(run, "End"); });
  catalogue.Register("Wizard Loop", [](ScriptRun& run, size_t) {
    run.flow.inWizard = true;
    run.flow.wizardDirection = WizardDirection::Forward;
  });
  catalogue.Register("GoTo Label", GoToLabel);
  for (const char* name : {"Label", "Comment", "Code Folding Region", "Ignore"}) catalogue.Register(name, NoEffect);
}

}  // namespace korvane
