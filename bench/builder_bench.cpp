// The builder on large scripts: compiling a source and writing its package, next to reading
// the package back (what every setup does at start-up) for scale.
#include <benchmark/benchmark.h>

#include <string>

#include "bootstrap/package_reader.h"
#include "bootstrap/package_writer.h"
#include "tools/script_source.h"

namespace {

std::string LargeSource(int statements) {
  std::string s =
      "[package]\nTitle = Bench\nProductCode = {11111111-2222-3333-4444-555555555555}\n"
      "RevisionCode = {66666666-7777-8888-9999-AAAAAAAAAAAA}\n[script]\n";
  for (int i = 0; i < statements; ++i) {
    switch (i % 4) {
      case 0:
        s += "Set Variable: VAR" + std::to_string(i) + " | some value with $DOLLAR$ and \"quotes\"\n";
        break;
      case 1:
        s += "If: VAR" + std::to_string(i - 1) + " | 0 | \"  x|y  \" | FALSE\n";
        break;
      case 2:
        s += "  ! Comment: disabled " + std::to_string(i) + "\n";
        break;
      default:
        s += "End\n";
        break;
    }
  }
  return s;
}

void CompileAndWrite(benchmark::State& state) {
  const std::string source = LargeSource(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto compiled = korvane::builder::CompileScriptSource(source, "bench.kvs");
    auto text = korvane::WritePackage(compiled.value().tables);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
  state.counters["statements/s"] =
      benchmark::Counter(static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(CompileAndWrite)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);

void ReadBack(benchmark::State& state) {
  auto compiled = korvane::builder::CompileScriptSource(LargeSource(static_cast<int>(state.range(0))), "bench.kvs");
  const std::string text = korvane::WritePackage(compiled.value().tables).value();
  for (auto _ : state) {
    auto tables = korvane::ParsePackage(text);
    benchmark::DoNotOptimize(tables);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["statements/s"] =
      benchmark::Counter(static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(ReadBack)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
