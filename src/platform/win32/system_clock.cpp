#include "platform/system_clock.h"

#include <windows.h>

#include <ctime>

namespace korvane::platform {
namespace {

class WindowsClock final : public SystemClock {
 public:
  uint32_t TickCount() const override { return GetTickCount(); }
  int64_t WallSeconds() const override { return static_cast<int64_t>(std::time(nullptr)); }
  std::string ShortDate() const override {
    char text[128];
    const int length = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<size_t>(length - 1)) : std::string();
  }
  std::string LongTime() const override {
    char text[128];
    const int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<size_t>(length - 1)) : std::string();
  }
};

}  // namespace

std::unique_ptr<SystemClock> MakeSystemClock() { return std::make_unique<WindowsClock>(); }

}  // namespace korvane::platform
