// Worker threads: the progress channel, the wait loop, cancellation, the watchdog and the store
// afterwards. The fake window moves a fake clock while the main thread waits, so a 5000 ms
// watchdog takes a fraction of a second.

#include <gtest/gtest.h>

#include <future>
#include <latch>
#include <thread>

#include "engine/script_error.h"
#include "engine/script_run.h"
#include "engine/worker_channel.h"
#include "engine/worker_supervisor.h"
#include "engine_fakes.h"

namespace korvane::testing {
namespace {

TEST(WorkerChannel, ReportsLeaveAloneWhatTheyAreToldTo) {
  TVariableManager store;
  SetWorkerStartValues(store, 5);
  ReportWorkerProgress(store, 10, "Copying", 0, 200, 50);
  ReportWorkerProgress(store, 11, "$IGNORE$", 0, 100, 42);
  EXPECT_EQ(store.Get("VRAX_thProgress"), "42");
  EXPECT_EQ(store.Get("VRAX_thMax"), "100");
  EXPECT_EQ(store.Get("VRAX_thProgressText"), "Copying");

  ReportWorkerProgress(store, 12, "Extracting", 0, 0, -1);
  EXPECT_EQ(store.Get("VRAX_thProgress"), "42");
  EXPECT_EQ(store.Get("VRAX_thProgressText"), "Extracting");

  ReportWorkerProgress(store, 13, "$VRAX$", 7, 8, 9);
  EXPECT_EQ(store.Get("VRAX_thProgress"), "42");
  EXPECT_EQ(store.Get("VRAX_thMin"), "0");
  EXPECT_EQ(store.Get("VRAX_thMax"), "100");
  EXPECT_EQ(store.Get("VRAX_thProgressText"), "Extracting");
  EXPECT_EQ(store.Get("VRAX_LastDelegateTick"), "13");
  EXPECT_EQ(store.Get("VRAX_LastActiveTick"), "5");
}

class WorkerTest : public ::testing::Test {
 protected:
  WorkerTest() {
    SetWorkerStartValues(store, clock.TickCount());
    run.Set("ABORTONERROR", "TRUE", "Initialization");
    run.Set("ABORTEDONERROR", "FALSE", "Initialization");
  }

  // The user cancels after ms of fake time.
  void CancelAfter(uint32_t ms) {
    cancelAt = clock.TickCount() + ms;
    window.PostAt(cancelAt, [this] { store.Set("VRAX_IsCancelled", "TRUE"); });
  }

  FakeClock clock;
  FakeWindow window{clock};
  RecordedErrorBoxes boxes;
  EngineExtensions extensions;
  TVariableManager store;
  TimingLog log{[](std::string_view, std::string_view, bool) {}};
  LanguageTable language;
  PackageTables tables;
  ParameterLookup parameters;
  ScriptRun run{tables, parameters, store, log, language, {clock, window, boxes}, extensions, {}, false};
  uint32_t cancelAt = 0;
};

TEST_F(WorkerTest, ReportingWorkerSurvivesTheCancel) {
  CancelAfter(300);
  std::atomic<int> reports{0};
  const WorkerOutcome outcome = RunWorkerStatement(run, worker_kind::kFindAllFiles, [&](WorkerContext& worker) {
    // Keeps reporting every 100 ms for 8 s, past the cancel and past a watchdog tick.
    for (int i = 0; i < 80; ++i) {
      worker.Report("$IGNORE$", 0, 100, i);
      ++reports;
      clock.SleepFor(100);
    }
  });
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_FALSE(outcome.abandoned);
  EXPECT_EQ(reports.load(), 80);
  ASSERT_FALSE(window.timerFirings.empty());
  EXPECT_EQ(window.timerFirings.front(), cancelAt + 5000);
  EXPECT_EQ(store.Get("VRAX_thProgress"), "79");
  EXPECT_FALSE(run.workerBusy);
  // The cancellation steps: one box, and ABORTONERROR ends the script.
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Setup cancelled");
  EXPECT_TRUE(run.EndRequested());
}

// A worker that stops reporting and ignores its stop request until released.
struct StalledWorker {
  std::latch release{1};
  std::promise<void> exited;
  std::atomic<bool> sawStop{false};

