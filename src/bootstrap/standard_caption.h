#pragma once
// The caption of every engine message box.

#include <string>
#include <string_view>

namespace korvane {

// With vraxLogo true: the title (possibly empty). Otherwise title + " - Korvane Wizard", or
// "Korvane Wizard" when no title is known (as at start-up).
std::string StandardCaption(std::string_view vraxLogo, std::string_view title);

}  // namespace korvane
