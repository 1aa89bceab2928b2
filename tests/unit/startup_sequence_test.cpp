// The start-up and shutdown sequence over a fake system: exit codes, the timing log, the
// support directory, the language file and the start-up windows. The support archive is one
// of the 7zz-made samples, extracted by the archive library built for this platform.

#include "bootstrap/startup_sequence.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "archive_test_support.h"
#include "bootstrap/exit_codes.h"
#include "bootstrap/package_writer.h"
#include "support/text.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

constexpr uint64_t kStubSize = 64;

// A package with two dialogs (one more switched off) and a title, as the builder writes it.
std::string PackageText() {
  PackageTables t;
  t.statementNames = {"Display Dialog", "Set Variable", "Display Dialog", "Display Dialog"};
  t.statementKeys = {"{K1}", "{K2}", "{K3}", "{K4}"};
  t.parameters = {"{K1}", "welcome", "{K2}", "A", "1", "{K3}", "folder", "{K4}", "finish"};
  t.statementFlags = {"", "", "C", ""};
  t.statementWebBlocks = {"", "", "", ""};
  t.sourcePositions = {"a*1", "a*2", "a*3", "a*4"};
  t.productCode = "{PRODUCT}";
  t.productTitle = "Demo Product";
  t.revisionCode = "{REVISION}";
  t.productVersion = "1.0";
  auto text = WritePackage(t);
  EXPECT_TRUE(text.ok()) << text.error();
  return text.ok() ? *text : std::string();
}

class FakeWindows final : public platform::StartupWindows {
 public:
  explicit FakeWindows(std::vector<std::string>& events) : events_(events) {}
  void SetProgress(int minimum, int maximum, int position) override {
    events_.push_back("progress " + std::to_string(minimum) + ".." + std::to_string(maximum) + " at " +
                      std::to_string(position));
  }
  void Step() override { events_.push_back("step"); }
  platform::WindowHandle Owner() const override { return const_cast<FakeWindows*>(this); }
  void Close() override { events_.push_back("close"); }

 private:
  std::vector<std::string>& events_;
};

class FakeSystem final : public platform::StartupServices {
 public:
  platform::WindowsVersion version{6, 1};
  fs::path program, temp;
  std::string commandLine;
  std::optional<uint64_t> libraryImageEnd;
  int userLanguage = 1033;
  std::map<std::string, std::string> registry;
  bool restricted = false;
  std::vector<std::string> messages;  // caption | text
  std::vector<std::string> windowEvents;
  std::vector<std::pair<std::string, bool>> logLines;  // line, truncate
  std::string logPath;
  std::string marker;

  platform::WindowsVersion Version() override { return version; }
  Status WriteRegistryText(platform::RegistryRoot, const std::string& key, const std::string& name,
                           const std::string& value) override {
    registry[key + "|" + name] = value;
    return Ok();
  }
  Status WriteRegistryNumber(platform::RegistryRoot, const std::string& key, const std::string& name,
                             uint32_t value) override {
    registry[key + "|" + name] = std::to_string(value);
    return Ok();
  }
  void RestrictToFirstProcessor() override { restricted = true; }
  fs::path ProgramPath() override { return program; }
  fs::path TempFolder() override { return temp; }
  std::string RawCommandLine() override { return commandLine; }
  Result<uint64_t> RunningImageEnd() override { return kStubSize; }
  Result<uint64_t> LibraryImageEnd(const fs::path&) override {
    if (!libraryImageEnd) return Error{"not a module"};
    return *libraryImageEnd;
  }
  int UserLanguageId(platform::LocaleValue) override { return userLanguage; }
  std::string EnglishLanguageName(int) override { return ""; }
  void ShowError(std::string_view caption, std::string_view text, platform::WindowHandle) override {
    messages.push_back(std::string(caption) + " | " + std::string(text));
  }
  std::unique_ptr<platform::StartupWindows> ShowStartupWindows(const fs::path& splash, const std::string& caption,
                                                               const std::string& text) override {
    windowEvents.push_back("show " + caption + " | " + text + (fs::exists(splash) ? " over the splash" : ""));
    return std::make_unique<FakeWindows>(windowEvents);
  }
  Status AppendLogLine(std::string_view path, std::string_view text, bool truncate) override {
    logPath = std::string(path);
    logLines.emplace_back(std::string(text), truncate);
    return Ok();
  }
  std::string EnvironmentValue(const char*) override { return marker; }

  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    for (const auto& [line, truncate] : logLines) lines.push_back(line);
    return lines;
  }
};

