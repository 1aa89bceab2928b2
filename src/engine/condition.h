#pragma once
// The condition of If and Else If: one variable compared with one value by an operator code.

#include <string>
#include <string_view>

#include "engine/variable_manager.h"
#include "support/result.h"

namespace korvane {

// Parameters 1 to 4 of If and Else If, as fetched (and, when a language is active, with
// parameters 1 and 3 already translated).
struct ConditionParameters {
  std::string variable;      // 1: the variable to test, plainly or as a reference $NAME$
  std::string operatorCode;  // 2: "0" to "6"; any other code never holds
  std::string value;         // 3: the comparison value; may hold references
  std::string negate;        // 4: when it reads as true the outcome is inverted
};

// Whether the condition holds. Fails only when operator "6" meets a version part that is
// not an integer.
[[nodiscard]] Result<bool> EvaluateCondition(const ConditionParameters& parameters,
                                             const TVariableManager& store);

// Operators "0" to "4" on two expanded operands: integer comparison when both are 32-bit
// decimal integers, text comparison otherwise. Other codes give false.
[[nodiscard]] bool CompareOperands(std::string_view left, std::string_view right,
                                   std::string_view operatorCode);

// Whether version left is greater than version right. Each yields four numbers: the parts
// before the first three dots must be integers (else the failure names the part), the rest
// after the last dot taken is one more part (0 when not an integer), missing parts are 0.
[[nodiscard]] Result<bool> IsGreaterVersion(std::string_view left, std::string_view right);

}  // namespace korvane
