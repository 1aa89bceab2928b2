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

// A script of about `count` statements that passes the pass: a wizard loop, then repeated
// groups of the common statements (declarations, conditions, expressions, deferred statements,
// labels with jumps), each group referring to variables of its own.
inline std::vector<ScriptStatement> LargeScript(size_t count) {
  std::vector<ScriptStatement> script = {
      Enabled("Wizard Loop"), Enabled("Display Dialog", {"Welcome", "", "TRUE", ""}),
      Enabled("Display Dialog", {"Folder", "", "TRUE", "$TARGETDIR$"}), Enabled("End")};
  for (size_t group = 0; script.size() < count; ++group) {
    const std::string n = std::to_string(group);
    const std::string v = "VALUE" + n;
    const std::vector<ScriptStatement> statements = {
        Enabled("Comment", {"group " + n}),
        Enabled("Set Variable", {v, "$TITLE$ " + n}),
        Enabled("Label", {"Step" + n}),
        Enabled("If", {v, "0", "$TARGETDIR$", ""}),
        Enabled("Mathematics", {"$" + v + "$", "1", "0", "SUM" + n}),
        Enabled("Else If", {"$SUM" + n + "$", "6", "1.2.3", "TRUE"}),
        Enabled("Evaluate Expression", {"($" + v + "$ = \"x\" and $SUM" + n + "$ <> \"1\") or \"a\" < \"b\"", "OK" + n}),
        Enabled("Else"),
        Enabled("Convert Path", {v, "TRUE"}),
        Enabled("End"),
        Enabled("Install Files", {"files" + n, "", "$TARGETDIR$"}),
        Enabled("Write Registry", {"HKLM", "Software\\Acme", v}),
        Disabled("Set Variable", {"OFF" + n, "1"}),
        Enabled("GoTo Label", {"step" + n}),
        Enabled("Read Registry", {"READ" + n, "HKLM", "Software"}),
        Enabled("Replace String", {"$READ" + n + "$", "a", "b"}),
    };
    script.insert(script.end(), statements.begin(), statements.end());
  }
  return script;
}

}  // namespace korvane::testing
