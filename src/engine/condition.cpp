#include "engine/condition.h"

#include <array>
#include <charconv>
#include <limits>
#include <optional>

#include "engine/reference_name.h"
#include "engine/truth_words.h"
#include "support/text.h"

namespace korvane {
namespace {

// Decimal digits with an optional sign, nothing else, within the range of T.
template <class T>
std::optional<T> StrictInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  uint64_t magnitude = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  const uint64_t limit = static_cast<uint64_t>(std::numeric_limits<T>::max()) + (negative ? 1 : 0);
  if (magnitude > limit) return std::nullopt;
  return negative ? static_cast<T>(0 - magnitude) : static_cast<T>(magnitude);
}

using Version = std::array<int64_t, 4>;

Result<Version> ParseVersion(std::string_view text) {
  Version parts{};
  std::string_view rest = text;
  for (size_t i = 0; i < parts.size(); ++i) {
    const size_t dot = rest.find('.');
    if (dot == std::string_view::npos) {
      parts[i] = StrictInteger<int64_t>(rest).value_or(0);  // the last part; later ones stay 0
      break;
    }
    const std::optional<int64_t> part = StrictInteger<int64_t>(rest.substr(0, dot));
    if (!part) {
      return Error{"Version comparison: '" + std::string(rest.substr(0, dot)) +
                   "' is not a valid integer value in the version '" + std::string(text) + "'"};
    }
    parts[i] = *part;
    rest.remove_prefix(dot + 1);
  }
  return parts;
}

}  // namespace

bool CompareOperands(std::string_view left, std::string_view right, std::string_view code) {
  if (code.size() != 1 || code[0] < '0' || code[0] > '4') return false;
  const std::optional<int32_t> l = StrictInteger<int32_t>(left);
  const std::optional<int32_t> r = StrictInteger<int32_t>(right);
  if (l && r) return code[0] == '2' ? *l > *r : *l == *r;
  switch (code[0]) {
    case '0': return left == right;
    case '1': return left.find(right) != std::string_view::npos;
    case '2': return left.compare(right) > 0;  // byte-wise; a proper prefix sorts first
    case '3': return FindText(left, right) != std::string_view::npos;
    default: return SameText(left, right);
  }
}

Result<bool> IsGreaterVersion(std::string_view left, std::string_view right) {
  Result<Version> l = ParseVersion(left);
  if (!l) return Error{l.error()};
  Result<Version> r = ParseVersion(right);
  if (!r) return Error{r.error()};
  return l.value() > r.value();
}

Result<bool> EvaluateCondition(const ConditionParameters& parameters,
                               const TVariableManager& store) {
  bool outcome = false;
  if (parameters.operatorCode == "5") {
    outcome = store.Exists(parameters.variable);
  } else {
    std::string name = ReferenceName(parameters.variable);
    if (name.empty()) name = parameters.variable;
    const std::string left = store.Expand(store.Get(name));
    const std::string right = store.Expand(parameters.value);
    if (parameters.operatorCode == "6") {
      Result<bool> greater = IsGreaterVersion(left, right);
      if (!greater) return Error{greater.error()};
      outcome = greater.value();
    } else {
      outcome = CompareOperands(left, right, parameters.operatorCode);
    }
  }
  return outcome != TruthOf(parameters.negate);
}

}  // namespace korvane
