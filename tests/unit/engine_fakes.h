#pragma once
// Stand-ins for the system seams of the engine: a clock whose time the test moves, a hidden
// window whose message wait advances that clock and fires its timers, and error boxes that are
// recorded instead of shown.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

#include "platform/application_window.h"
#include "platform/message_box.h"
#include "platform/system_clock.h"

namespace korvane::testing {

class FakeClock final : public platform::SystemClock {
 public:
  uint32_t TickCount() const override { return now_.load(); }
  int64_t WallSeconds() const override { return now_.load() / 1000; }
  std::string ShortDate() const override { return "11.12.2026"; }
  std::string LongTime() const override { return "12:00:" + std::to_string(now_.load() / 1000 % 60); }

  void Advance(uint32_t ms) {
    {
      std::lock_guard hold(mutex_);
      now_ += ms;
    }
    changed_.notify_all();
  }
  // Blocks the calling (worker) thread until the clock has moved ms further, or a stop is
  // requested through token.
  void SleepFor(uint32_t ms, std::stop_token token = {}) {
    std::unique_lock hold(mutex_);
    const uint32_t until = now_.load() + ms;
    changed_.wait(hold, token, [&] { return now_.load() >= until; });
  }

 private:
  std::atomic<uint32_t> now_{1'000'000};
  std::mutex mutex_;
  std::condition_variable_any changed_;
};

// Each wait for a message either takes a posted wake, fires a due timer or scripted event, or
// (after a short real pause without a wake) moves the fake clock on by one step.
class FakeWindow final : public platform::ApplicationWindow {
 public:
  static constexpr uint32_t kStepMs = 20;

  explicit FakeWindow(FakeClock& clock) : clock_(clock) {}

  void ProcessPendingMessages() override { ++pendingProcessed; }
  void ProcessOnePendingMessage() override { ++oneProcessed; }
  void WaitAndProcessMessage() override {
    ++waits;
    for (;;) {
      {
        std::unique_lock hold(mutex_);
        if (wakes_ > 0) {
          --wakes_;
          return;
        }
      }
      if (FireDue()) return;
      std::unique_lock hold(mutex_);
      if (!wakeSignal_.wait_for(hold, std::chrono::milliseconds(1), [&] { return wakes_ > 0; })) {
        hold.unlock();
        clock_.Advance(kStepMs);
      }
    }
  }
  void Wake() override {
    {
      std::lock_guard hold(mutex_);
      ++wakes_;
    }
    wakeSignal_.notify_all();
  }

  TimerId AddTimer(unsigned intervalMs, std::function<void()> onTick) override {
    timers_[nextId_] = Timer{intervalMs, std::move(onTick), false, 0};
    return nextId_++;
  }
  void EnableTimer(TimerId id, bool enabled) override {
    Timer& timer = timers_.at(id);
    if (timer.enabled == enabled) return;
    timer.enabled = enabled;
    if (enabled) timer.due = clock_.TickCount() + timer.interval;
  }
  bool TimerEnabled(TimerId id) const override { return timers_.at(id).enabled; }
  platform::WindowHandle Handle() const override { return nullptr; }

  // A message that arrives when the fake clock reaches at (the user clicking, for example).
  void PostAt(uint32_t at, std::function<void()> handler) { events_.push_back({at, std::move(handler)}); }

  std::atomic<int> pendingProcessed{0}, oneProcessed{0}, waits{0};
  std::vector<uint32_t> timerFirings;  // clock values at which a timer fired

 private:
  struct Timer {
    unsigned interval;
    std::function<void()> onTick;
    bool enabled;
    uint32_t due;
  };
  struct Event {
    uint32_t at;
    std::function<void()> handler;
  };

  bool FireDue() {
    const uint32_t now = clock_.TickCount();
    for (auto it = events_.begin(); it != events_.end(); ++it) {
      if (it->at > now) continue;
      auto handler = std::move(it->handler);
      events_.erase(it);
      handler();
      return true;
    }
    for (auto& [id, timer] : timers_) {
      if (!timer.enabled || timer.due > now) continue;
      timer.due = now + timer.interval;
      timerFirings.push_back(now);
      auto onTick = timer.onTick;
      onTick();
      return true;
    }
    return false;
  }

  FakeClock& clock_;
  std::mutex mutex_;
  std::condition_variable wakeSignal_;
  int wakes_ = 0;
  std::map<TimerId, Timer> timers_;
  TimerId nextId_ = 1;
  std::vector<Event> events_;
};

struct ShownError {
  std::string caption, text;
};

class RecordedErrorBoxes final : public platform::ErrorBoxes {
 public:
  void ShowError(std::string_view caption, std::string_view text, platform::WindowHandle) override {
    shown.push_back({std::string(caption), std::string(text)});
  }
  std::vector<ShownError> shown;
};

}  // namespace korvane::testing
