// The variable store's hot paths: expanding a statement parameter and setting and getting
// variables in a large store. std::unordered_map with upper-cased keys is the reference for
// Set and Get (same work minus the lock and the case-folding compare).
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/variable_manager.h"
#include "support/text.h"

namespace {

constexpr int kVariables = 100'000;

std::vector<std::string> Names() {
  std::vector<std::string> names;
  names.reserve(kVariables);
  for (int i = 0; i < kVariables; ++i) names.push_back("Variable_" + std::to_string(i));
  return names;
}

// 1 KB of text holding 50 references, as a long message or command line parameter.
std::string KilobyteWithFiftyReferences(korvane::TVariableManager& store) {
  std::string text;
  for (int i = 0; i < 50; ++i) {
    store.Set("VAR" + std::to_string(i), "value " + std::to_string(i));
    text += "a few words ";
    text += "$VAR" + std::to_string(i) + "$";
  }
  text.resize(1024, '.');
  return text;
}

void BM_Expand1KBWith50References(benchmark::State& state) {
  korvane::TVariableManager store;
  for (int i = 0; i < 1000; ++i) store.Set("OTHER" + std::to_string(i), "x");
  const std::string text = KilobyteWithFiftyReferences(store);
  for (auto _ : state) benchmark::DoNotOptimize(store.Expand(text));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
  state.counters["text_bytes"] = static_cast<double>(text.size());
  state.counters["per_reference"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * 50, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Expand1KBWith50References);

void BM_ExpandTextWithoutReferences(benchmark::State& state) {
  korvane::TVariableManager store;
  const std::string text(1024, 'a');
  for (auto _ : state) benchmark::DoNotOptimize(store.Expand(text));
}
BENCHMARK(BM_ExpandTextWithoutReferences);

// The cost of running into the guard: a variable that refers to itself.
void BM_ExpandSelfReferenceUntilTheGuard(benchmark::State& state) {
  korvane::TVariableManager store;
  store.Set("SELF", "$SELF$");
  for (auto _ : state) benchmark::DoNotOptimize(store.Expand("$SELF$"));
}
BENCHMARK(BM_ExpandSelfReferenceUntilTheGuard)->Unit(benchmark::kMillisecond);

void BM_Set100000(benchmark::State& state) {
  const auto names = Names();
  for (auto _ : state) {
    korvane::TVariableManager store;
    for (const auto& name : names) store.Set(name, "value");
    benchmark::DoNotOptimize(store.Count());
  }
  state.SetItemsProcessed(state.iterations() * kVariables);
}
BENCHMARK(BM_Set100000)->Unit(benchmark::kMillisecond);

void BM_Get100000(benchmark::State& state) {
  const auto names = Names();
  korvane::TVariableManager store;
  for (const auto& name : names) store.Set(name, "value");
  for (auto _ : state)
    for (const auto& name : names) benchmark::DoNotOptimize(store.Get(name));
  state.SetItemsProcessed(state.iterations() * kVariables);
}
BENCHMARK(BM_Get100000)->Unit(benchmark::kMillisecond);

void BM_ReferenceSet100000(benchmark::State& state) {
  const auto names = Names();
  for (auto _ : state) {
    std::unordered_map<std::string, std::string> map;
    for (const auto& name : names) map[korvane::UpperCase(name)] = "value";
    benchmark::DoNotOptimize(map.size());
  }
  state.SetItemsProcessed(state.iterations() * kVariables);
}
BENCHMARK(BM_ReferenceSet100000)->Unit(benchmark::kMillisecond);

void BM_ReferenceGet100000(benchmark::State& state) {
  const auto names = Names();
  std::unordered_map<std::string, std::string> map;
  for (const auto& name : names) map[korvane::UpperCase(name)] = "value";
  for (auto _ : state)
    for (const auto& name : names) {
      auto it = map.find(korvane::UpperCase(name));
      benchmark::DoNotOptimize(it == map.end() ? std::string() : it->second);
    }
  state.SetItemsProcessed(state.iterations() * kVariables);
}
BENCHMARK(BM_ReferenceGet100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
