#include "archive/archive_operations.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "archive/archive_error.h"
#include "archive/entry_path.h"
#include "archive/seven_zip_archive.h"
#include "platform/ansi_text.h"
#include "platform/file_stamp.h"
#include "platform/file_stream.h"

namespace korvane::archive {
namespace {

namespace fs = std::filesystem;

constexpr uint64_t kProgressStep = uint64_t{1} << 20;

std::string Describe(const fs::path& path) {
#ifdef _WIN32
  std::wstring wide = path.wstring();
  return platform::AnsiFromUtf16(std::u16string(wide.begin(), wide.end()));
#else
  return path.string();
#endif
}

// Refuses paths that pass through a symbolic link (or junction) inside the destination.
void CheckNoLinks(const fs::path& destination, const std::vector<std::u16string>& parts, size_t folder_parts,
                  const std::u16string& name) {
  fs::path walk = destination;
  for (size_t i = 0; i < folder_parts; ++i) {
    walk /= platform::PathFromUtf16(parts[i]);
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(walk, error)))
      throw ArchiveError(vok::kIllegalPath, "the entry \"" + ListedName(name) + "\" would be written through a link");
  }
}

class FolderWriter : public EntrySink {
 public:
  FolderWriter(const ExtractRequest& request, const std::vector<std::vector<std::u16string>>& paths, uint64_t total)
      : request_(request), paths_(paths), total_(total) {}

  ~FolderWriter() override { DiscardPartial(); }

  bool Begin(uint32_t index, const Entry& entry) override {
    if (entry.is_anti) return false;
    std::string name = ListedName(entry.name);
    current_name_ = name;
    Report();
    if (request_.entry && !request_.entry(name, entry.is_folder)) return false;
    const auto& parts = paths_[index];
    if (entry.is_folder) {
      if (request_.flatten) return false;
      fs::path folder = Join(parts, parts.size());
      CheckNoLinks(request_.destination, parts, parts.size(), entry.name);
      CreateFolder(folder);
      folders_.push_back({folder, &entry});
      return false;
    }
    size_t folder_parts = request_.flatten ? 0 : parts.size() - 1;
    CheckNoLinks(request_.destination, parts, folder_parts, entry.name);
    fs::path target = request_.flatten ? request_.destination / platform::PathFromUtf16(parts.back())
                                       : Join(parts, parts.size());
    CreateFolder(target.parent_path());
    std::error_code error;
    auto status = fs::symlink_status(target, error);
    if (fs::exists(status)) {
      if (fs::is_directory(status) || fs::is_symlink(status))
        throw ArchiveError(vok::kWriteFailed, "a folder or link named " + Describe(target) + " is in the way");
      if (!KeepOverwriting(name, target, entry)) return false;
    }
    partial_ = target;
    partial_ += ".vok-partial";
    target_ = target;
    if (!file_.CreateForWriting(partial_)) {
      partial_.clear();
      throw ArchiveError(vok::kWriteFailed, "cannot create " + Describe(target));
    }
    return true;
  }

  void Write(const uint8_t* data, size_t size) override {
    if (!file_.Write(data, size)) throw ArchiveError(vok::kWriteFailed, "cannot write " + Describe(target_));
    done_ += size;
    if (done_ - reported_ >= kProgressStep) Report();
  }

  void End(uint32_t, const Entry& entry) override {
    if (entry.is_folder) return;
    if (partial_.empty()) return;
    if (!file_.Close()) throw ArchiveError(vok::kWriteFailed, "cannot write " + Describe(target_));
    platform::ClearFileAttributes(target_);
    if (!platform::MoveFileOver(partial_, target_))
      throw ArchiveError(vok::kWriteFailed, "cannot give " + Describe(target_) + " its name");
    partial_.clear();
    (void)platform::ApplyFileStamp(target_, entry.modified, entry.attributes);
  }

