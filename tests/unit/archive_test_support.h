#pragma once
// Helpers of the archive tests: the samples made by tests/archive/make-samples.sh, a writer of
// small hand-made 7z archives (stored entries, plain header) for names and sizes that 7zz will
// not write, and a scratch folder per test.

#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace korvane::test {

namespace fs = std::filesystem;

struct Sample {
  std::string archive;
  std::string password;  // empty for none
  bool supported = true;
};

inline fs::path SamplesFolder() { return fs::path(KORVANE_ARCHIVE_SAMPLES); }

inline std::vector<Sample> ReadSamples() {
  std::vector<Sample> samples;
  std::ifstream manifest(SamplesFolder() / "manifest.txt");
  std::string archive, password, expect;
  while (manifest >> archive >> password >> expect)
    samples.push_back({archive, password == "-" ? "" : password, expect == "ok"});
  return samples;
}

inline std::string ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteWholeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Every file (with its content) and every folder below root, by relative generic path.
inline std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> items;
  if (!fs::exists(root)) return items;
  for (const auto& item : fs::recursive_directory_iterator(root)) {
    std::string relative = fs::relative(item.path(), root).generic_string();
    items[relative] = item.is_directory() ? std::string("<folder>") : ReadWholeFile(item.path());
  }
  return items;
}

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) {
    path_ = fs::temp_directory_path() / ("korvane-archive-test-" + name);
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    RemoveAll();
    fs::create_directories(path_);
  }
  ~ScratchFolder() { RemoveAll(); }
  [[nodiscard]] const fs::path& path() const { return path_; }

 private:
  void RemoveAll() {
    std::error_code ignored;
    if (fs::exists(path_))
      for (const auto& item : fs::recursive_directory_iterator(path_, ignored))
        fs::permissions(item.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
  }
  fs::path path_;
};

// A 7z archive holding stored (Copy) entries in one block, with a plain header.
class StoredArchiveWriter {
 public:
  void Add(const std::u16string& name, const std::string& content) { files_.push_back({name, content}); }
  // Declares a block size other than the true one (for bomb and truncation cases).
  void ClaimBlockSize(uint64_t size) { claimed_size_ = size; }

  [[nodiscard]] std::string Bytes() const {
    std::string packed;
    for (const auto& file : files_) packed += file.content;
    std::string h;
    h += '\x01';                    // header
    h += '\x04';                    // main streams
    h += '\x06';                    // pack info
    Number(h, 0);
    Number(h, 1);
    h += '\x09';
    Number(h, packed.size());
    h += '\x00';
    h += '\x07';                    // unpack info
    h += '\x0B';
    Number(h, 1);
    h += '\x00';
    Number(h, 1);                   // one coder
    h += '\x01';                    // simple coder, 1-byte id
    h += '\x00';                    // Copy
    h += '\x0C';
    Number(h, claimed_size_ ? claimed_size_ : packed.size());
    h += '\x00';
    h += '\x08';                    // substreams
    h += '\x0D';
    Number(h, files_.size());
    h += '\x09';
    for (size_t i = 0; i + 1 < files_.size(); ++i) Number(h, files_[i].content.size());
    h += '\x0A';
    h += '\x01';
    for (const auto& file : files_) UInt32(h, Crc(file.content));
    h += '\x00';
    h += '\x00';
    h += '\x05';                    // files
    Number(h, files_.size());
    std::string names(1, '\0');
    for (const auto& file : files_) {
      for (char16_t c : file.name) {
        names += static_cast<char>(c & 0xFF);
        names += static_cast<char>(c >> 8);
      }
      names += std::string(2, '\0');
    }
    h += '\x11';
    Number(h, names.size());
    h += names;
    h += '\x00';
    h += '\x00';

    std::string start;
    UInt64(start, packed.size());
    UInt64(start, h.size());
    UInt32(start, Crc(h));
    std::string archive("7z\xBC\xAF\x27\x1C\x00\x04", 8);
    UInt32(archive, Crc(start));
    return archive + start + packed + h;
  }

 private:
  struct File {
    std::u16string name;
    std::string content;
  };
  static uint32_t Crc(const std::string& bytes) {
    return static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
  }
  static void UInt32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>(value >> (8 * i));
  }
  static void UInt64(std::string& out, uint64_t value) {
    for (int i = 0; i < 8; ++i) out += static_cast<char>(value >> (8 * i));
  }
  static void Number(std::string& out, uint64_t value) {
    if (value < 0x80) {
      out += static_cast<char>(value);
      return;
    }
    out += '\xFF';  // the long form: eight little-endian bytes
    UInt64(out, value);
  }
  std::vector<File> files_;
  uint64_t claimed_size_ = 0;
};

}  // namespace korvane::test
