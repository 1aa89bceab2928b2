#include "engine/mathematics.h"

#include <optional>

#include "support/text.h"

namespace korvane {
namespace {

// Wrap-around arithmetic goes through unsigned values, where overflow is defined.
int64_t Wrap(uint64_t value) { return static_cast<int64_t>(value); }
uint64_t Bits(int64_t value) { return static_cast<uint64_t>(value); }

// Remainder with the sign of the dividend; the one overflowing case (minimum / -1) wraps to 0.
int64_t Remainder(int64_t a, int64_t b) { return b == -1 ? 0 : a % b; }

std::optional<int64_t> Compute(MathOperation operation, int64_t a, int64_t b,
                               RandomGeneratorState& random) {
  switch (operation) {
    case MathOperation::Add: return Wrap(Bits(a) + Bits(b));
    case MathOperation::Subtract: return Wrap(Bits(a) - Bits(b));
    case MathOperation::Multiply: return Wrap(Bits(a) * Bits(b));
    case MathOperation::Divide:
      if (b == 0) return std::nullopt;
      if (b == -1) return Wrap(0 - Bits(a));  // minimum / -1 wraps to minimum
      return a / b;
    case MathOperation::Remainder:
      if (b == 0) return std::nullopt;
      return Remainder(a, b);
    case MathOperation::BitAnd: return a & b;
    case MathOperation::BitOr: return a | b;
    case MathOperation::BitXor: return a ^ b;
    case MathOperation::ShiftLeft:
      if (b < 0) return std::nullopt;
      return b >= 64 ? 0 : Wrap(Bits(a) << b);
    case MathOperation::ShiftRight:
      if (b < 0) return std::nullopt;
      return b >= 64 ? 0 : Wrap(Bits(a) >> b);
    case MathOperation::Complement: return ~a;
    case MathOperation::SeedMultiplierIncrement:
      random.multiplier = static_cast<uint32_t>(Bits(a));
      random.increment = static_cast<uint32_t>(Bits(b));
      return Wrap(Bits(a) + Bits(b));
    case MathOperation::SeedState:
      random.state = static_cast<uint32_t>(Bits(a));
      return static_cast<int32_t>(random.state);
    case MathOperation::NextRandom: {
      const int32_t v = static_cast<int32_t>(random.multiplier * random.state + random.increment);
      random.state = static_cast<uint32_t>(v % 32767);
      if (a == 0) return std::nullopt;
      return Remainder(v, a);
    }
    case MathOperation::CharacterCode:
    case MathOperation::Character:
      break;  // handled by the caller: their operands are not both integers
  }
  return std::nullopt;
}

}  // namespace

std::string ComputeMathematics(std::string_view a, std::string_view b, std::string_view operation,
                               RandomGeneratorState& random) {
  const std::optional<int64_t> number = ParseInteger(operation);
  if (!number || *number < 0 || *number > 15) return std::string();
  const auto op = static_cast<MathOperation>(*number);

  if (op == MathOperation::CharacterCode) {
    if (a.empty()) return std::string();
    return std::to_string(static_cast<unsigned char>(a[0]));
  }
  const std::optional<int64_t> left = ParseInteger(a);
  if (!left) return std::string();
  if (op == MathOperation::Character) return std::string(1, static_cast<char>(Bits(*left) & 0xFF));

  int64_t right = 0;
  if (*number < 10 || op == MathOperation::SeedMultiplierIncrement) {
    const std::optional<int64_t> parsed = ParseInteger(b);
    if (!parsed) return std::string();
    right = *parsed;
  }
  const std::optional<int64_t> result = Compute(op, *left, right, random);
  return result ? std::to_string(*result) : std::string();
}

}  // namespace korvane
