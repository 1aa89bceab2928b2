#include "engine/worker_supervisor.h"

#include <thread>

#include "engine/script_run.h"
#include "engine/truth_words.h"
#include "engine/worker_channel.h"

namespace korvane {

// What the worker thread and the main thread share; it outlives the supervisor's interest in an
// abandoned worker.
struct WorkerShared {
  WorkerShared(TVariableManager& store, const platform::SystemClock& clock) : context(store, clock) {}
  WorkerContext context;
  std::mutex doneMutex;
  std::condition_variable doneSignal;
  bool done = false;
  std::exception_ptr error;

  [[nodiscard]] bool Done() {
    std::lock_guard hold(doneMutex);
    return done;
  }
  void WaitDone() {
    std::unique_lock hold(doneMutex);
    doneSignal.wait(hold, [this] { return done; });
  }
};

struct WorkerSupervisor::Session {
  WorkerKind kind;
  std::shared_ptr<WorkerShared> shared;
  std::jthread thread;
  bool abandoned = false;
};

namespace {

// Clears the worker-busy flag however the wait ends.
class BusyFlag {
 public:
  explicit BusyFlag(ScriptRun& run) : run_(run) { run_.workerBusy = true; }
  ~BusyFlag() { run_.workerBusy = false; }
  BusyFlag(const BusyFlag&) = delete;
  BusyFlag& operator=(const BusyFlag&) = delete;

