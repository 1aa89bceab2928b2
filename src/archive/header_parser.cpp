#include "archive/header_parser.h"

#include <string>

#include "archive/archive_error.h"

namespace korvane::archive {
namespace {

enum PropertyId : uint64_t {
  kEnd = 0x00,
  kHeader = 0x01,
  kArchiveProperties = 0x02,
  kAdditionalStreamsInfo = 0x03,
  kMainStreamsInfo = 0x04,
  kFilesInfo = 0x05,
  kPackInfo = 0x06,
  kUnpackInfo = 0x07,
  kSubStreamsInfo = 0x08,
  kSize = 0x09,
  kCrc = 0x0A,
  kFolder = 0x0B,
  kCodersUnpackSize = 0x0C,
  kNumUnpackStream = 0x0D,
  kEmptyStream = 0x0E,
  kEmptyFile = 0x0F,
  kAnti = 0x10,
  kName = 0x11,
  kMTime = 0x14,
  kWinAttributes = 0x15,
  kDummy = 0x19,
};

class HeaderReader {
 public:
  explicit HeaderReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  [[nodiscard]] size_t Remaining() const { return bytes_.size() - position_; }

  uint8_t Byte() {
    if (position_ >= bytes_.size()) ThrowDataError("the archive header ends too early");
    return bytes_[position_++];
  }

  uint32_t UInt32() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(Byte()) << (8 * i);
    return value;
  }

  uint64_t UInt64() {
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i) value |= static_cast<uint64_t>(Byte()) << (8 * i);
    return value;
  }

  // The header's variable-length number: the count of leading one bits of the first byte gives
  // the count of little-endian bytes that follow; the first byte's remaining bits are the top.
  uint64_t Number() {
    uint8_t first = Byte();
    uint8_t mask = 0x80;
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i) {
      if ((first & mask) == 0) {
        uint64_t high = first & (mask - 1u);
        return value | (high << (8 * i));
      }
      value |= static_cast<uint64_t>(Byte()) << (8 * i);
      mask >>= 1;
    }
    return value;
  }

  // A count of items that each take at least one byte of what is left (or a hard limit).
  uint32_t Count(const char* what, uint64_t limit) {
    uint64_t value = Number();
    if (value > limit) throw ArchiveError(vok::kLimitExceeded, std::string("too many ") + what + " in the archive header");
    if (value > Remaining() && value > 0) ThrowDataError(std::string("the archive header claims more ") + what + " than it holds");
    return static_cast<uint32_t>(value);
  }

  uint32_t Index(uint64_t below, const char* what) {
    uint64_t value = Number();
    if (value >= below) ThrowDataError(std::string("the archive header has a bad ") + what + " index");
    return static_cast<uint32_t>(value);
  }

  void Skip(uint64_t size) {
    if (size > Remaining()) ThrowDataError("the archive header ends inside a property");
    position_ += static_cast<size_t>(size);
  }

  std::span<const uint8_t> Take(uint64_t size) {
    if (size > Remaining()) ThrowDataError("the archive header ends inside a property");
    auto part = bytes_.subspan(position_, static_cast<size_t>(size));
    position_ += static_cast<size_t>(size);
    return part;
  }

  std::vector<bool> BitVector(size_t count) {
    if ((count + 7) / 8 > Remaining()) ThrowDataError("the archive header ends inside a bit list");
    std::vector<bool> bits(count);
    uint8_t byte = 0;
    for (size_t i = 0; i < count; ++i) {
      if (i % 8 == 0) byte = Byte();
      bits[i] = (byte & (0x80 >> (i % 8))) != 0;
    }
    return bits;
  }

  // A bit list preceded by an all-defined byte.
  std::vector<bool> DefinedVector(size_t count) {
    if (Byte() != 0) return std::vector<bool>(count, true);
    return BitVector(count);
  }

  std::vector<std::optional<uint32_t>> Digests(size_t count) {
    std::vector<bool> defined = DefinedVector(count);
    std::vector<std::optional<uint32_t>> digests(count);
    for (size_t i = 0; i < count; ++i)
      if (defined[i]) digests[i] = UInt32();
    return digests;
  }

  void Expect(uint64_t id, const char* where) {
    if (Number() != id) ThrowDataError(std::string("unexpected property in the archive header's ") + where);
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
};

