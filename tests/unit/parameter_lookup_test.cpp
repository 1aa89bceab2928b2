#include "bootstrap/parameter_lookup.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

const std::string kIf = "{FFFFFFFF-AAAA-BBBB-CCCC-DDDDDDDDDDDD}";
const std::string kSet = "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";

TEST(ParameterLookup, FindsParametersByKeyAndNumber) {
  LineList list{kIf, "PREREQ", "0", "TRUE", "FALSE", kSet, "PREREQ", "TRUE"};
  ParameterLookup lookup;
  lookup.AddList(list);
  EXPECT_EQ(lookup.Parameter(kIf, 0), kIf);
  EXPECT_EQ(lookup.Parameter(kIf, 1), "PREREQ");
  EXPECT_EQ(lookup.Parameter(kIf, 4), "FALSE");
  EXPECT_EQ(lookup.Parameter(kSet, 2), "TRUE");
  // A statement without a block (End) has only empty parameters.
  EXPECT_EQ(lookup.Parameter("{00000000-0000-0000-0000-000000000000}", 0), "");
  EXPECT_EQ(lookup.Parameter("{00000000-0000-0000-0000-000000000000}", 3), "");
}

TEST(ParameterLookup, LaterBlockWinsAndKeysMatchInAnyCase) {
  LineList list{"{abcdef00-0000-0000-0000-000000000000}", "first", kSet, "x",
                "{ABCDEF00-0000-0000-0000-000000000000}", "second"};
  ParameterLookup lookup;
  lookup.AddList(list);
  EXPECT_EQ(lookup.Parameter("{ABCDEF00-0000-0000-0000-000000000000}", 1), "second");
  EXPECT_EQ(lookup.Parameter("{abcdef00-0000-0000-0000-000000000000}", 1), "second");
}

TEST(ParameterLookup, FirstListHoldingTheKeyAnswers) {
  LineList first{kSet, "from first"};
  LineList second{kSet, "from second", kIf, "only second"};
  ParameterLookup lookup;
  lookup.AddList(first);
  lookup.AddList(second);
  EXPECT_EQ(lookup.Parameter(kSet, 1), "from first");
  EXPECT_EQ(lookup.Parameter(kIf, 1), "only second");
}

TEST(ParameterLookup, ParameterPastTheEndIsAPackageError) {
  LineList list{kSet, "a"};
  ParameterLookup lookup;
  lookup.AddList(list);
  EXPECT_EQ(lookup.Parameter(kSet, 1), "a");
  EXPECT_THROW((void)lookup.Parameter(kSet, 2), PackageError);
  EXPECT_THROW((void)lookup.Parameter(kSet, SIZE_MAX), PackageError);
}

TEST(ParameterLookup, RebuildsItsIndexAfterInvalidate) {
  LineList list{kSet, "old"};
  ParameterLookup lookup;
  lookup.AddList(list);
  EXPECT_EQ(lookup.Parameter(kSet, 1), "old");
  list = {"x", kSet, "new"};
  lookup.Invalidate();
  EXPECT_EQ(lookup.Parameter(kSet, 1), "new");
}

TEST(CommandHeaderTable, FindsTheHeaderOfAnIndex) {
  CommandHeaderTable table(LineList{"15193751", "333", "ABC", "7", "DEF", "7"});
  EXPECT_EQ(table.HeaderOf(333), "15193751");
  EXPECT_EQ(table.HeaderOf(7), "DEF");  // the last pair wins
  EXPECT_EQ(table.HeaderOf(8), "");
}

TEST(CommandHeaderTable, AHeaderCodeThatLooksLikeAnIndexIsNotMatched) {
  // Statement 12 has the header "5"; statement 5 has none.
  CommandHeaderTable table(LineList{"A1", "4", "5", "12"});
  EXPECT_EQ(table.HeaderOf(5), "");
  EXPECT_EQ(table.HeaderOf(12), "5");
}

}  // namespace
}  // namespace korvane
