// Evaluate Expression and Mathematics as statements.

#include "engine/expression_statements.h"
#include "engine/script_run.h"
#include "statements/statement_families.h"

namespace korvane {

void RegisterExpressions(StatementCatalogue& catalogue) {
  catalogue.Register("Evaluate Expression", [](ScriptRun& run, size_t statement) {
    RunEvaluateExpression(run.Parameter(statement, 1), run.Parameter(statement, 2), run.store, run.Protection());
  });
  catalogue.Register("Mathematics", [](ScriptRun& run, size_t statement) {
    RunMathematics(run.Parameter(statement, 1), run.Parameter(statement, 2), run.Parameter(statement, 3),
                   run.Parameter(statement, 4), run.store, run.Protection(), run.random);
  });
}

}  // namespace korvane
