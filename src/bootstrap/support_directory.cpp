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
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add,
                                 ignored);
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
  std::error_code ec;
  std::filesystem::create_directories(tempFolder, ec);
  if (ec) return Error{"cannot create the temporary folder " + tempFolder.string() + ": " + ec.message()};
  for (unsigned n = 1;; ++n) {
    auto candidate = tempFolder / ("vok" + std::to_string(n));
    // Creating the folder is the claim: of two setups started together only one creates vokN,
    // the other goes on to the next number instead of sharing (and later removing) it.
    if (std::filesystem::create_directory(candidate, ec)) return candidate;
    if (!ec || std::filesystem::exists(candidate)) continue;  // taken, by a folder or a file
    return Error{"cannot create the support directory " + candidate.string() + ": " + ec.message()};
  }
}

void RemoveSupportDirectory(const std::filesystem::path& folder) {
  std::error_code ec;
  if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return;
  for (int pass = 0; pass < 3; ++pass) EmptyFolder(folder);
  std::filesystem::remove(folder, ec);
}

}  // namespace korvane
