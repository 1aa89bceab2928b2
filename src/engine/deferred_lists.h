#pragma once
// The engine-wide lists that deferred statements and Set Variable fill for the installer run and
// the setup cache.

#include <string_view>

#include "bootstrap/package_tables.h"

namespace korvane {

struct DeferredLists {
  LineList statementStates;      // aligned with the statements: "SKIP", "FALSE" or "TRUE"
  LineList installerProperties;  // pairs: property name, value
  LineList runParameters;        // name and value lines; line breaks in values as "$NEWLINE$"
  LineList persistedVariables;   // names Set Variable marked for keeping

  // Appends the pair to the installer property list and, as two lines, to the run parameters.
  void Publish(std::string_view name, std::string_view value);
  // Adds the name unless it is there already (letter case ignored).
  void Persist(std::string_view name);
  void Clear();
};

}  // namespace korvane
