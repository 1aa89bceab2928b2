// Any byte string given to the package reader gives tables or an error, never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "bootstrap/package_reader.h"
#include "bootstrap/parameter_lookup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto tables = korvane::ParsePackage(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!tables) return 0;
  korvane::ParameterLookup lookup;
  lookup.AddList(tables->parameters);
  for (const auto& key : tables->statementKeys) {
    for (size_t k = 0; k < 4; ++k) {
      try {
        (void)lookup.Parameter(key, k);
      } catch (const korvane::PackageError&) {
      }
    }
  }
  korvane::CommandHeaderTable headers(tables->commandHeaders);
  for (size_t i = 0; i < tables->StatementCount(); ++i) (void)headers.HeaderOf(i);
  return 0;
}
