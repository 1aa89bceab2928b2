#pragma once
// Parser of the 7z header structures (the plain header and the streams information of an encoded
// header). Every count and size is checked against the bytes present before anything is allocated.

#include <cstdint>
#include <span>

#include "archive/archive_model.h"

namespace korvane::archive {

// Upper bound on entries (and on streams inside blocks) of one archive.
constexpr uint64_t kMaxEntries = 1u << 22;

// Parses a plain header; bytes start right after the header marker byte. packed_base is the file
// position where packed streams start (just after the signature header).
[[nodiscard]] Database ParseHeader(std::span<const uint8_t> bytes, uint64_t packed_base);

// Parses the streams information that follows an encoded-header marker byte: the blocks whose
// output is the real header.
[[nodiscard]] Database ParseEncodedHeader(std::span<const uint8_t> bytes, uint64_t packed_base);

}  // namespace korvane::archive
