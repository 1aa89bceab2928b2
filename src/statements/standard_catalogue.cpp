// The catalogue of the statement families built so far; each new family adds its line.

#include "engine/statement_catalogue.h"
#include "statements/statement_families.h"

namespace korvane {

StatementCatalogue StandardCatalogue() {
  StatementCatalogue catalogue;
  RegisterControlFlow(catalogue);
  RegisterSetVariable(catalogue);
  RegisterTermination(catalogue);
  RegisterExpressions(catalogue);
  return catalogue;
}

}  // namespace korvane
