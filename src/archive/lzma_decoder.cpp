#include "archive/lzma_decoder.h"

#include <algorithm>
#include <optional>

#include "archive/archive_error.h"
#include "archive/lzma_window.h"

namespace korvane::archive {
namespace {

constexpr size_t kInputBufferSize = size_t{1} << 16;

// Input of a decoder, read ahead in blocks.
class InputBuffer {
 public:
  explicit InputBuffer(ByteSource& source) : source_(source), data_(new uint8_t[kInputBufferSize]) {}
  // Refills when everything buffered was used; false at the end of the input.
  bool EnsureSome() {
    if (position_ < size_) return true;
    size_ = source_.Read(data_.get(), kInputBufferSize);
    position_ = 0;
    return size_ != 0;
  }
  [[nodiscard]] const uint8_t* Data() const { return data_.get() + position_; }
  [[nodiscard]] size_t Available() const { return size_ - position_; }
  void Consume(size_t n) { position_ += n; }
  uint8_t Byte(const char* what) {
    if (!EnsureSome()) ThrowDataError(std::string("compressed data ends inside ") + what);
    return data_[position_++];
  }

 private:
  ByteSource& source_;
  std::unique_ptr<uint8_t[]> data_;
  size_t position_ = 0;
  size_t size_ = 0;
};

class LzmaDecoder : public ByteSource {
 public:
  LzmaDecoder(ByteSource& input, const uint8_t props[5], uint64_t output_size)
      : input_(input), window_(props, output_size), remaining_(output_size) {}

  size_t Read(uint8_t* buffer, size_t size) override {
    for (;;) {
      if (window_.Pending() != 0) return window_.TakeOut(buffer, size);
      if (remaining_ == 0) return 0;
      window_.MakeRoom();
      bool have_input = input_.EnsureSome();
      CLzmaDec& decoder = window_.decoder();
      size_t before = decoder.dicPos;
      SizeT limit = before + static_cast<SizeT>(std::min<uint64_t>(window_.Room(), remaining_));
      SizeT consumed = input_.Available();
      ELzmaStatus status;
      SRes result = LzmaDec_DecodeToDic(&decoder, limit, input_.Data(), &consumed, LZMA_FINISH_ANY, &status);
      input_.Consume(consumed);
      size_t produced = decoder.dicPos - before;
      remaining_ -= produced;
      if (result != SZ_OK) ThrowDataError("LZMA data is damaged");
      if (produced == 0 && consumed == 0) {
        if (status == LZMA_STATUS_FINISHED_WITH_MARK) ThrowDataError("LZMA data ends before its declared size");
        if (!have_input) ThrowDataError("LZMA data is cut short");
      }
    }
  }

 private:
  InputBuffer input_;
  LzmaWindow window_;
  uint64_t remaining_;
};

class Lzma2Decoder : public ByteSource {
 public:
  Lzma2Decoder(ByteSource& input, const uint8_t props[5], uint64_t output_size)
      : input_(input), window_(props, output_size), remaining_(output_size) {}

  size_t Read(uint8_t* buffer, size_t size) override {
    for (;;) {
      if (window_.Pending() != 0) return window_.TakeOut(buffer, size);
      if (chunk_unpacked_ == 0) {
        if (finished_) return 0;
        StartChunk();
        continue;
      }
      window_.MakeRoom();
      if (stored_chunk_)
        CopyStored();
      else
        DecodeCompressed();
    }
  }

 private:
  void StartChunk() {
    uint8_t control = input_.Byte("an LZMA2 chunk header");
    if (control == 0x00) {
      finished_ = true;
      if (remaining_ != 0) ThrowDataError("LZMA2 data ends before its declared size");
      return;
    }
    CLzmaDec& decoder = window_.decoder();
    if (control == 0x01 || control == 0x02) {
      bool reset_dictionary = control == 0x01;
      if (!reset_dictionary && need_dictionary_reset_) ThrowDataError("LZMA2 data does not start with a dictionary reset");
      if (reset_dictionary) need_state_reset_ = need_properties_ = true;
      need_dictionary_reset_ = false;
      LzmaDec_InitDicAndState(&decoder, reset_dictionary ? 1 : 0, 0);
      stored_chunk_ = true;
      chunk_unpacked_ = (static_cast<uint32_t>(input_.Byte("an LZMA2 chunk header")) << 8);
      chunk_unpacked_ |= input_.Byte("an LZMA2 chunk header");
      chunk_unpacked_ += 1;
      chunk_packed_ = chunk_unpacked_;
    } else if (control >= 0x80) {
      unsigned mode = (control >> 5) & 3;
      chunk_unpacked_ = static_cast<uint32_t>(control & 0x1F) << 16;
      chunk_unpacked_ |= static_cast<uint32_t>(input_.Byte("an LZMA2 chunk header")) << 8;
      chunk_unpacked_ |= input_.Byte("an LZMA2 chunk header");
      chunk_unpacked_ += 1;
      chunk_packed_ = static_cast<uint32_t>(input_.Byte("an LZMA2 chunk header")) << 8;
      chunk_packed_ |= input_.Byte("an LZMA2 chunk header");
      chunk_packed_ += 1;
      bool reset_dictionary = mode == 3;
      if (!reset_dictionary && need_dictionary_reset_) ThrowDataError("LZMA2 data does not start with a dictionary reset");
      if (mode >= 2) {
        unsigned properties = input_.Byte("an LZMA2 chunk header");
        if (properties >= 9 * 5 * 5) ThrowDataError("LZMA2 chunk properties are invalid");
        unsigned lc = properties % 9;
        properties /= 9;
        unsigned lp = properties % 5;
        unsigned pb = properties / 5;
        if (lc + lp > 4) ThrowDataError("LZMA2 chunk properties are invalid");
        decoder.prop.lc = lc;
        decoder.prop.lp = lp;
        decoder.prop.pb = pb;
        need_properties_ = false;
      } else if (need_properties_) {
        ThrowDataError("LZMA2 chunk lacks its properties");
      }
      if (mode == 0 && need_state_reset_) ThrowDataError("LZMA2 chunk lacks its state reset");
      need_dictionary_reset_ = false;
      need_state_reset_ = false;
      LzmaDec_InitDicAndState(&decoder, reset_dictionary ? 1 : 0, mode > 0 ? 1 : 0);
      stored_chunk_ = false;
    } else {
      ThrowDataError("LZMA2 data has an invalid chunk header");
    }
    if (chunk_unpacked_ > remaining_) ThrowDataError("LZMA2 data is longer than its declared size");
  }

