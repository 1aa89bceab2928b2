#include "engine/variable_table.h"

#include <limits>
#include <stdexcept>

#include "support/text.h"

namespace korvane {

uint32_t VariableNameHash(std::string_view name) {
  uint32_t hash = 0;
  for (char c : name) {
    hash = (hash << 5) | (hash >> 27);
    hash ^= static_cast<unsigned char>(AsciiLower(c));
  }
  return hash;
}

uint32_t VariableTable::FindIndex(std::string_view name, uint32_t hash) const {
  if (heads_.empty()) return kNoEntry;
  for (uint32_t i = heads_[hash % heads_.size()]; i != kNoEntry; i = entries_[i].next) {
    const Entry& entry = entries_[i];
    if (entry.hash == hash && SameText(entry.name, name)) return i;
  }
  return kNoEntry;
}

const std::string* VariableTable::Find(std::string_view name) const {
  if (name.empty()) return nullptr;
  uint32_t i = FindIndex(name, VariableNameHash(name));
  return i == kNoEntry ? nullptr : &entries_[i].value;
}

void VariableTable::RefuseDuringWalk() const {
  if (walks_ > 0) throw std::logic_error(std::string(kModifiedWhileIterating));
}

void VariableTable::Assign(std::string_view name, std::string_view value) {
  if (name.empty()) return;
  const uint32_t hash = VariableNameHash(name);
  if (uint32_t i = FindIndex(name, hash); i != kNoEntry) {
    entries_[i].value.assign(value);
    return;
  }
  RefuseDuringWalk();
  if (entries_.size() >= std::numeric_limits<uint32_t>::max() - 1)
    throw std::length_error("the variable store is full");
  if (entries_.size() >= 2 * heads_.size()) Grow();
  const uint32_t bucket = hash % heads_.size();
  entries_.push_back(Entry{std::string(name), std::string(value), hash, heads_[bucket]});
  heads_[bucket] = static_cast<uint32_t>(entries_.size() - 1);
}

void VariableTable::Grow() {
  const size_t count = heads_.empty() ? kFirstBucketCount : heads_.size() * 2;
  heads_.assign(count, kNoEntry);
  // Entries stand in insertion order; putting each at its chain head in that order rebuilds
  // every chain newest first, as insertion alone would have.
  for (uint32_t i = 0; i < entries_.size(); ++i) {
    const uint32_t bucket = entries_[i].hash % count;
    entries_[i].next = heads_[bucket];
    heads_[bucket] = i;
  }
}

void VariableTable::Clear() {
  RefuseDuringWalk();
  entries_.clear();
  entries_.shrink_to_fit();
  heads_.clear();
  heads_.shrink_to_fit();
}

}  // namespace korvane
