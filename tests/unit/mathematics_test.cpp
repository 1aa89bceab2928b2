#include "engine/mathematics.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

struct Case {
  const char* a;
  const char* b;
  const char* operation;
  std::string expected;
};

class MathematicsCases : public ::testing::TestWithParam<Case> {};

TEST_P(MathematicsCases, Computes) {
  RandomGeneratorState random;
  const Case& c = GetParam();
  EXPECT_EQ(ComputeMathematics(c.a, c.b, c.operation, random), c.expected)
      << c.a << " op " << c.operation << " " << c.b;
}

INSTANTIATE_TEST_SUITE_P(
    Operations, MathematicsCases,
    ::testing::Values(
        Case{"7", "5", "0", "12"}, Case{"7", "5", "1", "2"}, Case{"-7", "5", "2", "-35"},
        Case{"7", "2", "3", "3"}, Case{"-7", "2", "3", "-3"},     // truncated toward zero
        Case{"-7", "2", "4", "-1"}, Case{"7", "-2", "4", "1"},    // sign of the dividend
        Case{"12", "10", "5", "8"}, Case{"12", "10", "6", "14"}, Case{"12", "10", "7", "6"},
        Case{"1", "40", "8", "1099511627776"}, Case{"-1", "60", "9", "15"},  // zero-filling
        Case{"5", "", "10", "-6"},                                // B is not read
        Case{"Abc", "x", "11", "65"}, Case{"\xFF", "", "11", "255"},
        Case{"65", "x", "12", "A"}, Case{"321", "", "12", "A"},   // low 8 bits
        Case{"5", "3", "13", "8"}, Case{"4294967297", "", "14", "1"},
        Case{"4294967295", "", "14", "-1"}));

INSTANTIATE_TEST_SUITE_P(
    WrapAroundAndLimits, MathematicsCases,
    ::testing::Values(
        Case{"9223372036854775807", "1", "0", "-9223372036854775808"},
        Case{"-9223372036854775808", "1", "1", "9223372036854775807"},
        Case{"-9223372036854775808", "-1", "3", "-9223372036854775808"},
        Case{"-9223372036854775808", "-1", "4", "0"},
        Case{"4611686018427387904", "2", "2", "-9223372036854775808"},
        Case{"1", "64", "8", "0"}, Case{"-1", "64", "9", "0"}, Case{"1", "63", "8",
                                                                    "-9223372036854775808"}));

INSTANTIATE_TEST_SUITE_P(
    FailuresGiveEmptyText, MathematicsCases,
    ::testing::Values(
        Case{"7", "0", "3", ""}, Case{"7", "0", "4", ""},          // division by zero
        Case{"x", "1", "0", ""}, Case{"1", "x", "0", ""}, Case{"1", "", "0", ""},
        Case{"", "", "11", ""},                                    // no character
        Case{"1", "-1", "8", ""},                                  // negative shift count
        Case{"1", "1", "16", ""}, Case{"1", "1", "-1", ""},        // no such operation
        Case{"1", "1", "", ""}, Case{"1", "1", "zero", ""},
        Case{"99999999999999999999", "1", "0", ""}));               // beyond 64 bits

TEST(Mathematics, PseudoRandomSequence) {
  RandomGeneratorState random;
  EXPECT_EQ(ComputeMathematics("5", "3", "13", random), "8");
  EXPECT_EQ(ComputeMathematics("7", "", "14", random), "7");
  EXPECT_EQ(ComputeMathematics("100", "", "15", random), "38");
  EXPECT_EQ(random.state, 38u);
  EXPECT_EQ(ComputeMathematics("100", "", "15", random), "93");  // (5 x 38 + 3) mod 100
  EXPECT_EQ(random.state, 193u);
}

TEST(Mathematics, RandomStepWrapsIn32BitsAndKeepsSigns) {
  RandomGeneratorState random;
  random.multiplier = 0x7FFFFFFF;
  random.increment = 0;
  random.state = 2;  // 0x7FFFFFFF x 2 wraps to -2 as a signed 32-bit number
  EXPECT_EQ(ComputeMathematics("1000", "", "15", random), "-2");
  EXPECT_EQ(static_cast<int32_t>(random.state), -2);  // -2 mod 32767 keeps the sign
  // Division by zero leaves an empty result, but the state has moved on.
  random.multiplier = 1;
  random.increment = 40000;
  random.state = 0;
  EXPECT_EQ(ComputeMathematics("0", "", "15", random), "");
  EXPECT_EQ(random.state, 40000u % 32767u);
  // An all-zero generator keeps producing the increment.
  RandomGeneratorState fresh;
  EXPECT_EQ(ComputeMathematics("10", "", "15", fresh), "0");
}

}  // namespace
}  // namespace korvane
