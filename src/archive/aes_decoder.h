#pragma once
// AES-256-CBC decryption of encrypted blocks, with the key derived from the password by iterated
// SHA-256 over salt, password (UTF-16LE) and a counter.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/byte_source.h"

namespace korvane::archive {

// The password of a run, fetched at most once and only when an encrypted part is met, with the
// keys already derived from it.
class PasswordSource {
 public:
  // ask returns the password, or nothing when there is none.
  explicit PasswordSource(std::function<std::optional<std::u16string>()> ask) : ask_(std::move(ask)) {}
  // The password; throws an "unsupported archive or wrong password" error when there is none.
  const std::u16string& Get();
  // The key for these key properties, derived once per salt and cycle count.
  std::array<uint8_t, 32> Key(std::span<const uint8_t> salt, unsigned cycles_power);

 private:
  std::function<std::optional<std::u16string>()> ask_;
  std::optional<std::u16string> password_;
  bool asked_ = false;
  struct CachedKey {
    std::vector<uint8_t> salt;
    unsigned cycles_power;
    std::array<uint8_t, 32> key;
  };
  std::vector<CachedKey> keys_;
};

std::unique_ptr<ByteSource> MakeAesDecoder(ByteSource& input, std::span<const uint8_t> properties,
                                           PasswordSource& password, uint64_t output_size);

}  // namespace korvane::archive
