#include "archive/lzma_window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "archive/archive_error.h"

namespace korvane::archive {
namespace {

void* AllocateForLzma(void*, size_t size) { return std::malloc(size); }
void FreeForLzma(void*, void* address) { std::free(address); }
ISzAlloc lzma_allocator = {AllocateForLzma, FreeForLzma};

constexpr size_t kFirstWindow = size_t{1} << 16;

}  // namespace

LzmaWindow::LzmaWindow(const uint8_t props[5], uint64_t output_limit) {
  LzmaDec_Construct(&decoder_);
  SRes result = LzmaDec_AllocateProbs(&decoder_, props, LZMA_PROPS_SIZE, &lzma_allocator);
  if (result == SZ_ERROR_MEM) throw std::bad_alloc();
  if (result != SZ_OK) throw ArchiveError(vok::kUnsupportedOrWrongPassword, "unsupported LZMA properties");
  uint64_t target = std::min<uint64_t>(std::max<uint32_t>(decoder_.prop.dicSize, 4096), std::max<uint64_t>(output_limit, 4096));
  if (target > kMaxDictionaryWindow) {
    LzmaDec_FreeProbs(&decoder_, &lzma_allocator);
    throw ArchiveError(vok::kLimitExceeded, "the archive needs a dictionary larger than allowed");
  }
  target_size_ = static_cast<size_t>(target);
  size_t first = std::min(target_size_, kFirstWindow);
  decoder_.dic = static_cast<Byte*>(std::malloc(first));
  if (!decoder_.dic) {
    LzmaDec_FreeProbs(&decoder_, &lzma_allocator);
    throw std::bad_alloc();
  }
  decoder_.dicBufSize = first;
  LzmaDec_Init(&decoder_);
}

LzmaWindow::~LzmaWindow() {
  std::free(decoder_.dic);
  LzmaDec_FreeProbs(&decoder_, &lzma_allocator);
}

void LzmaWindow::MakeRoom() {
  if (decoder_.dicPos < decoder_.dicBufSize) return;
  if (decoder_.dicBufSize < target_size_) {
    // Nothing has wrapped yet: the window holds the output from its start, so it can simply grow.
    size_t grown = std::min(target_size_, decoder_.dicBufSize * 2);
    auto* bigger = static_cast<Byte*>(std::realloc(decoder_.dic, grown));
    if (!bigger) throw std::bad_alloc();
    decoder_.dic = bigger;
    decoder_.dicBufSize = grown;
    return;
  }
  if (Pending() != 0) return;
  decoder_.dicPos = 0;
  read_position_ = 0;
}

size_t LzmaWindow::TakeOut(uint8_t* buffer, size_t size) {
  size_t n = std::min(size, Pending());
  std::memcpy(buffer, decoder_.dic + read_position_, n);
  read_position_ += n;
  return n;
}

void LzmaWindow::AppendStored(const uint8_t* data, size_t size) {
  std::memcpy(decoder_.dic + decoder_.dicPos, data, size);
  decoder_.dicPos += size;
  if (decoder_.checkDicSize == 0 && decoder_.prop.dicSize - decoder_.processedPos <= size)
    decoder_.checkDicSize = decoder_.prop.dicSize;
  decoder_.processedPos += static_cast<UInt32>(size);
}

}  // namespace korvane::archive
