#pragma once
// The hidden application window on the main thread: it receives the window messages the engine
// processes between statements and while it waits for a worker, and it carries the timers that
// watch workers.

#include <functional>
#include <memory>

#include "platform/window_handle.h"

namespace korvane::platform {

class ApplicationWindow {
 public:
  using TimerId = int;

  virtual ~ApplicationWindow() = default;

  // Dispatches every message already waiting, then returns.
  virtual void ProcessPendingMessages() = 0;
  // Dispatches at most one waiting message; returns at once when there is none.
  virtual void ProcessOnePendingMessage() = 0;
  // Dispatches one message, waiting until one arrives.
  virtual void WaitAndProcessMessage() = 0;
  // Posts a null message from any thread so that a main thread waiting in
  // WaitAndProcessMessage wakes up.
  virtual void Wake() = 0;

  // A timer that calls onTick on the main thread every interval milliseconds while enabled;
  // it starts disabled. Enabling restarts its interval.
  virtual TimerId AddTimer(unsigned intervalMs, std::function<void()> onTick) = 0;
  virtual void EnableTimer(TimerId timer, bool enabled) = 0;
  [[nodiscard]] virtual bool TimerEnabled(TimerId timer) const = 0;

  // The window itself, for owning message boxes when no dialog is showing.
  [[nodiscard]] virtual WindowHandle Handle() const = 0;
};

// Creates the hidden window on the calling thread, which must be the main thread.
[[nodiscard]] std::unique_ptr<ApplicationWindow> MakeApplicationWindow();

}  // namespace korvane::platform