  // Folder times and attributes, set last because writing files inside changes them.
  void StampFolders() {
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it)
      (void)platform::ApplyFileStamp(it->path, it->entry->modified, std::nullopt);
  }

  void FinalReport() {
    done_ = total_;
    Report();
  }

  void DiscardPartial() {
    if (partial_.empty()) return;
    file_.Close();
    std::error_code ignored;
    fs::remove(partial_, ignored);
    partial_.clear();
  }

 private:
  struct MadeFolder {
    fs::path path;
    const Entry* entry;
  };

  fs::path Join(const std::vector<std::u16string>& parts, size_t count) const {
    fs::path path = request_.destination;
    for (size_t i = 0; i < count; ++i) path /= platform::PathFromUtf16(parts[i]);
    return path;
  }

  static void CreateFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) throw ArchiveError(vok::kWriteFailed, "cannot create the folder " + Describe(folder));
  }

  bool KeepOverwriting(const std::string& name, const fs::path& target, const Entry& entry) {
    if (overwrite_all_) return true;
    if (keep_all_) return false;
    if (!request_.overwrite) return true;
    auto facts = platform::ReadFileFacts(target).value_or(platform::FileFacts{});
    int32_t answer = request_.overwrite(name, facts.size, facts.modified, entry.size, entry.modified.value_or(0));
    switch (answer) {
      case vok::kOverwrite: return true;
      case vok::kKeepExisting: return false;
      case vok::kOverwriteAll: overwrite_all_ = true; return true;
      case vok::kKeepAll: keep_all_ = true; return false;
      default: throw ArchiveError(vok::kCancelled, "extraction stopped when asked to overwrite " + Describe(target));
    }
  }

  void Report() {
    reported_ = done_;
    if (request_.progress && !request_.progress(current_name_, done_, total_))
      throw ArchiveError(vok::kCancelled, "extraction stopped by the caller");
  }

  const ExtractRequest& request_;
  const std::vector<std::vector<std::u16string>>& paths_;
  uint64_t total_;
  uint64_t done_ = 0;
  uint64_t reported_ = 0;
  std::string current_name_;
  platform::FileStream file_;
  fs::path partial_;
  fs::path target_;
  std::vector<MadeFolder> folders_;
  bool overwrite_all_ = false;
  bool keep_all_ = false;
};

}  // namespace

std::vector<ListedEntry> ListArchive(const std::filesystem::path& archive, const AskPassword& ask_password) {
  PasswordSource password(ask_password);
  auto opened = SevenZipArchive::Open(archive, password);
  std::vector<ListedEntry> listing;
  listing.reserve(opened->entries().size());
  for (const Entry& entry : opened->entries()) {
    ListedEntry listed;
    listed.name = ListedName(entry.name);
    listed.size = entry.size;
    listed.packed_size = opened->PackedSizeOf(entry);
    listed.crc = entry.crc;
    listed.modified = entry.modified;
    listed.is_folder = entry.is_folder;
    listed.attributes = entry.attributes.value_or(entry.is_folder ? platform::kAttributeDirectory : 0) & 0xFFFF;
    if (entry.is_folder) listed.attributes |= platform::kAttributeDirectory;
    listed.encrypted = opened->IsEncrypted(entry);
    listing.push_back(std::move(listed));
  }
  return listing;
}

void ExtractToFolder(const ExtractRequest& request) {
  PasswordSource password(request.ask_password);
  auto opened = SevenZipArchive::Open(request.archive, password);
  const auto& entries = opened->entries();

  std::vector<bool> wanted(entries.size(), request.names.empty());
  if (!request.names.empty()) {
    std::multimap<std::string, uint32_t> by_name;
    for (uint32_t i = 0; i < entries.size(); ++i) by_name.emplace(ListedName(entries[i].name), i);
    for (const std::string& name : request.names) {
      auto [first, last] = by_name.equal_range(name);
      if (first == last) throw ArchiveError(vok::kEntryNotFound, "the archive has no entry named \"" + name + "\"");
      for (auto it = first; it != last; ++it) wanted[it->second] = true;
    }
  }
  // Every path is checked before anything is written.
  std::vector<std::vector<std::u16string>> paths(entries.size());
  uint64_t total = 0;
  for (uint32_t i = 0; i < entries.size(); ++i) {
    if (!wanted[i] || entries[i].is_anti) continue;
    auto parts = SafeRelativePath(entries[i].name);
    if (!parts) throw ArchiveError(vok::kIllegalPath, parts.error());
    paths[i] = std::move(parts.value());
    total += entries[i].size;
  }
  std::error_code error;
  std::filesystem::create_directories(request.destination, error);
  if (!std::filesystem::is_directory(request.destination, error))
    throw ArchiveError(vok::kWriteFailed, "cannot create the destination folder " + Describe(request.destination));

  FolderWriter writer(request, paths, total);
  opened->Extract(wanted, writer, password);
  writer.StampFolders();
  writer.FinalReport();
}

}  // namespace korvane::archive
