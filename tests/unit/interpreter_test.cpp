// The statement loop end to end on the host: branches, skips, jumps, the Wizard Loop, Set
// Variable, termination, the run-time error path and the engine's prologue and epilogue.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/block_scan.h"
#include "engine/interpreter.h"
#include "engine/script_error.h"
#include "engine_harness.h"

namespace korvane::testing {
namespace {

std::vector<ScriptStatement> Traced(std::vector<ScriptStatement> body) {
  std::vector<ScriptStatement> script = {Enabled("Set Variable", {"TRACE", ""}),
                                         Enabled("Set Variable", {"YES", "1"}),
                                         Enabled("Set Variable", {"NO", "0"})};
  script.insert(script.end(), body.begin(), body.end());
  return script;
}

ScriptStatement IfTrue() { return Enabled("If", {"YES", "0", "1", ""}); }
ScriptStatement IfFalse() { return Enabled("If", {"NO", "0", "1", ""}); }
ScriptStatement ElseIfTrue() { return Enabled("Else If", {"YES", "0", "1", ""}); }
ScriptStatement ElseIfFalse() { return Enabled("Else If", {"NO", "0", "1", ""}); }
ScriptStatement Else() { return Enabled("Else"); }
ScriptStatement End() { return Enabled("End"); }

struct BranchCase {
  const char* what;
  std::vector<ScriptStatement> body;
  const char* trace;
};

TEST(Interpreter, BranchesTakeExactlyTheRightPaths) {
  const std::vector<BranchCase> cases = {
      {"If true, Else If true: only the first branch", {IfTrue(), Mark("a"), ElseIfTrue(), Mark("b"), End(), Mark("z")}, "az"},
      {"the same after an If false block",
       {IfFalse(), Mark("x"), End(), IfTrue(), Mark("a"), ElseIfTrue(), Mark("b"), End(), Mark("z")}, "az"},
      {"If false, Else If false, Else: the Else branch",
       {IfFalse(), Mark("a"), ElseIfFalse(), Mark("b"), Else(), Mark("c"), End(), Mark("z")}, "cz"},
      {"If false, Else If true, Else If true, Else",
       {IfFalse(), Mark("a"), ElseIfTrue(), Mark("b"), ElseIfTrue(), Mark("c"), Else(), Mark("d"), End(), Mark("z")},
       "bz"},
      {"If false without Else", {IfFalse(), Mark("a"), End(), Mark("z")}, "z"},
      {"nested If false in a true branch skips the outer Else",
       {IfTrue(), Mark("a"), IfFalse(), Mark("b"), End(), Mark("c"), Else(), Mark("d"), End(), Mark("z")}, "acz"},
      {"a false branch skips whole nested blocks with their Else",
       {IfFalse(), IfTrue(), Mark("a"), Else(), Mark("b"), End(), Mark("c"), Else(), Mark("d"), IfTrue(), Mark("e"),
        End(), End(), Mark("z")},
       "dez"},
      {"nested chains inside an Else If branch",
       {IfFalse(), Mark("a"), ElseIfTrue(), IfFalse(), Mark("b"), ElseIfFalse(), Mark("c"), Else(), Mark("d"), End(),
        Mark("e"), Else(), Mark("f"), End(), Mark("z")},
       "dez"},
      {"a disabled End inside a skipped block is not counted",
       {IfFalse(), Mark("a"), Disabled("End"), Mark("b"), Else(), Mark("c"), End(), Mark("z")}, "cz"},
      {"a disabled If opens no level",
       {IfTrue(), Mark("a"), Disabled("If", {"NO", "0", "1", ""}), Mark("b"), Else(), Mark("c"), End(), Mark("z")},
       "abz"},
      {"Ignore statements never close a block",
       {IfFalse(), Mark("a"), Enabled("Ignore"), Mark("b"), Else(), Mark("c"), End(), Mark("z")}, "cz"},
      {"disabled and Ignore statements do not run", {Disabled("Set Variable", {"TRACE", "x"}), Enabled("Ignore", {"TRACE", "y"}), Mark("z")}, "z"},
      {"negated condition", {Enabled("If", {"YES", "0", "1", "TRUE"}), Mark("a"), Else(), Mark("b"), End()}, "b"},
  };
  for (const BranchCase& c : cases) {
    EngineHarness engine(Traced(c.body));
    const EngineResult result = engine.Run();
    EXPECT_EQ(engine.Value("TRACE"), c.trace) << c.what;
    EXPECT_EQ(result.exitCode, 0) << c.what;
    EXPECT_TRUE(engine.boxes.shown.empty()) << c.what;
  }
}

TEST(Interpreter, GoToLeavesNestedBlocks) {
  EngineHarness engine(Traced({Enabled("Label", {"Again"}), Mark("l"), IfTrue(), Enabled("Wizard Loop"),
                               Enabled("Display Dialog", {"Welcome", "WIZARD", "TRUE", ""}), End(), IfTrue(), Mark("i"),
                               Enabled("If", {"TRACE", "0", "lwilwi", "FALSE"}), Enabled("GoTo Label", {"done"}), End(),
                               Enabled("GoTo Label", {"AGAIN"}), End(), End(), Enabled("Label", {"Done"}), Mark("d"),
                               IfTrue(), Mark("e"), Else(), Mark("x"), End()}));
  // The dialog marks the trace through the stand-in's answer list; the loop leaves with NEXT.
  engine.catalogue.Register("Display Dialog", [&](ScriptRun& run, size_t) {
    run.Set("TRACE", run.Get("TRACE") + "w", "test");
    run.flow.SteerWizard(6);
  });
  engine.Run();
  // The first round jumps back out of two Ifs; the second jumps out of three to Done, where
  // the branch level starts again from zero (the Else after Done is skipped properly).
  EXPECT_EQ(engine.Value("TRACE"), "lwilwide");
}

TEST(Interpreter, GoToDisabledLabelContinuesAfterIt) {
  EngineHarness engine(Traced({Enabled("GoTo Label", {"skip"}), Mark("a"), Disabled("Label", {"Skip"}), Mark("b")}));
  engine.Run();
  EXPECT_EQ(engine.Value("TRACE"), "b");
}

struct WizardCase {
  const char* what;
  std::vector<std::string> answers;
  std::vector<std::string> shown;
  const char* wizard;
};

TEST(Interpreter, WizardLoopNavigation) {
  const std::vector<WizardCase> cases = {
      {"NEXT, NEXT leaves forward", {"NEXT", "NEXT"}, {"D1", "D2"}, "NEXT"},
      {"BACK on D2 shows D1 again", {"NEXT", "BACK", "NEXT", "NEXT"}, {"D1", "D2", "D1", "D2"}, "NEXT"},
      {"BACK on D1 leaves with BACK", {"BACK"}, {"D1"}, "BACK"},
      {"CANCEL on D1 leaves", {"CANCEL"}, {"D1"}, "CANCEL"},
      {"CANCEL on D2 leaves", {"NEXT", "CANCEL"}, {"D1", "D2"}, "CANCEL"},
      {"a custom word keeps moving backwards", {"NEXT", "BACK", "HELP"}, {"D1", "D2", "D1"}, "HELP"},
      {"a custom word keeps moving forwards", {"NEXT", "HELP"}, {"D1", "D2"}, "HELP"},
  };
  for (const WizardCase& c : cases) {
    EngineHarness engine(Traced({IfTrue(), Enabled("Wizard Loop"), Enabled("Display Dialog", {"D1", "WIZARD", "TRUE", ""}),
                                 Enabled("Comment", {"between"}), Disabled("Display Dialog", {"Off", "WIZARD", "TRUE", ""}),
                                 Enabled("Display Dialog", {"D2", "WIZARD", "TRUE", ""}), End(), Mark("after"), Else(), Mark("else"),
                                 End(), Mark("z")}));
    engine.answers.assign(c.answers.begin(), c.answers.end());
    engine.Run();
    EXPECT_EQ(engine.dialogs, c.shown) << c.what;
    EXPECT_EQ(engine.Value("WIZARD"), c.wizard) << c.what;
    // The loop's End belongs to the loop: the enclosing If still skips its Else.
    EXPECT_EQ(engine.Value("TRACE"), "afterz") << c.what;
  }
}

// The preparation pass keeps other statements out of a Wizard Loop; the loop itself never runs
// them even in a package that holds one.
TEST(Interpreter, WizardLoopNeverRunsOtherStatements) {
  EngineHarness engine(Traced({Enabled("Wizard Loop"), Enabled("Display Dialog", {"D1", "WIZARD", "TRUE", ""}),
                               Mark("inside"), Enabled("Display Dialog", {"D2", "WIZARD", "TRUE", ""}), End(), Mark("z")}));
  engine.answers = {"NEXT", "BACK", "NEXT", "NEXT"};
  LanguageTable language;
  // The loop alone, without the preparation pass.
  ParameterLookup parameters;
  parameters.AddList(engine.Tables().parameters);
  ScriptRun loopRun(engine.Tables(), parameters, engine.store, engine.log, language,
                    {engine.clock, engine.window, engine.boxes}, engine.extensions, {}, false);
  const LoopOutcome outcome = Interpreter(loopRun, engine.catalogue).Run();
  EXPECT_FALSE(outcome.failed);
  EXPECT_EQ(engine.dialogs, (std::vector<std::string>{"D1", "D2", "D1", "D2"}));
  EXPECT_EQ(engine.Value("TRACE"), "z");
}

TEST(Interpreter, SetVariableMarkersAndSideEffects) {
  EngineHarness engine(Traced({Enabled("Set Variable", {"Path$VRAX$VRAX$TRUE", "C:\\one"}),
                               Enabled("Set Variable", {"PATH$VRAX$VRAX$TRUE", "C:\\two"}),
                               Enabled("Set Variable", {"KEEP$VRAX$VRAX$FALSE", "x"}),
                               Enabled("Set Variable", {"$REF$", "by reference"}),
                               Enabled("Set Variable", {"PROGRESSTEXT", "Copying"}),
                               Enabled("Set Variable", {"PROGRESS", "40"}),
                               Enabled("Set Variable", {"abort", "TRUE"})}));
  engine.Run();
  EXPECT_EQ(engine.Value("PATH"), "C:\\two");
  EXPECT_EQ(engine.Value("KEEP"), "x");
  EXPECT_EQ(engine.Value("REF"), "by reference");
  EXPECT_EQ(engine.Value("VRAX_IsCancelled"), "TRUE");
  EXPECT_EQ(engine.extensions.progress, (std::vector<std::string>{"Copying@0", "Copying@40"}));
}

TEST(Interpreter, PersistedVariablesAreListedOnce) {
  EngineHarness engine(Traced({Enabled("Set Variable", {"N", "0"}), Enabled("Label", {"top"}),
                               Enabled("Set Variable", {"PATH$VRAX$VRAX$TRUE", "x"}),
                               Enabled("Mathematics", {"$N$", "1", "0", "N"}),
                               Enabled("If", {"N", "0", "3", "TRUE"}), Enabled("GoTo Label", {"top"}), End()}));
  // The persisted names, captured by a last statement.
  LineList persisted;
  engine.catalogue.Register("Comment", [&](ScriptRun& run, size_t) { persisted = run.lists.persistedVariables; });
  auto& tables = engine.Tables();
  tables.statementNames.push_back("Comment");
  tables.statementKeys.push_back("");
  tables.statementFlags.push_back("");
  tables.sourcePositions.push_back("x*0");
  engine.Run();
  EXPECT_EQ(engine.Value("N"), "3");
  EXPECT_EQ(persisted, LineList{"PATH"});
}

TEST(Interpreter, TerminateWithExitCode) {
  const std::vector<std::pair<std::string, int>> cases = {{"5", 5}, {"-3", -3}, {"abc", 0}, {"", 0}, {"99999999999", 0}};
  for (const auto& [value, code] : cases) {
    EngineHarness engine(Traced({Enabled("Set Variable", {"CODE", value}),
                                 Enabled("Terminate with Exit Code", {"$CODE$"}), Mark("after")}));
    EXPECT_EQ(engine.Run().exitCode, code) << value;
    EXPECT_EQ(engine.Value("TRACE"), "") << "nothing runs after the end, for " << value;
    EXPECT_EQ(engine.logLines.back(), "    </ExitScript>");
  }
  EngineHarness engine(Traced({Enabled("Terminate Install"), Mark("after")}));
  EXPECT_EQ(engine.Run().exitCode, 0);
  EXPECT_EQ(engine.Value("TRACE"), "");
}

TEST(Interpreter, UnknownStatementsAreSkippedAndPlugInsDispatched) {
  EngineHarness engine(Traced({Enabled("Nobody Handles This", {"x"}), Enabled("My Plug-in", {"y"}), Mark("z")}));
  engine.Tables().pluginStatements = {"My Plug-in"};
  engine.Run();
  EXPECT_EQ(engine.Value("TRACE"), "z");
  EXPECT_EQ(engine.extensions.plugins, std::vector<size_t>{4});
}

TEST(Interpreter, LastStatementDisabledEndsNormally) {
  EngineHarness engine(Traced({Mark("a"), Disabled("Set Variable", {"TRACE", "x"})}));
  EXPECT_EQ(engine.Run().exitCode, 0);
  EXPECT_EQ(engine.Value("TRACE"), "a");
  EXPECT_EQ(engine.logLines.back(), "    </ExitScript>");
}

ScriptStatement Failing() { return Enabled("Fail Here", {"boom"}); }

void RegisterFailing(EngineHarness& engine) {
  engine.catalogue.Register("Fail Here", [](ScriptRun& run, size_t statement) {
    throw ScriptError("Cannot do " + run.Parameter(statement, 1));
  });
}

TEST(Interpreter, RuntimeErrorNamesSourceFileAndLine) {
  EngineHarness engine(Traced({Enabled("Set Variable", {"TITLE", "Demo App"}), Mark("a"), Failing(), Mark("b")}));
  RegisterFailing(engine);
  const EngineResult result = engine.Run();
  EXPECT_FALSE(result.endProcessNow);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(engine.Value("TRACE"), "a");
  ASSERT_EQ(engine.boxes.shown.size(), 1u);
  // Statement 5, source line 15 counted from 0: line 16.
  EXPECT_EQ(engine.boxes.shown[0].text,
            "Runtime error in setup script:\r\rSource File: demo\rLine Number: 16\r\rCannot do boom");
  EXPECT_EQ(engine.boxes.shown[0].caption, "Demo App - Korvane Wizard");
  EXPECT_EQ(engine.extensions.cleanups, 1);
  // No </vrax> and no ExitScript entries after an error.
  EXPECT_EQ(engine.logLines.back(), "    <vrax>");
}

TEST(Interpreter, RuntimeErrorIsSilentInSilentRuns) {
  EngineHarness engine(Traced({Mark("a"), Failing(), Mark("b")}));
  RegisterFailing(engine);
  engine.Run(/*silent=*/true);
  EXPECT_TRUE(engine.boxes.shown.empty());
  EXPECT_EQ(engine.Value("TRACE"), "a");
  EXPECT_EQ(engine.extensions.cleanups, 1);
}

TEST(Interpreter, ScriptMaySwitchSilentAndBrandingBeforeAnError) {
  EngineHarness engine(Traced({Enabled("Set Variable", {"VRAXLOGO", "TRUE"}), Failing()}));
  RegisterFailing(engine);
  engine.Run();
  ASSERT_EQ(engine.boxes.shown.size(), 1u);
  EXPECT_EQ(engine.boxes.shown[0].caption, "Demo");

  EngineHarness quiet(Traced({Enabled("Set Variable", {"SILENT", "TRUE"}), Failing()}));
  RegisterFailing(quiet);
  quiet.Run();
  EXPECT_TRUE(quiet.boxes.shown.empty());
}

TEST(Interpreter, ErrorsOfConditionsAndPackagesAreRuntimeErrors) {
  // A version part that is not a number cannot be compared.
  EngineHarness engine(Traced({Enabled("Set Variable", {"V", "1.x.3"}), Enabled("If", {"V", "6", "1.2", ""}), End()}));
  engine.Run();
  ASSERT_EQ(engine.boxes.shown.size(), 1u);
  EXPECT_NE(engine.boxes.shown[0].text.find("Line Number: 15"), std::string::npos) << engine.boxes.shown[0].text;
}

TEST(Engine, RejectedScriptEndsWith314AndShowsNothing) {
  EngineHarness engine(Traced({IfTrue(), Mark("a")}));  // no End
  const EngineResult result = engine.Run();
  EXPECT_TRUE(result.endProcessNow);
  EXPECT_EQ(result.exitCode, 314);
  EXPECT_TRUE(engine.boxes.shown.empty());
  EXPECT_EQ(engine.logLines, (std::vector<std::string>{"    <Variables>", "    </Variables>", "    <CompileScript>"}));
  EXPECT_EQ(engine.extensions.cleanups, 0);
}

TEST(Engine, PrologueAndEpilogueInOrder) {
  EngineHarness engine(Traced({Mark("a")}));
  engine.Tables().commandHeaders = {"00C0FFEE", "3", "0000BEEF", "0"};
  LineList published;
  engine.catalogue.Register("Comment", [&](ScriptRun& run, size_t) { published = run.lists.runParameters; });
  engine.Tables().statementNames.push_back("Comment");
  engine.Tables().statementKeys.push_back("");
  engine.Tables().statementFlags.push_back("");
  EXPECT_EQ(engine.Run(false, {"TARGETDIR", "C:\\Given", "A", "1", "A", "2"}).exitCode, 0);
  EXPECT_EQ(engine.logLines,
            (std::vector<std::string>{"    <Variables>", "    </Variables>", "    <CompileScript>",
                                      "    </CompileScript>", "    <BootStrap>", "    </BootStrap>", "    <vrax>",
                                      "    </vrax>", "    <ExitScript>", "    </ExitScript>"}));
  // Command headers in statement order, each "A" + header = "FALSE".
  EXPECT_EQ(published, (LineList{"A0000BEEF", "FALSE", "A00C0FFEE", "FALSE"}));
  // Command-line pairs injected after initialization: the later duplicate wins.
  EXPECT_EQ(engine.Value("TARGETDIR"), "C:\\Given");
  EXPECT_EQ(engine.Value("A"), "2");
  EXPECT_EQ(engine.Value("TITLE"), "Demo");
  EXPECT_EQ(engine.Value("STARTMENU"), "Demo");
  EXPECT_EQ(engine.Value("WIZARD"), "NEXT");
  EXPECT_EQ(engine.Value("VRAX_thMax"), "100");
  EXPECT_EQ(engine.Value("NEWLINE"), "\r\n");
  EXPECT_EQ(engine.Value("DATE"), "11.12.2026");
  EXPECT_EQ(engine.Value("ABORT"), "FALSE");
  EXPECT_EQ(engine.extensions.cleanups, 1);
}

TEST(Engine, CommandLineVariablesResistTheScriptInSilentRuns) {
  for (const bool silent : {false, true}) {
    EngineHarness engine(Traced({Enabled("Set Variable", {"TARGETDIR", "C:\\Script"})}));
    engine.Run(silent, {"TARGETDIR", "C:\\Given"});
    EXPECT_EQ(engine.Value("TARGETDIR"), silent ? "C:\\Given" : "C:\\Script");
  }
}

TEST(Engine, LeavesWithoutRunningWhenNoInstallerDatabase) {
  EngineHarness engine(Traced({Mark("a")}));
  engine.RemoveDatabase();
  EXPECT_EQ(engine.Run().exitCode, 0);
  EXPECT_EQ(engine.Value("TRACE"), "");
  EXPECT_EQ(engine.logLines.back(), "    </BootStrap>");
}

TEST(Engine, SingleInstanceMarker) {
  EngineHarness engine(Traced({Mark("a")}));
  engine.Tables().compilerConstants = {"SINGLEINSTANCE", "TRUE"};
  const auto marker = engine.Folder() / (engine.Tables().revisionCode + ".vok");
  bool markerWhileRunning = false;
  engine.catalogue.Register("Comment", [&](ScriptRun&, size_t) { markerWhileRunning = std::filesystem::exists(marker); });
  engine.Tables().statementNames.push_back("Comment");
  engine.Tables().statementKeys.push_back("");
  engine.Tables().statementFlags.push_back("");
  engine.Run();
  EXPECT_TRUE(markerWhileRunning);
  EXPECT_FALSE(std::filesystem::exists(marker)) << "the cleanup removes the marker";
  EXPECT_EQ(engine.Value("TRACE"), "a");

  // A marker left by a running setup: this one leaves at once, without a message.
  EngineHarness second(Traced({Mark("a")}));
  second.Tables().compilerConstants = {"SINGLEINSTANCE", "TRUE"};
  std::ofstream(second.Folder() / (second.Tables().revisionCode + ".vok")).put('x');
  EXPECT_EQ(second.Run().exitCode, 0);
  EXPECT_EQ(second.Value("TRACE"), "");
  EXPECT_TRUE(second.boxes.shown.empty());
}

TEST(Engine, FailingPrologueStepIsReportedWithoutSourcePosition) {
  EngineHarness engine(Traced({Mark("a")}));
  engine.extensions.failCacheStart = true;
  EXPECT_EQ(engine.Run().exitCode, 0);
  EXPECT_EQ(engine.Value("TRACE"), "");
  ASSERT_EQ(engine.boxes.shown.size(), 1u);
  EXPECT_EQ(engine.boxes.shown[0].text, "Runtime error in setup script:\r\rCannot read the setup cache");
  EXPECT_EQ(engine.extensions.cleanups, 1);
}

TEST(Engine, CancelledLanguageSelectionCleansUpAndLeaves) {
  EngineHarness engine(Traced({Mark("a")}));
  engine.extensions.languageAccepted = false;
  engine.Run();
  EXPECT_EQ(engine.Value("TRACE"), "");
  EXPECT_EQ(engine.extensions.cleanups, 1);
}

TEST(Engine, RefreshBeforeEveryStatement) {
  EngineHarness engine(Traced({Enabled("Set Variable", {"LOGGED", "Other.log"}), Enabled("Set Variable", {"ABORT", "TRUE"}),
                               Enabled("Set Variable", {"SEEN", "$ABORT$"})}));
  std::vector<std::string> paths;
  engine.log = TimingLog([&](std::string_view path, std::string_view line, bool) { paths.emplace_back(path); });
  engine.Run();
  // ABORT mirrors VRAX_IsCancelled, which Set Variable of ABORT set.
  EXPECT_EQ(engine.Value("SEEN"), "TRUE");
  // The log follows LOGGED, lower-cased.
  EXPECT_EQ(paths.back(), "other.log");

  // An empty LOGGED stops the log: the epilogue writes nothing.
  EngineHarness stopped(Traced({Enabled("Set Variable", {"LOGGED", ""}), Mark("a")}));
  stopped.Run();
  EXPECT_EQ(stopped.logLines.back(), "    <vrax>");
}

TEST(Engine, MessagesAreProcessedEvery314Statements) {
  std::vector<ScriptStatement> body;
  for (int i = 0; i < 1000; ++i) body.push_back(Enabled("Comment", {"c"}));
  EngineHarness engine(Traced(body));
  engine.Run();
  // Statement pointers 0, 314, 628 and 942 of 1003 statements.
  EXPECT_EQ(engine.window.pendingProcessed.load(), 4);
}

TEST(Engine, ProgressChangesArePublishedWhileAModelessDialogShows) {
  EngineHarness engine(Traced({Enabled("Set Variable", {"PROGRESS", "10"}), Enabled("Comment", {"c"}),
                               Enabled("Comment", {"c"}), Enabled("Set Variable", {"PROGRESSTEXT", "Now"}),
                               Enabled("Comment", {"c"})}));
  engine.extensions.modelessShowing = true;
  engine.Run();
  EXPECT_EQ(engine.Value("VRAX_thProgress"), "10");
  EXPECT_EQ(engine.Value("VRAX_thProgressText"), "Now");
  // The first statement saw the start values, then two changes: three publications.
  EXPECT_EQ(engine.window.oneProcessed.load(), 3);
}

}  // namespace
}  // namespace korvane::testing