  void CopyStored() {
    if (!input_.EnsureSome()) ThrowDataError("LZMA2 data is cut short");
    size_t n = std::min({static_cast<size_t>(chunk_unpacked_), window_.Room(), input_.Available()});
    window_.AppendStored(input_.Data(), n);
    input_.Consume(n);
    chunk_unpacked_ -= static_cast<uint32_t>(n);
    remaining_ -= n;
  }

  void DecodeCompressed() {
    bool have_input = input_.EnsureSome();
    CLzmaDec& decoder = window_.decoder();
    size_t before = decoder.dicPos;
    size_t room = std::min<size_t>(window_.Room(), chunk_unpacked_);
    SizeT consumed = std::min<size_t>(input_.Available(), chunk_packed_);
    ELzmaStatus status;
    ELzmaFinishMode finish = room == chunk_unpacked_ ? LZMA_FINISH_END : LZMA_FINISH_ANY;
    SRes result = LzmaDec_DecodeToDic(&decoder, before + room, input_.Data(), &consumed, finish, &status);
    input_.Consume(consumed);
    chunk_packed_ -= static_cast<uint32_t>(consumed);
    size_t produced = decoder.dicPos - before;
    chunk_unpacked_ -= static_cast<uint32_t>(produced);
    remaining_ -= produced;
    if (result != SZ_OK) ThrowDataError("LZMA2 data is damaged");
    if (chunk_unpacked_ == 0 && chunk_packed_ != 0) ThrowDataError("LZMA2 chunk sizes do not match its data");
    if (chunk_unpacked_ != 0 && produced == 0 && consumed == 0) {
      if (chunk_packed_ == 0 || !have_input || status == LZMA_STATUS_FINISHED_WITH_MARK)
        ThrowDataError("LZMA2 chunk ends before its declared size");
    }
  }

  InputBuffer input_;
  LzmaWindow window_;
  uint64_t remaining_;
  uint32_t chunk_unpacked_ = 0;
  uint32_t chunk_packed_ = 0;
  bool stored_chunk_ = false;
  bool finished_ = false;
  bool need_dictionary_reset_ = true;
  bool need_state_reset_ = true;
  bool need_properties_ = true;
};

}  // namespace

std::unique_ptr<ByteSource> MakeLzmaDecoder(ByteSource& input, std::span<const uint8_t> properties,
                                            uint64_t output_size) {
  if (properties.size() < 5) throw ArchiveError(vok::kUnsupportedOrWrongPassword, "LZMA properties are missing");
  return std::make_unique<LzmaDecoder>(input, properties.data(), output_size);
}

std::unique_ptr<ByteSource> MakeLzma2Decoder(ByteSource& input, std::span<const uint8_t> properties,
                                             uint64_t output_size) {
  if (properties.size() < 1 || properties[0] > 40)
    throw ArchiveError(vok::kUnsupportedOrWrongPassword, "LZMA2 properties are invalid");
  uint32_t dictionary = properties[0] == 40 ? 0xFFFFFFFFu : (2u | (properties[0] & 1u)) << (properties[0] / 2 + 11);
  // Probabilities sized for the largest literal context LZMA2 allows (lc + lp = 4).
  uint8_t lzma_props[5] = {4, static_cast<uint8_t>(dictionary), static_cast<uint8_t>(dictionary >> 8),
                           static_cast<uint8_t>(dictionary >> 16), static_cast<uint8_t>(dictionary >> 24)};
  return std::make_unique<Lzma2Decoder>(input, lzma_props, output_size);
}

}  // namespace korvane::archive
