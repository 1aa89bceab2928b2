#pragma once

#include <string_view>

namespace korvane::platform {

// A modal message box with the error icon.
void ShowErrorMessage(std::string_view caption, std::string_view text);

}  // namespace korvane::platform
