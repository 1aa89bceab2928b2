// Any byte string read as variable list text loads without a crash, saves and loads back to
// the same variables, and expands (plainly and quoted) against them within the guard. The
// expansion runs with a smaller budget than the store's so that inputs which hit the guard
// (self references, doubling values) do not slow the fuzzer down to a crawl.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/compiler_constants.h"
#include "engine/variable_list_text.h"
#include "engine/variable_manager.h"

namespace {

std::vector<std::pair<std::string, std::string>> SortedPairs(const korvane::TVariableManager& store) {
  korvane::LineList lines;
  store.List(lines);
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t i = 0; i + 1 < lines.size(); i += 2) pairs.emplace_back(lines[i], lines[i + 1]);
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  korvane::TVariableManager store;
  korvane::LoadAll(store, input);

  korvane::TVariableManager reloaded;
  korvane::LoadAll(reloaded, korvane::SaveAll(store));
  if (SortedPairs(reloaded) != SortedPairs(store)) std::abort();  // the round trip lost something

  // The input doubles as a text to expand against the variables it defined.
  const korvane::VariableLookup lookup = [&](std::string_view name) { return store.Find(name); };
  const korvane::ExpansionLimits limits{2000, size_t{1} << 20};
  const std::string expanded = korvane::ExpandReferences(input, lookup, korvane::ExpansionStyle::Plain, limits);
  if (input.find('$') == std::string_view::npos && expanded != input) std::abort();
  (void)korvane::ExpandReferences(input, lookup, korvane::ExpansionStyle::Quoted, limits);

  // The same items as a compiler constant table.
  korvane::LineList constants;
  store.List(constants);
  (void)korvane::SubstituteConstants(input, constants);
  return 0;
}
