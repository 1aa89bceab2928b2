#include "archive/deflate_decoder.h"

#include <zlib.h>

#include <vector>

#include "archive/archive_error.h"

namespace korvane::archive {
namespace {

class DeflateDecoder : public ByteSource {
 public:
  explicit DeflateDecoder(ByteSource& input) : input_(input), buffer_(kBufferSize) {
    if (inflateInit2(&stream_, -15) != Z_OK) throw ArchiveError(vok::kInternalError, "the Deflate decoder cannot start");
  }
  ~DeflateDecoder() override { inflateEnd(&stream_); }

  size_t Read(uint8_t* out, size_t size) override {
    if (finished_ || size == 0) return 0;
    stream_.next_out = out;
    stream_.avail_out = static_cast<uInt>(std::min<size_t>(size, 1u << 30));
    while (stream_.avail_out == static_cast<uInt>(std::min<size_t>(size, 1u << 30))) {
      if (stream_.avail_in == 0) {
        size_t got = input_.Read(buffer_.data(), buffer_.size());
        if (got == 0) ThrowDataError("Deflate data is cut short");
        stream_.next_in = buffer_.data();
        stream_.avail_in = static_cast<uInt>(got);
      }
      int result = inflate(&stream_, Z_NO_FLUSH);
      if (result == Z_STREAM_END) {
        finished_ = true;
        break;
      }
      if (result != Z_OK && result != Z_BUF_ERROR) ThrowDataError("Deflate data is damaged");
    }
    return std::min<size_t>(size, 1u << 30) - stream_.avail_out;
  }

 private:
  static constexpr size_t kBufferSize = size_t{1} << 16;
  ByteSource& input_;
  std::vector<uint8_t> buffer_;
  z_stream stream_{};
  bool finished_ = false;
};

}  // namespace

std::unique_ptr<ByteSource> MakeDeflateDecoder(ByteSource& input) { return std::make_unique<DeflateDecoder>(input); }

}  // namespace korvane::archive
