#include "engine/compiler_constants.h"

#include <optional>

#include "support/text.h"

namespace korvane {

namespace {

// text with every token replaced by value, or nothing when the result would exceed the bound.
std::optional<std::string> ReplaceWithinBound(const std::string& text, std::string_view token,
                                              std::string_view value) {
  size_t hits = 0;
  for (size_t at = FindText(text, token); at != std::string::npos; at = FindText(text, token, at + token.size()))
    ++hits;
  if (hits == 0) return text;
  const size_t kept = text.size() - hits * token.size();
  const size_t room = kept < kMaxConstantResultBytes ? kMaxConstantResultBytes - kept : 0;
  if (!value.empty() && hits > room / value.size()) return std::nullopt;
  return ReplaceText(text, token, value);
}

}  // namespace

std::string SubstituteConstants(std::string_view text, const LineList& constants) {
  std::string result(text);
  for (size_t pass = 0; pass < kMaxConstantPasses; ++pass) {
    if (result.find('#') == std::string::npos) break;
    const std::string before = result;
    for (size_t i = 0; i + 1 < constants.size(); i += 2) {
      if (constants[i].empty()) continue;
      std::optional<std::string> replaced = ReplaceWithinBound(result, "#" + constants[i] + "#", constants[i + 1]);
      if (!replaced) return result;
      result = std::move(*replaced);
    }
    if (result == before) break;
  }
  return result;
}

}  // namespace korvane
