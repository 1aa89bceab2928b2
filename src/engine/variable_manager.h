#pragma once
// The variable store: every script value is a named text variable held here. One instance
// serves the whole process; the main thread and worker threads share it.

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "bootstrap/package_tables.h"

namespace korvane {

class TVariableManager {
 public:
  // lockReads: reads and existence tests take the lock too (the engine's store sets it).
  explicit TVariableManager(bool lockReads = true);
  TVariableManager(const TVariableManager&) = delete;
  TVariableManager& operator=(const TVariableManager&) = delete;

  // Insert or replace; an empty name does nothing. The stored spelling of a name is the one
  // of its first setting. Throws std::logic_error("Can not modify a collection while
  // iterating") when called while the table is being listed.
  void Set(std::string_view name, std::string_view value);
  [[nodiscard]] std::string Get(std::string_view name) const;
  [[nodiscard]] bool Exists(std::string_view name) const;
  void Clear();
  // Replaces target with alternating names and values; returns the new line count.
  size_t List(LineList& target) const;

  // $NAME$ references replaced by values; inserted values are scanned again.
  [[nodiscard]] std::string Expand(std::string_view text) const;
  // As Expand, with each inserted value enclosed in double quotes.
  [[nodiscard]] std::string ExpandQuoted(std::string_view text) const;

  [[nodiscard]] size_t Count() const;

 private:
  // implementation details are the store's own
  struct Entry;
  struct Table;
  mutable std::recursive_mutex lock_;
  bool lockReads_;
  Table* table_;  // owned
 public:
  ~TVariableManager();
};

}  // namespace korvane
