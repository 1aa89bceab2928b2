#pragma once
// Decoders of the x86 branch filters: BCJ (relative call and jump addresses made absolute by the
// encoder) and BCJ2 (calls and jumps split into their own streams, with a range-coded selector).

#include <cstdint>
#include <memory>

#include "archive/byte_source.h"

namespace korvane::archive {

// Converts absolute x86 call/jump targets back to relative ones, in place. Returns how many bytes
// at the start of data are final; the rest (at most 4) must be given again with more data.
// position is the stream position of data[0]; state carries the recent-opcode mask between calls.
size_t BcjX86Decode(uint8_t* data, size_t size, uint32_t position, uint32_t& state);

std::unique_ptr<ByteSource> MakeBcjX86Decoder(ByteSource& input);

// inputs: main stream, call stream, jump stream, range-coded stream. output_size: exact size.
std::unique_ptr<ByteSource> MakeBcj2Decoder(ByteSource& main, ByteSource& call, ByteSource& jump,
                                            ByteSource& range_coded, uint64_t output_size);

}  // namespace korvane::archive
