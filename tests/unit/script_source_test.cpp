#include "tools/script_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "bootstrap/package_reader.h"
#include "bootstrap/package_writer.h"
#include "bootstrap/parameter_lookup.h"

namespace korvane::builder {
namespace {

constexpr const char* kHeader =
    "[package]\n"
    "Title = Demo\n"
    "ProductCode = {11111111-2222-3333-4444-555555555555}\n"
    "RevisionCode = {66666666-7777-8888-9999-AAAAAAAAAAAA}\n";

// Compiles, writes and reads back: the tables as the engine will see them.
PackageTables AsEngineSees(const std::string& source) {
  auto compiled = CompileScriptSource(source, "C:\\src\\demo.kvs");
  EXPECT_TRUE(compiled.ok()) << compiled.error();
  if (!compiled.ok()) return {};
  auto text = WritePackage(compiled->tables);
  EXPECT_TRUE(text.ok()) << text.error();
  auto tables = ParsePackage(text.ok() ? *text : "");
  EXPECT_TRUE(tables.ok()) << tables.error();
  return tables.ok() ? *tables : PackageTables{};
}

// The parameters of statement index as the engine's lookup returns them.
std::vector<std::string> ParametersOf(const PackageTables& t, size_t index, size_t count) {
  ParameterLookup lookup;
  lookup.AddList(t.parameters);
  std::vector<std::string> out;
  for (size_t k = 1; k <= count; ++k) out.push_back(lookup.Parameter(t.statementKeys[index], k));
  return out;
}

TEST(ScriptSource, CompilesEveryTable) {
  const std::string source = std::string(kHeader) +
                             "Version = 2.0\n"
                             "Publisher = \"  Acme  \"\n"
                             "BuildMode = 3\n"
                             "CodePage = 1251\n"
                             "LanguageDialog = true\n"
                             "DefaultLanguage = Deutsch\n"
                             "[constants]\n"
                             "SINGLEINSTANCE = TRUE\n"
                             "[plugins]\n"
                             "My Plugin\n"
                             "[components]\n"
                             "Core = 0012\n"
                             "[web passwords]\n"
                             "offline = s3cr3t\n"
                             "[file map]\n"
                             "data1 | bin\\a.dll | bin\\\n"
                             "[script]\n"
                             "My Plugin @web=offline: x\n";
  const PackageTables t = AsEngineSees(source);
  EXPECT_EQ(t.productTitle, "Demo");
  EXPECT_EQ(t.productCode, "{11111111-2222-3333-4444-555555555555}");
  EXPECT_EQ(t.revisionCode, "{66666666-7777-8888-9999-AAAAAAAAAAAA}");
  EXPECT_EQ(t.productVersion, "2.0");
  EXPECT_EQ(t.publisher, "  Acme  ");
  EXPECT_EQ(t.buildMode, 3);
  EXPECT_EQ(t.codePage, 1251);
  EXPECT_TRUE(t.languageDialog);
  EXPECT_EQ(t.defaultLanguage, "Deutsch");
  EXPECT_EQ(t.compilerConstants, (LineList{"SINGLEINSTANCE", "TRUE"}));
  EXPECT_EQ(t.pluginStatements, (LineList{"My Plugin"}));
  EXPECT_EQ(t.componentSizes, (LineList{"Core", "12"}));
  EXPECT_EQ(t.webBlockPasswords, (LineList{"offline", "s3cr3t"}));
  EXPECT_EQ(t.fileMap, (LineList{"data1", "bin\\a.dll", "bin\\"}));
  EXPECT_EQ(t.statementWebBlocks, (LineList{"offline"}));
}

TEST(ScriptSource, DefaultsAndEmptyTables) {
  const PackageTables t = AsEngineSees(kHeader);
  EXPECT_EQ(t.StatementCount(), 0u);
  EXPECT_TRUE(t.parameters.empty());
  EXPECT_TRUE(t.commandHeaders.empty());
  EXPECT_TRUE(t.pluginStatements.empty());
  EXPECT_EQ(t.codePage, 1252);
  EXPECT_EQ(t.defaultLanguage, "English");
  EXPECT_FALSE(t.languageDialog);
}

TEST(ScriptSource, StatementsBlocksFlagsAndPositions) {
  const std::string source = std::string(kHeader) +
                             "[script]\n"                                               // line 4
                             "Set Variable: A | $\n"                                    // 5
                             "  # a comment line\n"                                     // 6
                             "\n"                                                       // 7
                             "    If: A | 0 | $ | FALSE\n"                              // 8
                             "Else\n"                                                   // 9
                             "!  Set Variable: A | \"  b|c  \"\n"                       // 10
                             "Terminate Install:\n"                                     // 11
                             "End\n"                                                    // 12
                             "Set Variable: P | pay 5 $DOLLAR$ now | \"\"\"q\"\"\"\n";  // 13
  const PackageTables t = AsEngineSees(source);
  ASSERT_EQ(t.statementNames,
            (LineList{"Set Variable", "If", "Else", "Set Variable", "Terminate Install", "End", "Set Variable"}));
  EXPECT_EQ(t.statementFlags, (LineList{"", "", "", "C", "", "", ""}));
  EXPECT_EQ(t.sourcePositions[0], "C:\\src\\demo.kvs*5");
  EXPECT_EQ(t.sourcePositions[1], "C:\\src\\demo.kvs*8");
  EXPECT_EQ(t.sourcePositions[6], "C:\\src\\demo.kvs*13");

  EXPECT_EQ(ParametersOf(t, 0, 2), (std::vector<std::string>{"A", "$"}));
  EXPECT_EQ(ParametersOf(t, 1, 4), (std::vector<std::string>{"A", "0", "$", "FALSE"}));
  EXPECT_EQ(ParametersOf(t, 3, 2), (std::vector<std::string>{"A", "  b|c  "}));
  EXPECT_EQ(ParametersOf(t, 4, 1), (std::vector<std::string>{""}));  // a colon and nothing: one empty parameter
  EXPECT_EQ(ParametersOf(t, 6, 3), (std::vector<std::string>{"P", "pay 5 $DOLLAR$ now", "\"q\""}));
  // Else and End carry no block at all: their key is not in the parameter list.
  for (size_t index : {2u, 5u})
    EXPECT_EQ(std::count(t.parameters.begin(), t.parameters.end(), t.statementKeys[index]), 0) << index;
  EXPECT_EQ(t.parameters.size(), 3u + 5u + 3u + 2u + 4u);
}

TEST(ScriptSource, KeysAndHeadersAreUniqueStableAndExplicitOnesWin) {
  const std::string script =
      "[script]\n"
      "Set Variable: A | 1\n"
      "Set Variable @key={abcdef01-2345-6789-abcd-ef0123456789} @header=00ab: B | 2\n"
      "Set Variable: C | 3\n"
      "End\n";
  const PackageTables t = AsEngineSees(kHeader + script);
  ASSERT_EQ(t.StatementCount(), 4u);
  EXPECT_EQ(t.statementKeys[1], "{abcdef01-2345-6789-abcd-ef0123456789}");  // written as given
  EXPECT_EQ(t.parameters[3], "{abcdef01-2345-6789-abcd-ef0123456789}");
  std::set<std::string> keys(t.statementKeys.begin(), t.statementKeys.end());
  EXPECT_EQ(keys.size(), 4u);

  CommandHeaderTable headers(t.commandHeaders);
  EXPECT_EQ(headers.HeaderOf(1), "00AB");
  std::set<std::string> seen;
  for (size_t i = 0; i < 4; ++i) {
    const std::string h = headers.HeaderOf(i);
    EXPECT_TRUE(seen.insert(h).second) << h;
    if (i == 1) continue;
    EXPECT_EQ(h.find_first_not_of("0123456789ABCDEF"), std::string::npos) << h;
    EXPECT_EQ(h.size(), 8u);
  }

  // The same source gives the same codes; editing one statement leaves the others' codes alone.
  EXPECT_EQ(AsEngineSees(kHeader + script).statementKeys, t.statementKeys);
  const PackageTables edited =
      AsEngineSees(kHeader + std::string("[script]\n"
                                         "Set Variable: A | changed\n"
                                         "Set Variable @key={abcdef01-2345-6789-abcd-ef0123456789}: B | 2\n"
                                         "Set Variable: C | 3\n"
                                         "End\n"));
  EXPECT_EQ(edited.statementKeys, t.statementKeys);
}

TEST(ScriptSource, RefusesFaultsWithFileAndLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"Title = x\n", "demo.kvs:1: this line stands outside any section"},
      {std::string(kHeader) + "[scripts]\n", "demo.kvs:5: unknown section [scripts]"},
      {std::string(kHeader) + "Colour = red\n", "demo.kvs:5: unknown [package] setting \"Colour\""},
      {std::string(kHeader) + "title = again\n", "demo.kvs:5: the setting \"title\" is already given on line 2"},
      {std::string(kHeader) + "BuildMode = two\n", "demo.kvs:5: BuildMode: \"two\" is not a whole number"},
      {std::string(kHeader) + "LanguageDialog = yes\n",
       "demo.kvs:5: LanguageDialog: \"yes\" is neither TRUE nor FALSE"},
      {std::string(kHeader) + "Version\n", "demo.kvs:5: expected \"name = value\""},
      {"[package]\nTitle = x\nRevisionCode = {66666666-7777-8888-9999-AAAAAAAAAAAA}\n",
       "demo.kvs:1: the [package] section needs a ProductCode"},
      {"[package]\nProductCode = 123\nRevisionCode = {66666666-7777-8888-9999-AAAAAAAAAAAA}\n",
       "demo.kvs:2: ProductCode must be a GUID in braces"},
      {"[script]\nEnd\n", "demo.kvs:1: the source has no [package] section"},
      {std::string(kHeader) + "[constants]\nA = $\n", "demo.kvs:6: the value of A cannot be a lone \"$\""},
      {std::string(kHeader) + "[constants]\nA = 1\na = 2\n",
       "demo.kvs:7: the constant \"a\" is already given on line 6"},
      {std::string(kHeader) + "[plugins]\n$\n", "demo.kvs:6: a plug-in statement name cannot be a lone \"$\""},
      {std::string(kHeader) + "[components]\nCore = -1\n",
       "demo.kvs:6: the size of component Core must be a whole number"},
      {std::string(kHeader) + "[web passwords]\n$ = x\n", "demo.kvs:6: a web block name cannot be a lone \"$\""},
      {std::string(kHeader) + "[file map]\na | b\n", "demo.kvs:6: a file map line is"},
      {std::string(kHeader) + "[file map]\na | b | c\n",
       "demo.kvs:6: the destination folder \"c\" must end with a backslash"},
      {std::string(kHeader) + "[file map]\na | b | C:\\x\\\n",
       "demo.kvs:6: the destination folder \"C:\\x\\\" must be relative"},
      {std::string(kHeader) + "[script]\n: x\n", "demo.kvs:6: a statement needs a name"},
      {std::string(kHeader) + "[script]\n$: x\n", "demo.kvs:6: a statement name cannot be a lone \"$\""},
      {std::string(kHeader) + "[script]\nIf: \"A\" x | 0\n", "demo.kvs:6: unexpected text"},
      {std::string(kHeader) + "[script]\nIf: \"A | 0\n", "demo.kvs:6: the quoted value"},
      {std::string(kHeader) + "[script]\nEnd @key=123\n", "demo.kvs:6: @key needs a GUID in braces"},
      {std::string(kHeader) + "[script]\nEnd @header=123456789\n", "demo.kvs:6: @header needs one to eight"},
      {std::string(kHeader) + "[script]\nEnd @web=$\n", "demo.kvs:6: a web block name cannot be a lone \"$\""},
      {std::string(kHeader) + "[script]\nEnd @colour=red\n", "demo.kvs:6: unknown statement option \"@colour=red\""},
      {std::string(kHeader) + "[script]\nEnd @web=a @web=b\n", "demo.kvs:6: @web is given twice"},
      {std::string(kHeader) + "[script]\nEnd @key={AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}\nElse "
                              "@key={aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}\n",
       "demo.kvs:7: statement key {aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee} is already used on line 6"},
      {std::string(kHeader) + "[script]\nEnd @header=1a\nElse @header=1A\n",
       "demo.kvs:7: command header 1A is already used on line 6"},
      {std::string(kHeader) + "[script]\nEnd @key={AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}\nSet Variable: K | "
                              "{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}\n",
       "demo.kvs:7: parameter 2 is the key of the statement on line 6; the engine would read that statement's "
       "parameters"},
      {std::string(kHeader) + "[script]\nComment: a\rb\n",
       "demo.kvs:6: a carriage return inside a line cannot be stored"},
      {std::string(kHeader) + "[script]\nComment: a" + std::string(1, '\0') + "b\n",
       "demo.kvs:6: a NUL byte cannot be stored"},
      {std::string(kHeader) + "[script]\nComment: " + std::string(kMaxPackageLineLength + 1, 'x') + "\n",
       "demo.kvs:6: parameter 1 is longer than"},
  };
  for (const auto& [source, expected] : cases) {
    auto compiled = CompileScriptSource(source, "demo.kvs");
    ASSERT_FALSE(compiled.ok()) << expected;
    EXPECT_NE(compiled.error().find(expected), std::string::npos)
        << "expected: " << expected << "\n     got: " << compiled.error();
  }
}

