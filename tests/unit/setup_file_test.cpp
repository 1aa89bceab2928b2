#include "tools/setup_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "bootstrap/package_dump.h"
#include "bootstrap/package_reader.h"
#include "fake_stub.h"
#include "package_text.h"

namespace korvane::builder {
namespace {

namespace fs = std::filesystem;

class SetupFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("korvane-setup-file-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return dir_ / name;
  }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  size_t FilesInDir() const { return std::distance(fs::directory_iterator(dir_), fs::directory_iterator()); }
  fs::path dir_;
};

TEST_F(SetupFile, AppendsThePackageAtTheImageEndAndReadsItBack) {
  const std::string package = korvane::testing::PackageText{}.Render();
  // The stub already carries an old package: it is cut off first.
  const fs::path stub = Write("stub.exe", FakeStub(0x800, "old package\r\n$\r\n"));
  auto layout = WriteSetup(stub, package, dir_ / "setup.exe");
  ASSERT_TRUE(layout.ok()) << layout.error();
  EXPECT_EQ(layout->stubSize, 0x800u);
  EXPECT_EQ(layout->packageSize, package.size());
  EXPECT_EQ(Read(dir_ / "setup.exe"), FakeStub(0x800) + package);

  auto tables = ReadSetupPackage(dir_ / "setup.exe");
  ASSERT_TRUE(tables.ok()) << tables.error();
  EXPECT_EQ(DumpPackage(*tables), DumpPackage(ParsePackage(package).value()));

  // Building over the output again (stub and output the same file) works too.
  ASSERT_TRUE(WriteSetup(dir_ / "setup.exe", package, dir_ / "setup.exe").ok());
  EXPECT_EQ(Read(dir_ / "setup.exe"), FakeStub(0x800) + package);
  EXPECT_EQ(FilesInDir(), 2u);  // stub.exe and setup.exe, no temporary left over
}

TEST_F(SetupFile, FailuresLeaveTheOutputAsItWas) {
  const fs::path output = Write("setup.exe", "previous build");
  // A stub cut short before the end of its sections.
  const fs::path shortStub = Write("short.exe", FakeStub(0x800).substr(0, 0x700));
  auto cut = WriteSetup(shortStub, "package", output);
  ASSERT_FALSE(cut.ok());
  EXPECT_NE(cut.error().find("cut short"), std::string::npos) << cut.error();
  // Not an executable at all.
  auto text = WriteSetup(Write("text.exe", "hello"), "package", output);
  ASSERT_FALSE(text.ok());
  EXPECT_NE(text.error().find("no MZ header"), std::string::npos) << text.error();
  EXPECT_EQ(Read(output), "previous build");
  EXPECT_EQ(FilesInDir(), 3u);

  // An output folder that does not exist.
  auto nowhere = WriteSetup(Write("stub.exe", FakeStub(0x800)), "package", dir_ / "missing" / "setup.exe");
  ASSERT_FALSE(nowhere.ok());
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

TEST_F(SetupFile, ReadingASetupWithoutPackageOrWithADamagedOneFails) {
  auto bare = ReadSetupPackage(Write("bare.exe", FakeStub(0x800)));
  ASSERT_FALSE(bare.ok());
  EXPECT_NE(bare.error().find("carries no script package"), std::string::npos) << bare.error();
  auto damaged = ReadSetupPackage(Write("damaged.exe", FakeStub(0x800, "Set Variable\r\n$\r\n")));
  ASSERT_FALSE(damaged.ok());
  EXPECT_NE(damaged.error().find("is damaged"), std::string::npos) << damaged.error();
}

}  // namespace
}  // namespace korvane::builder
