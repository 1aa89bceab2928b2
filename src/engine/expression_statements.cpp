#include "engine/expression_statements.h"

#include "engine/expression.h"
#include "engine/variable_expansion.h"
#include "support/text.h"

namespace korvane {
namespace {

// A result variable that does not exist yet is created empty under its upper-cased name.
void EnsureResultVariable(std::string_view name, TVariableManager& store,
                          const CommandLineProtection& protection, std::string_view context) {
  if (!store.Exists(name)) SetVariable(store, protection, UpperCase(name), "", context);
}

}  // namespace

std::string ExpandForExpression(std::string_view expression, const TVariableManager& store) {
  const VariableLookup quotedValue = [&store](std::string_view name) -> std::optional<std::string> {
    if (!store.Exists(name)) return std::nullopt;
    return ReplaceAll(store.Expand(store.Get(name)), "\"", "\"\"");
  };
  return ExpandReferences(expression, quotedValue, ExpansionStyle::Quoted);
}

void RunEvaluateExpression(std::string_view expression, std::string_view resultVariable,
                           TVariableManager& store, const CommandLineProtection& protection) {
  constexpr std::string_view kContext = "Evaluate Expression Action";
  EnsureResultVariable(resultVariable, store, protection, kContext);
  const std::string outcome = OutcomeText(EvaluateExpression(ExpandForExpression(expression, store)));
  SetVariable(store, protection, resultVariable, outcome, kContext);
}

void RunMathematics(std::string_view operandA, std::string_view operandB,
                    std::string_view operation, std::string_view resultVariable,
                    TVariableManager& store, const CommandLineProtection& protection,
                    RandomGeneratorState& random) {
  constexpr std::string_view kContext = "Mathematics Action";
  EnsureResultVariable(resultVariable, store, protection, kContext);
  const std::string result =
      ComputeMathematics(store.Expand(operandA), store.Expand(operandB), operation, random);
  if (!resultVariable.empty()) SetVariable(store, protection, resultVariable, result, kContext);
}

}  // namespace korvane
