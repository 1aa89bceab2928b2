#pragma once
// Compile-time constants: "#NAME#" in a text replaced by the value the build gave NAME.

#include <cstddef>
#include <string>
#include <string_view>

#include "bootstrap/package_tables.h"

namespace korvane {

// At most this many passes over the constant table; each pass replaces every constant once.
// Nested constants resolve in a few passes; a constant that holds its own reference would
// never finish without the bound.
inline constexpr size_t kMaxConstantPasses = 16;
// A replacement that would make the result longer than this is not made; substitution ends
// there and the rest stays as it is.
inline constexpr size_t kMaxConstantResultBytes = size_t{1} << 20;

// constants: pairs of lines, a name then its value, in table order (the package's compiler
// constant table). Each pass replaces, pair by pair, every "#" + name + "#" (letter case
// ignored) by the value; a pass does not rescan what it has just inserted for the same pair.
// Another pass follows while the result still holds a "#" and the last pass changed it.
// Pairs with an empty name, and a last name without a value, are ignored.
[[nodiscard]] std::string SubstituteConstants(std::string_view text, const LineList& constants);

}  // namespace korvane
