#include "platform/file_stamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include <cstdio>

namespace korvane::platform {
namespace {

// 100 ns intervals between 1601-01-01 and 1970-01-01.
constexpr uint64_t kUnixEpochAsFiletime = 116444736000000000ull;

uint64_t FiletimeFromTimespec(const timespec& time) {
  return kUnixEpochAsFiletime + static_cast<uint64_t>(time.tv_sec) * 10000000ull +
         static_cast<uint64_t>(time.tv_nsec) / 100;
}

}  // namespace

std::optional<FileFacts> ReadFileFacts(const std::filesystem::path& path) {
  struct stat facts_of_file;
  if (::stat(path.c_str(), &facts_of_file) != 0) return std::nullopt;
  FileFacts facts;
  facts.size = static_cast<uint64_t>(facts_of_file.st_size);
  facts.modified = FiletimeFromTimespec(facts_of_file.st_mtim);
  return facts;
}

bool ApplyFileStamp(const std::filesystem::path& path, std::optional<uint64_t> modified,
                    std::optional<uint32_t> attributes) {
  bool ok = true;
  if (modified) {
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    uint64_t since_epoch = *modified > kUnixEpochAsFiletime ? *modified - kUnixEpochAsFiletime : 0;
    times[1].tv_sec = static_cast<time_t>(since_epoch / 10000000ull);
    times[1].tv_nsec = static_cast<long>((since_epoch % 10000000ull) * 100);
    ok = ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
  }
  if (attributes && (*attributes & kAttributeReadOnly)) {
    struct stat facts_of_file;
    if (::stat(path.c_str(), &facts_of_file) != 0 ||
        ::chmod(path.c_str(), facts_of_file.st_mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) != 0)
      ok = false;
  }
  return ok;
}

void ClearFileAttributes(const std::filesystem::path& path) {
  struct stat facts_of_file;
  if (::lstat(path.c_str(), &facts_of_file) == 0 && S_ISREG(facts_of_file.st_mode))
    ::chmod(path.c_str(), facts_of_file.st_mode | S_IWUSR);
}

bool MoveFileOver(const std::filesystem::path& source, const std::filesystem::path& target) {
  return std::rename(source.c_str(), target.c_str()) == 0;
}

}  // namespace korvane::platform
