#include "archive/aes_decoder.h"

#include <gcrypt.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "archive/archive_error.h"

namespace korvane::archive {
namespace {

// Key derivation runs 2^cycles_power hash rounds; more than this would only serve to stall us.
constexpr unsigned kMaxCyclesPower = 24;

void InitialiseCrypto() {
  static std::once_flag once;
  std::call_once(once, [] {
    gcry_check_version(nullptr);
    gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
  });
}

std::array<uint8_t, 32> DeriveKey(std::span<const uint8_t> salt, const std::u16string& password,
                                  unsigned cycles_power) {
  std::vector<uint8_t> password_bytes;
  for (char16_t c : password) {
    password_bytes.push_back(static_cast<uint8_t>(c));
    password_bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  std::array<uint8_t, 32> key{};
  if (cycles_power == 0x3F) {
    std::vector<uint8_t> raw(salt.begin(), salt.end());
    raw.insert(raw.end(), password_bytes.begin(), password_bytes.end());
    std::copy_n(raw.begin(), std::min<size_t>(raw.size(), key.size()), key.begin());
    return key;
  }
  InitialiseCrypto();
  gcry_md_hd_t hash;
  if (gcry_md_open(&hash, GCRY_MD_SHA256, 0) != 0) throw ArchiveError(vok::kInternalError, "SHA-256 is not available");
  // Hash rounds are fed in batches: salt, password and the 64-bit round counter, repeated.
  std::vector<uint8_t> round(salt.begin(), salt.end());
  round.insert(round.end(), password_bytes.begin(), password_bytes.end());
  size_t counter_at = round.size();
  round.resize(round.size() + 8);
  const uint64_t rounds = uint64_t{1} << cycles_power;
  constexpr size_t kBatch = 4096;
  std::vector<uint8_t> batch;
  batch.reserve(round.size() * kBatch);
  for (uint64_t i = 0; i < rounds; ++i) {
    for (int b = 0; b < 8; ++b) round[counter_at + b] = static_cast<uint8_t>(i >> (8 * b));
    batch.insert(batch.end(), round.begin(), round.end());
    if (batch.size() >= round.size() * kBatch || i + 1 == rounds) {
      gcry_md_write(hash, batch.data(), batch.size());
      batch.clear();
    }
  }
  std::memcpy(key.data(), gcry_md_read(hash, GCRY_MD_SHA256), key.size());
  gcry_md_close(hash);
  return key;
}

class AesDecoder : public ByteSource {
 public:
  AesDecoder(ByteSource& input, const std::array<uint8_t, 32>& key, const std::array<uint8_t, 16>& iv,
             uint64_t output_size)
      : input_(input), remaining_(output_size), buffer_(kBufferSize) {
    InitialiseCrypto();
    if (gcry_cipher_open(&cipher_, GCRY_CIPHER_AES256, GCRY_CIPHER_MODE_CBC, 0) != 0)
      throw ArchiveError(vok::kInternalError, "AES-256 is not available");
    if (gcry_cipher_setkey(cipher_, key.data(), key.size()) != 0 || gcry_cipher_setiv(cipher_, iv.data(), iv.size()) != 0) {
      gcry_cipher_close(cipher_);
      throw ArchiveError(vok::kInternalError, "the AES key cannot be set");
    }
  }
  ~AesDecoder() override { gcry_cipher_close(cipher_); }

  size_t Read(uint8_t* out, size_t size) override {
    for (;;) {
      if (ready_begin_ < ready_end_) {
        size_t n = std::min({size, ready_end_ - ready_begin_, static_cast<size_t>(std::min<uint64_t>(remaining_, SIZE_MAX))});
        std::memcpy(out, buffer_.data() + ready_begin_, n);
        ready_begin_ += n;
        remaining_ -= n;
        return n;
      }
      if (remaining_ == 0) return 0;
      // Move the partial block to the front and read more.
      size_t tail = filled_ - ready_end_;
      std::memmove(buffer_.data(), buffer_.data() + ready_end_, tail);
      filled_ = tail;
      ready_begin_ = ready_end_ = 0;
      size_t got = input_.Read(buffer_.data() + filled_, buffer_.size() - filled_);
      if (got == 0) ThrowDataError("encrypted data is cut short");
      filled_ += got;
      size_t whole = filled_ - filled_ % 16;
      if (whole != 0 && gcry_cipher_decrypt(cipher_, buffer_.data(), whole, nullptr, 0) != 0)
        throw ArchiveError(vok::kInternalError, "AES decryption failed");
      ready_end_ = whole;
    }
  }

 private:
  static constexpr size_t kBufferSize = size_t{1} << 16;
  ByteSource& input_;
  uint64_t remaining_;
  std::vector<uint8_t> buffer_;
  size_t filled_ = 0;
  size_t ready_begin_ = 0;
  size_t ready_end_ = 0;
  gcry_cipher_hd_t cipher_ = nullptr;
};

}  // namespace

const std::u16string& PasswordSource::Get() {
  if (!asked_) {
    asked_ = true;
    password_ = ask_();
  }
  if (!password_) throw ArchiveError(vok::kUnsupportedOrWrongPassword, "the archive is encrypted and no password was given");
  return *password_;
}

std::array<uint8_t, 32> PasswordSource::Key(std::span<const uint8_t> salt, unsigned cycles_power) {
  for (const auto& cached : keys_)
    if (cached.cycles_power == cycles_power && std::equal(salt.begin(), salt.end(), cached.salt.begin(), cached.salt.end()))
      return cached.key;
  auto key = DeriveKey(salt, Get(), cycles_power);
  keys_.push_back({std::vector<uint8_t>(salt.begin(), salt.end()), cycles_power, key});
  return key;
}

std::unique_ptr<ByteSource> MakeAesDecoder(ByteSource& input, std::span<const uint8_t> properties,
                                           PasswordSource& password, uint64_t output_size) {
  if (properties.empty()) throw ArchiveError(vok::kUnsupportedOrWrongPassword, "AES properties are missing");
  unsigned first = properties[0];
  unsigned cycles_power = first & 0x3F;
  std::span<const uint8_t> salt;
  std::array<uint8_t, 16> iv{};
  if ((first & 0xC0) != 0) {
    if (properties.size() < 2) throw ArchiveError(vok::kUnsupportedOrWrongPassword, "AES properties are invalid");
    unsigned second = properties[1];
    size_t salt_size = ((first >> 7) & 1) + (second >> 4);
    size_t iv_size = ((first >> 6) & 1) + (second & 0x0F);
    if (salt_size > 16 || iv_size > 16 || properties.size() != 2 + salt_size + iv_size)
      throw ArchiveError(vok::kUnsupportedOrWrongPassword, "AES properties are invalid");
    salt = properties.subspan(2, salt_size);
    std::copy_n(properties.begin() + 2 + static_cast<ptrdiff_t>(salt_size), iv_size, iv.begin());
  }
  if (cycles_power > kMaxCyclesPower && cycles_power != 0x3F)
    throw ArchiveError(vok::kUnsupportedOrWrongPassword, "AES key derivation is too costly");
  auto key = password.Key(salt, cycles_power);
  return std::make_unique<AesDecoder>(input, key, iv, output_size);
}

}  // namespace korvane::archive
