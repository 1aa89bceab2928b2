#include "engine/expression.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

using O = ExpressionOutcome;

struct Case {
  const char* text;
  O expected;
};

class ExpressionCases : public ::testing::TestWithParam<Case> {};

TEST_P(ExpressionCases, Evaluates) {
  EXPECT_EQ(EvaluateExpression(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Comparisons, ExpressionCases,
    ::testing::Values(
        Case{R"("b" > "a")", O::True}, Case{R"("a" > "b")", O::False},
        Case{R"("a"="a")", O::True}, Case{R"("a" = "A")", O::False},  // letter case counts
        Case{R"("a" <> "b")", O::True}, Case{R"("a" <= "a")", O::True},
        Case{R"("a" < "a")", O::False}, Case{R"("b" >= "c")", O::False},
        Case{R"("10" < "9")", O::True},  // numbers compare as text
        Case{R"("ab" > "a")", O::True},  // a proper prefix sorts first
        Case{"\"\xE9\" > \"z\"", O::True},  // bytes compare unsigned
        Case{R"("a""b" = "a""b")", O::True},  // a doubled quote stands for one
        Case{R"("""" = """")", O::True}, Case{R"("" = "")", O::True},
        Case{R"(  "a"   =   "a"  )", O::True}));

INSTANTIATE_TEST_SUITE_P(
    Joiners, ExpressionCases,
    ::testing::Values(
        Case{R"("b" > "a" or "a" > "b")", O::True}, Case{R"("b" > "a" and "a" > "b")", O::False},
        // Left to right without precedence: (F or T) and F = F, where precedence would give F or F.
        Case{R"("a"="b" or "a"="a" and "a"="b")", O::False},
        // (T or F) and T = T.
        Case{R"("a"="a" or "a"="b" and "a"="a")", O::True},
        Case{R"(("a"="b") or ("x"="x"))", O::True},
        Case{R"((("a"="a" and ("b"="b")) ) and "c"="c")", O::True},
        Case{R"("b" > "a" OR "a" > "b")", O::NoValue},  // only lower-case words join
        Case{R"("a"="a" xor "b"="b")", O::NoValue}));

INSTANTIATE_TEST_SUITE_P(
    Malformed, ExpressionCases,
    ::testing::Values(
        Case{R"("a" = "a"))", O::Error},       // an extra closing parenthesis
        Case{R"(("a" = "a")) or ("b"="b")", O::Error},
        Case{R"((("a" = "a")", O::Error},       // unclosed parentheses: the text runs out
        Case{R"("a" = "a)", O::Error},          // unclosed quoted text
        Case{R"("a)", O::Error},
        Case{R"("a" == "a")", O::NoValue},     // unknown comparator
        Case{R"("a" "a")", O::NoValue},         // no comparator
        // A word runs to the next blank or quote, so a trailing one swallows the closing
        // parenthesis and the text runs out.
        Case{R"("a" =)", O::Error}, Case{R"(a = b)", O::Error},
        Case{R"(x "a"="a")", O::NoValue},     // an unquoted term, nothing left over
        Case{"", O::NoValue}, Case{"   ", O::NoValue}, Case{"()", O::NoValue},
        Case{R"(("a"="a")("b"="b"))", O::Error},  // "(" read as a joining word
        Case{")", O::Error}, Case{"(", O::Error}, Case{"\"", O::Error}));

TEST(Expression, OutcomeTexts) {
  EXPECT_EQ(OutcomeText(O::True), "TRUE");
  EXPECT_EQ(OutcomeText(O::False), "FALSE");
  EXPECT_EQ(OutcomeText(O::Error), "ERROR");
  EXPECT_EQ(OutcomeText(O::NoValue), "");
}

// Hostile sizes end with a result, not a stack overflow or a crash.
TEST(Expression, DeepAndLargeInputs) {
  constexpr size_t kDepth = 100000;
  const std::string balanced = std::string(kDepth, '(') + R"("a"="a")" + std::string(kDepth, ')');
  EXPECT_EQ(EvaluateExpression(balanced), O::True);
  EXPECT_EQ(EvaluateExpression(std::string(kDepth, '(')), O::Error);
  EXPECT_EQ(EvaluateExpression(std::string(kDepth, ')')), O::Error);
  EXPECT_EQ(EvaluateExpression(balanced + ")"), O::Error);

  std::string operators;
  while (operators.size() < (1u << 20)) operators += "<> and or = ";
  EXPECT_EQ(EvaluateExpression(operators), O::NoValue);
  EXPECT_EQ(EvaluateExpression(std::string(1u << 20, '(')), O::Error);

  std::string chain = R"("a"="a")";
  for (int i = 0; i < 50000; ++i) chain += R"( and ("x"<"y"))";
  EXPECT_EQ(EvaluateExpression(chain), O::True);

  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>(i * 37 + 128));
  const O outcome = EvaluateExpression(bytes);
  EXPECT_TRUE(outcome == O::Error || outcome == O::NoValue);
}

}  // namespace
}  // namespace korvane
