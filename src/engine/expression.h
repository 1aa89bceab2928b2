#pragma once
// The expression language of Evaluate Expression: quoted texts compared by "=", "<>", "<",
// "<=", ">", ">=" and joined by lower-case "and" / "or", with parentheses.

#include <string>
#include <string_view>

namespace korvane {

enum class ExpressionOutcome {
  True,
  False,
  Error,    // text left over after the outermost term, or the text ran out early
  NoValue,  // malformed, yet nothing left over (for example an upper-case OR)
};

// Evaluates the text as written (references must already be expanded). Never throws; the
// work is iterative, so nesting depth is bounded only by memory.
//
// Choices where the language leaves room:
// - The text is read as if enclosed in one more pair of parentheses. When the text runs out
//   where something is still required (an unclosed parenthesis or quoted text), the outcome
//   is Error, so such scripts are rejected by the preparation pass.
// - Malformed input that leaves nothing over gives NoValue; its text is the empty text.
[[nodiscard]] ExpressionOutcome EvaluateExpression(std::string_view text);

// "TRUE", "FALSE", "ERROR" or the empty text for NoValue.
[[nodiscard]] std::string OutcomeText(ExpressionOutcome outcome);

}  // namespace korvane