  WorkerSupervisor::Work Work() {
    return [this](WorkerContext& worker) {
      worker.Report("started", 0, 100, 1);
      release.wait();
      sawStop = worker.StopRequested();
      worker.Report("late", 0, 100, 99);  // dropped: the statement is over
      worker.SetResult("LATE_RESULT", "written");
      exited.set_value();
    };
  }
};

TEST_F(WorkerTest, SilentWorkerIsAbandonedAfter5000MsAndTheStoreStaysUsable) {
  run.Set("ABORTONERROR", "FALSE", "Initialization");
  for (int round = 0; round < 2; ++round) {
    CancelAfter(300);
    StalledWorker stalled;
    const WorkerOutcome outcome = RunWorkerStatement(run, worker_kind::kDirectExtract, stalled.Work());
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_TRUE(outcome.abandoned);
    const uint32_t waited = clock.TickCount() - cancelAt;
    EXPECT_GE(waited, 5000u);
    EXPECT_LE(waited, 5000u + 2 * FakeWindow::kStepMs);

    // The store's lock is free: another thread gets it at once.
    auto other = std::async(std::launch::async, [this] {
      auto hold = store.Hold();
      store.Set("FROM_OTHER_THREAD", "yes");
    });
    ASSERT_EQ(other.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(store.Get("FROM_OTHER_THREAD"), "yes");

    // Released, the abandoned thread sees its stop request; what it writes now is dropped.
    stalled.release.count_down();
    stalled.exited.get_future().wait();
    EXPECT_TRUE(stalled.sawStop);
    EXPECT_EQ(store.Get("VRAX_thProgressText"), "started");
    EXPECT_FALSE(store.Exists("LATE_RESULT"));
    store.Set("VRAX_IsCancelled", "FALSE");
  }
  // ABORTONERROR off: the first cancel shows the box and lets the script go on; the second is
  // silent.
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(store.Get("ABORTEDONERROR"), "TRUE");
  EXPECT_FALSE(run.EndRequested());
}

TEST_F(WorkerTest, KillRuleEndsTheWaitAtTheFirstTickWhateverTheWorkerDoes) {
  CancelAfter(1000);
  std::atomic<bool> stop{false};
  std::promise<void> exited;
  const WorkerOutcome outcome = run.Workers().Run(worker_kind::kRunProgram, [&](WorkerContext& worker) {
    while (!stop) {
      worker.Report("running", 0, 100, 5);  // reports, but ignores its stop request
      clock.SleepFor(100);
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    exited.set_value();
  });
  EXPECT_TRUE(outcome.abandoned);
  EXPECT_EQ(clock.TickCount() - cancelAt, 5000u);
  stop = true;
  clock.Advance(1000);
  exited.get_future().wait();
}

TEST_F(WorkerTest, FinishedWorkerEndsTheWaitWithoutCancel) {
  const WorkerOutcome outcome = RunWorkerStatement(run, worker_kind::kPlugin, [](WorkerContext& worker) {
    worker.Report("done", 1, 100, 100);
    worker.SetResult("RESULT", "ok");
  });
  EXPECT_FALSE(outcome.cancelled);
  EXPECT_FALSE(outcome.abandoned);
  EXPECT_EQ(store.Get("RESULT"), "ok");
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(window.timerFirings.empty());
}

TEST_F(WorkerTest, ErrorOfTheWorkIsRaisedOnTheMainThread) {
  EXPECT_THROW(run.Workers().Run(worker_kind::kFindAllFiles,
                                 [](WorkerContext&) { throw ScriptError("Cannot read the folder"); }),
               ScriptError);
  EXPECT_FALSE(run.workerBusy);
}

TEST_F(WorkerTest, SilentRunBlocksWithoutMessagesOrWatchdog) {
  run.SetSilent(true);
  store.Set("VRAX_IsCancelled", "TRUE");
  const WorkerOutcome outcome = RunWorkerStatement(run, worker_kind::kFindAllFiles, [](WorkerContext& worker) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    worker.Report("x", 0, 100, 1);
  });
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_EQ(window.waits.load(), 0);
  EXPECT_TRUE(window.timerFirings.empty());
  // Nothing is shown in a silent run; ABORTONERROR still ends the script.
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(run.EndRequested());
}

TEST_F(WorkerTest, InstallerRunEndsThroughItsFinishedFlag) {
  CancelAfter(500);
  std::atomic<bool> sawStop{false};
  const WorkerOutcome outcome = run.Workers().RunInstaller([&](WorkerContext& worker) {
    EXPECT_EQ(store.Get("VRAX_thFinished"), "FALSE");
    while (!worker.StopRequested()) clock.SleepFor(50, worker.StopToken());
    sawStop = true;
  });
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_FALSE(outcome.abandoned);
  EXPECT_TRUE(sawStop);
  EXPECT_EQ(store.Get("VRAX_thFinished"), "TRUE");
  EXPECT_TRUE(window.timerFirings.empty());
}

}  // namespace
}  // namespace korvane::testing
