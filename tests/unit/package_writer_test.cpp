#include "bootstrap/package_writer.h"

#include <gtest/gtest.h>

#include "bootstrap/package_dump.h"
#include "bootstrap/package_reader.h"
#include "package_text.h"

namespace korvane {
namespace {

using testing::PackageText;

PackageTables Parsed(const std::string& text) {
  auto tables = ParsePackage(text);
  EXPECT_TRUE(tables.ok()) << tables.error();
  return tables.ok() ? *tables : PackageTables{};
}

TEST(PackageWriter, WritesBackTheExactTextItWasReadFrom) {
  PackageText p;
  p.parameters = {"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}", "$DOLLAR$", "pay 5 $DOLLAR$", "  blanks  ", "", "a|b"};
  const std::string text = p.Render();
  auto written = WritePackage(Parsed(text));
  ASSERT_TRUE(written.ok()) << written.error();
  EXPECT_EQ(*written, text);
}

TEST(PackageWriter, TablesSurviveAWriteAndReadRoundTrip) {
  PackageTables t;
  t.statementNames = {"Set Variable", "End"};
  t.statementKeys = {"{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}", "{11111111-2222-3333-4444-555555555555}"};
  t.parameters = {"{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}", "$", "", " x ", "$WILD_DOLLAR$ and more"};
  t.statementFlags = {"C", ""};
  t.statementWebBlocks = {"", "web1"};
  t.sourcePositions = {"C:\\src\\a.kvs*0", "C:\\src\\a.kvs*7"};
  t.productTitle = "$";  // a line field may be a lone dollar: it does not end anything
  t.buildMode = -3;
  t.codePage = 65001;
  t.languageDialog = true;
  t.commandHeaders = {"0000ABCD", "0"};
  auto written = WritePackage(t);
  ASSERT_TRUE(written.ok()) << written.error();
  EXPECT_NE(written->find("\r\n$DOLLAR$\r\n"), std::string::npos);
  EXPECT_EQ(DumpPackage(Parsed(*written)), DumpPackage(t));

  // Nothing at all: every list empty, every line empty.
  PackageTables empty;
  auto none = WritePackage(empty);
  ASSERT_TRUE(none.ok()) << none.error();
  EXPECT_EQ(DumpPackage(Parsed(*none)), DumpPackage(empty));
}

TEST(PackageWriter, RefusesTablesThatWouldNotReadBackAsWritten) {
  auto base = [] {
    PackageTables t;
    t.statementNames = {"End"};
    t.statementKeys = {"{11111111-2222-3333-4444-555555555555}"};
    t.statementFlags = {""};
    t.statementWebBlocks = {""};
    t.sourcePositions = {"a*0"};
    return t;
  };
  struct Case {
    const char* what;
    void (*damage)(PackageTables&);
    const char* expected;
  };
  const Case cases[] = {
      {"line break in a line field", [](PackageTables& t) { t.productTitle = "two\r\nlines"; },
       "field 6 (product title), line 1 cannot be stored: it holds a line break"},
      {"line feed in a parameter",
       [](PackageTables& t) {
         t.parameters = {"k", "a\nb"};
       },
       "field 3 (parameter list), line 2 cannot be stored: it holds a line break"},
      {"NUL in a constant",
       [](PackageTables& t) {
         t.compilerConstants = {"A", std::string("x\0y", 3)};
       },
       "field 23 (compiler constant table), line 2 cannot be stored: it holds a NUL byte"},
      {"lone dollar in the component table",
       [](PackageTables& t) {
         t.componentSizes = {"$", "1"};
       },
       "field 17 (component size table), line 1 cannot be stored: a line \"$\" would end the list"},
      {"lone dollar as a web block", [](PackageTables& t) { t.statementWebBlocks = {"$"}; },
       "field 15 (statement web block list), line 1 cannot be stored"},
      {"over-long line", [](PackageTables& t) { t.comments = std::string(kMaxPackageLineLength + 1, 'x'); },
       "field 12 (comments), line 1 cannot be stored: it is 1048577 bytes long"},
      {"keys out of step", [](PackageTables& t) { t.statementKeys.push_back("{x}"); },
       "field 2 (statement key list) has 2 lines but there are 1 statements"},
      {"positions missing", [](PackageTables& t) { t.sourcePositions.clear(); },
       "field 25 (source position list) has 0 lines but there are 1 statements"},
  };
  ASSERT_TRUE(WritePackage(base()).ok());
  for (const Case& c : cases) {
    PackageTables t = base();
    c.damage(t);
    auto written = WritePackage(t);
    ASSERT_FALSE(written.ok()) << c.what;
    EXPECT_NE(written.error().find(c.expected), std::string::npos) << c.what << ": " << written.error();
  }
}

}  // namespace
}  // namespace korvane
