#pragma once
// Each statement family registers its statements into the catalogue.

#include "engine/statement_catalogue.h"

namespace korvane {

// The catalogue of every statement family built so far.
[[nodiscard]] StatementCatalogue StandardCatalogue();

// If, Else If, Else, End, Wizard Loop, Label, GoTo Label, Comment, Code Folding Region, Ignore.
void RegisterControlFlow(StatementCatalogue& catalogue);
// Set Variable.
void RegisterSetVariable(StatementCatalogue& catalogue);
// Terminate Install, Terminate with Exit Code.
void RegisterTermination(StatementCatalogue& catalogue);
// Evaluate Expression, Mathematics.
void RegisterExpressions(StatementCatalogue& catalogue);

}  // namespace korvane
