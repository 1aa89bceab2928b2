#include "bootstrap/pe_image.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvane {
namespace {

struct Section {
  uint32_t rawSize, rawOffset;
};

std::vector<uint8_t> Headers(const std::vector<Section>& sections, uint16_t optionalSize = 0xE0) {
  std::vector<uint8_t> h(1024, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) h[at + i] = uint8_t(v >> (8 * i));
  };
  auto put16 = [&](size_t at, uint16_t v) {
    h[at] = uint8_t(v);
    h[at + 1] = uint8_t(v >> 8);
  };
  h[0] = 'M';
  h[1] = 'Z';
  put32(0x3C, 0x80);
  h[0x80] = 'P';
  h[0x81] = 'E';
  put16(0x84 + 2, uint16_t(sections.size()));
  put16(0x84 + 16, optionalSize);
  size_t table = 0x84 + 20 + optionalSize;
  for (size_t i = 0; i < sections.size(); ++i) {
    put32(table + i * 40 + 16, sections[i].rawSize);
    put32(table + i * 40 + 20, sections[i].rawOffset);
  }
  return h;
}

TEST(PeImage, ImageEndIsTheFurthestRawDataOfAnySection) {
  auto end = ImageEndFromHeaders(Headers({{0x200, 0x400}, {0x1000, 0x2000}, {0x100, 0x600}}));
  ASSERT_TRUE(end.ok()) << end.error();
  EXPECT_EQ(*end, 0x3000u);
  // PE32+ images have a larger optional header; the section table follows it.
  auto wide = ImageEndFromHeaders(Headers({{0x800, 0x400}}, 0xF0));
  ASSERT_TRUE(wide.ok());
  EXPECT_EQ(*wide, 0xC00u);
}

TEST(PeImage, RefusesDamagedHeaders) {
  auto noMz = Headers({{1, 1}});
  noMz[0] = 'X';
  auto noPe = Headers({{1, 1}});
  noPe[0x80] = 'X';
  auto farPe = Headers({{1, 1}});
  farPe[0x3C] = 0xFF;
  farPe[0x3D] = 0xFF;
  auto manySections = Headers({{1, 1}});
  manySections[0x86] = 0xFF;
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases{
      {"empty", {}},         {"no MZ", noMz},          {"no PE", noPe}, {"PE header far away", farPe},
      {"no sections", Headers({})}, {"section table too long", manySections}};
  for (auto& [what, bytes] : cases) EXPECT_FALSE(ImageEndFromHeaders(bytes).ok()) << what;
}

}  // namespace
}  // namespace korvane
