#include "engine/label_table.h"

#include "support/text.h"

namespace korvane {

void LabelTable::Build(const PackageTables& tables, const ParameterLookup& parameters) {
  byName_.clear();
  for (size_t i = 0; i < tables.StatementCount(); ++i) {
    if (tables.statementNames[i] != "Label" || i >= tables.statementKeys.size()) continue;
    const std::string& key = tables.statementKeys[i];
    const std::string name = key.empty() ? std::string() : UpperCase(parameters.Parameter(key, 1));
    byName_.try_emplace(name, i);
  }
}

std::optional<size_t> LabelTable::Find(std::string_view name) const {
  auto found = byName_.find(UpperCase(name));
  if (found == byName_.end()) return std::nullopt;
  return found->second;
}

}  // namespace korvane
