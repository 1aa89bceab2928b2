#pragma once
// Decodes one block ("folder") of an archive: wires its coders together as the block's bind
// pairs say and reads its packed streams from the archive file.

#include <cstdint>
#include <memory>
#include <vector>

#include "archive/aes_decoder.h"
#include "archive/archive_model.h"
#include "archive/byte_source.h"
#include "platform/file_stream.h"

namespace korvane::archive {

// The archive file shared by the packed streams of a block, which may be read in turns.
class ArchiveFile {
 public:
  explicit ArchiveFile(platform::FileStream file, uint64_t size) : file_(std::move(file)), size_(size) {}
  [[nodiscard]] uint64_t size() const { return size_; }
  // Reads up to size bytes at position; fewer only at the end of the file.
  size_t ReadAt(uint64_t position, uint8_t* buffer, size_t size);

 private:
  platform::FileStream file_;
  uint64_t size_;
  uint64_t position_ = UINT64_MAX;
};

class FolderDecoder {
 public:
  FolderDecoder(ArchiveFile& file, const Database& db, uint32_t folder_index, PasswordSource& password);
  // The block's output: exactly its unpacked size, or a data error.
  ByteSource& Output() { return *output_; }

 private:
  ByteSource& BuildOutput(uint32_t output_index, int depth);

  ArchiveFile& file_;
  const Database& db_;
  const Folder& folder_;
  PasswordSource& password_;
  std::vector<std::unique_ptr<ByteSource>> nodes_;
  ByteSource* output_ = nullptr;
};

// The name of a method for error texts ("LZMA", "BZip2", or its identifier in hex).
std::string MethodName(uint64_t id);

}  // namespace korvane::archive