void ReadPackInfo(HeaderReader& in, Database& db) {
  uint64_t packed_position = in.Number();
  uint32_t count = in.Count("packed streams", kMaxEntries);
  db.packed_sizes.assign(count, 0);
  uint64_t id = in.Number();
  if (id == kSize) {
    for (auto& size : db.packed_sizes) size = in.Number();
    id = in.Number();
  }
  if (id == kCrc) {
    (void)in.Digests(count);  // packed stream CRCs are not written by current tools; the unpacked CRCs are checked
    id = in.Number();
  }
  if (id != kEnd) ThrowDataError("unexpected property in the archive's packed stream list");
  uint64_t offset = db.packed_base + packed_position;
  if (offset < db.packed_base) ThrowDataError("a packed stream lies outside the archive");
  db.packed_offsets.clear();
  for (uint64_t size : db.packed_sizes) {
    db.packed_offsets.push_back(offset);
    if (offset + size < offset) ThrowDataError("a packed stream lies outside the archive");
    offset += size;
  }
}

Folder ReadFolder(HeaderReader& in) {
  Folder folder;
  uint32_t coder_count = in.Count("coders", 64);
  if (coder_count == 0) ThrowDataError("a block of the archive has no coder");
  uint64_t inputs = 0;
  uint64_t outputs = 0;
  for (uint32_t i = 0; i < coder_count; ++i) {
    uint8_t flags = in.Byte();
    if (flags & 0xC0) throw ArchiveError(vok::kUnsupportedOrWrongPassword, "the archive uses an unsupported coder form");
    Coder coder;
    auto id = in.Take(flags & 0x0F);
    if (id.size() > 8) ThrowDataError("a coder identifier is too long");
    for (uint8_t byte : id) coder.method = (coder.method << 8) | byte;
    if (flags & 0x10) {
      coder.input_count = in.Count("coder inputs", 64);
      coder.output_count = in.Count("coder outputs", 64);
      if (coder.output_count != 1) throw ArchiveError(vok::kUnsupportedOrWrongPassword, "the archive uses a coder with several outputs");
    }
    if (flags & 0x20) {
      uint64_t size = in.Number();
      auto properties = in.Take(size);
      coder.properties.assign(properties.begin(), properties.end());
    }
    inputs += coder.input_count;
    outputs += coder.output_count;
    folder.coders.push_back(std::move(coder));
  }
  if (inputs > 64 || outputs > 64) ThrowDataError("a block of the archive has too many streams");
  uint32_t bind_count = static_cast<uint32_t>(outputs - 1);
  for (uint32_t i = 0; i < bind_count; ++i) {
    BindPair pair;
    pair.input_index = in.Index(inputs, "bound input");
    pair.output_index = in.Index(outputs, "bound output");
    folder.bind_pairs.push_back(pair);
  }
  if (inputs < bind_count) ThrowDataError("a block of the archive binds more streams than it has");
  uint64_t packed_count = inputs - bind_count;
  if (packed_count == 1) {
    for (uint32_t i = 0; i < inputs; ++i) {
      bool bound = false;
      for (const auto& pair : folder.bind_pairs) bound |= pair.input_index == i;
      if (!bound) {
        folder.packed_inputs.push_back(i);
        break;
      }
    }
    if (folder.packed_inputs.empty()) ThrowDataError("a block of the archive has no packed input");
  } else {
    for (uint64_t i = 0; i < packed_count; ++i) folder.packed_inputs.push_back(in.Index(inputs, "packed input"));
  }
  // Every input is fed exactly once and every output but the main one is consumed exactly once.
  std::vector<int> input_uses(inputs, 0), output_uses(outputs, 0);
  for (const auto& pair : folder.bind_pairs) {
    ++input_uses[pair.input_index];
    ++output_uses[pair.output_index];
  }
  for (uint32_t index : folder.packed_inputs) ++input_uses[index];
  for (int uses : input_uses)
    if (uses != 1) ThrowDataError("a block of the archive wires its streams wrongly");
  int unbound_outputs = 0;
  for (int uses : output_uses) {
    if (uses > 1) ThrowDataError("a block of the archive wires its streams wrongly");
    unbound_outputs += uses == 0;
  }
  if (unbound_outputs != 1) ThrowDataError("a block of the archive wires its streams wrongly");
  return folder;
}

