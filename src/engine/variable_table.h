#pragma once
// The hash table behind the variable store: names to values, names compared without regard
// to letter case. Not synchronised; the store wraps it in its lock.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// The error text of an insertion or Clear attempted while the table is being walked.
inline constexpr std::string_view kModifiedWhileIterating = "Can not modify a collection while iterating";

// Hash of a variable name: starts at 0; for every byte rotate left by 5 bits, then exclusive-or
// the byte with A to Z folded to a to z.
[[nodiscard]] uint32_t VariableNameHash(std::string_view name);

// Chained buckets; the bucket of a name is its hash modulo the bucket count. The table starts
// with no buckets; an insertion that finds the entry count at or above twice the bucket count
// first grows it (to 32 buckets from none, otherwise to twice as many) and re-buckets every
// entry. New entries go to the head of their chain, and re-bucketing keeps that order, so every
// chain lists its entries newest first.
class VariableTable {
 public:
  struct Entry {
    std::string name;  // the spelling of the first setting
    std::string value;
    uint32_t hash;
    uint32_t next;  // index of the next entry in the chain, or kNoEntry
  };
  static constexpr uint32_t kNoEntry = UINT32_MAX;
  static constexpr size_t kFirstBucketCount = 32;

  // The value stored under name, or nullptr. Valid until the next Assign or Clear.
  [[nodiscard]] const std::string* Find(std::string_view name) const;

  // Inserts or replaces; an empty name does nothing. Inserting a new name while a walk is in
  // progress throws std::logic_error(kModifiedWhileIterating); replacing a value does not.
  void Assign(std::string_view name, std::string_view value);

  // Removes every entry and every bucket. Refused like an insertion during a walk.
  void Clear();

  [[nodiscard]] size_t Count() const { return entries_.size(); }
  [[nodiscard]] size_t BucketCount() const { return heads_.size(); }

  // Calls visit(name, value) bucket by bucket, each chain from its head. The visitor must not
  // insert into the table (that is refused, see Assign).
  template <class Visitor>
  void ForEach(Visitor&& visit) const {
    WalkMark mark(*this);
    for (uint32_t head : heads_)
      for (uint32_t i = head; i != kNoEntry; i = entries_[i].next)
        visit(std::string_view(entries_[i].name), std::string_view(entries_[i].value));
  }

 private:
  // Counts the walks in progress for as long as it lives.
  class WalkMark {
   public:
    explicit WalkMark(const VariableTable& table) : table_(table) { ++table_.walks_; }
    ~WalkMark() { --table_.walks_; }
    WalkMark(const WalkMark&) = delete;
    WalkMark& operator=(const WalkMark&) = delete;

   private:
    const VariableTable& table_;
  };

  [[nodiscard]] uint32_t FindIndex(std::string_view name, uint32_t hash) const;
  void RefuseDuringWalk() const;
  void Grow();

  std::vector<Entry> entries_;   // in insertion order; there is no deletion of single entries
  std::vector<uint32_t> heads_;  // first entry of each bucket's chain
  mutable int walks_ = 0;
};

}  // namespace korvane
