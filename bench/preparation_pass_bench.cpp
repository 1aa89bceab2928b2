// Cost of the preparation pass over a script of 100,000 statements (the parameter index is
// built afresh each time, as it is in a run), and of the expression evaluator on large input.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/expression.h"
#include "engine/preparation_pass.h"
#include "preparation_script.h"

namespace korvane {
namespace {

void PreparationPassOverScript(benchmark::State& state) {
  const PackageTables tables =
      testing::ScriptTables(testing::LargeScript(static_cast<size_t>(state.range(0))));
  TVariableManager store;
  for (auto _ : state) {
    ParameterLookup lookup;
    lookup.AddList(tables.parameters);
    PreparationResult result = PrepareScript(tables, lookup, store);
    if (!result.Passed()) state.SkipWithError(result.message.c_str());
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(tables.StatementCount()));
  state.counters["statements"] = static_cast<double>(tables.StatementCount());
  state.counters["ns_per_statement"] = benchmark::Counter(
      static_cast<double>(state.iterations() * tables.StatementCount()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(PreparationPassOverScript)->Arg(100000)->Unit(benchmark::kMillisecond);

void ExpressionOfOneMegabyte(benchmark::State& state) {
  std::string text = R"("a"="a")";
  while (text.size() < (1u << 20)) text += R"( and ("x" < "y" or "b" >= "c"))";
  for (auto _ : state) benchmark::DoNotOptimize(EvaluateExpression(text));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(ExpressionOfOneMegabyte)->Unit(benchmark::kMillisecond);

void ExpressionNestedHundredThousandDeep(benchmark::State& state) {
  const std::string text = std::string(100000, '(') + R"("a"="a")" + std::string(100000, ')');
  for (auto _ : state) benchmark::DoNotOptimize(EvaluateExpression(text));
}
BENCHMARK(ExpressionNestedHundredThousandDeep)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
