#include "bootstrap/package_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "package_text.h"

namespace korvane {
namespace {

using testing::PackageText;

TEST(PackageReader, ReadsEveryFieldOfAWholePackage) {
  auto tables = ParsePackage(PackageText{}.Render());
  ASSERT_TRUE(tables.ok()) << tables.error();
  EXPECT_EQ(tables->statementNames, (LineList{"Set Variable", "If", "End"}));
  EXPECT_EQ(tables->statementKeys.size(), 3u);
  EXPECT_EQ(tables->parameters.size(), 8u);
  EXPECT_EQ(tables->productCode, "{PRODUCT0-0000-0000-0000-000000000000}");
  EXPECT_EQ(tables->productTitle, "Demo Product");
  EXPECT_TRUE(tables->pluginStatements.empty());
  EXPECT_EQ(tables->publisher, "Acme");
  EXPECT_EQ(tables->contact, "support@acme.example");
  EXPECT_EQ(tables->helpLink, "http://acme.example/help");
  EXPECT_EQ(tables->updateInfoLink, "http://acme.example/update");
  EXPECT_EQ(tables->comments, "No comment");
  EXPECT_EQ(tables->productVersion, "1.2.3");
  EXPECT_EQ(tables->webBlockPasswords, (LineList{"offline", "scrambled"}));
  EXPECT_EQ(tables->statementWebBlocks, (LineList{"", "", ""}));
  EXPECT_EQ(tables->buildMode, 1);
  EXPECT_EQ(tables->componentSizes, (LineList{"Core", "1234"}));
  EXPECT_EQ(tables->revisionCode, "{REVISION-0000-0000-0000-000000000000}");
  EXPECT_EQ(tables->fileMap, (LineList{"data1", "bin\\a.dll", "bin\\"}));
  EXPECT_TRUE(tables->languageDialog);
  EXPECT_EQ(tables->defaultLanguage, "English");
  EXPECT_EQ(tables->commandHeaders, (LineList{"15193751", "333"}));
  EXPECT_EQ(tables->compilerConstants, (LineList{"SINGLEINSTANCE", "TRUE"}));
  EXPECT_EQ(tables->codePage, 1252);
  EXPECT_EQ(tables->sourcePositions[2], "C:\\src\\demo.kvs*2");
}

TEST(PackageReader, LoneDollarWordsBecomeDollarsOnlyAsWholeParameterLines) {
  PackageText p;
  p.parameters = {"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}", "$DOLLAR$", "$wild_dollar$", "a$DOLLAR$", "$Dollar$ "};
  auto tables = ParsePackage(p.Render());
  ASSERT_TRUE(tables.ok()) << tables.error();
  EXPECT_EQ(tables->parameters, (LineList{"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}", "$", "$", "a$DOLLAR$", "$Dollar$ "}));
}

TEST(PackageReader, AcceptsBareLineFeedsAndAMissingFinalLineBreak) {
  std::string text = PackageText{}.Render();
  std::string bare;
  for (char c : text)
    if (c != '\r') bare += c;
  bare.pop_back();
  auto tables = ParsePackage(bare);
  ASSERT_TRUE(tables.ok()) << tables.error();
  EXPECT_EQ(tables->sourcePositions.size(), 3u);
}

TEST(PackageReader, LowerCaseFlagDoesNotDisable) {
  PackageText p;
  p.flags = {"C", "c", ""};
  auto tables = ParsePackage(p.Render());
  ASSERT_TRUE(tables.ok());
  EXPECT_TRUE(tables->IsDisabled(0));
  EXPECT_FALSE(tables->IsDisabled(1));
  EXPECT_FALSE(tables->IsDisabled(2));
}

struct MalformedCase {
  const char* what;
  std::string text;
  const char* expected;  // part of the error message
};

std::vector<MalformedCase> MalformedCases() {
  const std::string good = PackageText{}.Render();
  PackageText badMode;
  badMode.buildMode = "two";
  PackageText badPage;
  badPage.codePage = "99999999999";
  PackageText unaligned;
  unaligned.flags = {"", ""};
  std::string longLine = good;
  longLine.insert(0, std::string(kMaxPackageLineLength + 1, 'x') + "\r\n");
  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  return {
      {"empty", "", "ends before field 1 (statement name list)"},
      {"truncated in the middle", good.substr(0, good.size() / 2), "ends before field"},
      {"truncated before the last field", good.substr(0, good.rfind("C:\\src\\demo.kvs*0")), "field 25"},
      {"last terminator missing", good.substr(0, good.size() - 3), "ends before field 25"},
      {"integer field not a number", badMode.Render(), "field 16 (build mode number)"},
      {"integer field out of range", badPage.Render(), "field 24 (code page)"},
      {"aligned lists differ", unaligned.Render(), "field 4 (statement flag list) has 2 lines but there are 3"},
      {"a line of megabytes", longLine, "bytes long"},
      {"binary garbage", garbage, "NUL byte"},
      {"no terminator at all", std::string(100000, 'a') + "\r\n", "ends before field 1"},
  };
}

TEST(PackageReader, RefusesMalformedPackagesWithAReason) {
  for (const auto& c : MalformedCases()) {
    auto tables = ParsePackage(c.text);
    ASSERT_FALSE(tables.ok()) << c.what;
    EXPECT_NE(tables.error().find(c.expected), std::string::npos) << c.what << ": " << tables.error();
  }
}

TEST(PackageReader, ReadsFromTheExecutableThroughATemporaryCopyThatIsRemoved) {
  auto dir = std::filesystem::temp_directory_path() / ("korvane-reader-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(dir);
  const std::string stub(4096, 'S');
  {
    std::ofstream out(dir / "setup.exe", std::ios::binary);
    out << stub << PackageText{}.Render();
  }
  auto tables = ReadPackageFile(dir / "setup.exe", stub.size(), dir);
  ASSERT_TRUE(tables.ok()) << tables.error();
  EXPECT_EQ(tables->productTitle, "Demo Product");
  EXPECT_FALSE(std::filesystem::exists(dir / "vok.tmp"));

  auto none = ReadPackageFile(dir / "setup.exe", stub.size() + PackageText{}.Render().size(), dir);
  EXPECT_FALSE(none.ok());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korvane
