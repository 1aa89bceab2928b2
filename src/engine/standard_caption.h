#pragma once
// The caption of every engine message box.

#include <string>
#include <string_view>

namespace korvane {

// brandingOff (VRAXLOGO is exactly "TRUE"): the title alone, empty when none is known.
// Otherwise title + " - Korvane Wizard", or "Korvane Wizard" without a title.
[[nodiscard]] std::string StandardCaption(std::string_view title, bool brandingOff);

}  // namespace korvane
