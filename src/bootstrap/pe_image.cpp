#include "bootstrap/pe_image.h"

#include <fstream>
#include <string>
#include <vector>

namespace korvane {
namespace {

uint32_t Read32(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t Read16(std::span<const uint8_t> b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kFileHeaderSize = 20;

}  // namespace

Result<uint64_t> ImageEndFromHeaders(std::span<const uint8_t> h) {
  if (h.size() < 0x40 || h[0] != 'M' || h[1] != 'Z') return Error{"not an executable: no MZ header"};
  const uint64_t pe = Read32(h, 0x3C);
  if (pe + 4 + kFileHeaderSize > h.size()) return Error{"not an executable: the PE header lies outside the file"};
  if (h[pe] != 'P' || h[pe + 1] != 'E' || h[pe + 2] != 0 || h[pe + 3] != 0)
    return Error{"not an executable: no PE signature"};
  const uint64_t fileHeader = pe + 4;
  const uint16_t sections = Read16(h, fileHeader + 2);
  const uint16_t optionalSize = Read16(h, fileHeader + 16);
  const uint64_t table = fileHeader + kFileHeaderSize + optionalSize;
  if (sections == 0) return Error{"not an executable: it has no sections"};
  if (table + uint64_t(sections) * kSectionHeaderSize > h.size())
    return Error{"not an executable: the section table lies outside the headers"};
  uint64_t end = 0;
  for (uint64_t i = 0; i < sections; ++i) {
    const uint64_t s = table + i * kSectionHeaderSize;
    const uint64_t rawSize = Read32(h, s + 16);
    const uint64_t rawOffset = Read32(h, s + 20);
    end = std::max(end, rawOffset + rawSize);
  }
  return end;
}

Result<uint64_t> ImageEndOfFile(const std::filesystem::path& executable) {
  std::ifstream in(executable, std::ios::binary);
  if (!in) return Error{"cannot open " + executable.string()};
  // The section table of any real image lies within the first 64 KiB.
  std::vector<uint8_t> head(64 * 1024);
  in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(in.gcount()));
  auto end = ImageEndFromHeaders(head);
  if (!end) return Error{executable.string() + ": " + end.error()};
  return end;
}

}  // namespace korvane
