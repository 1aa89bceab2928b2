#pragma once
// The end of a PE image (the stub size): the largest file offset + size of raw data over all
// section headers. Works on the bytes of a file or on the headers of a loaded module.

#include <cstdint>
#include <filesystem>
#include <span>

#include "support/result.h"

namespace korvane {

// headers: the image from its first byte, at least as far as the end of the section table.
Result<uint64_t> ImageEndFromHeaders(std::span<const uint8_t> headers);

// Reads the headers of an executable file and returns its image end.
Result<uint64_t> ImageEndOfFile(const std::filesystem::path& executable);

}  // namespace korvane
