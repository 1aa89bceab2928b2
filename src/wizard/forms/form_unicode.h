#pragma once
// UTF-8 / UTF-16 conversions for form strings, which the model holds as UTF-8.

#include <cstdint>
#include <string>
#include <string_view>

#include "support/utf8.h"

namespace korvane::forms {

using korvane::AppendUtf8;

// Decodes one code point at text[i] and advances i; a malformed sequence yields its first byte
// as a Latin-1 character, so nothing is lost on the way back out.
inline uint32_t NextCodePoint(std::string_view text, size_t& i) {
  auto b = static_cast<unsigned char>(text[i]);
  int extra = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
  if (b >= 0xF8) extra = 0;
  if (extra == 0 || i + extra >= text.size()) {
    ++i;
    return b;
  }
  uint32_t code = b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    auto c = static_cast<unsigned char>(text[i + k]);
    if ((c & 0xC0) != 0x80) {
      ++i;
      return b;
    }
    code = (code << 6) | (c & 0x3F);
  }
  i += extra + 1;
  return code;
}

}  // namespace korvane::forms