class StartupSequenceTest : public ::testing::Test {
 public:  // the failure table's steps reach into the fixture
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("korvane-startup-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    system_ = FakeSystem();
    seen_ = Seen();
    folder_ = root_ / "setup";
    fs::create_directories(folder_);
    fs::create_directories(root_ / "temp");
    system_.program = folder_ / "Demo.exe";
    system_.temp = root_ / "temp";
    system_.commandLine = "\"" + system_.program.string() + "\" /s";
    WriteSetup(PackageText());
    fs::copy_file(KORVANE_VOK_LIBRARY, folder_ / "vok.lib");
    fs::copy_file(test::SamplesFolder() / "mx5.7z", folder_ / "Demo.res");
    std::ofstream(folder_ / "Demo.msi") << "database";
  }
  void TearDown() override { fs::remove_all(root_); }

  void WriteSetup(const std::string& package) {
    std::ofstream(system_.program, std::ios::binary) << std::string(kStubSize, 'S') << package;
  }

  int Run() {
    steps_.runEngine = [this](StartupContext& context) {
      seen_.supportDirectory = context.supportDirectory;
      seen_.extracted = fs::exists(context.supportDirectory / "deep" / "a" / "b" / "c" / "file.txt");
      seen_.database = fs::exists(context.InstallerDatabaseInSupport());
      seen_.title = context.tables.productTitle;
      seen_.dialogs = context.dialogCount;
      return engineExit_;
    };
    steps_.preloadDialog = [this](StartupContext&, size_t index) { seen_.preloaded.push_back(index); };
    return RunStartupSequence(system_, steps_);
  }

