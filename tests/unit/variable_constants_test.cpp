#include "engine/compiler_constants.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(SubstituteConstants, ReplacesNamesIgnoringCaseInTableOrder) {
  const LineList constants{"SINGLEINSTANCE", "TRUE", "LOCMODE", "1", "OUTER", "[#inner#]", "INNER", "in"};
  EXPECT_EQ(SubstituteConstants("#SINGLEINSTANCE#", constants), "TRUE");
  EXPECT_EQ(SubstituteConstants("#singleinstance#/#LocMode#", constants), "TRUE/1");
  // OUTER's value holds a later constant: it resolves within the same pass.
  EXPECT_EQ(SubstituteConstants("#OUTER#", constants), "[in]");
  EXPECT_EQ(SubstituteConstants("no constants", constants), "no constants");
  EXPECT_EQ(SubstituteConstants("#UNKNOWN#", constants), "#UNKNOWN#");
  EXPECT_EQ(SubstituteConstants("#CACHESOURCES#", {}), "#CACHESOURCES#");
}

TEST(SubstituteConstants, LaterPassesResolveEarlierConstants) {
  // FIRST names SECOND, which stands before it in the table: a second pass is needed.
  const LineList constants{"SECOND", "2", "FIRST", "#second#+1"};
  EXPECT_EQ(SubstituteConstants("#FIRST#", constants), "2+1");
}

TEST(SubstituteConstants, IgnoresEmptyNamesAndALoneLastName) {
  EXPECT_EQ(SubstituteConstants("a##b", {"", "X"}), "a##b");
  EXPECT_EQ(SubstituteConstants("#A#", {"A"}), "#A#");
}

TEST(SubstituteConstants, SelfReferencesEnd) {
  // A value that holds its own reference: unchanged result ends the passes at once.
  EXPECT_EQ(SubstituteConstants("#A#", {"A", "#A#"}), "#A#");
  // Two constants naming each other come back to the text itself.
  EXPECT_EQ(SubstituteConstants("#A#", {"A", "#B#", "B", "#A#"}), "#A#");
  // A growing value stops after the last pass: one more "x" per pass.
  const std::string grown = SubstituteConstants("#A#", {"A", "x#A#"});
  EXPECT_EQ(grown, std::string(kMaxConstantPasses, 'x') + "#A#");
  // A chain that doubles with every constant stops at the size bound.
  LineList doubling;
  for (int i = 0; i < 40; ++i) {
    doubling.push_back("C" + std::to_string(i));
    doubling.push_back("#C" + std::to_string(i + 1) + "##C" + std::to_string(i + 1) + "#");
  }
  const std::string big = SubstituteConstants("#C0#", doubling);
  EXPECT_LE(big.size(), kMaxConstantResultBytes);
  EXPECT_GT(big.size(), kMaxConstantResultBytes / 4);
}

}  // namespace
}  // namespace korvane
