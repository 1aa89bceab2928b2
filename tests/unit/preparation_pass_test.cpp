#include "engine/preparation_pass.h"

#include <gtest/gtest.h>

#include "preparation_script.h"

namespace korvane {
namespace {

using testing::Disabled;
using testing::Enabled;
using testing::ScriptStatement;
using Script = std::vector<ScriptStatement>;

PreparationResult Prepare(const Script& script, TVariableManager& store) {
  const PackageTables tables = testing::ScriptTables(script);
  ParameterLookup lookup;
  lookup.AddList(tables.parameters);
  return PrepareScript(tables, lookup, store);
}

PreparationResult Prepare(const Script& script) {
  TVariableManager store;
  return Prepare(script, store);
}

// A condition on a variable the engine always declares.
ScriptStatement IfTitle() { return Enabled("If", {"TITLE", "0", "x", ""}); }

const std::string kTargetFolderMessage =
    "A target folder must be specified for files that are being installed.\r"
    "The value $TARGETDIR$ represents the destination folder chosen by the user.";
const std::string kExpressionMessage =
    "Syntax error in expression. Please review the help topic \"Evaluate Expression\" for the "
    "correct syntax.";
const std::string kWizardMessage =
    "Statements other than DISPLAY DIALOG not allowed inside WIZARD LOOP";

struct Rejection {
  const char* what;
  Script script;
  int64_t index;
  std::string message;
};

TEST(PreparationPass, RejectsWithIndexAndMessage) {
  const std::vector<Rejection> cases = {
      {"label inside If", {IfTitle(), Enabled("Label", {"L"}), Enabled("End")}, 1,
       "LABEL statements cannot be nested inside loops/conditionals"},
      {"label inside Wizard Loop",
       {Enabled("Wizard Loop"), Enabled("Label", {"L"}), Enabled("End")}, 1,
       "LABEL statements cannot be nested inside loops/conditionals"},
      {"missing End", {IfTitle(), IfTitle(), Enabled("End")}, kBlockCountIndex,
       "Insufficient END statements"},
      {"missing End of a Wizard Loop", {Enabled("Wizard Loop")}, kBlockCountIndex,
       "Insufficient END statements"},
      {"extra End", {IfTitle(), Enabled("End"), Enabled("End")}, kBlockCountIndex,
       "Too many END statements"},
      {"disabled End does not close", {IfTitle(), Disabled("End")}, kBlockCountIndex,
       "Insufficient END statements"},
      {"block count before labels",
       {Enabled("Label", {"A"}), Enabled("Label", {"A"}), Enabled("End")}, kBlockCountIndex,
       "Too many END statements"},
      {"label defined twice", {Enabled("Label", {"Here"}), Enabled("Label", {"HERE"})}, 1,
       "LABEL re-defined: HERE"},
      {"disabled label defined twice", {Disabled("Label", {"a"}), Enabled("Label", {"A"})}, 1,
       "LABEL re-defined: A"},
      {"web block name with asterisk", {Enabled("Web Media Block", {"dir\\a*b", "http://x/"})}, 0,
       "Web Media Block name must be a legal file name"},
      {"web block name with slash", {Enabled("Web Media Block", {"a/b", "http://x/"})}, 0,
       "Web Media Block name must be a legal file name"},
      {"web block name with bar after colon", {Enabled("Web Media Block", {"c:x|y", "u"})}, 0,
       "Web Media Block name must be a legal file name"},
      {"web block without URL", {Enabled("Web Media Block", {"Block1", ""})}, 0,
       "Web Media Block must have at least one download URL"},
      {"web block failing both", {Enabled("Web Media Block", {"a?b", ""})}, 0,
       "Web Media Block must have at least one download URL"},
      {"installed check without variable",
       {Enabled("Comment"), Enabled("Is MSI Setup Installed", {"{CODE}", ""})}, 1,
       "Variable required"},
      {"find all files without variable", {Enabled("Find All Files", {"C:\\", "*.*", "", ""})}, 0,
       "Variable required"},
      {"disk space without variable", {Enabled("Check Disk Space", {""})}, 0, "Variable required"},
      {"If without variable", {Enabled("If", {"", "0", "x", ""}), Enabled("End")}, 0,
       "Variable required"},
      {"delete without mode", {Enabled("Delete Files", {"a.txt", "C:\\", "FALSE", "yes"})}, 0,
       "At least one delete mode must be selected"},
      {"install files without folder", {Enabled("Install Files", {"f", "g", ""})}, 0,
       kTargetFolderMessage},
      {"convert a variable created later",
       {Enabled("Convert Path", {"LATER"}), Enabled("Set Variable", {"LATER", "x"})}, 0,
       "Variable not defined: LATER"},
      {"convert case of an unknown variable", {Enabled("Convert Case", {"nope"})}, 0,
       "Variable not defined: nope"},
      {"extract path of an unknown variable", {Enabled("Extract Path", {"$TITLE$"})}, 0,
       "Variable not defined: $TITLE$"},
      {"replace in an unknown variable", {Enabled("Replace String", {"$NOPE$", "a", "b"})}, 0,
       "Variable not defined: $NOPE$"},
      {"expression with extra parenthesis",
       {Enabled("Evaluate Expression", {"$A$ = $B$)", "R"})}, 0, kExpressionMessage},
      {"expression left open", {Enabled("Evaluate Expression", {"(\"a\" = \"b\"", "R"})}, 0,
       kExpressionMessage},
      {"GoTo a missing label", {Enabled("Label", {"there"}), Enabled("GoTo Label", {"Nowhere"})}, 1,
       "LABEL undefined: Nowhere"},
      {"If on an undeclared variable", {Enabled("If", {"NOPE", "0", "x", ""}), Enabled("End")}, 0,
       "Variable not defined: NOPE"},
      {"If comparing with an undeclared reference",
       {Enabled("If", {"TITLE", "0", "$NOPE$", ""}), Enabled("End")}, 0,
       "Variable not defined: $NOPE$"},
      {"If with both operands undeclared",
       {Enabled("If", {"$ONE$", "0", "$TWO$", ""}), Enabled("End")}, 0,
       "Variable not defined: $TWO$"},
      {"Else If is checked like If",
       {IfTitle(), Enabled("Else If", {"NOPE", "0", "", ""}), Enabled("End")}, 1,
       "Variable not defined: NOPE"},
      {"If before the Set Variable that declares",
       {Enabled("If", {"LATER", "0", "x", ""}), Enabled("End"),
        Enabled("Set Variable", {"LATER", "1"})},
       0, "Variable not defined: LATER"},
      {"dialog without name", {Enabled("Display Dialog", {"", "R", "TRUE", ""})}, 0,
       "Dialog name not specified"},
      {"dialog condition undeclared",
       {Enabled("Display Dialog", {"Welcome", "R", "TRUE", "$NOPE$"})}, 0,
       "Variable not defined: $NOPE$"},
      {"dialog condition literal", {Enabled("Display Dialog", {"Welcome", "", "TRUE", "nope"})}, 0,
       "Variable not defined: nope"},
      {"Set Variable inside a Wizard Loop",
       {Enabled("Wizard Loop"), Enabled("Display Dialog", {"D1", "", "TRUE", ""}),
        Enabled("Set Variable", {"X", "1"}), Enabled("End")},
       2, kWizardMessage},
      {"If inside a Wizard Loop",
       {Enabled("Wizard Loop"), IfTitle(), Enabled("End"), Enabled("End")}, 1, kWizardMessage},
      {"first failure wins",
       {Enabled("Check Disk Space", {""}), Enabled("Display Dialog", {""})}, 0,
       "Variable required"},
  };
  for (const Rejection& c : cases) {
    SCOPED_TRACE(c.what);
    const PreparationResult result = Prepare(c.script);
    EXPECT_FALSE(result.Passed());
    EXPECT_EQ(result.index, c.index);
    EXPECT_EQ(result.message, c.message);
  }
}

TEST(PreparationPass, AcceptsSoundScripts) {
  const std::vector<std::pair<const char*, Script>> cases = {
      {"empty script", {}},
      {"disabled If and End do not count", {Disabled("If"), Disabled("End")}},
      {"Else and Else If are not counted",
       {IfTitle(), Enabled("Else If", {"TITLE", "0", "", ""}), Enabled("Else"), Enabled("End")}},
      {"declared before use",
       {Enabled("Set Variable", {"LATER", "x"}), Enabled("Convert Path", {"later"})}},
      {"Set Variable as a reference declares the name",
       {Enabled("Set Variable", {"$NAME$", "x"}), Enabled("Convert Case", {"NAME", "TRUE"})}},
      {"persisted variables count from the start",
       {Enabled("If", {"KEEP", "0", "x", ""}), Enabled("End"),
        Disabled("Set Variable", {"keep$VRAX$VRAX$TRUE", "1"})}},
      {"result variables of many statements",
       {Enabled("Mathematics", {"1", "2", "0", "SUM"}),
        Enabled("Read from Text File", {"f", "LINE", "EOF"}),
        Enabled("Parse String", {"a", "b", "LEFT", "RIGHT"}),
        Enabled("Run Program As", {"", "", "", "", "", "", "", "CODE"}),
        Enabled("MessageBox", {"", "", "", "", "ANSWER"}),
        Enabled("Display Dialog", {"D", "CHOICE", "TRUE", ""}),
        Enabled("Evaluate Expression", {"$SUM$ = \"3\"", "OK"}),
        Enabled("Convert Path", {"SUM"}), Enabled("Convert Path", {"line"}),
        Enabled("Convert Path", {"EOF"}), Enabled("Convert Path", {"LEFT"}),
        Enabled("Convert Path", {"RIGHT"}), Enabled("Convert Path", {"CODE"}),
        Enabled("Convert Path", {"ANSWER"}), Enabled("Convert Path", {"CHOICE"}),
        Enabled("Convert Path", {"OK"})}},
      {"engine variables are declared",
       {Enabled("If", {"$VRAX_COMPRESSCACHE$", "0", "$SAVEDATA$", ""}), Enabled("End"),
        Enabled("Replace String", {"GPOPATH", "a", "b"}),
        Enabled("Replace String", {"$VRAX_DISABLE_ROLLBACK$", "a", "b"})}},
      {"If compares with a literal", {Enabled("If", {"$TITLE$", "0", "plain text", ""}), Enabled("End")}},
      {"GoTo a label defined later, or disabled",
       {Enabled("GoTo Label", {"end"}), Enabled("GoTo Label", {"OFF"}), Enabled("Label", {"END"}),
        Disabled("Label", {"off"})}},
      {"expression that is wrong yet leaves nothing over",
       {Enabled("Evaluate Expression", {"$A$ = $B$ OR $A$ = $B$", "R"})}},
      {"web block name after a folder", {Enabled("Web Media Block", {"C:\\dir\\Block1", "u"})}},
      {"web block without a name", {Enabled("Web Media Block", {"", ""})}},
      {"wizard loop of dialogs, comments and disabled statements",
       {Enabled("Wizard Loop"), Enabled("Display Dialog", {"D1", "", "TRUE", ""}),
        Enabled("Comment"), Disabled("Set Variable", {"X", "1"}), Enabled("Ignore"),
        Disabled("End"), Enabled("Display Dialog", {"D2", "", "TRUE", ""}), Enabled("End"),
        Enabled("Set Variable", {"AFTER", "1"})}},
      {"disabled statements are not checked",
       {Disabled("Check Disk Space", {""}), Disabled("Install Files", {"", "", ""})}},
      {"a delete mode given", {Enabled("Delete Files", {"a", "b", "", "-1"})}},
  };
  for (const auto& [what, script] : cases) {
    SCOPED_TRACE(what);
    const PreparationResult result = Prepare(script);
    EXPECT_TRUE(result.Passed()) << result.index << ": " << result.message;
    EXPECT_EQ(result.index, kPreparedIndex);
    EXPECT_EQ(result.message, "Script compiled successfully");
  }
}

TEST(PreparationPass, MarksDeferredStatementsInTheStateList) {
  const Script script = {Enabled("Install Files", {"f", "g", "$TARGETDIR$"}),
                         Enabled("Set Variable", {"A", "1"}),
                         Disabled("Write Registry"),
                         Enabled("Write Registry"),
                         Enabled("Delete Files", {"a", "b", "TRUE", ""}),
                         Enabled("Create Shortcut"),
                         Enabled("Copy/Move Local Files"),
                         Enabled("Advertised File Type"),
                         Enabled("Unknown Plug-in Statement")};
  const PreparationResult result = Prepare(script);
  ASSERT_TRUE(result.Passed()) << result.message;
  EXPECT_EQ(result.statementStates,
            (LineList{"FALSE", "SKIP", "SKIP", "FALSE", "FALSE", "FALSE", "FALSE", "FALSE", "SKIP"}));
}

TEST(PreparationPass, CollectsLabelsAndDeclaresIntoAFreshStore) {
  TVariableManager store;
  store.Set("LEFTOVER", "from before");
  const Script script = {Enabled("Label", {"Start"}), Disabled("Label", {"Off"}),
                         Enabled("Get Environment", {"PATH", "envpath"}),
                         Enabled("Set Variable", {"Counter$VRAX$VRAX$FALSE", "0"})};
  const PreparationResult result = Prepare(script, store);
  ASSERT_TRUE(result.Passed()) << result.message;
  EXPECT_EQ(result.compileLabels, (LineList{"START", "OFF"}));
  EXPECT_FALSE(store.Exists("LEFTOVER"));
  EXPECT_TRUE(store.Exists("ENVPATH"));
  EXPECT_TRUE(store.Exists("COUNTER"));
  EXPECT_FALSE(store.Exists("Counter$VRAX$VRAX$FALSE"));
  EXPECT_TRUE(store.Exists("PROGRESSMODE"));
  EXPECT_EQ(store.Get("TITLE"), "");
  EXPECT_EQ(result.statementStates.size(), script.size());
}

TEST(PreparationPass, OperandTest) {
  TVariableManager store;
  store.Set("KNOWN", "");
  EXPECT_TRUE(OperandDefined("$KNOWN$", false, store));
  EXPECT_TRUE(OperandDefined("known", false, store));
  EXPECT_FALSE(OperandDefined("$OTHER$", true, store));
  EXPECT_TRUE(OperandDefined("literal", true, store));
  EXPECT_FALSE(OperandDefined("literal", false, store));
  EXPECT_TRUE(OperandDefined("$A$ and $B$", true, store));  // not a single reference
}

// A block cut short by the end of the parameter list fails the statement that reads past it.
TEST(PreparationPass, ParameterPastTheEndFailsThatStatement) {
  PackageTables tables = testing::ScriptTables(
      {Enabled("Comment"), Enabled("Display Dialog", {"Welcome", "R"})});
  ParameterLookup lookup;
  lookup.AddList(tables.parameters);
  const PreparationResult result = PrepareScript(tables, lookup);
  EXPECT_EQ(result.index, 1);
  EXPECT_NE(result.message.find("past the end of the parameter list"), std::string::npos)
      << result.message;
}

// An empty parameter line must not be taken for the block of a statement whose key is missing.
TEST(PreparationPass, StatementWithoutKeyHasNoParameters) {
  PackageTables tables = testing::ScriptTables(
      {Enabled("Set Variable", {"A", ""}), Enabled("Check Disk Space", {"FREE"})});
  tables.statementKeys[1].clear();
  ParameterLookup lookup;
  lookup.AddList(tables.parameters);
  const PreparationResult result = PrepareScript(tables, lookup);
  EXPECT_EQ(result.index, 1);
  EXPECT_EQ(result.message, "Variable required");
}

TEST(PreparationPass, FailureNamesTheAuthorsFileAndLine) {
  PackageTables tables = testing::ScriptTables(
      {Enabled("Comment"), Enabled("Check Disk Space", {""}), Enabled("If", {"TITLE", "0", "", ""})});
  tables.sourcePositions = {"C:\\setup\\main.kvs*0", "C:\\setup\\main.kvs*41", "C:\\setup\\main.kvs*42"};
  ParameterLookup lookup;
  lookup.AddList(tables.parameters);
  PreparationResult result = PrepareScript(tables, lookup);
  EXPECT_EQ(result.index, kBlockCountIndex);
  EXPECT_EQ(DescribePreparationFailure(tables, result),
            "C:\\setup\\main.kvs: Insufficient END statements");
  tables.statementNames.back() = "Comment";
  result = PrepareScript(tables, lookup);
  EXPECT_EQ(DescribePreparationFailure(tables, result),
            "C:\\setup\\main.kvs:42: Variable required");
  tables.sourcePositions[1] = "no position";
  EXPECT_EQ(DescribePreparationFailure(tables, result), "statement 1: Variable required");
}

TEST(PreparationPass, HundredThousandStatementsPass) {
  const PackageTables tables = testing::ScriptTables(testing::LargeScript(100000));
  ASSERT_GE(tables.StatementCount(), 100000u);
  ParameterLookup lookup;
  lookup.AddList(tables.parameters);
  const PreparationResult result = PrepareScript(tables, lookup);
  EXPECT_TRUE(result.Passed()) << result.index << ": " << result.message;
  EXPECT_EQ(result.statementStates.size(), tables.StatementCount());
  EXPECT_EQ(result.compileLabels.size(), (tables.StatementCount() - 4) / 16);
}

}  // namespace
}  // namespace korvane
