#pragma once
// The variable store: every script value is a named text variable held here. One instance
// serves the whole process; the main thread and worker threads share it.

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "bootstrap/package_tables.h"
#include "engine/variable_expansion.h"
#include "engine/variable_table.h"

namespace korvane {

class TVariableManager {
 public:
  // lockReads: reads and existence tests take the lock too (the engine's store sets it).
  explicit TVariableManager(bool lockReads = true);
  TVariableManager(const TVariableManager&) = delete;
  TVariableManager& operator=(const TVariableManager&) = delete;

  // Insert or replace; an empty name does nothing. The stored spelling of a name is the one
  // of its first setting. Throws std::logic_error("Can not modify a collection while
  // iterating") when a new name is inserted from inside ForEach.
  void Set(std::string_view name, std::string_view value);
  // The value, or the empty text for a missing variable or an empty name.
  [[nodiscard]] std::string Get(std::string_view name) const;
  // True when the name is present, even with an empty value.
  [[nodiscard]] bool Exists(std::string_view name) const;
  // The value when the name is present: Exists and Get in one table operation.
  [[nodiscard]] std::optional<std::string> Find(std::string_view name) const;
  void Clear();
  [[nodiscard]] size_t Count() const;
  [[nodiscard]] size_t BucketCount() const;

  // Replaces target with alternating names and values in enumeration order (bucket by bucket,
  // each chain from its head); returns the new line count. Takes the lock for the whole walk.
  size_t List(LineList& target) const;
  // Calls visit(name, value) for every variable in enumeration order under the lock. The
  // visitor must not insert new names (that throws, see Set); the views it gets stay valid
  // only while it leaves the store unchanged.
  template <class Visitor>
  void ForEach(Visitor&& visit) const {
    std::lock_guard hold(lock_);
    table_.ForEach(visit);
  }

  // $NAME$ references replaced by values; inserted values are scanned again. Each looked-up
  // name takes the lock once, so a text may see values from different moments while another
  // thread writes. Endless expansion is cut off as ExpandReferences describes.
  [[nodiscard]] std::string Expand(std::string_view text) const;
  // As Expand, with each inserted value enclosed in double quotes.
  [[nodiscard]] std::string ExpandQuoted(std::string_view text) const;

  // Holds the store's re-entrant lock until the returned guard ends, so that several operations
  // (an existence test and a set, for example) see no other thread's writes in between.
  [[nodiscard]] std::unique_lock<std::recursive_mutex> Hold() const;

  [[nodiscard]] bool LocksReads() const { return lockReads_; }

 private:
  [[nodiscard]] std::unique_lock<std::recursive_mutex> ReadLock() const;

  mutable std::recursive_mutex lock_;
  const bool lockReads_;
  VariableTable table_;
};

}  // namespace korvane