void ReadUnpackInfo(HeaderReader& in, Database& db) {
  in.Expect(kFolder, "block list");
  uint32_t count = in.Count("blocks", kMaxEntries);
  if (in.Byte() != 0) throw ArchiveError(vok::kUnsupportedOrWrongPassword, "the archive keeps its block list elsewhere");
  db.folders.clear();
  db.folders.reserve(count);
  uint32_t packed_index = 0;
  for (uint32_t i = 0; i < count; ++i) {
    Folder folder = ReadFolder(in);
    folder.first_packed_stream = packed_index;
    packed_index += static_cast<uint32_t>(folder.packed_inputs.size());
    if (packed_index > db.packed_sizes.size()) ThrowDataError("the archive's blocks use more packed streams than it has");
    db.folders.push_back(std::move(folder));
  }
  in.Expect(kCodersUnpackSize, "block list");
  for (auto& folder : db.folders) {
    folder.output_sizes.resize(folder.OutputCount());
    for (auto& size : folder.output_sizes) size = in.Number();
  }
  uint64_t id = in.Number();
  if (id == kCrc) {
    auto digests = in.Digests(count);
    for (uint32_t i = 0; i < count; ++i) db.folders[i].crc = digests[i];
    id = in.Number();
  }
  if (id != kEnd) ThrowDataError("unexpected property in the archive's block list");
}

struct SubStreams {
  std::vector<uint64_t> sizes;
  std::vector<std::optional<uint32_t>> crcs;
};

SubStreams ReadSubStreamsInfo(HeaderReader& in, Database& db) {
  for (auto& folder : db.folders) folder.substream_count = 1;
  uint64_t id = in.Number();
  if (id == kNumUnpackStream) {
    uint64_t total = 0;
    for (auto& folder : db.folders) {
      uint64_t count = in.Number();
      total += count;
      if (count > kMaxEntries || total > kMaxEntries)
        throw ArchiveError(vok::kLimitExceeded, "too many entries in the archive header");
      folder.substream_count = static_cast<uint32_t>(count);
    }
    id = in.Number();
  }
  SubStreams result;
  for (auto& folder : db.folders) {
    if (folder.substream_count == 0) continue;
    uint64_t sum = 0;
    for (uint32_t i = 1; i < folder.substream_count; ++i) {
      uint64_t size = 0;
      if (id == kSize) size = in.Number();
      sum += size;
      if (sum < size) ThrowDataError("the archive's entry sizes overflow");
      result.sizes.push_back(size);
    }
    if (sum > folder.UnpackedSize()) ThrowDataError("the archive's entry sizes exceed their block");
    result.sizes.push_back(folder.UnpackedSize() - sum);
  }
  if (id == kSize) id = in.Number();
  // CRCs: a block holding one entry with a block CRC lends it to that entry; the rest are listed.
  size_t listed = 0;
  for (const auto& folder : db.folders)
    if (!(folder.substream_count == 1 && folder.crc)) listed += folder.substream_count;
  std::vector<std::optional<uint32_t>> listed_crcs;
  while (id != kEnd) {
    if (id == kCrc) {
      listed_crcs = in.Digests(listed);
    } else {
      in.Skip(in.Number());
    }
    id = in.Number();
  }
  size_t next = 0;
  for (const auto& folder : db.folders) {
    if (folder.substream_count == 1 && folder.crc) {
      result.crcs.push_back(folder.crc);
    } else {
      for (uint32_t i = 0; i < folder.substream_count; ++i, ++next)
        result.crcs.push_back(next < listed_crcs.size() ? listed_crcs[next] : std::nullopt);
    }
  }
  return result;
}

