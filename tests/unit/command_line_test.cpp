#include "bootstrap/command_line.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(CommandLine, TextWithoutTheProgramPart) {
  EXPECT_EQ(StripProgramPart("\"C:\\My Setup\\setup.exe\" /s A=1"), "/s A=1");
  EXPECT_EQ(StripProgramPart("setup.exe /s"), "/s");
  EXPECT_EQ(StripProgramPart("setup.exe"), "");
  EXPECT_EQ(StripProgramPart("\"setup.exe"), "");
}

TEST(CommandLine, SwitchesAndValuedSwitches) {
  auto cl = ParseCommandLine("\"C:\\a b\\setup.exe\" /QN -update /silent /L=C:\\Logs\\Setup.LOG x/g=abc");
  EXPECT_TRUE(cl.Silent());
  EXPECT_TRUE(cl.UpdateStart());
  EXPECT_FALSE(cl.HasSwitch("s"));
  EXPECT_EQ(cl.LogPath(), "c:\\logs\\setup.log");
  EXPECT_EQ(cl.ValuedSwitch("/g="), "=abc");  // the token may stand anywhere; three characters go
  EXPECT_FALSE(ParseCommandLine("setup.exe /silent").Silent());
  EXPECT_TRUE(ParseCommandLine("setup.exe -s").Silent());
}

TEST(CommandLine, NameValuePairsKeepOrderAndDuplicates) {
  auto cl = ParseCommandLine("setup.exe Target=C:\\A=B /Target=x A=1 a=2 \"B=two words\" C=");
  EXPECT_EQ(cl.variablePairs, (LineList{"TARGET", "C:\\A=B", "A", "1", "A", "2", "B", "two words", "C", ""}));
}

TEST(CommandLine, UnbalancedQuotesAndManyParameters) {
  auto cl = ParseCommandLine("setup.exe \"A=1 /s");
  EXPECT_EQ(cl.parameters, (std::vector<std::string>{"A=1 /s"}));
  std::string many = "setup.exe";
  for (int i = 0; i < 10000; ++i) many += " V" + std::to_string(i) + "=" + std::to_string(i);
  EXPECT_EQ(ParseCommandLine(many).variablePairs.size(), 20000u);
}

}  // namespace
}  // namespace korvane
