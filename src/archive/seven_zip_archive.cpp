#include "archive/seven_zip_archive.h"

#include <zlib.h>

#include <cstring>
#include <system_error>

#include "archive/archive_error.h"
#include "archive/header_parser.h"

namespace korvane::archive {
namespace {

constexpr uint8_t kSignature[6] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
constexpr size_t kSignatureHeaderSize = 32;
constexpr uint64_t kMaxHeaderSize = uint64_t{1} << 28;
constexpr uint8_t kHeaderMarker = 0x01;
constexpr uint8_t kEncodedHeaderMarker = 0x17;
#ifdef KORVANE_FUZZING_SKIPS_HEADER_CRC
// Fuzzing builds only: lets mutated headers reach the parser.
constexpr bool kCheckHeaderCrc = false;
#else
constexpr bool kCheckHeaderCrc = true;
#endif

uint32_t Crc(uint32_t crc, const uint8_t* data, size_t size) {
  while (size > 0) {
    auto part = static_cast<uInt>(std::min<size_t>(size, 1u << 30));
    crc = static_cast<uint32_t>(crc32(crc, data, part));
    data += part;
    size -= part;
  }
  return crc;
}

uint64_t Little(const uint8_t* p, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(p[i]) << (8 * i);
  return value;
}

// A data error inside an encrypted block usually means a wrong password.
[[noreturn]] void RethrowForEncrypted(const ArchiveError& error, bool encrypted) {
  if (encrypted && error.code() == vok::kDataError)
    throw ArchiveError(vok::kUnsupportedOrWrongPassword, "wrong password (or damaged encrypted data): " +
                                                             std::string(error.what()));
  throw error;
}

}  // namespace

std::unique_ptr<SevenZipArchive> SevenZipArchive::Open(const std::filesystem::path& path, PasswordSource& password) {
  platform::FileStream stream;
  std::error_code ignored;
  if (!stream.OpenForReading(path) || std::filesystem::is_directory(path, ignored))
    throw ArchiveError(vok::kArchiveNotFound, "the archive " + path.string() + " cannot be opened");
  int64_t size = stream.Size();
  if (size < 0) throw ArchiveError(vok::kArchiveNotFound, "the archive " + path.string() + " cannot be read");
  std::unique_ptr<SevenZipArchive> archive(new SevenZipArchive(ArchiveFile(std::move(stream), static_cast<uint64_t>(size))));
  archive->ReadHeader(password);
  return archive;
}

void SevenZipArchive::ReadHeader(PasswordSource& password) {
  uint8_t start[kSignatureHeaderSize];
  if (file_.ReadAt(0, start, sizeof start) != sizeof start || std::memcmp(start, kSignature, sizeof kSignature) != 0)
    throw ArchiveError(vok::kUnsupportedOrWrongPassword, "the file is not a 7z archive");
  if (start[6] != 0) throw ArchiveError(vok::kUnsupportedOrWrongPassword, "the 7z archive's format version is not supported");
  if (kCheckHeaderCrc && Crc(0, start + 12, 20) != Little(start + 8, 4)) ThrowDataError("the archive's start header is damaged");
  uint64_t next_offset = Little(start + 12, 8);
  uint64_t next_size = Little(start + 20, 8);
  uint32_t next_crc = static_cast<uint32_t>(Little(start + 28, 4));
  db_.packed_base = kSignatureHeaderSize;
  if (next_size == 0) return;  // an archive without entries
  uint64_t available = file_.size() - kSignatureHeaderSize;
  if (next_offset > available || next_size > available - next_offset || next_size > kMaxHeaderSize)
    ThrowDataError("the archive file is cut short (its header is missing)");
  std::vector<uint8_t> header(static_cast<size_t>(next_size));
  if (file_.ReadAt(kSignatureHeaderSize + next_offset, header.data(), header.size()) != header.size())
    ThrowDataError("the archive file is cut short");
  if (kCheckHeaderCrc && Crc(0, header.data(), header.size()) != next_crc) ThrowDataError("the archive header is damaged (CRC mismatch)");

  for (int level = 0; header.at(0) == kEncodedHeaderMarker; ++level) {
    if (level == 4) ThrowDataError("the archive header is encoded too many times");
    Database encoded = ParseEncodedHeader(std::span(header).subspan(1), kSignatureHeaderSize);
    const Folder& folder = encoded.folders[0];
    bool encrypted = folder.UsesMethod(method::kAes);
    if (folder.UnpackedSize() > kMaxHeaderSize || folder.UnpackedSize() == 0)
      ThrowDataError("the archive's encoded header has a bad size");
    // Grown as the header decodes, so a false size costs nothing.
    std::vector<uint8_t> decoded;
    try {
      FolderDecoder decoder(file_, encoded, 0, password);
      uint8_t part[1 << 16];
      while (decoded.size() < folder.UnpackedSize()) {
        size_t want = static_cast<size_t>(std::min<uint64_t>(sizeof part, folder.UnpackedSize() - decoded.size()));
        size_t got = decoder.Output().Read(part, want);
        if (got == 0) ThrowDataError("the archive header is cut short");
        decoded.insert(decoded.end(), part, part + got);
      }
      if (folder.crc && Crc(0, decoded.data(), decoded.size()) != *folder.crc)
        ThrowDataError("the archive header is damaged (CRC mismatch)");
    } catch (const ArchiveError& error) {
      RethrowForEncrypted(error, encrypted);
    }
    header = std::move(decoded);
  }
  if (header.at(0) != kHeaderMarker) ThrowDataError("the archive header has an unknown form");
  db_ = ParseHeader(std::span(header).subspan(1), kSignatureHeaderSize);
  for (size_t i = 0; i < db_.packed_sizes.size(); ++i)
    if (db_.packed_offsets[i] > file_.size() || db_.packed_sizes[i] > file_.size() - db_.packed_offsets[i])
      ThrowDataError("the archive file is cut short (packed data is missing)");
}

bool SevenZipArchive::IsEncrypted(const Entry& entry) const {
  return entry.has_stream && db_.folders.at(entry.folder).UsesMethod(method::kAes);
}

uint64_t SevenZipArchive::PackedSizeOf(const Entry& entry) const {
  if (!entry.has_stream || entry.index_in_folder != 0) return 0;
  const Folder& folder = db_.folders.at(entry.folder);
  uint64_t total = 0;
  for (size_t i = 0; i < folder.packed_inputs.size(); ++i) total += db_.packed_sizes.at(folder.first_packed_stream + i);
  return total;
}

void ReadExactly(ByteSource& source, uint8_t* buffer, size_t size, const char* what) {
  while (size > 0) {
    size_t got = source.Read(buffer, size);
    if (got == 0) ThrowDataError(std::string(what) + " is cut short");
    buffer += got;
    size -= got;
  }
}

void SevenZipArchive::Extract(const std::vector<bool>& wanted, EntrySink& sink, PasswordSource& password) {
  const auto& entries = db_.entries;
  // The last wanted entry of each block: decoding of a block stops there.
  std::vector<int64_t> last_wanted(db_.folders.size(), -1);
  for (uint32_t i = 0; i < entries.size(); ++i)
    if (i < wanted.size() && wanted[i] && entries[i].has_stream) last_wanted[entries[i].folder] = i;

  std::unique_ptr<FolderDecoder> decoder;
  int64_t open_folder = -1;
  bool encrypted = false;
  std::vector<uint8_t> buffer(size_t{1} << 18);
  try {
    for (uint32_t i = 0; i < entries.size(); ++i) {
      const Entry& entry = entries[i];
      bool want = i < wanted.size() && wanted[i];
      if (!entry.has_stream) {
        if (want && sink.Begin(i, entry)) sink.End(i, entry);
        continue;
      }
      if (last_wanted[entry.folder] < static_cast<int64_t>(i)) continue;  // nothing more needed from this block
      if (open_folder != entry.folder) {
        decoder.reset();
        encrypted = db_.folders[entry.folder].UsesMethod(method::kAes);
        decoder = std::make_unique<FolderDecoder>(file_, db_, entry.folder, password);
        open_folder = entry.folder;
      }
      bool writing = want && sink.Begin(i, entry);
      uint32_t crc = 0;
      uint64_t left = entry.size;
      while (left > 0) {
        size_t part = static_cast<size_t>(std::min<uint64_t>(left, buffer.size()));
        size_t got = decoder->Output().Read(buffer.data(), part);
        if (got == 0) ThrowDataError("the archive's data ends inside an entry");
        crc = Crc(crc, buffer.data(), got);
        if (writing) sink.Write(buffer.data(), got);
        left -= got;
      }
      if (entry.crc && crc != *entry.crc)
        ThrowDataError("the archive entry's content is damaged (CRC mismatch)");
      if (writing) sink.End(i, entry);
    }
  } catch (const ArchiveError& error) {
    RethrowForEncrypted(error, encrypted);
  }
}

}  // namespace korvane::archive
