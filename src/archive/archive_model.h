#pragma once
// What a 7z archive's header says: the packed streams, the blocks ("folders") that decode them
// and the entries (files and folders) they hold.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvane::archive {

// Method identifiers as stored in the archive.
namespace method {
constexpr uint64_t kCopy = 0x00;
constexpr uint64_t kLzma2 = 0x21;
constexpr uint64_t kLzma = 0x030101;
constexpr uint64_t kBcjX86 = 0x03030103;
constexpr uint64_t kBcj2 = 0x0303011B;
constexpr uint64_t kDeflate = 0x040108;
constexpr uint64_t kBzip2 = 0x040202;
constexpr uint64_t kAes = 0x06F10701;
}  // namespace method

struct Coder {
  uint64_t method = 0;
  uint32_t input_count = 1;   // packed side
  uint32_t output_count = 1;  // unpacked side
  std::vector<uint8_t> properties;
};

struct BindPair {
  uint32_t input_index;   // a coder input (numbered across the block) ...
  uint32_t output_index;  // ... fed by this coder output
};

struct Folder {
  std::vector<Coder> coders;
  std::vector<BindPair> bind_pairs;
  std::vector<uint32_t> packed_inputs;   // coder inputs fed straight from packed streams, in order
  std::vector<uint64_t> output_sizes;    // one per coder output, numbered across the block
  std::optional<uint32_t> crc;           // CRC of the block's whole output
  uint32_t first_packed_stream = 0;      // index into Database::packed_sizes
  uint32_t substream_count = 1;          // entries stored in this block

  [[nodiscard]] uint32_t InputCount() const;
  [[nodiscard]] uint32_t OutputCount() const;
  // The one coder output that no bind pair consumes: the block's result.
  [[nodiscard]] uint32_t MainOutput() const;
  [[nodiscard]] uint64_t UnpackedSize() const { return output_sizes.empty() ? 0 : output_sizes[MainOutput()]; }
  [[nodiscard]] bool UsesMethod(uint64_t id) const;
};

struct Entry {
  std::u16string name;
  bool has_stream = false;
  bool is_folder = false;
  bool is_anti = false;
  uint64_t size = 0;
  std::optional<uint32_t> crc;
  std::optional<uint64_t> modified;   // FILETIME, UTC
  std::optional<uint32_t> attributes;
  // Where the content lives, for entries with a stream.
  uint32_t folder = 0;
  uint32_t index_in_folder = 0;
};

struct Database {
  uint64_t packed_base = 0;  // absolute file position of the first packed stream
  std::vector<uint64_t> packed_sizes;
  std::vector<uint64_t> packed_offsets;  // absolute file positions, one per packed stream
  std::vector<Folder> folders;
  std::vector<Entry> entries;
};

}  // namespace korvane::archive
