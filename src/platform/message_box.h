#pragma once

#include <memory>
#include <string_view>

#include "platform/window_handle.h"

namespace korvane::platform {

// A modal message box with the error icon, owned by owner when it is given.
void ShowErrorMessage(std::string_view caption, std::string_view text, WindowHandle owner = nullptr);

}  // namespace korvane::platform

namespace korvane::platform {

// The engine's error boxes behind an interface, so that tests see what would be shown.
class ErrorBoxes {
 public:
  virtual ~ErrorBoxes() = default;
  virtual void ShowError(std::string_view caption, std::string_view text, WindowHandle owner) = 0;
};

// Shows real message boxes through ShowErrorMessage.
[[nodiscard]] std::unique_ptr<ErrorBoxes> MakeSystemErrorBoxes();

}  // namespace korvane::platform
