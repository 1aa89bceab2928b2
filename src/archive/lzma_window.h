#pragma once
// The LZMA decoder state with its dictionary window. The window starts small and grows with the
// output until it reaches the dictionary size (or the stream's declared size, when smaller), so a
// stream that claims a huge dictionary or size costs memory only for the bytes it really yields.

extern "C" {
#include <LzmaDec.h>
void LzmaDec_InitDicAndState(CLzmaDec* p, Bool initDic, Bool initState);
}

#include <cstddef>
#include <cstdint>

namespace korvane::archive {

// The largest dictionary window a stream may need.
constexpr uint64_t kMaxDictionaryWindow = sizeof(void*) == 4 ? (uint64_t{1} << 29) : (uint64_t{3} << 30);

class LzmaWindow {
 public:
  // props: the 5-byte LZMA properties (lc/lp/pb byte and dictionary size). output_limit: the most
  // bytes the stream may produce.
  LzmaWindow(const uint8_t props[5], uint64_t output_limit);
  ~LzmaWindow();
  LzmaWindow(const LzmaWindow&) = delete;
  LzmaWindow& operator=(const LzmaWindow&) = delete;

  CLzmaDec& decoder() { return decoder_; }
  // Makes room at the write position: grows the window or wraps it once it is full and every
  // byte in it has been handed out.
  void MakeRoom();
  // Space between the write position and the window end.
  [[nodiscard]] size_t Room() const { return decoder_.dicBufSize - decoder_.dicPos; }
  // Decoded bytes not yet handed out.
  [[nodiscard]] size_t Pending() const { return decoder_.dicPos - read_position_; }
  // Hands out up to size decoded bytes.
  size_t TakeOut(uint8_t* buffer, size_t size);
  // Appends bytes of a stored (uncompressed) chunk, keeping the decoder's counters right.
  void AppendStored(const uint8_t* data, size_t size);

 private:
  CLzmaDec decoder_;
  size_t target_size_;
  size_t read_position_ = 0;
};

}  // namespace korvane::archive
