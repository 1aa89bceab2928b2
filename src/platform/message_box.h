#pragma once

#include <string_view>

#include "platform/window_handle.h"

namespace korvane::platform {

// A modal message box with the error icon, owned by owner when it is given.
void ShowErrorMessage(std::string_view caption, std::string_view text, WindowHandle owner = nullptr);

}  // namespace korvane::platform
