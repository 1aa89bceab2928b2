#include "engine/variable_expansion.h"

#include <algorithm>

namespace korvane {

namespace {

// The text still to scan, kept reversed so that inserting a value in front of it and taking
// scanned bytes off its front both cost only the bytes concerned. The next byte to scan is
// back(); a position counted from the back is a position in scanning order.
class PendingText {
 public:
  explicit PendingText(std::string_view text) : reversed_(text.rbegin(), text.rend()) {}

  [[nodiscard]] bool Empty() const { return reversed_.empty(); }
  [[nodiscard]] size_t Size() const { return reversed_.size(); }

  // Scanning-order distance from the front to the next "$" at or after `from`, or npos.
  [[nodiscard]] size_t FindDollar(size_t from) const {
    if (from >= reversed_.size()) return std::string::npos;
    size_t at = reversed_.rfind('$', reversed_.size() - 1 - from);
    return at == std::string::npos ? std::string::npos : reversed_.size() - 1 - at;
  }

  // Moves the first `count` bytes to the end of out.
  void MoveTo(std::string& out, size_t count) {
    out.append(reversed_.rbegin(), reversed_.rbegin() + static_cast<std::ptrdiff_t>(count));
    Drop(count);
  }
  void Drop(size_t count) { reversed_.resize(reversed_.size() - count); }
  [[nodiscard]] std::string Front(size_t count) const {
    return std::string(reversed_.rbegin(), reversed_.rbegin() + static_cast<std::ptrdiff_t>(count));
  }
  void Prepend(std::string_view text) { reversed_.append(text.rbegin(), text.rend()); }
  void Prepend(char c) { reversed_.push_back(c); }

 private:
  std::string reversed_;
};

}  // namespace

std::string ExpandReferences(std::string_view text, const VariableLookup& lookup, ExpansionStyle style,
                             const ExpansionLimits& limits) {
  if (text.find('$') == std::string_view::npos) return std::string(text);
  const bool quoted = style == ExpansionStyle::Quoted;
  std::string out;
  out.reserve(text.size());
  PendingText pending(text);
  size_t replacements = 0;
  size_t inserted = 0;
  while (!pending.Empty()) {
    const size_t open = pending.FindDollar(0);
    if (open == std::string::npos) break;
    pending.MoveTo(out, open);  // the opening "$" is now the first pending byte
    const size_t close = pending.FindDollar(1);
    if (close == std::string::npos) break;  // a "$" without a partner stays as it is
    const size_t nameLength = close - 1;
    std::optional<std::string> value;
    if (nameLength > 0) value = lookup(pending.Front(close).substr(1));
    const size_t insertSize = value ? value->size() + (quoted ? 2 : 0) : 0;
    if (value && (replacements >= limits.maxReplacements || insertSize > limits.maxInsertedBytes - inserted))
      break;  // the budget is spent: leave the rest unexpanded
    if (!value) {
      pending.MoveTo(out, close);  // keep "$NAME"; the closing "$" may open the next reference
      continue;
    }
    ++replacements;
    inserted += insertSize;
    pending.Drop(close + 1);
    if (quoted) pending.Prepend('"');
    pending.Prepend(*value);
    if (quoted) pending.Prepend('"');
  }
  pending.MoveTo(out, pending.Size());
  return out;
}

}  // namespace korvane
