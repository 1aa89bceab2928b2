#pragma once
// Deflate decoder (zlib, raw stream) as a byte source.

#include <memory>

#include "archive/byte_source.h"

namespace korvane::archive {

std::unique_ptr<ByteSource> MakeDeflateDecoder(ByteSource& input);

}  // namespace korvane::archive
