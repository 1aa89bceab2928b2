#include "engine/variable_expansion.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/variable_manager.h"
#include "support/text.h"

namespace korvane {
namespace {

struct ExpandCase {
  const char* text;
  const char* expected;
};

class Expansion : public ::testing::Test {
 protected:
  Expansion() {
    store.Set("TITLE", "Acme");
    store.Set("A", "$B$");
    store.Set("B", "x");
    store.Set("EMPTY", "");
    store.Set("NEWLINE", "\r\n");
    store.Set("PRE", "$TI");
    store.Set("ONE", "1");
    store.Set("TWO", "2");
    store.Set("Dollar", "$");
  }
  TVariableManager store;
};

TEST_F(Expansion, ReplacesReferencesAsTheScanRules) {
  const ExpandCase cases[] = {
      {"", ""},
      {"no references", "no references"},
      {"$TITLE$", "Acme"},
      {"Welcome to $title$ Setup", "Welcome to Acme Setup"},  // names ignore letter case
      {"$MISSING$TITLE$", "$MISSINGAcme"},  // the closing dollar of a missing name opens the next
      {"$MISSING$", "$MISSING$"},
      {"$", "$"},
      {"$$", "$$"},
      {"a $ b", "a $ b"},
      {"5$ and $$TITLE$", "5$ and $Acme"},  // "$ and $" and "$$" are not variables
      {"$A$", "x"},                          // A holds $B$, which is expanded in turn
      {"[$EMPTY$]", "[]"},
      {"one$NEWLINE$two", "one\r\ntwo"},
      {"$PRE$TLE$", "Acme"},    // an inserted value is rescanned together with what follows it
      {"$Dollar$TITLE$", "Acme"},  // an inserted lone dollar opens a reference
      {"$TITLE$$TITLE$", "AcmeAcme"},
      {"$TITLE", "$TITLE"},
  };
  for (const auto& c : cases) EXPECT_EQ(store.Expand(c.text), c.expected) << "text: " << c.text;
}

TEST_F(Expansion, QuotedExpansionEnclosesEachValue) {
  EXPECT_EQ(store.ExpandQuoted("$ONE$ = $TWO$"), "\"1\" = \"2\"");
  EXPECT_EQ(store.ExpandQuoted("$A$"), "\"\"x\"\"");  // the value and its own expansion are quoted
  EXPECT_EQ(store.ExpandQuoted("$MISSING$ONE$"), "$MISSING\"1\"");
  EXPECT_EQ(store.ExpandQuoted("$EMPTY$"), "\"\"");
}

// The guard: these all end instead of running forever or exhausting memory.
TEST(ExpansionGuard, SelfAndMutualReferencesEnd) {
  TVariableManager store;
  store.Set("SELF", "$SELF$");
  store.Set("PING", "<$PONG$");
  store.Set("PONG", ">$PING$");
  store.Set("DOUBLE", "$DOUBLE$$DOUBLE$");
  store.Set("TITLE", "Acme");
  // A self-reference replaces itself until the budget runs out and then stands unexpanded,
  // and so does the text after it.
  EXPECT_EQ(store.Expand("$SELF$ and $TITLE$"), "$SELF$ and $TITLE$");
  const std::string mutual = store.Expand("$PING$");
  EXPECT_EQ(mutual.size(), kMaxExpansionReplacements + 6);  // one character per replacement + a reference
  EXPECT_TRUE(mutual.starts_with("<><>"));
  const std::string doubled = store.Expand("$DOUBLE$");
  EXPECT_EQ(doubled.size(), 8 * (kMaxExpansionReplacements + 1));  // each pass adds one reference
  EXPECT_EQ(doubled.find_first_not_of("$DOUBLE"), std::string::npos);
  const std::string quoted = store.ExpandQuoted("$DOUBLE$");
  EXPECT_LE(quoted.size(), 10 * (kMaxExpansionReplacements + 1));
}

TEST(ExpansionGuard, LimitsLeaveTheRestUnexpanded) {
  std::map<std::string, std::string> values{{"A", "a"}, {"BIG", std::string(100, 'b')}, {"SELF", "$SELF$"}};
  VariableLookup lookup = [&](std::string_view name) -> std::optional<std::string> {
    auto it = values.find(UpperCase(name));
    if (it == values.end()) return std::nullopt;
    return it->second;
  };
  ExpansionLimits three{3, 1000};
  EXPECT_EQ(ExpandReferences("$A$$A$$A$$A$$A$", lookup, ExpansionStyle::Plain, three), "aaa$A$$A$");
  ExpansionLimits small{1000, 150};
  EXPECT_EQ(ExpandReferences("$A$ $BIG$ $BIG$ $A$", lookup, ExpansionStyle::Plain, small),
            "a " + std::string(100, 'b') + " $BIG$ $A$");
  // The quotes count towards the inserted bytes.
  EXPECT_EQ(ExpandReferences("$A$$A$", lookup, ExpansionStyle::Quoted, {1000, 5}), "\"a\"$A$");
  EXPECT_EQ(ExpandReferences("x$SELF$y", lookup, ExpansionStyle::Plain, {10, 1000}), "x$SELF$y");
  // Within the limits nothing changes.
  EXPECT_EQ(ExpandReferences("$A$$A$$A$", lookup, ExpansionStyle::Plain, three), "aaa");
}

TEST(ExpansionGuard, NamesThatSpanAValueAndTheTextAfterItAreFound) {
  std::map<std::string, std::string> values{{"OPEN", "$NA"}, {"NAME", "found"}};
  int lookups = 0;
  VariableLookup lookup = [&](std::string_view name) -> std::optional<std::string> {
    ++lookups;
    auto it = values.find(std::string(name));
    if (it == values.end()) return std::nullopt;
    return it->second;
  };
  EXPECT_EQ(ExpandReferences("<$OPEN$ME$>", lookup), "<found>");
  EXPECT_EQ(lookups, 2);  // one lookup per reference
}

}  // namespace
}  // namespace korvane
