#include "platform/system_clock.h"

#include <time.h>

#include <chrono>

namespace korvane::platform {
namespace {

std::string FormatNow(const char* format) {
  const time_t now = time(nullptr);
  tm local;
  if (!localtime_r(&now, &local)) return {};
  char text[64];
  const size_t length = strftime(text, sizeof text, format, &local);
  return std::string(text, length);
}

class PosixClock final : public SystemClock {
 public:
  uint32_t TickCount() const override {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
  }
  int64_t WallSeconds() const override { return static_cast<int64_t>(time(nullptr)); }
  std::string ShortDate() const override { return FormatNow("%x"); }
  std::string LongTime() const override { return FormatNow("%X"); }
};

}  // namespace

std::unique_ptr<SystemClock> MakeSystemClock() { return std::make_unique<PosixClock>(); }

}  // namespace korvane::platform
