#pragma once
// Facts about the user and the machine that the engine publishes as start values.

#include <filesystem>
#include <string>

namespace korvane::platform {

struct UserFacts {
  bool administrator = false;  // member of the administrators and, where that exists, elevated
  std::string registeredOwner;
  std::string registeredOrganization;
};

[[nodiscard]] UserFacts ReadUserFacts();

// Whether the folder lies on a fixed drive (a removable or network drive answers false).
[[nodiscard]] bool IsOnFixedDrive(const std::filesystem::path& folder);

}  // namespace korvane::platform
