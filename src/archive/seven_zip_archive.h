#pragma once
// A 7z archive opened for reading: its entries, and the decoding of chosen entries in archive
// order with every CRC checked.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "archive/aes_decoder.h"
#include "archive/archive_model.h"
#include "archive/folder_decoder.h"

namespace korvane::archive {

// Receives the entries being extracted, in archive order.
class EntrySink {
 public:
  virtual ~EntrySink() = default;
  // An entry starts; false skips its content (it is still decoded when later entries need it).
  virtual bool Begin(uint32_t index, const Entry& entry) = 0;
  virtual void Write(const uint8_t* data, size_t size) = 0;
  // The entry's content is complete and its CRC matched.
  virtual void End(uint32_t index, const Entry& entry) = 0;
};

class SevenZipArchive {
 public:
  // Opens and reads the header; the password is asked for only if the header is encrypted.
  // Throws ArchiveError: 1001 when the file cannot be opened, 1003 when it is not a 7z archive
  // (or the header's password is missing or wrong), 1004 when it is damaged.
  static std::unique_ptr<SevenZipArchive> Open(const std::filesystem::path& path, PasswordSource& password);

  [[nodiscard]] const std::vector<Entry>& entries() const { return db_.entries; }
  [[nodiscard]] const Database& database() const { return db_; }
  [[nodiscard]] bool IsEncrypted(const Entry& entry) const;
  // Packed size of the entry's block when the entry is the block's first one, else 0.
  [[nodiscard]] uint64_t PackedSizeOf(const Entry& entry) const;

  // Decodes the entries whose flag in wanted is set and hands them to sink, in archive order.
  void Extract(const std::vector<bool>& wanted, EntrySink& sink, PasswordSource& password);

 private:
  SevenZipArchive(ArchiveFile file) : file_(std::move(file)) {}
  void ReadHeader(PasswordSource& password);

  ArchiveFile file_;
  Database db_;
};

}  // namespace korvane::archive
