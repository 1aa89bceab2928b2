#include "engine/variable_access.h"

#include <gtest/gtest.h>

#include "bootstrap/command_line.h"

namespace korvane {
namespace {

TEST(GetVariable, ValueOrEmptyText) {
  TVariableManager store;
  store.Set("A", "1");
  EXPECT_EQ(GetVariable(store, "a"), "1");
  EXPECT_EQ(GetVariable(store, "MISSING"), "");
  EXPECT_EQ(GetVariable(store, ""), "");
}

// The store as the engine prologue leaves it: initial values, then the command line injected.
class CommandLineProtectionRule : public ::testing::Test {
 protected:
  void Start(const char* commandLine) {
    const CommandLine cl = ParseCommandLine(commandLine);
    protection = CommandLineProtection(cl.Silent(), cl.variablePairs);
    SetVariable(store, protection, "TARGETDIR", "C:\\Program Files\\Acme", "Initialization");
    for (size_t i = 0; i + 1 < cl.variablePairs.size(); i += 2)
      SetVariable(store, protection, cl.variablePairs[i], cl.variablePairs[i + 1], kInjectOverrideCommandLine);
  }
  TVariableManager store;
  CommandLineProtection protection;
};

TEST_F(CommandLineProtectionRule, SilentRunKeepsCommandLineValues) {
  Start("setup.exe /s targetdir=D:\\Apps");
  EXPECT_EQ(store.Get("TARGETDIR"), "D:\\Apps");
  SetVariable(store, protection, "TargetDir", "E:\\Other", "Set Variable Action");
  SetVariable(store, protection, "TARGETDIR", "E:\\Other", "Display Dialog Action");
  EXPECT_EQ(store.Get("TARGETDIR"), "D:\\Apps");
  // Only the injection itself may change it again.
  SetVariable(store, protection, "TARGETDIR", "F:\\Again", kInjectOverrideCommandLine);
  EXPECT_EQ(store.Get("TARGETDIR"), "F:\\Again");
  // Names not on the command line are unaffected.
  SetVariable(store, protection, "OTHER", "1", "Set Variable Action");
  SetVariable(store, protection, "OTHER", "2", "Set Variable Action");
  EXPECT_EQ(store.Get("OTHER"), "2");
}

TEST_F(CommandLineProtectionRule, RunWithTheWizardShownLetsEveryWriterReplaceThem) {
  Start("setup.exe targetdir=D:\\Apps");
  EXPECT_EQ(store.Get("TARGETDIR"), "D:\\Apps");
  SetVariable(store, protection, "TARGETDIR", "E:\\Other", "Set Variable Action");
  EXPECT_EQ(store.Get("TARGETDIR"), "E:\\Other");
}

TEST_F(CommandLineProtectionRule, ProtectedNameThatDoesNotExistYetIsCreated) {
  const CommandLine cl = ParseCommandLine("setup.exe /qn LATER=1");
  protection = CommandLineProtection(cl.Silent(), cl.variablePairs);
  SetVariable(store, protection, "later", "from the script", "Set Variable Action");
  EXPECT_EQ(store.Get("LATER"), "from the script");
  SetVariable(store, protection, "LATER", "second", "Set Variable Action");
  EXPECT_EQ(store.Get("LATER"), "from the script");
}

TEST(CommandLineProtection, ContextMustMatchExactlyAndValuesAreNotNames) {
  CommandLineProtection protection(true, LineList{"A", "B"});
  EXPECT_TRUE(protection.Protects("a"));
  EXPECT_FALSE(protection.Protects("B"));  // a value, not a name
  EXPECT_FALSE(CommandLineProtection(false, LineList{"A", "B"}).Protects("A"));
  EXPECT_FALSE(CommandLineProtection().Protects("A"));
  TVariableManager store;
  store.Set("A", "command line");
  SetVariable(store, protection, "A", "x", "inject override command line");
  SetVariable(store, protection, "A", "x", "Inject Override Command Line ");
  EXPECT_EQ(store.Get("A"), "command line");
  SetVariable(store, protection, "", "x", kInjectOverrideCommandLine);
  EXPECT_EQ(store.Count(), 1u);
}

}  // namespace
}  // namespace korvane
