// Loading dialog form files into checked component models, as start-up does for every dialog
// of a setup: 30 dialogs of 40 controls each, from the text form and from the binary form.
// A plain read without the class and property check is the reference for what checking costs.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "wizard/forms/form_reader.h"
#include "wizard/forms/form_writer.h"

namespace {

constexpr int kDialogs = 30;
constexpr int kControlsPerDialog = 40;

std::string ReadAll(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

struct Dialogs {
  std::vector<std::string> text;
  std::vector<std::string> binary;
};

const Dialogs& Files() {
  static const Dialogs files = [] {
    Dialogs d;
    // The dialog the Wine timing (form_viewer --time) loads as well: a header panel and rows of
    // labels, edits, check boxes, buttons, list and combo boxes.
    const std::string file = ReadAll(KORVANE_TEST_DATA "/forms/forty_controls.dfm");
    for (int i = 0; i < kDialogs; ++i) {
      d.text.push_back(file);
      auto model = korvane::forms::ReadFormText(d.text.back(), "dialog.dfm");
      if (!model.ok() || (*model)->Descendants().size() != kControlsPerDialog) std::abort();
      d.binary.push_back(korvane::forms::WriteFormBinary(**model));
    }
    return d;
  }();
  return files;
}

// Time per dialog: the figure is per iteration over 30 dialogs, divided by the counter.
void Report(benchmark::State& state) {
  state.counters["dialogs"] = benchmark::Counter(static_cast<double>(state.iterations() * kDialogs),
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LoadThirtyTextDialogs(benchmark::State& state) {
  const Dialogs& files = Files();
  for (auto _ : state)
    for (const std::string& f : files.text) {
      auto loaded = korvane::forms::LoadForm(f, "dialog.dfm");
      benchmark::DoNotOptimize(loaded);
    }
  Report(state);
}
BENCHMARK(BM_LoadThirtyTextDialogs)->Unit(benchmark::kMillisecond);

void BM_LoadThirtyBinaryDialogs(benchmark::State& state) {
  const Dialogs& files = Files();
  for (auto _ : state)
    for (const std::string& f : files.binary) {
      auto loaded = korvane::forms::LoadForm(f, "dialog.dfm");
      benchmark::DoNotOptimize(loaded);
    }
  Report(state);
}
BENCHMARK(BM_LoadThirtyBinaryDialogs)->Unit(benchmark::kMillisecond);

// Reference: reading without the class and property check.
void BM_ReadThirtyTextDialogsUnchecked(benchmark::State& state) {
  const Dialogs& files = Files();
  for (auto _ : state)
    for (const std::string& f : files.text) {
      auto read = korvane::forms::ReadFormText(f, "dialog.dfm");
      benchmark::DoNotOptimize(read);
    }
  Report(state);
}
BENCHMARK(BM_ReadThirtyTextDialogsUnchecked)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
