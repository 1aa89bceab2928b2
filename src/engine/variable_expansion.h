#pragma once
// Replacement of $NAME$ references by variable values. Inserted values are scanned again, so
// a value that holds references is expanded in turn; a bounded budget of replacements and of
// inserted text stops endless expansion (a variable that refers to itself, directly or
// through others, or that doubles with every pass), leaving the rest of the text unexpanded.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// At most this many references are replaced in one expansion. A script text with a line
// break reference per line stays far below it; a self-reference reaches it within milliseconds.
inline constexpr size_t kMaxExpansionReplacements = 100'000;
// At most this many bytes of values are inserted in one expansion (the quotes of a quoted
// expansion count too). It bounds the result of a value that grows with every pass.
inline constexpr size_t kMaxExpansionInsertedBytes = size_t{32} << 20;

struct ExpansionLimits {
  size_t maxReplacements = kMaxExpansionReplacements;
  size_t maxInsertedBytes = kMaxExpansionInsertedBytes;
};

enum class ExpansionStyle {
  Plain,   // the value replaces the reference
  Quoted,  // a double quote, the value and a double quote replace the reference
};

// The value of a variable, or nothing when it does not exist. Called once per reference.
using VariableLookup = std::function<std::optional<std::string>(std::string_view name)>;

// Scans text from the start for a "$"; the name runs to the next "$". When the variable exists
// the reference (both dollars included) is replaced and scanning resumes at the start of the
// inserted text; otherwise the text is kept and scanning resumes at the closing "$", which may
// open the next reference ("$MISSING$TITLE$" keeps "$MISSING" and expands "$TITLE$"). An
// empty name ("$$") or a "$" without a partner is kept. Once a replacement would exceed a limit
// the expansion ends there and the remaining text is returned as it stands.
[[nodiscard]] std::string ExpandReferences(std::string_view text, const VariableLookup& lookup,
                                           ExpansionStyle style = ExpansionStyle::Plain,
                                           const ExpansionLimits& limits = {});

}  // namespace korvane
