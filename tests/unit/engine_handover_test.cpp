// The hand-over from start-up to the engine: the start values the engine takes from what
// start-up found, and a whole run on them (the engine variables a script starts with, the
// command-line pairs injected, the protection of a silent run).

#include "bootstrap/engine_handover.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine_fakes.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

class Handover {
 public:
  explicit Handover(std::string_view rawCommandLine)
      : context([](std::string_view, std::string_view, bool) {}),
        folder(fs::temp_directory_path() / ("korvane-handover-" + std::to_string(reinterpret_cast<uintptr_t>(this)))) {
    context.commandLine = ParseCommandLine(rawCommandLine);
    context.silent = context.commandLine.Silent();
    context.programPath = folder / "setups" / "Demo.exe";
    context.programFolder = folder / "setups";
    context.programBaseName = "Demo";
    context.tempFolder = folder / "temp";
    context.supportDirectory = folder / "temp" / "vok1";
    context.mediaFolder = folder / "setups" / "data";
    context.tables.productTitle = "Demo Product";
    context.tables.publisher = "Demo Ltd";
    context.tables.productVersion = "2.5";
    context.tables.productCode = "{P}";
    context.tables.revisionCode = "{R}";
    fs::create_directories(context.supportDirectory);
    std::ofstream(context.InstallerDatabaseInSupport()).put('x');
  }
  ~Handover() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  HandOverResult Run() {
    context.parameters.AddList(context.tables.parameters);
    return HandOverToEngine(context, store, {clock, window, boxes}, {true, "Owner", "Org"});
  }

  StartupContext context;
  fs::path folder;
  TVariableManager store;
  testing::FakeClock clock;
  testing::FakeWindow window{clock};
  testing::RecordedErrorBoxes boxes;
};

std::string Folder(const fs::path& path) { return FolderText(path); }

TEST(EngineHandover, StartValuesComeFromTheStartupContext) {
  Handover h("\"C:\\Setups\\Demo.exe\" /s /L=C:\\Logs\\A.TXT /m=C:\\Outer\\Launch.EXE /g=\\\\srv\\Policy\\x.msi");
  const StartValues start = StartValuesFrom(h.context, {true, "Owner", "Org"});
  EXPECT_EQ(start.programPath, PathText(h.context.programPath));
  EXPECT_EQ(start.programFolder, Folder(h.context.programFolder));
  EXPECT_EQ(start.supportDirectory, Folder(h.context.supportDirectory));
  EXPECT_EQ(start.installerDatabase, PathText(h.context.supportDirectory / "Demo.msi"));
  EXPECT_EQ(start.logPath, "c:\\logs\\a.txt");
  EXPECT_TRUE(start.silent);
  EXPECT_EQ(start.user.registeredOwner, "Owner");
}

TEST(EngineHandover, ScriptStartsWithTheEngineVariables) {
  Handover h("\"C:\\Setups\\Demo.exe\" /s /L=C:\\Logs\\A.TXT /m=C:\\Outer\\Launch.EXE /g=\\\\srv\\Policy\\x.msi");
  const HandOverResult result = h.Run();
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_FALSE(result.endProcessNow);
  const std::vector<std::pair<const char*, std::string>> expected = {
      {"TARGETDIR", ""},
      {"STARTMENU", "Demo Product"},
      {"ALLUSERS", "TRUE"},
      {"PRODUCTCODE", "{P}"},
      {"REVISIONCODE", "{R}"},
      {"DATADIR", Folder(h.context.mediaFolder)},
      {"MAINTENANCE", "FALSE"},
      {"NEEDSUPGRADE", "FALSE"},
      {"NEWINSTANCE", "FALSE"},
      {"EXEDIR", Folder(h.context.programFolder)},
      {"ROOTDIR", Folder(h.context.programFolder)},
      {"USERNAME", "Owner"},
      {"USERCOMPANY", "Org"},
      {"VERSION", "2.5"},
      {"SILENT", "TRUE"},
      {"LOGGED", "c:\\logs\\a.txt"},
      {"SFXPATH", "c:\\outer\\"},
      {"SFXFILE", "launch.exe"},
      {"GPOPATH", "\\\\srv\\policy\\"},
      {"TITLE", "Demo Product"},
      {"COMPANY", "Demo Ltd"},
      {"TEMPDIR", Folder(h.context.tempFolder)},
      {"SUPPORTDIR", Folder(h.context.supportDirectory)},
      {"MSIFILE", PathText(h.context.supportDirectory / "Demo.msi")}};
  for (const auto& [name, value] : expected) {
    EXPECT_TRUE(h.store.Exists(name)) << name;
    EXPECT_EQ(h.store.Get(name), value) << name;
  }
}

TEST(EngineHandover, CommandLinePairsAreInjectedAndASilentRunProtectsThem) {
  Handover silent("setup.exe /s A=1 a=2 Target=C:\\A=B x/g=abc");
  (void)silent.Run();
  EXPECT_EQ(silent.store.Get("A"), "2") << "a later pair of the same name wins";
  EXPECT_EQ(silent.store.Get("TARGET"), "C:\\A=B");
  EXPECT_EQ(silent.store.Get("GPOPATH"), "") << "the token may stand anywhere; its value has no folder";

  Handover loud("setup.exe A=1 /Target=x");
  (void)loud.Run();
  EXPECT_FALSE(loud.store.Exists("TARGET")) << "/Target=x is a switch, not a pair";
  EXPECT_EQ(loud.store.Get("A"), "1");
}

}  // namespace
}  // namespace korvane
