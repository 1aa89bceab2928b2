// Listing and extraction of the archives 7zz made of the sample tree, through the library's
// exports: every level, solid and not, every coder, encrypted data and headers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "archive/entry_path.h"

#include "archive/vok_exports.h"
#include "archive_test_support.h"

namespace korvane {
namespace {

using test::fs::path;

std::string Native(const std::string& generic) {
#ifdef _WIN32
  std::string native = generic;
  std::replace(native.begin(), native.end(), '/', '\\');
  return native;
#else
  return generic;
#endif
}

std::string PathText(const path& p) { return p.string(); }

struct Listing {
  std::vector<std::string> names;
  std::vector<vok::ListEntry> records;
};

Listing List(const std::string& archive, const std::string& password, uint32_t* error = nullptr) {
  vok::ListEntry* entries = nullptr;
  int32_t count = 0;
  vok::ListHandle handle = OpenListArchive(archive.c_str(), 0, nullptr, 0, 0, 0, password.c_str(), &entries, &count);
  Listing listing;
  if (error) *error = handle ? 0 : GetLastArchiveError();
  if (!handle) return listing;
  for (int32_t i = 0; i < count; ++i) {
    listing.names.emplace_back(entries[i].name);
    listing.records.push_back(entries[i]);
  }
  EXPECT_EQ(CloseListArchive(handle), 1);
  return listing;
}

class SampleArchives : public ::testing::TestWithParam<test::Sample> {};

TEST_P(SampleArchives, AreListedAndExtractedByteForByte) {
  const test::Sample& sample = GetParam();
  std::string archive = PathText(test::SamplesFolder() / sample.archive);
  auto tree = test::Snapshot(test::SamplesFolder() / "tree");

  uint32_t error = 0;
  Listing listing = List(archive, sample.password, &error);
  ASSERT_EQ(error, 0u);
  std::set<std::string> listed(listing.names.begin(), listing.names.end());
  std::set<std::string> expected;
  for (const auto& item : test::fs::recursive_directory_iterator(test::SamplesFolder() / "tree"))
    expected.insert(archive::ListedName(test::fs::relative(item.path(), test::SamplesFolder() / "tree").generic_u16string()));
  EXPECT_EQ(listed, expected);

  test::ScratchFolder out("extract-" + sample.archive);
  int32_t ok = ExtractArchive(archive.c_str(), 1, PathText(out.path()).c_str(), nullptr, 0, sample.password.c_str(),
                              nullptr, nullptr, nullptr, nullptr);
  if (!sample.supported) {
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(GetLastArchiveError(), vok::kUnsupportedOrWrongPassword);
    return;
  }
  ASSERT_EQ(ok, 1) << "error " << GetLastArchiveError();
  EXPECT_EQ(test::Snapshot(out.path()), tree);
}

INSTANTIATE_TEST_SUITE_P(Made7zz, SampleArchives, ::testing::ValuesIn(test::ReadSamples()),
                         [](const auto& info) {
                           std::string name = info.param.archive.substr(0, info.param.archive.find('.'));
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

std::string SampleText(const char* name) { return PathText(test::SamplesFolder() / name); }

TEST(ArchiveListing, RecordsCarrySizesAttributesAndTimes) {
  Listing listing = List(SampleText("nonsolid.7z"), "");
  auto find = [&](const std::string& name) -> const vok::ListEntry& {
    auto it = std::find(listing.names.begin(), listing.names.end(), Native(name));
    EXPECT_NE(it, listing.names.end()) << name;
    return listing.records[static_cast<size_t>(it - listing.names.begin())];
  };
  const auto& dated = find("dated.txt");
  EXPECT_EQ(dated.size, 6u);
  EXPECT_EQ(dated.modified, 132224078450000000ull);  // 2020-01-02 03:04:05 UTC
  EXPECT_TRUE(dated.flags & vok::kEntryHasCrc);
  EXPECT_GT(dated.packed_size, 0u);  // each entry has a block of its own in a non-solid archive
  EXPECT_TRUE(find("readonly.txt").attributes & 0x1);
  EXPECT_TRUE(find("empty folder").flags & vok::kEntryIsFolder);
  EXPECT_TRUE(find("empty folder").attributes & 0x10);
  EXPECT_EQ(find("empty.txt").size, 0u);
  EXPECT_FALSE(find("empty.txt").flags & vok::kEntryIsFolder);
}

TEST(ArchiveExtraction, AppliesTimesAndReadOnlyAttribute) {
  test::ScratchFolder out("stamps");
  ASSERT_EQ(ExtractArchive(SampleText("mx5.7z").c_str(), 1, PathText(out.path()).c_str(), nullptr, 0, "", nullptr,
                           nullptr, nullptr, nullptr),
            1);
  auto time = test::fs::last_write_time(out.path() / "dated.txt");
  auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::file_clock::to_sys(time).time_since_epoch()).count();
  EXPECT_EQ(seconds, 1577934245);  // 2020-01-02 03:04:05 UTC
  auto perms = test::fs::status(out.path() / "readonly.txt").permissions();
  EXPECT_EQ(perms & test::fs::perms::owner_write, test::fs::perms::none);
}

TEST(ArchiveExtraction, ExtractsOnlyTheRequestedEntriesAndFlattensInMode1) {
  test::ScratchFolder out("chosen");
  std::string deep = Native("deep/a/b/c/file.txt");
  std::string text = "text.txt";
  char* names[] = {deep.data(), text.data()};
  vok::TargetFiles targets{names, 2};
  ASSERT_EQ(ExtractArchive(SampleText("solid.7z").c_str(), 1, PathText(out.path()).c_str(), &targets, 1, "", nullptr,
                           nullptr, nullptr, nullptr),
            1);
  auto got = test::Snapshot(out.path());
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got["file.txt"], "deep content\n");
  EXPECT_EQ(got["text.txt"], test::ReadWholeFile(test::SamplesFolder() / "tree" / "text.txt"));

  std::string missing = "no such entry";
  char* missing_names[] = {missing.data()};
  vok::TargetFiles missing_targets{missing_names, 1};
  EXPECT_EQ(ExtractArchive(SampleText("solid.7z").c_str(), 1, PathText(out.path()).c_str(), &missing_targets, 0, "",
                           nullptr, nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(GetLastArchiveError(), vok::kEntryNotFound);
}

// Callbacks with observable state for the cases below.
uint64_t last_done = 0, last_total = 0;
int progress_calls = 0;
int stop_after_calls = -1;
int32_t VOK_CALL RecordProgress(const char*, uint32_t done_low, uint32_t done_high, uint32_t total_low,
                                uint32_t total_high) {
  last_done = (uint64_t{done_high} << 32) | done_low;
  last_total = (uint64_t{total_high} << 32) | total_low;
  ++progress_calls;
  return stop_after_calls < 0 || progress_calls < stop_after_calls ? 1 : 0;
}

int password_requests = 0;
int32_t VOK_CALL GivePassword(char* buffer) {
  ++password_requests;
  std::memcpy(buffer, "sesame", 7);
  return 1;
}

int32_t overwrite_answer = vok::kOverwrite;
int overwrite_questions = 0;
int32_t VOK_CALL AnswerOverwrite(const char*, uint32_t, uint32_t, uint32_t, uint32_t, const char*, uint32_t, uint32_t,
                                 uint32_t, uint32_t) {
  ++overwrite_questions;
  return overwrite_answer;
}

TEST(ArchiveExtraction, ReportsProgressUpToTheTotalAndStopsWhenTold) {
  test::ScratchFolder out("progress");
  progress_calls = 0;
  stop_after_calls = -1;
  ASSERT_EQ(ExtractArchive(SampleText("lzma2.7z").c_str(), 1, PathText(out.path()).c_str(), nullptr, 0, "", nullptr,
                           RecordProgress, nullptr, nullptr),
            1);
  EXPECT_GT(progress_calls, 3);
  EXPECT_EQ(last_done, last_total);
  EXPECT_GT(last_total, 3'000'000u);

  // Stopping inside the big file leaves neither it nor a partial file behind.
  test::ScratchFolder stopped("stopped");
  progress_calls = 0;
  stop_after_calls = 4;
  EXPECT_EQ(ExtractArchive(SampleText("copy.7z").c_str(), 1, PathText(stopped.path()).c_str(), nullptr, 0, "",
                           nullptr, RecordProgress, nullptr, nullptr),
            0);
  EXPECT_EQ(GetLastArchiveError(), vok::kCancelled);
  stop_after_calls = -1;
  auto tree = test::Snapshot(test::SamplesFolder() / "tree");
  for (const auto& [name, content] : test::Snapshot(stopped.path())) {
    EXPECT_EQ(name.find("partial"), std::string::npos) << name;
    ASSERT_TRUE(tree.count(name)) << name;
    EXPECT_EQ(content, tree[name]) << name << " was left half-written";
  }
}

TEST(ArchiveExtraction, AsksForThePasswordOnceAndOnlyWhenNeeded) {
  test::ScratchFolder out("password");
  password_requests = 0;
  ASSERT_EQ(ExtractArchive(SampleText("encrypted-nonsolid.7z").c_str(), 1, PathText(out.path()).c_str(), nullptr, 0,
                           "", GivePassword, nullptr, nullptr, nullptr),
            1);
  EXPECT_EQ(password_requests, 1);  // many encrypted blocks, one question
  EXPECT_EQ(test::Snapshot(out.path()), test::Snapshot(test::SamplesFolder() / "tree"));

  password_requests = 0;
  test::ScratchFolder plain("no-password");
  ASSERT_EQ(ExtractArchive(SampleText("mx1.7z").c_str(), 1, PathText(plain.path()).c_str(), nullptr, 0, "",
                           GivePassword, nullptr, nullptr, nullptr),
            1);
  EXPECT_EQ(password_requests, 0);

  for (const char* archive : {"encrypted.7z", "encrypted-header.7z"}) {
    test::ScratchFolder wrong("wrong-password");
    EXPECT_EQ(ExtractArchive(SampleText(archive).c_str(), 1, PathText(wrong.path()).c_str(), nullptr, 0, "wrong",
                             nullptr, nullptr, nullptr, nullptr),
              0);
    EXPECT_EQ(GetLastArchiveError(), vok::kUnsupportedOrWrongPassword) << archive;
    EXPECT_EQ(ExtractArchive(SampleText(archive).c_str(), 1, PathText(wrong.path()).c_str(), nullptr, 0, "", nullptr,
                             nullptr, nullptr, nullptr),
              0);
    EXPECT_EQ(GetLastArchiveError(), vok::kUnsupportedOrWrongPassword) << archive;
  }
  uint32_t error = 0;
  List(SampleText("encrypted-header.7z"), "", &error);
  EXPECT_EQ(error, vok::kUnsupportedOrWrongPassword);
}

TEST(ArchiveExtraction, OverwriteAnswersKeepOrReplaceExistingFiles) {
  test::ScratchFolder out("overwrite");
  test::WriteWholeFile(out.path() / "text.txt", "old");
  test::WriteWholeFile(out.path() / "dated.txt", "old");
  std::string archive = SampleText("mx1.7z");
  std::string tree_text = test::ReadWholeFile(test::SamplesFolder() / "tree" / "text.txt");

  overwrite_answer = vok::kKeepAll;
  overwrite_questions = 0;
  ASSERT_EQ(ExtractArchive(archive.c_str(), 1, PathText(out.path()).c_str(), nullptr, 0, "", nullptr, nullptr,
                           nullptr, AnswerOverwrite),
            1);
  EXPECT_EQ(overwrite_questions, 1);
  EXPECT_EQ(test::ReadWholeFile(out.path() / "text.txt"), "old");
  EXPECT_EQ(test::ReadWholeFile(out.path() / "dated.txt"), "old");

  overwrite_answer = vok::kOverwriteAll;
  overwrite_questions = 0;
  ASSERT_EQ(ExtractArchive(archive.c_str(), 1, PathText(out.path()).c_str(), nullptr, 0, "", nullptr, nullptr,
                           nullptr, AnswerOverwrite),
            1);
  EXPECT_EQ(overwrite_questions, 1);  // the read-only file from the last run is replaced too
  EXPECT_EQ(test::ReadWholeFile(out.path() / "text.txt"), tree_text);

  overwrite_answer = 0;
  EXPECT_EQ(ExtractArchive(archive.c_str(), 1, PathText(out.path()).c_str(), nullptr, 0, "", nullptr, nullptr,
                           nullptr, AnswerOverwrite),
            0);
  EXPECT_EQ(GetLastArchiveError(), vok::kCancelled);
}

TEST(ArchiveExtraction, MissingArchiveAndBadArguments) {
  test::ScratchFolder out("missing");
  EXPECT_EQ(ExtractArchive(PathText(out.path() / "none.7z").c_str(), 1, PathText(out.path()).c_str(), nullptr, 0, "",
                           nullptr, nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(GetLastArchiveError(), vok::kArchiveNotFound);
  EXPECT_EQ(ExtractArchive(nullptr, 1, nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastArchiveError(), vok::kBadArguments);
  int dummy = 0;
  EXPECT_EQ(CloseListArchive(&dummy), 0);
}

}  // namespace
}  // namespace korvane
