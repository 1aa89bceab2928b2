// Feeds arbitrary bytes to the 7z reader as an archive file: open, list every name through the
// path check and decode every entry. Any crash, hang or runaway allocation is a finding.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "archive/archive_error.h"
#include "archive/entry_path.h"
#include "archive/seven_zip_archive.h"

namespace {

// Decoding stops short of archives whose entries claim more than this in all: a few bytes of
// LZMA can honestly stand for gigabytes, which is slow rather than faulty.
constexpr uint64_t kMaxDecodedBytes = uint64_t{64} << 20;

class DiscardingSink : public korvane::archive::EntrySink {
 public:
  bool Begin(uint32_t, const korvane::archive::Entry&) override { return true; }
  void Write(const uint8_t*, size_t) override {}
  void End(uint32_t, const korvane::archive::Entry&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/korvane-fuzz-archive-" + std::to_string(getpid()) + ".7z";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  try {
    korvane::archive::PasswordSource password([] { return std::optional<std::u16string>(); });
    auto archive = korvane::archive::SevenZipArchive::Open(path, password);
    uint64_t claimed = 0;
    for (const auto& entry : archive->entries()) {
      (void)korvane::archive::SafeRelativePath(entry.name);
      (void)korvane::archive::ListedName(entry.name);
      claimed += std::min<uint64_t>(entry.size, kMaxDecodedBytes + 1);
    }
    if (claimed > kMaxDecodedBytes) return 0;
    std::vector<bool> all(archive->entries().size(), true);
    DiscardingSink sink;
    archive->Extract(all, sink, password);
  } catch (const korvane::archive::ArchiveError&) {
  }
  return 0;
}
