#pragma once
// The library's two operations, in C++ terms: list an archive, extract entries into a folder.
// Both throw ArchiveError with the library error code; the exports turn that into
// GetLastArchiveError's value.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvane::archive {

using AskPassword = std::function<std::optional<std::u16string>()>;

struct ListedEntry {
  std::string name;  // ANSI, as ExtractToFolder accepts it
  uint64_t size = 0;
  uint64_t packed_size = 0;
  std::optional<uint32_t> crc;
  std::optional<uint64_t> modified;  // FILETIME, UTC
  uint32_t attributes = 0;
  bool is_folder = false;
  bool encrypted = false;
};

std::vector<ListedEntry> ListArchive(const std::filesystem::path& archive, const AskPassword& ask_password);

struct ExtractRequest {
  std::filesystem::path archive;
  std::filesystem::path destination;
  std::vector<std::string> names;  // listed names of the entries wanted; empty means all
  bool flatten = false;            // write files straight into the destination, without folders
  AskPassword ask_password;
  // Amounts are bytes of the whole run; false stops it.
  std::function<bool(const std::string& name, uint64_t done, uint64_t total)> progress;
  // Before each entry; false skips it.
  std::function<bool(const std::string& name, bool is_folder)> entry;
  // When a file to write exists: one of vok::OverwriteAnswer; anything else stops the run.
  std::function<int32_t(const std::string& name, uint64_t existing_size, uint64_t existing_time, uint64_t new_size,
                        uint64_t new_time)>
      overwrite;
};

// Extracts the requested entries. Every entry path is checked before anything is written; a file
// is written under a temporary name and gets its own name only when its CRC has matched, so a
// failed or stopped run leaves no half-written file under an entry's name.
void ExtractToFolder(const ExtractRequest& request);

}  // namespace korvane::archive
