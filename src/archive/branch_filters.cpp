#include "archive/branch_filters.h"

#include <cstring>
#include <vector>

#include "archive/archive_error.h"

namespace korvane::archive {
namespace {

bool IsAddressTopByte(uint8_t b) { return b == 0 || b == 0xFF; }

constexpr bool kMaskAllowed[8] = {true, true, true, false, true, false, false, false};
constexpr unsigned kMaskBitNumber[8] = {0, 1, 2, 2, 3, 3, 3, 3};

class BcjX86Decoder : public ByteSource {
 public:
  explicit BcjX86Decoder(ByteSource& input) : input_(input), buffer_(kBufferSize) {}

  size_t Read(uint8_t* out, size_t size) override {
    for (;;) {
      if (ready_begin_ < ready_end_) {
        size_t n = std::min(size, ready_end_ - ready_begin_);
        std::memcpy(out, buffer_.data() + ready_begin_, n);
        ready_begin_ += n;
        return n;
      }
      // Keep the unconverted tail, read more after it and convert again.
      size_t tail = filled_ - ready_end_;
      std::memmove(buffer_.data(), buffer_.data() + ready_end_, tail);
      filled_ = tail;
      ready_begin_ = ready_end_ = 0;
      if (input_ended_) {
        if (filled_ == 0) return 0;
        ready_end_ = filled_;  // the last bytes of the stream are never converted
        continue;
      }
      size_t got = input_.Read(buffer_.data() + filled_, buffer_.size() - filled_);
      if (got == 0) {
        input_ended_ = true;
        continue;
      }
      filled_ += got;
      size_t done = BcjX86Decode(buffer_.data(), filled_, position_, state_);
      position_ += static_cast<uint32_t>(done);
      ready_end_ = done;
    }
  }

 private:
  static constexpr size_t kBufferSize = size_t{1} << 16;
  ByteSource& input_;
  std::vector<uint8_t> buffer_;
  size_t filled_ = 0;
  size_t ready_begin_ = 0;
  size_t ready_end_ = 0;
  uint32_t position_ = 0;
  uint32_t state_ = 0;
  bool input_ended_ = false;
};

class Bcj2Decoder : public ByteSource {
 public:
  Bcj2Decoder(ByteSource& main, ByteSource& call, ByteSource& jump, ByteSource& range_coded, uint64_t output_size)
      : main_(main), call_(call), jump_(jump), range_coded_(range_coded), remaining_(output_size) {
    for (auto& probability : probabilities_) probability = kBitModelTotal >> 1;
    for (int i = 0; i < 5; ++i) code_ = (code_ << 8) | RangeByte();
  }

  size_t Read(uint8_t* out, size_t size) override {
    size_t written = 0;
    while (written < size && remaining_ != 0) {
      if (pending_count_ != 0) {
        out[written++] = pending_[4 - pending_count_];
        --pending_count_;
        --remaining_;
        ++position_;
        continue;
      }
      int next = main_.Next();
      if (next < 0) ThrowDataError("BCJ2 main stream is cut short");
      auto b = static_cast<uint8_t>(next);
      out[written++] = b;
      --remaining_;
      ++position_;
      if (!IsJump(previous_, b) || remaining_ == 0) {
        previous_ = b;
        continue;
      }
      uint16_t& probability = probabilities_[b == 0xE8 ? previous_ : (b == 0xE9 ? 256 : 257)];
      if (!DecodeBit(probability)) {
        previous_ = b;
        continue;
      }
      BufferedInput& addresses = b == 0xE8 ? call_ : jump_;
      uint32_t source = 0;
      for (int i = 0; i < 4; ++i) {
        int c = addresses.Next();
        if (c < 0) ThrowDataError("BCJ2 address stream is cut short");
        source = (source << 8) | static_cast<uint32_t>(c);
      }
      uint32_t destination = source - (position_ + 4);
      for (int i = 0; i < 4; ++i) pending_[i] = static_cast<uint8_t>(destination >> (8 * i));
      pending_count_ = 4;
      previous_ = static_cast<uint8_t>(destination >> 24);
    }
    return written;
  }

 private:
  static constexpr uint32_t kTopValue = 1u << 24;
  static constexpr uint32_t kBitModelTotal = 1u << 11;

  static bool IsJump(uint8_t b0, uint8_t b1) { return (b1 & 0xFE) == 0xE8 || (b0 == 0x0F && (b1 & 0xF0) == 0x80); }

