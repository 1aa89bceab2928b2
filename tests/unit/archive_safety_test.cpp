// Entry paths that would leave the destination, and damaged, cut, hostile or foreign files: each
// gives an error code, never a crash, a hang or a file outside the destination.

#include <gtest/gtest.h>

#include <random>

#include "archive/entry_path.h"
#include "archive/vok_exports.h"
#include "archive_test_support.h"

namespace korvane {
namespace {

using archive::SafeRelativePath;

TEST(EntryPath, AcceptsRelativeNamesAndSplitsThemIntoParts) {
  struct Case {
    std::u16string name;
    std::vector<std::u16string> parts;
  } cases[] = {
      {u"file.txt", {u"file.txt"}},
      {u"a/b\\c.txt", {u"a", u"b", u"c.txt"}},
      {u"a//./b/", {u"a", u"b"}},
      {u"caf\u00e9/\u65e5\u672c.txt", {u"caf\u00e9", u"\u65e5\u672c.txt"}},
      {u".hidden", {u".hidden"}},
      {u"CONSOLE.txt", {u"CONSOLE.txt"}},
      {u"COM10", {u"COM10"}},
      {u"..x", {u"..x"}},
  };
  for (const auto& c : cases) {
    auto parts = SafeRelativePath(c.name);
    ASSERT_TRUE(parts.ok()) << archive::ListedName(c.name) << ": " << parts.error();
    EXPECT_EQ(parts.value(), c.parts) << archive::ListedName(c.name);
  }
}

TEST(EntryPath, RefusesNamesThatLeaveTheDestinationOrNameDevices) {
  const std::u16string refused[] = {
      u"", u"/etc/passwd", u"\\windows\\system.ini", u"\\\\server\\share\\f", u"C:\\x.txt", u"C:x.txt",
      u"../up.txt", u"a/../../up.txt", u"a\\..\\..\\up.txt", u"..", u"file.txt:stream", u"file.txt::$DATA",
      u"CON", u"con.txt", u"a/NUL", u"Aux.log", u"COM1", u"lpt9.txt", u"COM\u00b9", u"CONIN$", u"prn ",
      u"trailing.", u"trailing ", u".. /x", u"a/.../b", u"wild*.txt", u"q?.txt", u"pipe|x", u"tab\tx",
      u"./.", u"/",
  };
  for (const auto& name : refused) EXPECT_FALSE(SafeRelativePath(name).ok()) << archive::ListedName(name);
}

std::string Text(const test::fs::path& p) { return p.string(); }

int32_t Extract(const test::fs::path& archive, const test::fs::path& destination, const char* password = "") {
  return ExtractArchive(Text(archive).c_str(), 1, Text(destination).c_str(), nullptr, 0, password, nullptr, nullptr,
                        nullptr, nullptr);
}

TEST(ArchiveSafety, AnArchiveWithOneBadPathWritesNothing) {
  const std::u16string hostile[] = {u"../escaped.txt", u"/tmp/korvane-absolute.txt", u"C:\\escaped.txt",
                                    u"sub/../../escaped.txt", u"ads.txt:hidden", u"NUL.txt"};
  for (const auto& name : hostile) {
    test::ScratchFolder work("hostile");
    test::StoredArchiveWriter writer;
    writer.Add(u"good.txt", "good");
    writer.Add(name, "evil");
    test::WriteWholeFile(work.path() / "a.7z", writer.Bytes());
    auto destination = work.path() / "out" / "inner";
    EXPECT_EQ(Extract(work.path() / "a.7z", destination), 0) << archive::ListedName(name);
    EXPECT_EQ(GetLastArchiveError(), vok::kIllegalPath);
    // Nothing at all was written: not the good entry, not the bad one.
    auto written = test::Snapshot(work.path());
    written.erase("a.7z");
    for (const auto& [path, content] : written) EXPECT_EQ(content, "<folder>") << path;
  }
  EXPECT_FALSE(test::fs::exists("/tmp/korvane-absolute.txt"));
}

TEST(ArchiveSafety, DoesNotWriteThroughALinkInTheDestination) {
#ifndef _WIN32
  test::ScratchFolder work("link");
  test::fs::create_directories(work.path() / "outside");
  test::fs::create_directories(work.path() / "out");
  test::fs::create_directory_symlink(work.path() / "outside", work.path() / "out" / "sub");
  test::StoredArchiveWriter writer;
  writer.Add(u"sub/file.txt", "through the link");
  test::WriteWholeFile(work.path() / "a.7z", writer.Bytes());
  EXPECT_EQ(Extract(work.path() / "a.7z", work.path() / "out"), 0);
  EXPECT_EQ(GetLastArchiveError(), vok::kIllegalPath);
  EXPECT_TRUE(test::fs::is_empty(work.path() / "outside"));
#endif
}

TEST(ArchiveSafety, HandMadeArchiveExtractsAndItsDamageIsCaught) {
  test::ScratchFolder work("handmade");
  test::StoredArchiveWriter writer;
  writer.Add(u"one.txt", "first entry");
  writer.Add(u"dir/two.txt", "second entry");
  std::string bytes = writer.Bytes();
  test::WriteWholeFile(work.path() / "a.7z", bytes);
  ASSERT_EQ(Extract(work.path() / "a.7z", work.path() / "out"), 1) << GetLastArchiveError();
  EXPECT_EQ(test::ReadWholeFile(work.path() / "out" / "dir" / "two.txt"), "second entry");

  // A flipped content byte fails the entry's CRC and leaves no file under the entry's name.
  std::string damaged = bytes;
  damaged[32 + 12] ^= 0x20;  // inside "second entry"
  test::WriteWholeFile(work.path() / "d.7z", damaged);
  EXPECT_EQ(Extract(work.path() / "d.7z", work.path() / "dout"), 0);
  EXPECT_EQ(GetLastArchiveError(), vok::kDataError);
  EXPECT_FALSE(test::fs::exists(work.path() / "dout" / "dir" / "two.txt"));
  EXPECT_TRUE(test::fs::is_empty(work.path() / "dout" / "dir"));
}

TEST(ArchiveSafety, AClaimedSizeFarBeyondTheDataFailsWithoutAllocatingIt) {
  test::ScratchFolder work("bomb");
  test::StoredArchiveWriter writer;
  writer.Add(u"small.txt", "tiny");
  writer.ClaimBlockSize(uint64_t{1} << 50);
  test::WriteWholeFile(work.path() / "a.7z", writer.Bytes());
  EXPECT_EQ(Extract(work.path() / "a.7z", work.path() / "out"), 0);
  EXPECT_EQ(GetLastArchiveError(), vok::kDataError);
}

TEST(ArchiveSafety, ForeignEmptyAndCutFilesGiveErrorCodes) {
  test::ScratchFolder work("foreign");
  test::WriteWholeFile(work.path() / "empty.7z", "");
  test::WriteWholeFile(work.path() / "text.7z", "this is not an archive at all, just some text");
  EXPECT_EQ(Extract(work.path() / "empty.7z", work.path() / "out"), 0);
  EXPECT_EQ(GetLastArchiveError(), vok::kUnsupportedOrWrongPassword);
  EXPECT_EQ(Extract(work.path() / "text.7z", work.path() / "out"), 0);
  EXPECT_EQ(GetLastArchiveError(), vok::kUnsupportedOrWrongPassword);
  EXPECT_EQ(Extract(work.path(), work.path() / "out"), 0);  // a folder, not a file
  EXPECT_EQ(GetLastArchiveError(), vok::kArchiveNotFound);

  std::string whole = test::ReadWholeFile(test::SamplesFolder() / "bcj2.7z");
  for (size_t cut : {size_t{6}, size_t{31}, size_t{32}, size_t{1000}, whole.size() / 2, whole.size() - 40,
                     whole.size() - 1}) {
    test::WriteWholeFile(work.path() / "cut.7z", whole.substr(0, cut));
    test::ScratchFolder out("cut-out");
    EXPECT_EQ(Extract(work.path() / "cut.7z", out.path()), 0) << "cut at " << cut;
    uint32_t code = GetLastArchiveError();
    EXPECT_TRUE(code == vok::kDataError || code == vok::kUnsupportedOrWrongPassword) << code << " at " << cut;
  }
}

TEST(ArchiveSafety, BitFlipsAnywhereNeverCrashAndAreMostlyCaught) {
  const char* samples[] = {"mx5.7z", "bcj2.7z", "deflate.7z", "encrypted-header.7z"};
  std::mt19937 random(20261211);
  test::ScratchFolder work("flips");
  int caught = 0, runs = 0;
  for (const char* sample : samples) {
    std::string whole = test::ReadWholeFile(test::SamplesFolder() / sample);
    // The header sits at the end; flips there and in the packed data.
    for (int i = 0; i < 12; ++i) {
      std::string damaged = whole;
      size_t at = i % 2 ? whole.size() - 1 - random() % std::min<size_t>(whole.size(), 200) : random() % whole.size();
      damaged[at] = static_cast<char>(damaged[at] ^ (1 << (random() % 8)));
      test::WriteWholeFile(work.path() / "flip.7z", damaged);
      test::ScratchFolder out("flip-out");
      int32_t ok = Extract(work.path() / "flip.7z", out.path(), "open-sesame");
      ++runs;
      if (!ok) {
        ++caught;
        EXPECT_NE(GetLastArchiveError(), vok::kInternalError);
      }
    }
  }
  // A flip can land on bytes nothing checks (padding, the unused header CRC of packed streams).
  EXPECT_GE(caught, runs * 3 / 4);
}

// The fuzzer's seeds and every input it once found faulty. The fuzzing build skips the header
// CRCs, so each input gets right ones first and reaches the parser as it did there.
std::string WithHeaderCrcsMadeRight(std::string bytes) {
  if (bytes.size() < 32 || bytes.compare(0, 2, "7z") != 0) return bytes;
  auto* raw = reinterpret_cast<unsigned char*>(bytes.data());
  auto little = [raw](size_t at, int width) {
    uint64_t value = 0;
    for (int i = 0; i < width; ++i) value |= uint64_t{raw[at + i]} << (8 * i);
    return value;
  };
  auto put = [raw](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) raw[at + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  uint64_t offset = little(12, 8), size = little(20, 8);
  if (offset <= bytes.size() - 32 && size <= bytes.size() - 32 - offset)
    put(28, static_cast<uint32_t>(crc32(0, raw + 32 + offset, static_cast<uInt>(size))));
  put(8, static_cast<uint32_t>(crc32(0, raw + 12, 20)));
  return bytes;
}

TEST(ArchiveSafety, FuzzerInputsFailCleanlyOrExtract) {
  test::ScratchFolder work("fuzz-replay");
  int replayed = 0;
  for (const auto& input : test::fs::directory_iterator(KORVANE_ARCHIVE_FUZZ_CORPUS)) {
    test::WriteWholeFile(work.path() / "input.7z", WithHeaderCrcsMadeRight(test::ReadWholeFile(input.path())));
    test::ScratchFolder out("fuzz-replay-out");
    if (!Extract(work.path() / "input.7z", out.path())) {
      EXPECT_NE(GetLastArchiveError(), vok::kInternalError) << input.path().filename();
    }
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace korvane
