// Engine variables: start values, the paths derived from the command line, and injection of the
// command-line pairs with the protection of a silent run.

#include "bootstrap/engine_variables.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

struct Fixture {
  Fixture(std::string_view rawCommandLine) : context([](std::string_view, std::string_view, bool) {}) {
    context.commandLine = ParseCommandLine(rawCommandLine);
    context.silent = context.commandLine.Silent();
    context.log.SetPath(context.commandLine.LogPath());
    context.programPath = std::filesystem::path("setups") / "Demo.exe";
    context.programFolder = "setups";
    context.programBaseName = "Demo";
    context.tempFolder = "temp";
    context.supportDirectory = std::filesystem::path("temp") / "vok1";
    context.mediaFolder = std::filesystem::path("setups") / "data";
    context.tables.productTitle = "Demo Product";
    context.tables.publisher = "Demo Ltd";
    context.tables.productVersion = "2.5";
    context.tables.productCode = "{P}";
    context.tables.revisionCode = "{R}";
    protection = CommandLineProtection(context.silent, context.commandLine.variablePairs);
  }
  StartupContext context;
  TVariableManager store;
  CommandLineProtection protection;
};

TEST(EngineVariables, StartValuesOfTheInitializationStep) {
  Fixture f("\"C:\\Setups\\Demo.exe\" /s /L=C:\\Logs\\A.TXT /m=C:\\Outer\\Launch.EXE /g=\\\\srv\\Policy\\x.msi");
  EngineVariableFacts facts{1234, true, "Owner", "Org", "11.12.2026", "12:34:56"};
  SetWorkerVariables(f.store, facts.tickCount);
  SetPreInitializationVariables(f.store, f.protection, f.context.tables, facts.allUsers);
  SetFirstInstallationVariables(f.store, f.protection, f.context);
  SetInitializationVariables(f.store, f.protection, f.context, facts);

  const std::string sep(1, static_cast<char>(std::filesystem::path::preferred_separator));
  const std::vector<std::pair<const char*, std::string>> expected = {
      {"VRAX_thProgress", "0"},
      {"VRAX_thMax", "100"},
      {"VRAX_thFinished", "FALSE"},
      {"VRAX_LastActiveTick", "1234"},
      {"TARGETDIR", ""},
      {"STARTMENU", "Demo Product"},
      {"ALLUSERS", "TRUE"},
      {"PRODUCTCODE", "{P}"},
      {"REVISIONCODE", "{R}"},
      {"DATADIR", "setups" + sep + "data" + sep},
      {"MAINTENANCE", "FALSE"},
      {"VRAX_COMPRESS_INSTALLER_CACHE", "TRUE"},
      {"IISHOST", "localhost"},
      {"OVERRIDECACHE", ""},
      {"SELECTED", "0"},
      {"WINDOWHANDLE", "0"},
      {"EXEDIR", "setups" + sep},
      {"ABORT", "FALSE"},
      {"USERNAME", "Owner"},
      {"USERCOMPANY", "Org"},
      {"RUNAPP", "TRUE"},
      {"WIZARD", "NEXT"},
      {"VERSION", "2.5"},
      {"SILENT", "TRUE"},
      {"LOGGED", "c:\\logs\\a.txt"},
      {"CMDLINE", "/s /L=C:\\Logs\\A.TXT /m=C:\\Outer\\Launch.EXE /g=\\\\srv\\Policy\\x.msi"},
      {"REBOOTNOW", "OK"},
      {"SFXPATH", "c:\\outer\\"},
      {"SFXFILE", "launch.exe"},
      {"GPOPATH", "\\\\srv\\policy\\"},
      {"COMPLETE", "TRUE"},
      {"REMOVE", "FALSE"},
      {"NEWLINE", "\r\n"},
      {"ROOTDIR", "setups" + sep},
      {"TITLE", "Demo Product"},
      {"COMPANY", "Demo Ltd"},
      {"DATE", "11.12.2026"},
      {"TIME", "12:34:56"},
      {"TEMPDIR", "temp" + sep},
      {"ABORTONERROR", "TRUE"},
      {"SUPPORTDIR", "temp" + sep + "vok1" + sep},
      {"MSIFILE", "temp" + sep + "vok1" + sep + "Demo.msi"},
      {"LANGUAGE", ""}};
  for (const auto& [name, value] : expected) {
    EXPECT_TRUE(f.store.Exists(name)) << name;
    EXPECT_EQ(f.store.Get(name), value) << name;
  }
}

TEST(EngineVariables, OverrideCacheKeepsAnEarlierValue) {
  Fixture f("setup.exe");
  f.store.Set("OVERRIDECACHE", "D:\\Cache\\");
  SetInitializationVariables(f.store, f.protection, f.context, {});
  EXPECT_EQ(f.store.Get("OVERRIDECACHE"), "D:\\Cache\\");
  EXPECT_EQ(f.store.Get("SILENT"), "FALSE");
  EXPECT_EQ(f.store.Get("SFXPATH"), "");
  EXPECT_EQ(f.store.Get("GPOPATH"), "");
}

TEST(EngineVariables, LauncherPathsFromTheValuedSwitches) {
  const LauncherPaths plain = DeriveLauncherPaths(ParseCommandLine("setup.exe /m=launch.exe"));
  EXPECT_EQ(plain.sfxPath, "");
  EXPECT_EQ(plain.sfxFile, "launch.exe");
  // The token may stand anywhere and the value is the parameter without its first three characters.
  const LauncherPaths odd = DeriveLauncherPaths(ParseCommandLine("setup.exe x/g=abc"));
  EXPECT_EQ(odd.gpoPath, "");
}

TEST(EngineVariables, InjectionLaterPairWinsAndSilentRunsProtectThePairs) {
  Fixture silent("setup.exe /s A=1 a=2 Target=C:\\A=B");
  SetInitializationVariables(silent.store, silent.protection, silent.context, {});
  InjectCommandLine(silent.store, silent.protection, silent.context.commandLine.variablePairs);
  EXPECT_EQ(silent.store.Get("A"), "2");
  EXPECT_EQ(silent.store.Get("TARGET"), "C:\\A=B");
  SetVariable(silent.store, silent.protection, "target", "D:\\Other", "Set Variable Action");
  EXPECT_EQ(silent.store.Get("TARGET"), "C:\\A=B") << "a silent run keeps command-line values";

  Fixture loud("setup.exe A=1 /Target=x");
  InjectCommandLine(loud.store, loud.protection, loud.context.commandLine.variablePairs);
  EXPECT_FALSE(loud.store.Exists("TARGET")) << "/Target=x is a switch, not a pair";
  SetVariable(loud.store, loud.protection, "A", "changed", "Set Variable Action");
  EXPECT_EQ(loud.store.Get("A"), "changed");
}

}  // namespace
}  // namespace korvane
