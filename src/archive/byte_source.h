#pragma once
// A stream of bytes pulled by the decoder after it: packed data read from the archive, or the
// output of a coder. Every coder of a block is a ByteSource reading its own sources.

#include <cstddef>
#include <cstdint>

namespace korvane::archive {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to size bytes; returns 0 only at the end of the stream. Throws ArchiveError on bad data.
  virtual size_t Read(uint8_t* buffer, size_t size) = 0;
};

// Reads exactly size bytes or throws a data error naming what was being read.
void ReadExactly(ByteSource& source, uint8_t* buffer, size_t size, const char* what);

// Pulls bytes one at a time from a source through a buffer of its own.
class BufferedInput {
 public:
  explicit BufferedInput(ByteSource& source) : source_(source) {}
  // The next byte, or -1 at the end of the stream.
  int Next() {
    if (position_ == filled_) {
      filled_ = source_.Read(buffer_, sizeof buffer_);
      position_ = 0;
      if (filled_ == 0) return -1;
    }
    return buffer_[position_++];
  }

 private:
  ByteSource& source_;
  uint8_t buffer_[1 << 16];
  size_t position_ = 0;
  size_t filled_ = 0;
};

}  // namespace korvane::archive