void ReadStreamsInfo(HeaderReader& in, Database& db, SubStreams* substreams) {
  uint64_t id = in.Number();
  if (id == kPackInfo) {
    ReadPackInfo(in, db);
    id = in.Number();
  }
  if (id == kUnpackInfo) {
    ReadUnpackInfo(in, db);
    id = in.Number();
  }
  bool had_substreams = false;
  if (id == kSubStreamsInfo) {
    SubStreams read = ReadSubStreamsInfo(in, db);
    if (substreams) *substreams = std::move(read);
    had_substreams = true;
    id = in.Number();
  }
  if (!had_substreams && substreams) {
    for (const auto& folder : db.folders) {
      substreams->sizes.push_back(folder.UnpackedSize());
      substreams->crcs.push_back(folder.crc);
    }
  }
  if (id != kEnd) ThrowDataError("unexpected property in the archive's stream information");
}

std::vector<std::u16string> ReadNames(HeaderReader& in, uint64_t size, size_t count) {
  auto bytes = in.Take(size);
  if (bytes.empty() || bytes[0] != 0) throw ArchiveError(vok::kUnsupportedOrWrongPassword, "the archive keeps its names elsewhere");
  std::vector<std::u16string> names;
  names.reserve(count);
  std::u16string current;
  for (size_t i = 1; i + 1 < bytes.size(); i += 2) {
    char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (c == 0) {
      names.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (names.size() != count || (bytes.size() - 1) % 2 != 0) ThrowDataError("the archive's name list does not match its entries");
  return names;
}

void ReadFilesInfo(HeaderReader& in, Database& db, const SubStreams& substreams) {
  uint32_t count = in.Count("entries", kMaxEntries);
  db.entries.assign(count, Entry{});
  std::vector<bool> empty_stream(count, false);
  std::vector<bool> empty_file;
  std::vector<bool> anti;
  size_t empty_count = 0;
  for (;;) {
    uint64_t type = in.Number();
    if (type == kEnd) break;
    uint64_t size = in.Number();
    if (size > in.Remaining()) ThrowDataError("the archive header ends inside an entry property");
    switch (type) {
      case kEmptyStream: {
        HeaderReader part(in.Take(size));
        empty_stream = part.BitVector(count);
        empty_count = 0;
        for (bool empty : empty_stream) empty_count += empty;
        empty_file.assign(empty_count, false);
        anti.assign(empty_count, false);
        break;
      }
      case kEmptyFile: {
        HeaderReader part(in.Take(size));
        empty_file = part.BitVector(empty_count);
        break;
      }
      case kAnti: {
        HeaderReader part(in.Take(size));
        anti = part.BitVector(empty_count);
        break;
      }
      case kName: {
        auto names = ReadNames(in, size, count);
        for (uint32_t i = 0; i < count; ++i) db.entries[i].name = std::move(names[i]);
        break;
      }
      case kMTime: {
        HeaderReader part(in.Take(size));
        std::vector<bool> defined = part.DefinedVector(count);
        if (part.Byte() != 0) throw ArchiveError(vok::kUnsupportedOrWrongPassword, "the archive keeps its times elsewhere");
        for (uint32_t i = 0; i < count; ++i)
          if (defined[i]) db.entries[i].modified = part.UInt64();
        break;
      }
      case kWinAttributes: {
        HeaderReader part(in.Take(size));
        std::vector<bool> defined = part.DefinedVector(count);
        if (part.Byte() != 0) throw ArchiveError(vok::kUnsupportedOrWrongPassword, "the archive keeps its attributes elsewhere");
        for (uint32_t i = 0; i < count; ++i)
          if (defined[i]) db.entries[i].attributes = part.UInt32();
        break;
      }
      default:
        in.Skip(size);  // creation and access times, comments, start positions, padding
        break;
    }
  }
  // Entries with a stream take the blocks' entries in order.
  size_t stream_index = 0;
  size_t empty_index = 0;
  uint32_t folder_index = 0;
  uint32_t in_folder = 0;
  for (uint32_t i = 0; i < count; ++i) {
    Entry& entry = db.entries[i];
    if (empty_stream[i]) {
      bool is_empty_file = empty_index < empty_file.size() && empty_file[empty_index];
      entry.is_anti = empty_index < anti.size() && anti[empty_index];
      ++empty_index;
      entry.is_folder = !is_empty_file;
      entry.has_stream = false;
      continue;
    }
    while (folder_index < db.folders.size() && in_folder >= db.folders[folder_index].substream_count) {
      ++folder_index;
      in_folder = 0;
    }
    if (folder_index >= db.folders.size() || stream_index >= substreams.sizes.size())
      ThrowDataError("the archive lists more entries with content than its blocks hold");
    entry.has_stream = true;
    entry.folder = folder_index;
    entry.index_in_folder = in_folder++;
    entry.size = substreams.sizes[stream_index];
    entry.crc = substreams.crcs[stream_index];
    ++stream_index;
  }
  if (stream_index != substreams.sizes.size()) ThrowDataError("the archive's blocks hold entries that no name lists");
  for (auto& entry : db.entries)
    if (entry.attributes && (*entry.attributes & 0x10)) entry.is_folder = entry.is_folder || !entry.has_stream;
}

}  // namespace

uint32_t Folder::InputCount() const {
  uint32_t count = 0;
  for (const auto& coder : coders) count += coder.input_count;
  return count;
}

uint32_t Folder::OutputCount() const {
  uint32_t count = 0;
  for (const auto& coder : coders) count += coder.output_count;
  return count;
}

uint32_t Folder::MainOutput() const {
  uint32_t outputs = OutputCount();
  for (uint32_t i = 0; i < outputs; ++i) {
    bool bound = false;
    for (const auto& pair : bind_pairs) bound |= pair.output_index == i;
    if (!bound) return i;
  }
  return 0;
}

bool Folder::UsesMethod(uint64_t id) const {
  for (const auto& coder : coders)
    if (coder.method == id) return true;
  return false;
}

Database ParseHeader(std::span<const uint8_t> bytes, uint64_t packed_base) {
  HeaderReader in(bytes);
  Database db;
  db.packed_base = packed_base;
  uint64_t id = in.Number();
  if (id == kArchiveProperties) {
    for (;;) {
      uint64_t type = in.Number();
      if (type == kEnd) break;
      in.Skip(in.Number());
    }
    id = in.Number();
  }
  if (id == kAdditionalStreamsInfo) {
    // Never written by current tools; its content is not needed to read entries.
    Database ignored;
    ignored.packed_base = packed_base;
    ReadStreamsInfo(in, ignored, nullptr);
    id = in.Number();
  }
  SubStreams substreams;
  if (id == kMainStreamsInfo) {
    ReadStreamsInfo(in, db, &substreams);
    id = in.Number();
  }
  if (id == kFilesInfo) {
    ReadFilesInfo(in, db, substreams);
    id = in.Number();
  } else if (!substreams.sizes.empty()) {
    ThrowDataError("the archive has content but no entry list");
  }
  if (id != kEnd) ThrowDataError("unexpected property at the end of the archive header");
  return db;
}

Database ParseEncodedHeader(std::span<const uint8_t> bytes, uint64_t packed_base) {
  HeaderReader in(bytes);
  Database db;
  db.packed_base = packed_base;
  ReadStreamsInfo(in, db, nullptr);
  if (db.folders.empty()) ThrowDataError("the archive's encoded header has no block");
  return db;
}

}  // namespace korvane::archive
