#include "engine/variable_access.h"

#include <utility>

#include "support/text.h"

namespace korvane {

CommandLineProtection::CommandLineProtection(bool silent, LineList variablePairs)
    : silent_(silent), variablePairs_(std::move(variablePairs)) {}

bool CommandLineProtection::Protects(std::string_view name) const {
  if (!silent_) return false;
  for (size_t i = 0; i < variablePairs_.size(); i += 2)
    if (SameText(variablePairs_[i], name)) return true;
  return false;
}

std::string GetVariable(const TVariableManager& store, std::string_view name) {
  return store.Find(name).value_or(std::string());
}

void SetVariable(TVariableManager& store, const CommandLineProtection& protection, std::string_view name,
                 std::string_view value, std::string_view context) {
  if (name.empty()) return;
  if (context != kInjectOverrideCommandLine && protection.Protects(name)) {
    // The existence test and the set form one step: no other writer slips in between.
    auto hold = store.Hold();
    if (store.Exists(name)) return;
    store.Set(name, value);
    return;
  }
  store.Set(name, value);
}

}  // namespace korvane
