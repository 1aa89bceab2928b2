// The worker protocol on the real hidden window and the real clock: the cancel arrives as a
// timer message, the watchdog is a window timer, the wait sleeps in the message queue. This one
// takes real time (two 5000 ms watchdog periods).

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <latch>
#include <thread>

#include "engine/script_run.h"
#include "engine/worker_channel.h"
#include "engine/worker_supervisor.h"
#include "platform/application_window.h"
#include "platform/system_clock.h"

namespace korvane {
namespace {

class CountingBoxes final : public platform::ErrorBoxes {
 public:
  void ShowError(std::string_view, std::string_view text, platform::WindowHandle) override {
    texts.emplace_back(text);
  }
  std::vector<std::string> texts;
};

class RealWorkerTest : public ::testing::Test {
 protected:
  RealWorkerTest() {
    SetWorkerStartValues(store, clock->TickCount());
    run.Set("ABORTONERROR", "FALSE", "Initialization");
    run.Set("ABORTEDONERROR", "FALSE", "Initialization");
  }

  // The user's cancel, 300 ms from now, delivered as a window message.
  void CancelSoon() {
    store.Set("VRAX_IsCancelled", "FALSE");
    cancelTimer = window->AddTimer(300, [this] {
      window->EnableTimer(cancelTimer, false);
      store.Set("VRAX_IsCancelled", "TRUE");
      cancelTick = clock->TickCount();
    });
    window->EnableTimer(cancelTimer, true);
  }

  std::unique_ptr<platform::SystemClock> clock = platform::MakeSystemClock();
  std::unique_ptr<platform::ApplicationWindow> window = platform::MakeApplicationWindow();
  CountingBoxes boxes;
  EngineExtensions extensions;
  TVariableManager store;
  TimingLog log{[](std::string_view, std::string_view, bool) {}};
  LanguageTable language;
  PackageTables tables;
  ParameterLookup parameters;
  ScriptRun run{tables, parameters, store, log, language, {*clock, *window, boxes}, extensions, {}, false};
  platform::ApplicationWindow::TimerId cancelTimer = 0;
  uint32_t cancelTick = 0;
};

TEST_F(RealWorkerTest, ReportingWorkerSurvivesAndSilentWorkerIsAbandoned) {
  CancelSoon();
  const uint32_t started = clock->TickCount();
  const WorkerOutcome survivor = RunWorkerStatement(run, worker_kind::kFindAllFiles, [&](WorkerContext& worker) {
    // Reports every 100 ms for 6.5 s, past the first watchdog tick.
    while (clock->TickCount() - started < 6500) {
      worker.Report("$IGNORE$", 0, 100, 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  });
  EXPECT_TRUE(survivor.cancelled);
  EXPECT_FALSE(survivor.abandoned);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Setup cancelled"});
  EXPECT_EQ(store.Get("ABORTEDONERROR"), "TRUE");

  CancelSoon();
  std::latch release{1};
  std::promise<void> exited;
  const WorkerOutcome stalled = RunWorkerStatement(run, worker_kind::kFindAllFiles, [&](WorkerContext& worker) {
    worker.Report("stalled", 0, 100, 2);
    release.wait();
    exited.set_value();
  });
  const uint32_t waited = clock->TickCount() - cancelTick;
  EXPECT_TRUE(stalled.abandoned);
  EXPECT_GE(waited, 4900u);
  EXPECT_LT(waited, 7000u);
  // ABORTONERROR off and a failure already let pass: the second cancel shows nothing.
  EXPECT_EQ(boxes.texts.size(), 1u);

  auto other = std::async(std::launch::async, [this] {
    auto hold = store.Hold();
    store.Set("FROM_OTHER_THREAD", "yes");
  });
  ASSERT_EQ(other.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  release.count_down();
  exited.get_future().wait();
}

TEST_F(RealWorkerTest, FinishedWorkerWakesTheWait) {
  const WorkerOutcome outcome = run.Workers().Run(worker_kind::kPlugin, [](WorkerContext& worker) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    worker.SetResult("RESULT", "done");
  });
  EXPECT_FALSE(outcome.cancelled);
  EXPECT_EQ(store.Get("RESULT"), "done");
}

}  // namespace
}  // namespace korvane
