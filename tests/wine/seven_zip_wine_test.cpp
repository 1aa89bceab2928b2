// The Windows setup's path: the real vok.lib DLL loaded at run time and driven through
// SevenZipExtract, over every archive 7zz made of the sample tree.

#include <gtest/gtest.h>

#include <windows.h>

#include "../unit/archive_test_support.h"
#include "media/seven_zip.h"

namespace korvane::media {
namespace {

const ArchiveLibrary& Library() {
  static auto library = ArchiveLibrary::Load(KORVANE_VOK_LIBRARY);
  if (!library) ADD_FAILURE() << library.error();
  return library.value();
}

class SevenZipExtractUnderWindows : public ::testing::TestWithParam<test::Sample> {};

TEST_P(SevenZipExtractUnderWindows, ExtractsTheSampleTreeByteForByte) {
  const test::Sample& sample = GetParam();
  test::ScratchFolder out("wine-" + sample.archive);
  std::string error;
  bool ok = SevenZipExtract(Library(), (test::SamplesFolder() / sample.archive).string(), sample.password,
                            out.path().string(), true, true, error);
  if (!sample.supported) {
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, "#1003");
    return;
  }
  ASSERT_TRUE(ok) << error;
  EXPECT_EQ(test::Snapshot(out.path()), test::Snapshot(test::SamplesFolder() / "tree"));
  // Names outside the ANSI code page are written under their true (wide) names.
  EXPECT_TRUE(test::fs::exists(out.path() / L"\u65e5\u672c\u8a9e" / L"\u30c7\u30fc\u30bf.txt"));
  DWORD attributes = GetFileAttributesW((out.path() / L"readonly.txt").c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY));
}

INSTANTIATE_TEST_SUITE_P(Made7zz, SevenZipExtractUnderWindows, ::testing::ValuesIn(test::ReadSamples()),
                         [](const auto& info) {
                           std::string name = info.param.archive.substr(0, info.param.archive.find('.'));
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

TEST(SevenZipExtractUnderWindows, MissingArchiveAndEmptyPassword) {
  test::ScratchFolder out("wine-failures");
  std::string error;
  EXPECT_FALSE(SevenZipExtract(Library(), (out.path() / "missing.7z").string(), "", out.path().string(), true, true,
                               error));
  EXPECT_EQ(error, "The archive file was not found");
  EXPECT_FALSE(SevenZipExtract(Library(), (test::SamplesFolder() / "encrypted-header.7z").string(), "",
                               out.path().string(), true, true, error));
  EXPECT_EQ(error, "The archive cannot be opened: unsupported archive or incorrect password");
}

}  // namespace
}  // namespace korvane::media
