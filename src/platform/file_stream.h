#pragma once
// A plain binary file opened by its full (wide-capable) path, for reading archives and writing
// extracted files.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace korvane::platform {

class FileStream {
 public:
  FileStream() = default;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;
  FileStream(FileStream&& other) noexcept : file_(other.file_) { other.file_ = nullptr; }
  FileStream& operator=(FileStream&& other) noexcept;
  ~FileStream() { Close(); }

  // Opens an existing file for reading; false when it cannot be opened.
  [[nodiscard]] bool OpenForReading(const std::filesystem::path& path);
  // Creates (or truncates) a file for writing; false when it cannot be created.
  [[nodiscard]] bool CreateForWriting(const std::filesystem::path& path);

  [[nodiscard]] bool IsOpen() const { return file_ != nullptr; }
  // Bytes read; fewer than size only at the end of the file or on a read error.
  [[nodiscard]] size_t Read(void* buffer, size_t size);
  [[nodiscard]] bool Write(const void* buffer, size_t size);
  [[nodiscard]] bool Seek(uint64_t position);
  // Size of the open file, or -1 when it cannot be told.
  [[nodiscard]] int64_t Size();
  // Flushes and closes; false when buffered data could not be written.
  bool Close();

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace korvane::platform
