#pragma once
// A minimal PE file for builder tests.

#include <cstdint>
#include <string>

namespace korvane::builder {

// A minimal PE file whose one section ends at imageEnd, followed by trailing bytes.
inline std::string FakeStub(uint32_t imageEnd, const std::string& trailing = "") {
  std::string b(imageEnd, '\x90');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (8 * i));
  };
  b.replace(0, 2, "MZ");
  put32(0x3C, 0x80);
  b.replace(0x80, 4, std::string("PE\0\0", 4));
  put32(0x84, 0);
  b[0x86] = 1;  // one section
  b[0x87] = 0;
  b[0x84 + 16] = char(0xF0);  // optional header size
  b[0x84 + 17] = 0;
  const size_t section = 0x84 + 20 + 0xF0;
  put32(section + 16, imageEnd - 0x400);  // raw size
  put32(section + 20, 0x400);             // raw offset
  return b + trailing;
}

}  // namespace korvane::builder
