// The builder's setup folder: every file in place, the support archive readable by the archive
// library with the support folder's tree, the language file after vok.lib's image.

#include "tools/setup_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "archive/archive_operations.h"
#include "fake_stub.h"

namespace korvane::builder {
namespace {

namespace fs = std::filesystem;

class SetupFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("korvane-setup-folder-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "support" / "forms");
    fs::create_directories(dir_ / "media" / "sub");
    Write("stub.exe", FakeStub(0x800));
    Write("vok.dll", "library image");
    Write("lang.txt", "language file");
    Write("product.msi", "database");
    Write("support/forms/welcome.dfm", "form");
    Write("support/license.txt", "licence");
    Write("media/sub/file.txt", "media");
    in_.name = "Demo";
    in_.package = "package text";
    in_.stub = dir_ / "stub.exe";
    in_.archiveLibrary = dir_ / "vok.dll";
    in_.output = dir_ / "out";
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path dir_;
  SetupFolderInputs in_;
};

TEST_F(SetupFolderTest, WritesEveryFileOfTheSetup) {
  in_.support = dir_ / "support";
  in_.installerDatabase = dir_ / "product.msi";
  in_.data = dir_ / "media";
  in_.languageFile = dir_ / "lang.txt";
  auto written = WriteSetupFolder(in_);
  ASSERT_TRUE(written.ok()) << written.error();
  const fs::path out = dir_ / "out";
  EXPECT_EQ(Read(out / "Demo.exe"), FakeStub(0x800) + "package text");
  EXPECT_EQ(Read(out / "vok.lib"), "library imagelanguage file");
  EXPECT_EQ(Read(out / "Demo.msi"), "database");
  EXPECT_EQ(Read(out / "data" / "sub" / "file.txt"), "media");
  EXPECT_FALSE(fs::exists(out / "Demo.msp"));

  std::vector<std::string> names;
  for (const auto& entry : archive::ListArchive(out / "Demo.res", {})) {
    std::string name = entry.name;
    std::replace(name.begin(), name.end(), '\\', '/');
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"forms", "forms/welcome.dfm", "license.txt"}));
}

TEST_F(SetupFolderTest, WithoutSupportFilesTheArchiveIsEmptyAndAMissingFolderIsAnError) {
  auto written = WriteSetupFolder(in_);
  ASSERT_TRUE(written.ok()) << written.error();
  EXPECT_TRUE(fs::exists(dir_ / "out" / "Demo.res"));
  EXPECT_TRUE(fs::is_directory(dir_ / "out" / "data"));

  in_.support = dir_ / "no-such-folder";
  in_.output = dir_ / "out2";
  auto failed = WriteSetupFolder(in_);
  ASSERT_FALSE(failed.ok());
  EXPECT_NE(failed.error().find("no-such-folder"), std::string::npos) << failed.error();
  EXPECT_FALSE(fs::exists(dir_ / "out2" / "Demo.res"));
}

}  // namespace
}  // namespace korvane::builder