  std::vector<fs::path> TempEntries() const {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(system_.temp)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  struct Seen {
    fs::path supportDirectory;
    bool extracted = false, database = false;
    std::string title;
    size_t dialogs = 0;
    std::vector<size_t> preloaded;
  };

  fs::path root_, folder_;
  FakeSystem system_;
  StartupSteps steps_;
  Seen seen_;
  int engineExit_ = 0;
};

TEST_F(StartupSequenceTest, GoodSetupRunsTheEngineAndCleansUp) {
  system_.commandLine += " /L=" + (root_ / "Mixed.LOG").string();
  engineExit_ = 1641;
  EXPECT_EQ(Run(), 1641);
  EXPECT_EQ(seen_.supportDirectory, system_.temp / "vok1");
  EXPECT_TRUE(seen_.extracted);
  EXPECT_TRUE(seen_.database);
  EXPECT_EQ(seen_.title, "Demo Product");
  EXPECT_EQ(seen_.dialogs, 2u);
  EXPECT_THAT(seen_.preloaded, ElementsAre(0u, 3u));
  EXPECT_TRUE(TempEntries().empty()) << "the package copy and the support directory are gone";
  EXPECT_TRUE(system_.messages.empty());
  EXPECT_TRUE(system_.windowEvents.empty()) << "a silent run shows no window";
  EXPECT_TRUE(system_.restricted);
  EXPECT_EQ(system_.registry.count("Applications\\Demo.exe|IsHostApp"), 1u);

  EXPECT_EQ(system_.logPath, LowerCase((root_ / "Mixed.LOG").string()));
  EXPECT_THAT(system_.Log(),
              ElementsAre("<Korvane>", "  <SetupSplash>", "    <StubSize>", "    </StubSize>", "    <StubData>",
                          "    </StubData>", "    <GlobalLists>", "    </GlobalLists>", "    <SupportDir>",
                          "    </SupportDir>", "    <ExtractArchive>", "    </ExtractArchive>", "    <ExtractResource>",
                          "    </ExtractResource>", "    <ResourcePath>", "    </ResourcePath>", "    <Dialogs>",
                          "    </Dialogs>", "  </SetupSplash>", "  <RunScript>", "  </RunScript>", "  <Free>",
                          "  </Free>", "  <CachedSupportDir>", "  </CachedSupportDir>", "</Korvane>"));
  ASSERT_FALSE(system_.logLines.empty());
  EXPECT_TRUE(system_.logLines.front().second) << "the first entry empties the file";
  for (size_t i = 1; i < system_.logLines.size(); ++i) EXPECT_FALSE(system_.logLines[i].second);
}

TEST_F(StartupSequenceTest, FailuresEndWithTheirCodeAndLeaveNoSupportDirectory) {
  struct Case {
    const char* what;
    std::function<void(StartupSequenceTest&)> damage;
    int exitCode;
    const char* lastEntry;
  };
  const std::vector<Case> cases = {
      {"no package", [](StartupSequenceTest& t) { t.WriteSetup(""); }, exit_code::kNoPackage, "    <StubSize>"},
      {"damaged package", [](StartupSequenceTest& t) { t.WriteSetup(PackageText().substr(0, 60)); },
       exit_code::kDamagedPackage, "    <GlobalLists>"},
      {"no support archive", [](StartupSequenceTest& t) { fs::remove(t.folder_ / "Demo.res"); },
       exit_code::kNoSupportArchive, "    <ExtractArchive>"},
      {"corrupt support archive",
       [](StartupSequenceTest& t) { std::ofstream(t.folder_ / "Demo.res", std::ios::binary) << "7z\xBC\xAF garbage"; },
       exit_code::kSupportArchiveFailed, "    <ExtractArchive>"},
      {"no archive library", [](StartupSequenceTest& t) { fs::remove(t.folder_ / "vok.lib"); },
       exit_code::kSupportArchiveFailed, "    <ExtractArchive>"},
      {"no installer database", [](StartupSequenceTest& t) { fs::remove(t.folder_ / "Demo.msi"); },
       exit_code::kNoInstallerDatabase, "    <ExtractResource>"},
      {"temporary folder unusable",
       [](StartupSequenceTest& t) {
         fs::remove_all(t.system_.temp);
         std::ofstream(t.root_ / "temp-file") << "not a folder";
         t.system_.temp = t.root_ / "temp-file" / "sub";
       },
       exit_code::kTempFolderUnusable, "    <StubData>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    system_.commandLine += " /l=" + (root_ / "log.txt").string();
    c.damage(*this);
    EXPECT_EQ(Run(), c.exitCode);
    EXPECT_TRUE(seen_.supportDirectory.empty()) << "the engine never ran";
    ASSERT_FALSE(system_.logLines.empty());
    EXPECT_EQ(system_.Log().back(), c.lastEntry) << "the log shows where the run stopped";
    EXPECT_TRUE(system_.messages.empty()) << "silent runs show nothing";
    if (fs::is_directory(system_.temp)) {
      EXPECT_TRUE(TempEntries().empty());
    }
    TearDown();
  }
}

TEST_F(StartupSequenceTest, MessagesComeFromTheLanguageTableOverThePreparingWindow) {
  system_.commandLine = "Demo.exe";  // not silent
  fs::remove(folder_ / "Demo.msi");
  EXPECT_EQ(Run(), exit_code::kNoInstallerDatabase);
  ASSERT_EQ(system_.messages.size(), 1u);
  EXPECT_THAT(system_.messages[0], ::testing::StartsWith("Korvane Wizard | Setup database not found\r\n\r\n"));
  EXPECT_THAT(system_.windowEvents,
              ElementsAre("show Korvane Wizard | Korvane is preparing the Korvane Wizard which will install this "
                          "application. Please wait.",
                          "close"));

  SetUp();
  system_.commandLine = "Demo.exe";
  WriteSetup("");
  EXPECT_EQ(Run(), exit_code::kNoPackage);
  EXPECT_THAT(system_.messages, ElementsAre("Korvane Wizard | For internal use only"));
}

TEST_F(StartupSequenceTest, WindowsShowTheDialogCountUnlessSilentOrUpdate) {
  system_.commandLine = "Demo.exe";
  std::ofstream(folder_ / "setup.bmp") << "BM";
  EXPECT_EQ(Run(), 0);
  EXPECT_THAT(system_.windowEvents,
              ElementsAre(::testing::EndsWith("over the splash"), "progress 0..2 at 1", "step", "step", "close"));

  SetUp();
  system_.commandLine = "Demo.exe -UpdateSetup";
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(system_.windowEvents.empty());
}

TEST_F(StartupSequenceTest, TakesTheFirstFreeSupportDirectory) {
  fs::create_directories(system_.temp / "vok1");
  fs::create_directories(system_.temp / "vok2");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(seen_.supportDirectory, system_.temp / "vok3");
  EXPECT_THAT(TempEntries(), ElementsAre("vok1", "vok2"));
}

TEST_F(StartupSequenceTest, LanguageFileAfterTheLibraryImageReplacesTheTexts) {
  // Base block, then French and German blocks; entry 4 is the missing-database message.
  auto block = [](const std::string& fourth) {
    std::string text;
    for (int i = 1; i <= 115; ++i) text += (i == 4 ? fourth : "line " + std::to_string(i)) + "\r\n";
    return text;
  };
  const uint64_t imageEnd = fs::file_size(folder_ / "vok.lib");
  std::ofstream(folder_ / "vok.lib", std::ios::binary | std::ios::app)
      << block("base") << "French\r\n"
      << block("Base de données introuvable") << "German\r\n"
      << block("Datenbank nicht gefunden");
  system_.libraryImageEnd = imageEnd;
  system_.commandLine = "Demo.exe";
  fs::remove(folder_ / "Demo.msi");

  system_.userLanguage = 1036;  // French: reading stops after the French block
  EXPECT_EQ(Run(), exit_code::kNoInstallerDatabase);
  ASSERT_EQ(system_.messages.size(), 1u);
  EXPECT_THAT(system_.messages[0], ::testing::HasSubstr("| Base de données introuvable\r\n"));
  EXPECT_THAT(system_.windowEvents.front(), ::testing::StartsWith("show line 23 | line 24"));

  system_.messages.clear();
  system_.userLanguage = 1041;  // Japanese: no block, the last one stays
  EXPECT_EQ(Run(), exit_code::kNoInstallerDatabase);
  EXPECT_THAT(system_.messages[0], ::testing::HasSubstr("| Datenbank nicht gefunden\r\n"));
}

TEST_F(StartupSequenceTest, HostApplicationMarkFollowsTheWindowsVersion) {
  system_.version = {6, 0};
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(system_.registry.size(), 1u);
  EXPECT_EQ(system_.registry.begin()->second, "32");
  EXPECT_THAT(system_.registry.begin()->first, ::testing::EndsWith("Persisted|" + system_.program.string()));

  system_.registry.clear();
  system_.version = {5, 1};
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(system_.registry.empty());
}

TEST_F(StartupSequenceTest, EngineMarkerNamesTheSupportDirectory) {
  system_.marker = (root_ / "marker.txt").string();
  EXPECT_EQ(Run(), 0);
  std::ifstream in(system_.marker);
  std::string first, second;
  std::getline(in, first);
  std::getline(in, second);
  EXPECT_EQ(first, "supportdir=" + FolderText(system_.temp / "vok1"));
  ASSERT_THAT(second, ::testing::StartsWith("time="));
  EXPECT_GT(std::stoll(second.substr(5)), 1'600'000'000'000'000'000LL) << "nanoseconds since 1970";
}

}  // namespace
}  // namespace korvane
