// Any byte string given to the expression evaluator gives an outcome, never a crash or a
// stack overflow; a valid expression keeps its value inside one more pair of parentheses.
// The same bytes also go through the condition comparisons and the Mathematics operations.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/condition.h"
#include "engine/expression.h"
#include "engine/mathematics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const korvane::ExpressionOutcome outcome = korvane::EvaluateExpression(text);
  if (outcome == korvane::ExpressionOutcome::True || outcome == korvane::ExpressionOutcome::False) {
    if (korvane::EvaluateExpression("(" + std::string(text) + ")") != outcome) std::abort();
  }

  // Split the bytes at the first two line breaks: left operand, right operand, operator.
  const size_t first = text.find('\n');
  const std::string_view left = text.substr(0, first);
  const std::string_view rest = first == std::string_view::npos ? "" : text.substr(first + 1);
  const size_t second = rest.find('\n');
  const std::string_view right = rest.substr(0, second);
  const std::string_view code = second == std::string_view::npos ? "" : rest.substr(second + 1);
  (void)korvane::CompareOperands(left, right, code);
  (void)korvane::IsGreaterVersion(left, right);
  korvane::RandomGeneratorState random{0x41C64E6D, 12345, 7};
  (void)korvane::ComputeMathematics(left, right, code, random);
  return 0;
}
