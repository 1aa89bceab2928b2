#pragma once
// The Evaluate Expression and Mathematics statements: parameters in, result variable out.

#include <string>
#include <string_view>

#include "engine/mathematics.h"
#include "engine/variable_access.h"
#include "engine/variable_manager.h"

namespace korvane {

// Each reference $NAME$ replaced by the fully expanded value of NAME in double quotes, with the
// value's own double quotes doubled: a value is always one quoted text of the expression and can
// neither break it nor change its logic (a value holding '" or "a"="a' stays a plain text).
[[nodiscard]] std::string ExpandForExpression(std::string_view expression,
                                              const TVariableManager& store);

// Evaluate Expression: expression is parameter 1 as fetched (its references are expanded here
// by ExpandForExpression); the outcome text ("TRUE", "FALSE", "ERROR" or empty) goes to
// the variable named by parameter 2, created under its upper-cased name when missing.
void RunEvaluateExpression(std::string_view expression, std::string_view resultVariable,
                           TVariableManager& store, const CommandLineProtection& protection);

// Mathematics: parameters 1 to 4 as fetched. Operands are expanded here; the operation number is
// used as written. The result (empty on failure) goes to the variable named by parameter 4 when
// that is not empty.
void RunMathematics(std::string_view operandA, std::string_view operandB,
                    std::string_view operation, std::string_view resultVariable,
                    TVariableManager& store, const CommandLineProtection& protection,
                    RandomGeneratorState& random);

}  // namespace korvane
