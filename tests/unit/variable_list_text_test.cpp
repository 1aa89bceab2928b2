#include "engine/variable_list_text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korvane {
namespace {

TEST(VariableListText, WritesQuotesOnlyWhereNeeded) {
  EXPECT_EQ(WriteListText({}), "");
  EXPECT_EQ(WriteListText({""}), "\"\"");
  EXPECT_EQ(WriteListText({"A", "1"}), "A,1");
  EXPECT_EQ(WriteListText({"A", "", "B", ""}), "A,,B,");
  EXPECT_EQ(WriteListText({"A", "x,y", "B", "say \"hi\"", "C", "two words", "D", "tab\there"}),
            "A,\"x,y\",B,\"say \"\"hi\"\"\",C,\"two words\",D,\"tab\there\"");
  EXPECT_EQ(WriteListText({"E", "caf\xE9"}), "E,caf\xE9");  // bytes above 127 need no quotes
}

TEST(VariableListText, ReadsItemsAsTheReadingRules) {
  struct Case {
    std::string text;
    LineList items;
  } cases[] = {
      {"", {}},
      {"   ", {}},
      {"\"\"", {""}},
      {"A,1", {"A", "1"}},
      {"A,,B", {"A", "", "B"}},
      {"A,", {"A", ""}},  // a comma that ends the text gives a final empty item
      {",A", {"", "A"}},
      {"  A ,  1", {"A", "1"}},       // blanks around items are skipped
      {"a b,c", {"a", "b", "c"}},     // an unquoted item ends at a blank
      {"\"x,y\",\"say \"\"hi\"\"\"", {"x,y", "say \"hi\""}},
      {"\"open", {"open"}},           // a missing closing quote runs to the end
      {"\"a\"b,c", {"a", "b", "c"}},
      {std::string("\"nul\0byte\"", 10), {std::string("nul\0byte", 8)}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadListText(c.text), c.items) << "text: " << c.text;
}

// The store's pairs in name order: listing order is not part of the contract.
std::vector<std::pair<std::string, std::string>> Pairs(const TVariableManager& store) {
  LineList lines;
  store.List(lines);
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t i = 0; i + 1 < lines.size(); i += 2) pairs.emplace_back(lines[i], lines[i + 1]);
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

TEST(VariableListText, SaveThenLoadRestoresEveryVariable) {
  const LineList pairs{"PLAIN", "value", "COMMA", "a,b", "QUOTE", "\"quoted\" and \"\"doubled\"\"",
                       "BLANKS", "  leading and trailing  ", "EMPTY", "", "BREAKS", "line1\r\nline2",
                       "Mixed Case Name", "x", "LAST", ""};
  TVariableManager store;
  for (size_t i = 0; i < pairs.size(); i += 2) store.Set(pairs[i], pairs[i + 1]);
  const std::string text = SaveAll(store);

  TVariableManager loaded;
  loaded.Set("STALE", "removed by the load");
  LoadAll(loaded, text);
  EXPECT_FALSE(loaded.Exists("STALE"));
  EXPECT_EQ(loaded.Count(), pairs.size() / 2);
  for (size_t i = 0; i < pairs.size(); i += 2) {
    EXPECT_TRUE(loaded.Exists(pairs[i])) << pairs[i];
    EXPECT_EQ(loaded.Get(pairs[i]), pairs[i + 1]) << pairs[i];
  }
  EXPECT_EQ(Pairs(loaded), Pairs(store));  // spelling of names kept as well
}

TEST(VariableListText, LoadLetsLaterDuplicatesWinAndKeepsALoneLastName) {
  TVariableManager store;
  LoadAll(store, "A,1,a,2,B");
  EXPECT_EQ(store.Get("A"), "2");
  EXPECT_TRUE(store.Exists("B"));
  EXPECT_EQ(store.Get("B"), "");
  LoadAll(store, "");
  EXPECT_EQ(store.Count(), 0u);
}

}  // namespace
}  // namespace korvane
