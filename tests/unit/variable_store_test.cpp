#include "engine/variable_manager.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace korvane {
namespace {

TEST(VariableNameHash, RotatesAndFoldsLetterCase) {
  EXPECT_EQ(VariableNameHash(""), 0u);
  EXPECT_EQ(VariableNameHash("a"), 0x61u);
  EXPECT_EQ(VariableNameHash("AB"), 0xC42u);  // (0x61 rotated by 5) xor 0x62
  EXPECT_EQ(VariableNameHash("TARGETDIR"), 0x486BEA46u);  // long enough for bits to wrap round
  EXPECT_EQ(VariableNameHash("targetdir"), 0x486BEA46u);
  EXPECT_EQ(VariableNameHash("VRAX_thProgress"), 0x753A6CEDu);
  EXPECT_EQ(VariableNameHash("\xC3\xA9t\xC3\xA9"), 0x0C6548C9u);  // bytes above 127 unsigned, unfolded
}

TEST(VariableStore, NamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
  TVariableManager store;
  store.Set("Title", "Acme");
  store.Set("TITLE", "Acme 2");
  EXPECT_EQ(store.Get("title"), "Acme 2");
  EXPECT_EQ(store.Count(), 1u);
  LineList lines;
  EXPECT_EQ(store.List(lines), 2u);
  EXPECT_EQ(lines, (LineList{"Title", "Acme 2"}));
  // Only A to Z fold: other bytes must match exactly.
  store.Set("\xC9T\xC9", "upper");
  EXPECT_FALSE(store.Exists("\xE9t\xE9"));
}

TEST(VariableStore, ExistsTellsAnEmptyValueFromAMissingVariable) {
  TVariableManager store;
  store.Set("EMPTY", "");
  EXPECT_TRUE(store.Exists("EMPTY"));
  EXPECT_FALSE(store.Exists("MISSING"));
  EXPECT_EQ(store.Get("EMPTY"), "");
  EXPECT_EQ(store.Get("MISSING"), "");
  EXPECT_EQ(store.Find("EMPTY"), std::optional<std::string>(""));
  EXPECT_EQ(store.Find("MISSING"), std::nullopt);
}

TEST(VariableStore, EmptyNameIsNeverStored) {
  TVariableManager store;
  store.Set("", "value");
  EXPECT_EQ(store.Count(), 0u);
  EXPECT_FALSE(store.Exists(""));
  EXPECT_EQ(store.Get(""), "");
  EXPECT_EQ(store.BucketCount(), 0u);  // not even the first buckets were made
}

TEST(VariableStore, ClearRemovesEverythingAndTheStoreStartsOver) {
  TVariableManager store;
  for (int i = 0; i < 100; ++i) store.Set("V" + std::to_string(i), "x");
  store.Clear();
  EXPECT_EQ(store.Count(), 0u);
  EXPECT_EQ(store.BucketCount(), 0u);
  EXPECT_FALSE(store.Exists("V1"));
  store.Set("V1", "again");
  EXPECT_EQ(store.Get("v1"), "again");
  EXPECT_EQ(store.BucketCount(), 32u);
}

// Names in the order the table must list them: bucket by bucket, each chain newest first.
LineList ExpectedOrder(const std::vector<std::string>& inserted, size_t buckets) {
  LineList order;
  for (size_t b = 0; b < buckets; ++b)
    for (auto it = inserted.rbegin(); it != inserted.rend(); ++it)
      if (VariableNameHash(*it) % buckets == b) order.push_back(*it);
  return order;
}

LineList ListedNames(const TVariableManager& store) {
  LineList lines, names;
  store.List(lines);
  for (size_t i = 0; i < lines.size(); i += 2) names.push_back(lines[i]);
  return names;
}

TEST(VariableStore, GrowsAtTwiceTheBucketCountAndListsBucketsThenChains) {
  TVariableManager store;
  std::vector<std::string> names;
  // Growth happens when an insertion finds entries >= 2 x buckets: 0 -> 32 at the first,
  // 32 -> 64 at the 65th, 64 -> 128 at the 129th.
  const std::vector<std::pair<size_t, size_t>> bucketsAfter{{1, 32}, {64, 32}, {65, 64}, {128, 64}, {129, 128}};
  size_t next = 0;
  for (size_t n = 1; n <= 200; ++n) {
    names.push_back("Item" + std::to_string(n * 7919));
    store.Set(names.back(), std::to_string(n));
    if (next < bucketsAfter.size() && bucketsAfter[next].first == n) {
      EXPECT_EQ(store.BucketCount(), bucketsAfter[next].second) << "after " << n << " insertions";
      ++next;
    }
    if (n == 64 || n == 65 || n == 200) {
      EXPECT_EQ(ListedNames(store), ExpectedOrder(names, store.BucketCount())) << "after " << n << " insertions";
    }
  }
  // Replacing values neither grows the table nor moves entries.
  const LineList before = ListedNames(store);
  for (const auto& name : names) store.Set(name, "changed");
  EXPECT_EQ(store.BucketCount(), 128u);
  EXPECT_EQ(ListedNames(store), before);
}

TEST(VariableStore, ListPairsNamesWithValuesAndReplacesTheTarget) {
  TVariableManager store;
  store.Set("A", "1");
  store.Set("B", "");
  LineList lines{"old", "lines", "here"};
  EXPECT_EQ(store.List(lines), 4u);
  ASSERT_EQ(lines.size(), 4u);
  for (size_t i = 0; i < lines.size(); i += 2) EXPECT_EQ(store.Get(lines[i]), lines[i + 1]);
  TVariableManager empty;
  EXPECT_EQ(empty.List(lines), 0u);
  EXPECT_TRUE(lines.empty());
}

TEST(VariableStore, InsertingWhileWalkingIsRefused) {
  TVariableManager store;
  store.Set("A", "1");
  store.Set("B", "2");
  int visited = 0;
  store.ForEach([&](std::string_view name, std::string_view) {
    ++visited;
    try {
      store.Set("NEW", "x");
      ADD_FAILURE() << "insertion during a walk was accepted";
    } catch (const std::logic_error& e) {
      EXPECT_STREQ(e.what(), "Can not modify a collection while iterating");
    }
    EXPECT_THROW(store.Clear(), std::logic_error);
    // Reading, and replacing a value that exists, leave the table's shape alone.
    EXPECT_TRUE(store.Exists(name));
    store.Set("A", "replaced");
  });
  EXPECT_EQ(visited, 2);
  EXPECT_EQ(store.Count(), 2u);
  EXPECT_EQ(store.Get("A"), "replaced");
  store.Set("NEW", "after the walk");  // the walk is over: accepted
  EXPECT_EQ(store.Count(), 3u);
}

TEST(VariableStore, ReadsWithoutTheLockStillWork) {
  TVariableManager store(false);
  EXPECT_FALSE(store.LocksReads());
  store.Set("A", "$B$");
  store.Set("B", "x");
  EXPECT_EQ(store.Expand("$A$"), "x");
  EXPECT_TRUE(TVariableManager().LocksReads());
}

}  // namespace
}  // namespace korvane
