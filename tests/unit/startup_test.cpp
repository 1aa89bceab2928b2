#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#include <vector>

#include "bootstrap/support_directory.h"
#include "bootstrap/timing_log.h"
#include "bootstrap/window_placement.h"

namespace korvane {
namespace {

TEST(WindowPlacement, PreparingWindowFollowsTheSplashWithinTheScreen) {
  // 369 x 89 client area; the frame adds a little, here 375 x 118 in all.
  const WindowRect middle = PlacePreparingWindow({100, 100, 400, 300}, 375, 118, 1024, 768);
  EXPECT_EQ(middle.left, 100 + 200 + 50);
  EXPECT_EQ(middle.top, 100 + 300 + 25);
  // A splash near the bottom right of a small screen pulls the window back.
  const WindowRect corner = PlacePreparingWindow({500, 400, 301, 201}, 375, 118, 800, 600);
  EXPECT_EQ(corner.top, 600 - 118 - 45);
  EXPECT_EQ(corner.left, 800 - 375 - 25);
  const WindowRect centred = CentreOnScreen(375, 118, 800, 600);
  EXPECT_EQ(centred.left, 212);
  EXPECT_EQ(centred.top, 241);
}

TEST(TimingLog, FirstEntryEmptiesTheFileAndTheInterpreterCanRedirectOrStopIt) {
  std::vector<std::string> writes;
  TimingLog log([&](std::string_view path, std::string_view line, bool truncate) {
    writes.push_back(std::string(path) + "|" + std::string(line) + (truncate ? "|new" : ""));
  });
  log.Write("before a path is known");  // no log: nothing, and the file is not yet emptied
  log.SetPath("C:\\Logs\\Setup.LOG");
  log.Write("<Korvane>");
  log.Write("  <SetupSplash>");
  log.SetPath("D:\\Other.txt");  // LOGGED copied back by the interpreter
  log.Write("    <vrax>");
  log.SetPath("");  // LOGGED emptied: the log stops
  log.Write("    </vrax>");
  EXPECT_EQ(writes, (std::vector<std::string>{"c:\\logs\\setup.log|<Korvane>|new",
                                              "c:\\logs\\setup.log|  <SetupSplash>", "d:\\other.txt|    <vrax>"}));
}

class SupportDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp_ = std::filesystem::temp_directory_path() /
            ("korvane-support-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(temp_);
    std::filesystem::create_directories(temp_);
  }
  void TearDown() override { std::filesystem::remove_all(temp_); }
  std::filesystem::path temp_;
};

TEST_F(SupportDirectoryTest, TakesTheFirstFreeNumber) {
  std::filesystem::create_directories(temp_ / "vok1");
  std::filesystem::create_directories(temp_ / "vok2");
  auto dir = CreateSupportDirectory(temp_);
  ASSERT_TRUE(dir.ok()) << dir.error();
  EXPECT_EQ(dir->filename(), "vok3");
  EXPECT_TRUE(std::filesystem::is_directory(*dir));
}

TEST_F(SupportDirectoryTest, AFileOfTheNameCountsAsTaken) {
  std::ofstream(temp_ / "vok1") << "not a folder";
  auto dir = CreateSupportDirectory(temp_);
  ASSERT_TRUE(dir.ok()) << dir.error();
  EXPECT_EQ(dir->filename(), "vok2");
}

TEST_F(SupportDirectoryTest, SetupsStartedTogetherNeverShareAFolder) {
  std::vector<std::filesystem::path> made[2];
  std::thread a([&] {
    for (int i = 0; i < 40; ++i) made[0].push_back(CreateSupportDirectory(temp_).value());
  });
  std::thread b([&] {
    for (int i = 0; i < 40; ++i) made[1].push_back(CreateSupportDirectory(temp_).value());
  });
  a.join();
  b.join();
  std::set<std::filesystem::path> distinct(made[0].begin(), made[0].end());
  distinct.insert(made[1].begin(), made[1].end());
  EXPECT_EQ(distinct.size(), 80u);
}

TEST_F(SupportDirectoryTest, RemovalTakesReadOnlyFilesAndNestedFolders) {
  auto dir = CreateSupportDirectory(temp_);
  ASSERT_TRUE(dir.ok());
  std::filesystem::create_directories(*dir / "a" / "b");
  std::ofstream(*dir / "a" / "b" / "file.txt") << "x";
  std::ofstream(*dir / "readonly.txt") << "y";
  std::filesystem::permissions(*dir / "readonly.txt", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  RemoveSupportDirectory(*dir);
  EXPECT_FALSE(std::filesystem::exists(*dir));
  RemoveSupportDirectory(*dir);  // a second removal of a gone folder is harmless
}

}  // namespace
}  // namespace korvane
