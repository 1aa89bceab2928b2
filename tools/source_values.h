#pragma once
// How a script source writes one value: trimmed of blanks, or double-quoted to keep blanks,
// an empty text or "|" ("" inside quotes is one quote).

#include <string>
#include <string_view>
#include <vector>

#include "support/result.h"

namespace korvane::builder {

// One whole value: blanks (spaces and tabs) at either end are dropped unless the value is
// double-quoted. Text after a closing quote, or a quote that is never closed, is an error.
Result<std::string> ParseSourceValue(std::string_view text);

// Values separated by "|"; a quoted value may hold "|". An empty text is one empty value, and
// n separators give n + 1 values.
Result<std::vector<std::string>> SplitSourceValues(std::string_view text);

}  // namespace korvane::builder
