#pragma once
// A whole engine run on the host: a script given as statements, the fakes of the system seams,
// a recording stand-in for the subsystems that join the run, and a scripted stand-in for
// Display Dialog that answers from a list.

#include <cstdio>
#include <deque>
#include <filesystem>
#include <stdexcept>
#include <fstream>
#include <string>
#include <vector>

#include "bootstrap/parameter_lookup.h"
#include "bootstrap/timing_log.h"
#include "engine/engine_run.h"
#include "engine/script_run.h"
#include "engine_fakes.h"
#include "preparation_script.h"
#include "statements/statement_families.h"
#include "wizard/language_table.h"

namespace korvane::testing {

class RecordingExtensions : public EngineExtensions {
 public:
  void Cleanup(ScriptRun&) override { ++cleanups; }
  void CacheStart(ScriptRun&) override {
    if (failCacheStart) throw std::runtime_error("Cannot read the setup cache");
  }
  void RefreshProgress(ScriptRun&, std::string_view text, long long position) override {
    progress.push_back(std::string(text) + "@" + std::to_string(position));
  }
  void RunPlugin(ScriptRun&, size_t statement) override { plugins.push_back(statement); }
  bool SelectLanguage(ScriptRun&) override { return languageAccepted; }
  bool ModelessDialogShowing(ScriptRun&) override { return modelessShowing; }

  int cleanups = 0;
  std::vector<std::string> progress;
  std::vector<size_t> plugins;
  bool languageAccepted = true;
  bool modelessShowing = false;
  bool failCacheStart = false;
};

class EngineHarness {
 public:
  explicit EngineHarness(std::vector<ScriptStatement> script) : tables_(ScriptTables(script)) {
    for (size_t i = 0; i < tables_.StatementCount(); ++i)
      tables_.sourcePositions.push_back("C:\\work\\scripts\\demo.kvs*" + std::to_string(i + 10));
    tables_.productTitle = "Demo";
    tables_.revisionCode = "{0A1B2C3D-4E5F-4A6B-8C7D-8E9F0A1B2C3D}";
    parameters_.AddList(tables_.parameters);
    folder_ = std::filesystem::temp_directory_path() /
              ("korvane-engine-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::create_directories(folder_);
    database_ = (folder_ / "demo.msi").string();

    std::ofstream(folder_ / "demo.msi").put('x');

    catalogue = StandardCatalogue();
    catalogue.Register("Display Dialog", [this](ScriptRun& run, size_t statement) {
      dialogs.push_back(run.Parameter(statement, 1));
      std::string word = answers.empty() ? "NEXT" : answers.front();
      if (!answers.empty()) answers.pop_front();
      run.Set("WIZARD", word, "Display Dialog Action");
      if (run.flow.inWizard) run.flow.SteerWizard(word == "CANCEL" ? 2 : word == "NEXT" ? 6 : word == "BACK" ? 7 : 8);
    });
  }
  ~EngineHarness() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  PackageTables& Tables() { return tables_; }
  std::filesystem::path Folder() const { return folder_; }
  void RemoveDatabase() { std::filesystem::remove(database_); }

  EngineResult Run(bool silent = false, LineList commandLineVariables = {}) {
    EngineStart start{tables_, parameters_, store, log, language, {clock, window, boxes}, extensions, {}, {}, nullptr, {}, {}};
    start.start.programPath = "C:\\setup\\demo.exe";
    start.start.programFolder = "C:\\setup\\";
    start.start.tempFolder = folder_.string() + "/";
    start.start.supportDirectory = folder_.string() + "/";
    start.start.installerDatabase = database_;
    start.start.logPath = "timing.log";
    start.start.silent = silent;
    start.commandLineVariables = std::move(commandLineVariables);
    start.catalogue = &catalogue;
    log.SetPath("timing.log");
    return RunEngine(start);
  }

  std::string Value(std::string_view name) const { return store.Get(name); }

  TVariableManager store;
  std::vector<std::string> logLines;
  TimingLog log{[this](std::string_view, std::string_view line, bool) { logLines.emplace_back(line); }};
  LanguageTable language;
  FakeClock clock;
  FakeWindow window{clock};
  RecordedErrorBoxes boxes;
  RecordingExtensions extensions;
  StatementCatalogue catalogue;
  std::deque<std::string> answers;  // what the scripted dialogs answer, in order
  std::vector<std::string> dialogs; // the dialogs shown, by name

 private:
  PackageTables tables_;
  ParameterLookup parameters_;
  std::filesystem::path folder_;
  std::string database_;
};

// "Set Variable: TRACE | $TRACE$<mark>": the trace of the branches a script took.
inline ScriptStatement Mark(const std::string& mark) { return Enabled("Set Variable", {"TRACE", "$TRACE$" + mark}); }

}  // namespace korvane::testing
