#pragma once
// Worker threads as the main thread sees them: start, the wait loop that keeps the window
// alive, the cancel request and the watchdog that gives up on a cancelled worker which stops
// reporting.
//
// Workers stop cooperatively. The terminate flag is a std::stop_token; every long operation of a
// worker is cancellable (it checks the token between units of work or waits on it). Where the
// watchdog would end a thread by force, the supervisor instead abandons it: the statement ends
// as cancelled at the same moment, the thread is detached and left to notice its stop request,
// and its later reports are dropped. Nothing is killed while it holds the store's lock, so the
// lock stays usable.

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>

#include "engine/worker_kinds.h"
#include "platform/application_window.h"

namespace korvane {

class ScriptRun;
class TVariableManager;
namespace platform {
class SystemClock;
}

// What a worker thread gets: its stop request and the progress channel.
class WorkerContext {
 public:
  WorkerContext(TVariableManager& store, const platform::SystemClock& clock) : store_(store), clock_(clock) {}

  [[nodiscard]] std::stop_token StopToken() const { return token_; }
  [[nodiscard]] bool StopRequested() const { return token_.stop_requested(); }
  // The worker progress channel; dropped once the worker has been abandoned.
  void Report(std::string_view text, int64_t minimum, int64_t maximum, int64_t position);
  // A result for the store; dropped once the worker has been abandoned.
  void SetResult(std::string_view name, std::string_view value);
  [[nodiscard]] bool Abandoned() const;

 private:
  friend class WorkerSupervisor;
  friend struct WorkerShared;
  TVariableManager& store_;
  const platform::SystemClock& clock_;
  std::stop_token token_;
  mutable std::mutex mutex_;  // orders abandonment against reports and the end notification
  bool abandoned_ = false;
};

struct WorkerOutcome {
  bool cancelled = false;  // VRAX_IsCancelled was true while the statement waited
  bool abandoned = false;  // the watchdog gave up on the worker
};

class WorkerSupervisor {
 public:
  using Work = std::function<void(WorkerContext&)>;
  // Runs before every wait step (Run Program publishes PROGRESSTEXT and PROGRESS there).
  using BeforeWait = std::function<void()>;

  explicit WorkerSupervisor(ScriptRun& run);
  ~WorkerSupervisor();
  WorkerSupervisor(const WorkerSupervisor&) = delete;
  WorkerSupervisor& operator=(const WorkerSupervisor&) = delete;

  // The main-thread wait loop of a worker statement. Returns when the worker has finished or the
  // watchdog has abandoned it. An exception the work raised is raised again here.
  WorkerOutcome Run(const WorkerKind& kind, Work work, BeforeWait beforeEachWait = {});

  // The wait of the installer run: returns when the worker has set VRAX_thFinished to "TRUE" (the
  // supervisor sets it too when the work returns or fails). A cancel only requests the stop.
  WorkerOutcome RunInstaller(Work work);

 private:
  struct Session;
  platform::ApplicationWindow::TimerId TimerOf(const WorkerKind& kind);
  void OnWatchdog(std::string_view timer);
  void NoteCancel(Session& session, WorkerOutcome& outcome);
  WorkerOutcome Finish(Session& session, WorkerOutcome outcome);

  ScriptRun& run_;
  std::map<std::string, platform::ApplicationWindow::TimerId, std::less<>> timers_;
  Session* active_ = nullptr;
};

// After a cancelled worker statement: the "Setup cancelled" box unless a failure was already
// let pass (ABORTEDONERROR), then either the script ends (ABORTONERROR; returns false and asks
// the run to end) or ABORTEDONERROR becomes "TRUE" under the cancel tag (returns true).
bool RunCancellationSteps(ScriptRun& run, std::string_view cancelTag);

// A worker statement from start to end: runs the worker and, when the user cancelled, the
// cancellation steps with the kind's cancel tag.
WorkerOutcome RunWorkerStatement(ScriptRun& run, const WorkerKind& kind, WorkerSupervisor::Work work,
                                 WorkerSupervisor::BeforeWait beforeEachWait = {});

}  // namespace korvane
