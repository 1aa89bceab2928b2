#include "engine/interpreter.h"

#include <exception>

#include "engine/block_scan.h"
#include "engine/script_run.h"
#include "engine/truth_words.h"
#include "engine/worker_channel.h"
#include "support/text.h"

namespace korvane {

Interpreter::Interpreter(ScriptRun& run, const StatementCatalogue& catalogue)
    : run_(run),
      catalogue_(catalogue),
      plugins_(run.tables.pluginStatements.begin(), run.tables.pluginStatements.end()) {}

LoopOutcome Interpreter::Run() {
  LoopOutcome outcome;
  try {
    while (!run_.EndRequested() && Step()) {
    }
  } catch (const std::exception& error) {
    outcome.failed = true;
    outcome.statement = executing_;
    outcome.message = error.what();
  }
  return outcome;
}

bool Interpreter::Step() {
  FlowState& flow = run_.flow;
  const size_t count = run_.tables.StatementCount();
  if (flow.pointer >= count) return false;
  if (flow.pointer % kMessageInterval == 0) run_.services.window.ProcessPendingMessages();
  refresh_.Run(run_);
  SkipBlocks();
  if (flow.pointer >= count) return false;

  const std::optional<size_t> statement = flow.inWizard ? NavigateWizard() : Fetch();
  if (!statement) return true;
  executing_ = *statement;
  run_.Set("ABORT", TruthText(TruthOf(run_.Get("VRAX_IsCancelled"))), "Cancel State");
  PublishProgressChange();
  Dispatch(*statement);
  return true;
}

void Interpreter::SkipBlocks() {
  FlowState& flow = run_.flow;
  if (flow.skipToBranch) {
    flow.skipToBranch = false;
    const ScanStop stop = ScanForward(run_.tables, flow.pointer, ScanTarget::BranchOrEnd);
    flow.pointer = stop.after;
    if (stop.isEnd) {
      flow.pointer = stop.after - 1;
      flow.endReached = true;
    } else if (stop.isElseIf && !flow.skipToEnd) {
      flow.pointer = stop.after - 1;
      --flow.branchLevel;
      flow.evaluateElseIf = true;
    }
  }
  if (flow.skipToEnd) {
    flow.skipToEnd = false;
    const ScanStop stop = ScanForward(run_.tables, flow.pointer, ScanTarget::End);
    flow.pointer = stop.after;
    if (stop.isEnd) {
      flow.pointer = stop.after - 1;
      flow.endReached = true;
    }
  }
}

std::optional<size_t> Interpreter::Fetch() {
  FlowState& flow = run_.flow;
  const size_t count = run_.tables.StatementCount();
  size_t index = flow.pointer++;
  while (!Executable(run_.tables, index) && flow.pointer < count) index = flow.pointer++;
  if (run_.tables.IsDisabled(index)) return std::nullopt;
  return index;
}

std::optional<size_t> Interpreter::NavigateWizard() {
  FlowState& flow = run_.flow;
  const PackageTables& tables = run_.tables;
  const size_t count = tables.StatementCount();
  size_t cursor = flow.pointer - 1;  // the statement looked at last: the loop itself or a dialog
  if (flow.wizardDirection == WizardDirection::Stay) {
    const ScanStop stop = ScanForward(tables, cursor + 1, ScanTarget::End);
    LeaveWizard(stop.isEnd ? stop.after - 1 : count);
    return std::nullopt;
  }
  for (;;) {
    const bool forward = flow.wizardDirection == WizardDirection::Forward;
    if (forward ? cursor + 1 >= count : cursor == 0) {
      LeaveWizard(count);
      return std::nullopt;
    }
    cursor = forward ? cursor + 1 : cursor - 1;
    if (!Executable(tables, cursor)) continue;
    const std::string& name = tables.statementNames[cursor];
    if (name == "Display Dialog") {
      flow.pointer = cursor + 1;
      return cursor;
    }
    if (name == "End") {
      LeaveWizard(cursor);
      return std::nullopt;
    }
    if (name == "Wizard Loop") {
      // Back past the first dialog: the loop is left at its own End.
      size_t end = cursor + 1;
      while (end < count && !(Executable(tables, end) && tables.statementNames[end] == "End")) ++end;
      LeaveWizard(end);
      return std::nullopt;
    }
  }
}

void Interpreter::LeaveWizard(size_t endIndex) {
  FlowState& flow = run_.flow;
  flow.inWizard = false;
  flow.wizardExit = true;
  flow.pointer = endIndex;  // the next fetch reads the loop's End and lets it pass
}

void Interpreter::PublishProgressChange() {
  if (!run_.extensions.ModelessDialogShowing(run_)) return;
  std::string text = run_.Get("PROGRESSTEXT");
  std::string progress = run_.Get("PROGRESS");
  if (text == lastProgressText_ && progress == lastProgress_) return;
  lastProgressText_ = std::move(text);
  lastProgress_ = std::move(progress);
  const auto position = ParseInteger(lastProgress_);
  ReportWorkerProgress(run_.store, run_.services.clock.TickCount(), lastProgressText_, 0, 100,
                       position ? *position : 0);
  run_.services.window.ProcessOnePendingMessage();
}

void Interpreter::Dispatch(size_t statement) {
  const std::string& name = run_.tables.statementNames[statement];
  if (plugins_.count(name)) {
    run_.extensions.RunPlugin(run_, statement);
    return;
  }
  if (const StatementHandler* handler = catalogue_.Find(name)) (*handler)(run_, statement);
}

}  // namespace korvane
