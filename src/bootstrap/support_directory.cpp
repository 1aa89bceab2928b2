#include "bootstrap/support_directory.h"

#include <string>
#include <system_error>

namespace korvane {
namespace {

// Some run-time libraries refuse to delete read-only files: make every entry writable first.
void MakeWritable(const std::filesystem::path& folder) {
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code ignored;
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ignored);
  }
}

void EmptyFolder(const std::filesystem::path& folder) {
  MakeWritable(folder);
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator(folder, ec); !ec && it != std::filesystem::directory_iterator();
       it.increment(ec)) {
    std::error_code ignored;
    std::filesystem::remove_all(it->path(), ignored);
  }
}

}  // namespace

Result<std::filesystem::path> CreateSupportDirectory(const std::filesystem::path& tempFolder) {
  for (unsigned n = 1;; ++n) {
    auto candidate = tempFolder / ("vok" + std::to_string(n));
    std::error_code ec;
    if (std::filesystem::exists(candidate, ec)) continue;
    if (ec) return Error{"cannot look at " + candidate.string() + ": " + ec.message()};
    std::filesystem::create_directories(candidate, ec);
    if (ec) return Error{"cannot create the support directory " + candidate.string() + ": " + ec.message()};
    return candidate;
  }
}

void RemoveSupportDirectory(const std::filesystem::path& folder) {
  std::error_code ec;
  if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return;
  for (int pass = 0; pass < 3; ++pass) EmptyFolder(folder);
  std::filesystem::remove(folder, ec);
}

}  // namespace korvane
