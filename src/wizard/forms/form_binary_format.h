#pragma once
// Value tags and record flags of the binary ("TPF0") form streaming format.

#include <cstdint>

namespace korvane::forms::binary {

enum Tag : uint8_t {
  kNull = 0,  // also ends property lists, child lists, lists and collections
  kList = 1,
  kInt8 = 2,
  kInt16 = 3,
  kInt32 = 4,
  kExtended = 5,  // 80-bit float
  kString = 6,    // length byte + bytes
  kIdent = 7,
  kFalse = 8,
  kTrue = 9,
  kBinary = 10,  // 32-bit length + bytes
  kSet = 11,     // names until an empty one
  kLString = 12,
  kNil = 13,
  kCollection = 14,
  kSingle = 15,
  kCurrency = 16,  // 64-bit integer scaled by 10000
  kDate = 17,      // double
  kWString = 18,   // 32-bit count of UTF-16 units
  kInt64 = 19,
  kUtf8String = 20,
  kDouble = 21,
};

// A record may start with a prefix byte 0xF0 | flags.
constexpr uint8_t kPrefixMask = 0xF0;
constexpr uint8_t kFlagInherited = 1;
constexpr uint8_t kFlagChildPosition = 2;
constexpr uint8_t kFlagInline = 4;

}  // namespace korvane::forms::binary