TEST(ScriptSource, RefusesASourcePathWithAnAsterisk) {
  auto compiled = CompileScriptSource(kHeader, "odd*name.kvs");
  ASSERT_FALSE(compiled.ok());
  EXPECT_EQ(compiled.error(),
            "odd*name.kvs:1: the source path cannot hold \"*\": it separates path and line in the package");
}

TEST(ScriptSource, ReportsEveryFaultNotJustTheFirst) {
  auto compiled =
      CompileScriptSource(std::string(kHeader) + "Bad\n[script]\nEnd @key=x\n[oops]\nignored = 1\n", "s.kvs");
  ASSERT_FALSE(compiled.ok());
  EXPECT_EQ(compiled.error(),
            "s.kvs:5: expected \"name = value\" but found \"Bad\"\n"
            "s.kvs:7: @key needs a GUID in braces such as {01234567-89AB-CDEF-0123-456789ABCDEF}, not \"x\"\n"
            "s.kvs:8: unknown section [oops] (known: [package], [constants], [plugins], [components], [web passwords], "
            "[file map], [script])");
}

TEST(ScriptSource, AcceptsWindowsLineEndsAndAByteOrderMark) {
  const std::string source =
      "\xEF\xBB\xBF[package]\r\nTitle = T\r\n"
      "ProductCode = {11111111-2222-3333-4444-555555555555}\r\n"
      "RevisionCode = {66666666-7777-8888-9999-AAAAAAAAAAAA}\r\n[script]\r\nEnd";
  const PackageTables t = AsEngineSees(source);
  EXPECT_EQ(t.productTitle, "T");
  EXPECT_EQ(t.statementNames, (LineList{"End"}));
  EXPECT_EQ(t.sourcePositions[0], "C:\\src\\demo.kvs*5");
}

}  // namespace
}  // namespace korvane::builder
