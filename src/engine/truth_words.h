#pragma once
// Truth values as script text: written "TRUE" and "FALSE"; read as true when the text is
// "TRUE" in any letter case or exactly "-1".

#include <string_view>

namespace korvane {

inline constexpr std::string_view kTrueWord = "TRUE";
inline constexpr std::string_view kFalseWord = "FALSE";

[[nodiscard]] bool TruthOf(std::string_view text);
[[nodiscard]] std::string_view TruthText(bool truth);

}  // namespace korvane
