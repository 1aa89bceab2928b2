#include "bootstrap/parameter_lookup.h"

#include "support/text.h"

namespace korvane {

void ParameterLookup::AddList(const LineList& list) {
  std::lock_guard lock(mutex_);
  entries_.push_back({&list, nullptr});
}

void ParameterLookup::Clear() {
  std::lock_guard lock(mutex_);
  entries_.clear();
}

void ParameterLookup::Invalidate() {
  std::lock_guard lock(mutex_);
  for (auto& entry : entries_) entry.lastPosition.reset();
}

std::string ParameterLookup::Parameter(std::string_view key, size_t number) const {
  const std::string upperKey = UpperCase(key);
  std::lock_guard lock(mutex_);
  for (auto& entry : entries_) {
    if (!entry.lastPosition) {
      entry.lastPosition = std::make_unique<std::unordered_map<std::string, size_t>>();
      entry.lastPosition->reserve(entry.list->size());
      for (size_t i = 0; i < entry.list->size(); ++i)
        (*entry.lastPosition)[UpperCase((*entry.list)[i])] = i;  // later lines overwrite earlier ones
    }
    auto hit = entry.lastPosition->find(upperKey);
    if (hit == entry.lastPosition->end()) continue;
    const size_t position = hit->second + number;
    if (number >= entry.list->size() || position >= entry.list->size())
      throw PackageError("Parameter " + std::to_string(number) + " of statement " + std::string(key) +
                         " lies past the end of the parameter list. Please rebuild your project.");
    return (*entry.list)[position];
  }
  return {};
}

CommandHeaderTable::CommandHeaderTable(const LineList& table) {
  // Only the index lines of the pairs are matched: a header code that happens to read like a
  // statement index must not be taken for one.
  for (size_t i = 0; i + 1 < table.size(); i += 2) byIndex_[UpperCase(table[i + 1])] = table[i];
}

std::string CommandHeaderTable::HeaderOf(size_t statementIndex) const {
  auto hit = byIndex_.find(std::to_string(statementIndex));
  return hit == byIndex_.end() ? std::string() : hit->second;
}

}  // namespace korvane
