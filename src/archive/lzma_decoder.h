#pragma once
// LZMA and LZMA2 decoders as byte sources.

#include <cstdint>
#include <memory>
#include <span>

#include "archive/byte_source.h"

namespace korvane::archive {

// LZMA: 5 property bytes; output_size is the exact size the stream decodes to.
std::unique_ptr<ByteSource> MakeLzmaDecoder(ByteSource& input, std::span<const uint8_t> properties,
                                            uint64_t output_size);

// LZMA2: a chunked form of LZMA with stored chunks and resets; 1 property byte (dictionary size).
std::unique_ptr<ByteSource> MakeLzma2Decoder(ByteSource& input, std::span<const uint8_t> properties,
                                             uint64_t output_size);

}  // namespace korvane::archive
