#pragma once
// The labels of a script and the statements they stand at.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "bootstrap/package_tables.h"
#include "bootstrap/parameter_lookup.h"

namespace korvane {

class LabelTable {
 public:
  // Every statement named "Label", disabled ones included, by its upper-cased parameter 1.
  // Where two labels share a name the first one counts.
  void Build(const PackageTables& tables, const ParameterLookup& parameters);
  void Clear() { byName_.clear(); }

  // The statement index of the label, letter case ignored.
  [[nodiscard]] std::optional<size_t> Find(std::string_view name) const;

 private:
  std::unordered_map<std::string, size_t> byName_;
};

}  // namespace korvane