  uint32_t RangeByte() {
    int c = range_coded_.Next();
    if (c < 0) ThrowDataError("BCJ2 selector stream is cut short");
    return static_cast<uint32_t>(c);
  }

  bool DecodeBit(uint16_t& probability) {
    uint32_t bound = (range_ >> 11) * probability;
    bool bit;
    if (code_ < bound) {
      range_ = bound;
      probability = static_cast<uint16_t>(probability + ((kBitModelTotal - probability) >> 5));
      bit = false;
    } else {
      range_ -= bound;
      code_ -= bound;
      probability = static_cast<uint16_t>(probability - (probability >> 5));
      bit = true;
    }
    if (range_ < kTopValue) {
      range_ <<= 8;
      code_ = (code_ << 8) | RangeByte();
    }
    return bit;
  }

  BufferedInput main_;
  BufferedInput call_;
  BufferedInput jump_;
  BufferedInput range_coded_;
  uint64_t remaining_;
  uint16_t probabilities_[258];
  uint32_t range_ = 0xFFFFFFFFu;
  uint32_t code_ = 0;
  uint32_t position_ = 0;
  uint8_t previous_ = 0;
  uint8_t pending_[4] = {};
  int pending_count_ = 0;
};

}  // namespace

size_t BcjX86Decode(uint8_t* data, size_t size, uint32_t position, uint32_t& state) {
  if (size < 5) return 0;
  uint32_t ip = position + 5;
  size_t buffer_pos = 0;
  size_t previous_pos = static_cast<size_t>(0) - 1;
  uint32_t previous_mask = state & 7;
  for (;;) {
    uint8_t* p = data + buffer_pos;
    uint8_t* limit = data + size - 4;
    for (; p < limit; ++p)
      if ((*p & 0xFE) == 0xE8) break;
    buffer_pos = static_cast<size_t>(p - data);
    if (p >= limit) break;
    previous_pos = buffer_pos - previous_pos;
    if (previous_pos > 3) {
      previous_mask = 0;
    } else {
      previous_mask = (previous_mask << (previous_pos - 1)) & 7;
      if (previous_mask != 0) {
        uint8_t b = p[4 - kMaskBitNumber[previous_mask]];
        if (!kMaskAllowed[previous_mask] || IsAddressTopByte(b)) {
          previous_pos = buffer_pos;
          previous_mask = ((previous_mask << 1) & 7) | 1;
          ++buffer_pos;
          continue;
        }
      }
    }
    previous_pos = buffer_pos;
    if (IsAddressTopByte(p[4])) {
      uint32_t source = (static_cast<uint32_t>(p[4]) << 24) | (static_cast<uint32_t>(p[3]) << 16) |
                        (static_cast<uint32_t>(p[2]) << 8) | p[1];
      uint32_t destination;
      for (;;) {
        destination = source - (ip + static_cast<uint32_t>(buffer_pos));
        if (previous_mask == 0) break;
        unsigned index = kMaskBitNumber[previous_mask] * 8;
        auto b = static_cast<uint8_t>(destination >> (24 - index));
        if (!IsAddressTopByte(b)) break;
        source = destination ^ ((1u << (32 - index)) - 1);
      }
      p[4] = static_cast<uint8_t>(~(((destination >> 24) & 1) - 1));
      p[3] = static_cast<uint8_t>(destination >> 16);
      p[2] = static_cast<uint8_t>(destination >> 8);
      p[1] = static_cast<uint8_t>(destination);
      buffer_pos += 5;
    } else {
      previous_mask = ((previous_mask << 1) & 7) | 1;
      ++buffer_pos;
    }
  }
  previous_pos = buffer_pos - previous_pos;
  state = previous_pos > 3 ? 0 : ((previous_mask << (previous_pos - 1)) & 7);
  return buffer_pos;
}

std::unique_ptr<ByteSource> MakeBcjX86Decoder(ByteSource& input) { return std::make_unique<BcjX86Decoder>(input); }

std::unique_ptr<ByteSource> MakeBcj2Decoder(ByteSource& main, ByteSource& call, ByteSource& jump,
                                            ByteSource& range_coded, uint64_t output_size) {
  return std::make_unique<Bcj2Decoder>(main, call, jump, range_coded, output_size);
}

}  // namespace korvane::archive
