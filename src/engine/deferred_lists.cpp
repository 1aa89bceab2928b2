#include "engine/deferred_lists.h"

#include <algorithm>

#include "engine/line_breaks.h"
#include "support/text.h"

namespace korvane {

void DeferredLists::Publish(std::string_view name, std::string_view value) {
  installerProperties.emplace_back(name);
  installerProperties.emplace_back(value);
  runParameters.emplace_back(name);
  // A value is one line of the list: its line breaks travel as $NEWLINE$.
  runParameters.push_back(BreaksToNewlines(value));
}

void DeferredLists::Persist(std::string_view name) {
  const bool known = std::any_of(persistedVariables.begin(), persistedVariables.end(),
                                 [&](const std::string& kept) { return SameText(kept, name); });
  if (!known) persistedVariables.emplace_back(name);
}

void DeferredLists::Clear() {
  statementStates.clear();
  installerProperties.clear();
  runParameters.clear();
  persistedVariables.clear();
}

}  // namespace korvane
