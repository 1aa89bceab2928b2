#pragma once
// The system clock as the engine sees it: the millisecond tick count that worker reports are
// stamped with, and today's date and the time of day as the user's settings write them.

#include <cstdint>
#include <memory>
#include <string>

namespace korvane::platform {

class SystemClock {
 public:
  virtual ~SystemClock() = default;
  // Milliseconds since the system started; wraps around after about 49 days.
  [[nodiscard]] virtual uint32_t TickCount() const = 0;
  // Seconds of the wall clock; the date and time texts change at most once per second.
  [[nodiscard]] virtual int64_t WallSeconds() const = 0;
  // Today in the system's short date format.
  [[nodiscard]] virtual std::string ShortDate() const = 0;
  // Now in the system's long time format.
  [[nodiscard]] virtual std::string LongTime() const = 0;
};

// The real clock of this system.
[[nodiscard]] std::unique_ptr<SystemClock> MakeSystemClock();

}  // namespace korvane::platform
