// Parameter lookup on a large parameter list, and reading a large package.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "bootstrap/package_reader.h"
#include "bootstrap/parameter_lookup.h"

namespace korvane {
namespace {

std::string Key(size_t i) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "{%08zX-0000-4000-8000-%012zX}", i, i * 7919);
  return buffer;
}

// A parameter list of about `lines` lines: blocks of a key and four parameters.
LineList ParameterList(size_t lines) {
  LineList list;
  list.reserve(lines);
  for (size_t i = 0; list.size() + 5 <= lines; ++i) {
    list.push_back(Key(i));
    for (int p = 1; p <= 4; ++p) list.push_back("value " + std::to_string(i) + "." + std::to_string(p));
  }
  return list;
}

void BM_ParameterLookup100kLines(benchmark::State& state) {
  const LineList list = ParameterList(100000);
  ParameterLookup lookup;
  lookup.AddList(list);
  (void)lookup.Parameter(Key(0), 1);  // builds the index once, as the first statement would
  std::mt19937 random(42);
  std::vector<std::string> keys;
  for (int i = 0; i < 1024; ++i) keys.push_back(Key(random() % (list.size() / 5)));
  size_t n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(lookup.Parameter(keys[n++ & 1023], 3));
}
BENCHMARK(BM_ParameterLookup100kLines);

void BM_ParameterIndexBuild100kLines(benchmark::State& state) {
  const LineList list = ParameterList(100000);
  for (auto _ : state) {
    ParameterLookup lookup;
    lookup.AddList(list);
    benchmark::DoNotOptimize(lookup.Parameter(Key(1), 1));
  }
}
BENCHMARK(BM_ParameterIndexBuild100kLines)->Unit(benchmark::kMillisecond);

// About 10 MB of package text: statements with parameter blocks.
std::string LargePackage() {
  const size_t statements = 53000;
  std::string names, keys, params, flags, web, positions;
  for (size_t i = 0; i < statements; ++i) {
    names += "Set Variable\r\n";
    keys += Key(i) + "\r\n";
    params += Key(i) + "\r\nVARIABLE_" + std::to_string(i) + "\r\nsome value with $OTHER$ reference " +
              std::to_string(i) + "\r\n";
    flags += "\r\n";
    web += "\r\n";
    positions += "C:\\projects\\demo\\setup.kvs*" + std::to_string(i) + "\r\n";
  }
  std::string t;
  t += names + "$\r\n" + keys + "$\r\n" + params + "$\r\n" + flags + "$\r\n";
  t += "{P}\r\nTitle\r\n$\r\nPub\r\n\r\n\r\n\r\n\r\n1.0\r\n$\r\n" + web + "$\r\n1\r\n$\r\n{R}\r\n$\r\nFALSE\r\n";
  t += "English\r\n$\r\n$\r\n1252\r\n" + positions + "$\r\n";
  return t;
}

void BM_ParsePackage10MB(benchmark::State& state) {
  const std::string text = LargePackage();
  for (auto _ : state) {
    auto tables = ParsePackage(text);
    if (!tables) state.SkipWithError(tables.error().c_str());
    benchmark::DoNotOptimize(tables);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
  state.counters["package_MB"] = double(text.size()) / 1e6;
}
BENCHMARK(BM_ParsePackage10MB)->Unit(benchmark::kMillisecond);

// The whole read as the stub does it: the bytes after the image go to "vok.tmp" and back.
void BM_ReadPackageFile10MB(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "korvane-package-bench";
  std::filesystem::create_directories(dir);
  const std::string stub(64 * 1024, 'S');
  const std::string text = LargePackage();
  {
    std::ofstream out(dir / "setup.exe", std::ios::binary);
    out << stub << text;
  }
  for (auto _ : state) {
    auto tables = ReadPackageFile(dir / "setup.exe", stub.size(), dir);
    if (!tables) state.SkipWithError(tables.error().c_str());
    benchmark::DoNotOptimize(tables);
  }
  std::filesystem::remove_all(dir);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ReadPackageFile10MB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