 private:
  ScriptRun& run_;
};

}  // namespace

void WorkerContext::Report(std::string_view text, int64_t minimum, int64_t maximum, int64_t position) {
  std::lock_guard hold(mutex_);
  if (!abandoned_) ReportWorkerProgress(store_, clock_.TickCount(), text, minimum, maximum, position);
}

void WorkerContext::SetResult(std::string_view name, std::string_view value) {
  std::lock_guard hold(mutex_);
  if (!abandoned_) store_.Set(name, value);
}

bool WorkerContext::Abandoned() const {
  std::lock_guard hold(mutex_);
  return abandoned_;
}

WorkerSupervisor::WorkerSupervisor(ScriptRun& run) : run_(run) {}

WorkerSupervisor::~WorkerSupervisor() {
  for (const auto& [name, timer] : timers_) run_.services.window.EnableTimer(timer, false);
}

platform::ApplicationWindow::TimerId WorkerSupervisor::TimerOf(const WorkerKind& kind) {
  auto found = timers_.find(kind.timer);
  if (found != timers_.end()) return found->second;
  const std::string name(kind.timer);
  const auto timer = run_.services.window.AddTimer(kWatchdogIntervalMs, [this, name] { OnWatchdog(name); });
  timers_.emplace(name, timer);
  return timer;
}

void WorkerSupervisor::OnWatchdog(std::string_view timerName) {
  const auto timer = timers_.find(timerName);
  if (timer == timers_.end()) return;
  run_.services.window.EnableTimer(timer->second, false);
  if (!active_ || active_->kind.timer != timerName) return;
  if (active_->kind.rule == WatchdogRule::TickCheck) {
    auto hold = run_.store.Hold();
    const std::string delegateTick = run_.store.Get(kLastDelegateTick);
    if (run_.store.Get(kLastActiveTick) != delegateTick) {
      // The worker reported since the snapshot: it lives on until the next tick.
      run_.store.Set(kLastActiveTick, delegateTick);
      run_.services.window.EnableTimer(timer->second, true);
      return;
    }
  }
  // Give up on the worker: the statement ends now; the thread is left to see its stop request.
  std::lock_guard hold(active_->shared->context.mutex_);
  active_->shared->context.abandoned_ = true;
  active_->abandoned = true;
}

void WorkerSupervisor::NoteCancel(Session& session, WorkerOutcome& outcome) {
  if (!TruthOf(run_.Get(kIsCancelled))) return;
  outcome.cancelled = true;
  if (session.kind.rule == WatchdogRule::TickCheck) {
    auto hold = run_.store.Hold();
    run_.store.Set(kLastActiveTick, run_.store.Get(kLastDelegateTick));
  }
  session.thread.request_stop();
  // Arming an armed timer leaves its interval running, so the first tick comes 5000 ms after
  // the cancel however many messages arrive in between.
  if (session.kind.rule != WatchdogRule::None && !run_.Silent())
    run_.services.window.EnableTimer(TimerOf(session.kind), true);
}

WorkerOutcome WorkerSupervisor::Finish(Session& session, WorkerOutcome outcome) {
  if (session.kind.rule != WatchdogRule::None) run_.services.window.EnableTimer(TimerOf(session.kind), false);
  active_ = nullptr;
  outcome.abandoned = session.abandoned;
  if (session.abandoned) {
    session.thread.detach();
    return outcome;
  }
  session.thread.join();
  if (session.shared->error) std::rethrow_exception(session.shared->error);
  return outcome;
}

WorkerOutcome WorkerSupervisor::Run(const WorkerKind& kind, Work work, BeforeWait beforeEachWait) {
  Session session{kind, std::make_shared<WorkerShared>(run_.store, run_.services.clock), {}, false};
  if (kind.rule != WatchdogRule::None) (void)TimerOf(kind);
  BusyFlag busy(run_);
  platform::ApplicationWindow& window = run_.services.window;
  auto shared = session.shared;
  session.thread = std::jthread([shared, work = std::move(work), &window](std::stop_token token) {
    shared->context.token_ = token;
    try {
      work(shared->context);
    } catch (...) {
      shared->error = std::current_exception();
    }
    {
      std::lock_guard hold(shared->doneMutex);
      shared->done = true;
    }
    shared->doneSignal.notify_all();
    std::lock_guard hold(shared->context.mutex_);
    if (!shared->context.abandoned_) window.Wake();
  });
  active_ = &session;

  WorkerOutcome outcome;
  try {
    while (!session.shared->Done() && !session.abandoned) {
      if (beforeEachWait) beforeEachWait();
      if (run_.Silent())
        session.shared->WaitDone();
      else
        window.WaitAndProcessMessage();
      NoteCancel(session, outcome);
    }
  } catch (...) {
    // A failure on the main thread while waiting: stop the worker and let it finish first.
    active_ = nullptr;
    session.thread.request_stop();
    session.thread.join();
    throw;
  }
  return Finish(session, outcome);
}

WorkerOutcome WorkerSupervisor::RunInstaller(Work work) {
  {
    auto hold = run_.store.Hold();
    run_.store.Set(kThreadFinished, "FALSE");
    run_.store.Set(kThreadCancelled, "FALSE");
  }
  ReportWorkerProgress(run_.store, run_.services.clock.TickCount(), "", 0, 0, kKeepPosition);
  Work marked = [work = std::move(work)](WorkerContext& context) {
    struct FinishedMark {
      WorkerContext& context;
      ~FinishedMark() { context.SetResult(kThreadFinished, "TRUE"); }
    } mark{context};
    work(context);
  };
  // The installer worker has no watchdog: the wait ends with the work.
  return Run(worker_kind::kInstaller, std::move(marked));
}

bool RunCancellationSteps(ScriptRun& run, std::string_view cancelTag) {
  // A silent run shows nothing; an unattended setup must not wait for a click.
  if (!TruthOf(run.Get("ABORTEDONERROR")) && !run.Silent()) {
    run.extensions.SetProgressErrorState(run, true);
    run.ShowError("Setup cancelled");
    run.extensions.SetProgressErrorState(run, false);
  }
  if (TruthOf(run.Get("ABORTONERROR"))) {
    run.EndScript();
    return false;
  }
  run.Set("ABORTEDONERROR", "TRUE", cancelTag);
  return true;
}

WorkerOutcome RunWorkerStatement(ScriptRun& run, const WorkerKind& kind, WorkerSupervisor::Work work,
                                 WorkerSupervisor::BeforeWait beforeEachWait) {
  WorkerOutcome outcome = run.Workers().Run(kind, std::move(work), std::move(beforeEachWait));
  if (TruthOf(run.Get(kIsCancelled))) (void)RunCancellationSteps(run, kind.cancelTag);
  return outcome;
}

}  // namespace korvane
