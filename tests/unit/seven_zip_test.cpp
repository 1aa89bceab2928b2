// The engine side (SevenZipExtract, SevenZipList, built-in callbacks, progress figures) against
// the archive library built for this platform, loaded at run time as the setup loads it.

#include "media/seven_zip.h"

#include <gtest/gtest.h>

#include <cstring>

#include "archive_test_support.h"
#include "media/extract_progress.h"

namespace korvane::media {
namespace {

const ArchiveLibrary& Library() {
  static auto library = ArchiveLibrary::Load(KORVANE_VOK_LIBRARY);
  if (!library) ADD_FAILURE() << library.error();
  return library.value();
}

std::string Sample(const char* name) { return (test::SamplesFolder() / name).string(); }

TEST(SevenZipList, ListsNamesAndTheRecordNumbers) {
  std::string error = "stale";
  std::vector<std::string> names, attributes, sizes, packed, dates;
  ASSERT_TRUE(SevenZipList(Library(), Sample("nonsolid.7z"), "", error,
                           {&names, &attributes, &sizes, &packed, &dates}));
  EXPECT_EQ(error, "");
  ASSERT_EQ(names.size(), sizes.size());
  auto at = std::find(names.begin(), names.end(), "dated.txt");
  ASSERT_NE(at, names.end());
  size_t i = static_cast<size_t>(at - names.begin());
  EXPECT_EQ(sizes[i], "6");
  EXPECT_NE(packed[i], "0");
  EXPECT_EQ(dates[i].substr(0, 4), "2020");
}

TEST(SevenZipList, FailureTextsNameTheCause) {
  std::string error;
  std::vector<std::string> names{"stale"};
  test::ScratchFolder work("list-failures");
  EXPECT_FALSE(SevenZipList(Library(), (work.path() / "missing.7z").string(), "", error, {&names}));
  EXPECT_EQ(error, "The archive file was not found");
  EXPECT_TRUE(names.empty());

  // An empty password reaches the library as an empty text and the built-in callback answers 0.
  EXPECT_FALSE(SevenZipList(Library(), Sample("encrypted-header.7z"), "", error, {&names}));
  EXPECT_EQ(error, "The archive cannot be opened: unsupported archive or incorrect password");

  test::WriteWholeFile(work.path() / "cut.7z", test::ReadWholeFile(Sample("mx5.7z")).substr(0, 5000));
  EXPECT_FALSE(SevenZipList(Library(), (work.path() / "cut.7z").string(), "", error, {&names}));
  EXPECT_EQ(error, "General failure opening archive");
}

TEST(SevenZipExtract, ExtractsEverythingListedFirst) {
  test::ScratchFolder out("engine-extract");
  std::string error = "stale";
  ASSERT_TRUE(SevenZipExtract(Library(), Sample("encrypted-header.7z"), "open-sesame", out.path().string(), true, true,
                              error));
  EXPECT_EQ(error, "");
  EXPECT_EQ(test::Snapshot(out.path()), test::Snapshot(test::SamplesFolder() / "tree"));
  // Again over the same files: the built-in overwrite answer (all) replaces them without a stop.
  ASSERT_TRUE(SevenZipExtract(Library(), Sample("mx1.7z"), "", out.path().string(), true, true, error)) << error;
}

TEST(SevenZipExtract, ReportsListingTextsAndLibraryCodes) {
  test::ScratchFolder out("engine-failures");
  std::string error;
  EXPECT_FALSE(SevenZipExtract(Library(), (out.path() / "none.7z").string(), "", out.path().string(), true, true, error));
  EXPECT_EQ(error, "The archive file was not found");
  // Listing works, extraction does not: the library's code follows a "#".
  EXPECT_FALSE(SevenZipExtract(Library(), Sample("bzip2.7z"), "", out.path().string(), true, true, error));
  EXPECT_EQ(error, "#1003");
  EXPECT_FALSE(SevenZipExtract(Library(), Sample("encrypted.7z"), "wrong", out.path().string(), true, true, error));
  EXPECT_EQ(error, "#1003");
}

TEST(SevenZipExtract, WithoutTheModeFlagFilesLandFlat) {
  test::ScratchFolder out("engine-flat");
  std::string error;
  std::vector<std::string> entries{"text.txt", (test::fs::path("deep") / "a" / "b" / "c" / "file.txt").string()};
  ASSERT_TRUE(SevenZipExtract(Library(), Sample("mx3.7z"), "", out.path().string(), false, true, error, &entries))
      << error;
  auto got = test::Snapshot(out.path());
  EXPECT_EQ(got.size(), 2u);
  EXPECT_EQ(got["file.txt"], "deep content\n");
}

TEST(BuiltInCallbacks, PasswordIsHandedOverOnceAndEmptyMeansNone) {
  char buffer[vok::kPasswordBufferSize];
  StoreBuiltInPassword("");
  EXPECT_EQ(BuiltInPasswordCallback(buffer), 0);
  StoreBuiltInPassword("sesame");
  ASSERT_EQ(BuiltInPasswordCallback(buffer), 1);
  EXPECT_STREQ(buffer, "sesame");
  EXPECT_EQ(BuiltInPasswordCallback(buffer), 0);
  StoreBuiltInPassword(std::string(5000, 'x'));  // never more than the library's buffer
  ASSERT_EQ(BuiltInPasswordCallback(buffer), 1);
  EXPECT_EQ(std::strlen(buffer), vok::kPasswordBufferSize - 1);

  StoreBuiltInAnswerAll(true);
  EXPECT_EQ(BuiltInOverwriteCallback(nullptr, 0, 0, 0, 0, nullptr, 0, 0, 0, 0), 4);
  StoreBuiltInAnswerAll(false);
  EXPECT_EQ(BuiltInOverwriteCallback(nullptr, 0, 0, 0, 0, nullptr, 0, 0, 0, 0), 1);
  EXPECT_EQ(BuiltInProgressCallback("x", 1, 0, 2, 0), 1);
  EXPECT_EQ(BuiltInSecondCallback("x", 0), 1);
}

TEST(ExtractProgress, PercentIsOneAheadButStopsAtOneHundred) {
  struct Case {
    uint64_t done, total;
    int percent;
  } cases[] = {{0, 200, 1}, {1, 200, 1}, {100, 200, 51}, {198, 200, 100}, {199, 200, 100}, {200, 200, 100},
               {0, 0, 100}, {uint64_t{1} << 62, uint64_t{1} << 63, 50}, {UINT64_MAX, UINT64_MAX, 100}};
  for (const auto& c : cases) EXPECT_EQ(ExtractPercent(c.done, c.total), c.percent) << c.done << "/" << c.total;
  EXPECT_EQ(ExtractProgressText("deep\\a\\file.txt", 42, "% complete"), "file.txt, 42% complete");
  EXPECT_EQ(ExtractProgressText("top.txt", 100, "% complete"), "top.txt, 100% complete");
}

}  // namespace
}  // namespace korvane::media
