#pragma once
// Expansion of a parameter that holds a path: references are expanded, then the doubled
// backslashes that joining folder values produces are collapsed.

#include <string>
#include <string_view>

#include "engine/variable_manager.h"

namespace korvane {

// Expand, then every doubled backslash becomes one; a text that began with a doubled backslash
// (a network path, \\server\share) gets one put back in front, so it keeps exactly two.
[[nodiscard]] std::string ExpandPath(const TVariableManager& store, std::string_view text);

}  // namespace korvane
