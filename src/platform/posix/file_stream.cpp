#include "platform/file_stream.h"

#include <cstdio>
#include <sys/types.h>

namespace korvane::platform {

FileStream& FileStream::operator=(FileStream&& other) noexcept {
  if (this != &other) {
    Close();
    file_ = other.file_;
    other.file_ = nullptr;
  }
  return *this;
}

bool FileStream::OpenForReading(const std::filesystem::path& path) {
  Close();
  file_ = std::fopen(path.c_str(), "rb");
  return file_ != nullptr;
}

bool FileStream::CreateForWriting(const std::filesystem::path& path) {
  Close();
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

size_t FileStream::Read(void* buffer, size_t size) { return file_ ? std::fread(buffer, 1, size, file_) : 0; }

bool FileStream::Write(const void* buffer, size_t size) {
  return file_ && std::fwrite(buffer, 1, size, file_) == size;
}

bool FileStream::Seek(uint64_t position) {
  return file_ && fseeko(file_, static_cast<off_t>(position), SEEK_SET) == 0;
}

int64_t FileStream::Size() {
  if (!file_) return -1;
  off_t here = ftello(file_);
  if (here < 0 || fseeko(file_, 0, SEEK_END) != 0) return -1;
  off_t end = ftello(file_);
  if (fseeko(file_, here, SEEK_SET) != 0) return -1;
  return end;
}

bool FileStream::Close() {
  if (!file_) return true;
  bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok;
}

}  // namespace korvane::platform
