#pragma once
// The Mathematics statement's arithmetic: 64-bit integer operations, bit operations,
// character codes and a settable pseudo-random generator.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

// The generator's settings; one instance serves the whole run (all 0 at start).
struct RandomGeneratorState {
  uint32_t multiplier = 0;
  uint32_t increment = 0;
  uint32_t state = 0;
};

// Operation numbers 0 to 15 of the Mathematics statement.
enum class MathOperation : int {
  Add = 0, Subtract, Multiply, Divide, Remainder, BitAnd, BitOr, BitXor, ShiftLeft, ShiftRight,
  Complement, CharacterCode, Character, SeedMultiplierIncrement, SeedState, NextRandom,
};

// Computes one operation. a and b are the expanded parameters 1 and 2; operation is
// parameter 3 as written. Returns the decimal result (one character for Character), or the
// empty text on any failure: a non-integer operand or operation number, division by zero,
// an empty text for CharacterCode, a negative shift count, an operation outside 0 to 15.
// Arithmetic wraps around in 64 bits; shifts by 64 bits or more give 0.
// Operand b is read only by operations 0 to 9 and SeedMultiplierIncrement.
[[nodiscard]] std::string ComputeMathematics(std::string_view a, std::string_view b,
                                             std::string_view operation,
                                             RandomGeneratorState& random);

}  // namespace korvane
