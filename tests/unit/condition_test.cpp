#include "engine/condition.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

struct Case {
  const char* value;       // held by the variable V
  const char* code;
  const char* comparison;
  const char* negate;
  bool expected;
};

class ConditionCases : public ::testing::TestWithParam<Case> {};

TEST_P(ConditionCases, Holds) {
  const Case& c = GetParam();
  TVariableManager store;
  store.Set("V", c.value);
  for (const char* variable : {"V", "$V$", "v"}) {
    Result<bool> outcome = EvaluateCondition({variable, c.code, c.comparison, c.negate}, store);
    ASSERT_TRUE(outcome.ok()) << outcome.error();
    EXPECT_EQ(outcome.value(), c.expected)
        << variable << "=" << c.value << " op " << c.code << " " << c.comparison;
  }
}

INSTANTIATE_TEST_SUITE_P(
    IntegersAndTexts, ConditionCases,
    ::testing::Values(
        Case{"10", "0", "010", "", true},       // both integers: equal
        Case{"abc", "0", "ABC", "", false},     // text: letter case counts
        Case{"-5", "0", "-05", "", true}, Case{"+5", "0", "5", "", true},
        Case{"2147483648", "0", "02147483648", "", false},  // beyond 32 bits: text
        Case{" 5", "0", "5", "", false},        // blanks make text
        Case{"123", "1", "2", "", false},       // integers compare for equality
        Case{"abc", "1", "b", "", true}, Case{"abc", "1", "B", "", false},
        Case{"b", "2", "abc", "", true},        // text sorts after
        Case{"9", "2", "10", "", false},        // integers
        Case{"ab", "2", "a", "", true}, Case{"a", "2", "ab", "", false},  // prefix sorts first
        Case{"\xE9", "2", "z", "", true},       // unsigned bytes
        Case{"Hello World", "3", "WORLD", "", true}, Case{"7", "3", "07", "", true},
        Case{"Yes", "4", "YES", "", true}, Case{"Yes", "4", "No", "", false},
        Case{"10", "4", "10.0", "", false}));

INSTANTIATE_TEST_SUITE_P(
    NegationAndUnknownCodes, ConditionCases,
    ::testing::Values(
        Case{"x", "0", "x", "TRUE", false}, Case{"x", "0", "y", "true", true},
        Case{"x", "0", "y", "-1", true}, Case{"x", "0", "x", "1", true},  // "1" is not true
        Case{"x", "7", "x", "", false}, Case{"x", "7", "x", "TRUE", true},
        Case{"x", "", "x", "", false}, Case{"x", "00", "x", "", false}));

INSTANTIATE_TEST_SUITE_P(
    Versions, ConditionCases,
    ::testing::Values(
        Case{"2.10", "6", "2.9", "", true}, Case{"2.9", "6", "2.10", "", false},
        Case{"1.0.0.0", "6", "1", "", false},   // equal is not greater
        Case{"1.2.3", "6", "1.2.3.1", "", false}, Case{"1.2.3.1", "6", "1.2.3", "", true},
        Case{"2", "6", "1.9.9.9", "", true},
        Case{"1.2.3.4.9", "6", "1.2.3.4", "", false},  // parts after the fourth are ignored
        Case{"1.2.x", "6", "1.2", "", false},   // a last part that is no integer counts 0
        Case{"1.2.", "6", "1.2", "", false},    // an empty remainder counts 0
        Case{"1.5", "6", "1.4", "TRUE", false}));

TEST(Condition, ExistenceUsesParameterOneAsWritten) {
  TVariableManager store;
  store.Set("EMPTY", "");
  EXPECT_TRUE(EvaluateCondition({"EMPTY", "5", "", ""}, store).value());
  EXPECT_TRUE(EvaluateCondition({"empty", "5", "ignored", ""}, store).value());
  EXPECT_FALSE(EvaluateCondition({"EMPTY", "5", "", "TRUE"}, store).value());
  EXPECT_FALSE(EvaluateCondition({"MISSING", "5", "", ""}, store).value());
  EXPECT_FALSE(EvaluateCondition({"$EMPTY$", "5", "", ""}, store).value());  // no reference form
}

TEST(Condition, OperandsAreExpanded) {
  TVariableManager store;
  store.Set("PATH", "$ROOT$\\bin");
  store.Set("ROOT", "C:");
  store.Set("WANT", "C:\\bin");
  EXPECT_TRUE(EvaluateCondition({"PATH", "0", "$WANT$", ""}, store).value());
  EXPECT_TRUE(EvaluateCondition({"$PATH$", "4", "c:\\BIN", ""}, store).value());
  // A missing variable reads as the empty text.
  EXPECT_TRUE(EvaluateCondition({"NOWHERE", "0", "", ""}, store).value());
}

TEST(Condition, VersionPartThatIsNotANumberFails) {
  TVariableManager store;
  store.Set("V", "1.x.3");
  Result<bool> outcome = EvaluateCondition({"V", "6", "1.2", ""}, store);
  ASSERT_FALSE(outcome.ok());
  EXPECT_NE(outcome.error().find("'x'"), std::string::npos) << outcome.error();
  EXPECT_FALSE(IsGreaterVersion("1.2", "1..2").ok());
  EXPECT_FALSE(IsGreaterVersion(".1", "1").ok());
}

}  // namespace
}  // namespace korvane
