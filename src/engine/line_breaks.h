#pragma once
// Multi-line values travel inside one-line fields with "$NEWLINE$" in place of each CR LF.

#include <string>
#include <string_view>

namespace korvane {

inline constexpr std::string_view kNewlineToken = "$NEWLINE$";

// Every "$NEWLINE$" (letter case ignored) becomes CR LF.
[[nodiscard]] std::string NewlinesToBreaks(std::string_view text);
// Every CR LF becomes "$NEWLINE$".
[[nodiscard]] std::string BreaksToNewlines(std::string_view text);

}  // namespace korvane
