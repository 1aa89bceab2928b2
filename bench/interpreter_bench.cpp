// The statement loop over a script of 100,000 statements (Set Variable, If / Else / End, GoTo
// Label and Label), and the refresh that runs before every statement on its own, to tell how
// much of a statement's time the refresh takes. The real clock of the host formats DATE and TIME.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/interpreter.h"
#include "engine/script_run.h"
#include "engine/statement_refresh.h"
#include "engine/worker_channel.h"
#include "preparation_script.h"
#include "statements/statement_families.h"

namespace korvane {
namespace {

class QuietWindow final : public platform::ApplicationWindow {
 public:
  void ProcessPendingMessages() override {}
  void ProcessOnePendingMessage() override {}
  void WaitAndProcessMessage() override {}
  void Wake() override {}
  TimerId AddTimer(unsigned, std::function<void()>) override { return 0; }
  void EnableTimer(TimerId, bool) override {}
  bool TimerEnabled(TimerId) const override { return false; }
  platform::WindowHandle Handle() const override { return nullptr; }
};

class NoBoxes final : public platform::ErrorBoxes {
 public:
  void ShowError(std::string_view, std::string_view, platform::WindowHandle) override {}
};

std::vector<testing::ScriptStatement> BranchingScript(size_t count) {
  using testing::Enabled;
  std::vector<testing::ScriptStatement> script = {Enabled("Set Variable", {"TITLE", "Demo"})};
  for (size_t group = 0; script.size() < count; ++group) {
    const std::string n = std::to_string(group);
    const std::vector<testing::ScriptStatement> statements = {
        Enabled("Set Variable", {"VALUE" + n, "$TITLE$ " + n}),
        Enabled("If", {"VALUE" + n, "0", "Demo " + n, group % 2 ? "TRUE" : "FALSE"}),
        Enabled("Set Variable", {"BRANCH", "then " + n}),
        Enabled("Else"),
        Enabled("Set Variable", {"BRANCH", "else " + n}),
        Enabled("End"),
        Enabled("GoTo Label", {"L" + n}),
        Enabled("Set Variable", {"SKIPPED", "never"}),
        Enabled("Label", {"L" + n}),
    };
    script.insert(script.end(), statements.begin(), statements.end());
  }
  return script;
}

struct Bench {
  explicit Bench(size_t statements) : tables(testing::ScriptTables(BranchingScript(statements))) {
    parameters.AddList(tables.parameters);
  }
  PackageTables tables;
  ParameterLookup parameters;
  TVariableManager store;
  TimingLog log{[](std::string_view, std::string_view, bool) {}};
  LanguageTable language;
  std::unique_ptr<platform::SystemClock> clock = platform::MakeSystemClock();
  QuietWindow window;
  NoBoxes boxes;
  EngineExtensions extensions;
  StatementCatalogue catalogue = StandardCatalogue();
};

// The engine variables the refresh reads, as the prologue leaves them.
void SetEngineVariables(TVariableManager& store) {
  SetWorkerStartValues(store, 0);
  for (const char* name : {"LOGGED", "OVERRIDECACHE", "VRAXLOGO", "LANGUAGE", "PROGRESSTEXT"}) store.Set(name, "");
  store.Set("SILENT", "FALSE");
  store.Set("TITLE", "Demo");
  store.Set("PROGRESS", "0");
}

void StatementLoop(benchmark::State& state) {
  Bench bench(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    bench.store.Clear();
    SetEngineVariables(bench.store);
    ScriptRun run(bench.tables, bench.parameters, bench.store, bench.log, bench.language,
                  {*bench.clock, bench.window, bench.boxes}, bench.extensions, {}, false);
    run.labels.Build(bench.tables, bench.parameters);
    state.ResumeTiming();
    const LoopOutcome outcome = Interpreter(run, bench.catalogue).Run();
    if (outcome.failed) state.SkipWithError(outcome.message.c_str());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(bench.tables.StatementCount()));
  state.counters["ns_per_statement"] = benchmark::Counter(
      static_cast<double>(state.iterations() * bench.tables.StatementCount()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(StatementLoop)->Arg(100000)->Unit(benchmark::kMillisecond);

// The refresh alone, as often as the loop above runs it.
void RefreshBeforeEveryStatement(benchmark::State& state) {
  Bench bench(16);
  SetEngineVariables(bench.store);
  ScriptRun run(bench.tables, bench.parameters, bench.store, bench.log, bench.language,
                {*bench.clock, bench.window, bench.boxes}, bench.extensions, {}, false);
  StatementRefresh refresh;
  const int64_t count = state.range(0);
  for (auto _ : state)
    for (int64_t i = 0; i < count; ++i) refresh.Run(run);
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["ns_per_statement"] =
      benchmark::Counter(static_cast<double>(state.iterations() * count),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(RefreshBeforeEveryStatement)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
