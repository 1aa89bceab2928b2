#pragma once
// Facts about the machine, the user and the moment that the engine variables start with.

#include <cstdint>
#include <memory>
#include <string>

namespace korvane::platform {

class SystemFacts {
 public:
  virtual ~SystemFacts() = default;
  // Milliseconds since the system started.
  [[nodiscard]] virtual uint64_t TickCount() = 0;
  // The user belongs to the administrators (and on Vista and later the process runs elevated);
  // always true on the 95 family.
  [[nodiscard]] virtual bool PerMachineAllowed() = 0;
  // The registered owner and organization of Windows.
  [[nodiscard]] virtual std::string RegisteredOwner() = 0;
  [[nodiscard]] virtual std::string RegisteredOrganization() = 0;
  // Today in the system's short date format; now in its long time format.
  [[nodiscard]] virtual std::string ShortDateText() = 0;
  [[nodiscard]] virtual std::string LongTimeText() = 0;
};

std::unique_ptr<SystemFacts> SystemFactsOfThisMachine();

}  // namespace korvane::platform
