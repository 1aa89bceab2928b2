#pragma once
// Builds package tables for a script given as statements, for the preparation pass tests and
// its benchmark.

#include <cstdio>
#include <string>
#include <vector>

#include "bootstrap/package_tables.h"

namespace korvane::testing {

struct ScriptStatement {
  std::string name;
  LineList parameters;
  std::string flag;  // "C" disables
};

inline ScriptStatement Enabled(std::string name, LineList parameters = {}) {
  return {std::move(name), std::move(parameters), ""};
}
inline ScriptStatement Disabled(std::string name, LineList parameters = {}) {
  return {std::move(name), std::move(parameters), "C"};
}

// Statement i gets a key of its own; every statement with parameters gets a block.
inline PackageTables ScriptTables(const std::vector<ScriptStatement>& statements) {
  PackageTables tables;
  for (size_t i = 0; i < statements.size(); ++i) {
    char key[64];
    std::snprintf(key, sizeof key, "{%08zX-0000-0000-0000-000000000000}", i);
    tables.statementNames.push_back(statements[i].name);
    tables.statementKeys.push_back(key);
    tables.statementFlags.push_back(statements[i].flag);
    if (statements[i].parameters.empty()) continue;
    tables.parameters.push_back(key);
    for (const std::string& line : statements[i].parameters) tables.parameters.push_back(line);
  }
  return tables;
}

}  // namespace korvane::testing
