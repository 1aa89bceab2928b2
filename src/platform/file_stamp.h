#pragma once
// Attributes and modification times of files written by extraction.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace korvane::platform {

// Windows file attribute bits as stored in archives.
constexpr uint32_t kAttributeReadOnly = 0x1;
constexpr uint32_t kAttributeHidden = 0x2;
constexpr uint32_t kAttributeSystem = 0x4;
constexpr uint32_t kAttributeDirectory = 0x10;
constexpr uint32_t kAttributeArchive = 0x20;

struct FileFacts {
  uint64_t size = 0;
  uint64_t modified = 0;  // FILETIME, UTC
};

// Size and modification time of an existing file; nothing when it does not exist.
std::optional<FileFacts> ReadFileFacts(const std::filesystem::path& path);

// Gives a written file or folder its modification time (a FILETIME, UTC) and attributes. Where the
// system knows only a read-only flag, that is all the attributes set. Returns false on failure.
[[nodiscard]] bool ApplyFileStamp(const std::filesystem::path& path, std::optional<uint64_t> modified,
                                  std::optional<uint32_t> attributes);

// Makes an existing file writable and deletable again (clears read-only, hidden and system).
void ClearFileAttributes(const std::filesystem::path& path);

// Replaces target by source (same folder); false on failure, source then stays in place.
[[nodiscard]] bool MoveFileOver(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace korvane::platform
