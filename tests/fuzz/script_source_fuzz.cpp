// Any text given to the script source compiler gives a package that reads back to the same
// tables, or errors in "file:line: reason" form; never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "bootstrap/package_dump.h"
#include "bootstrap/package_reader.h"
#include "bootstrap/package_writer.h"
#include "support/text.h"
#include "tools/script_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto compiled = korvane::builder::CompileScriptSource(text, "fuzz.kvs");
  if (!compiled) {
    // Every fault line names the file.
    const std::string& errors = compiled.error();
    if (errors.empty()) std::abort();
    for (size_t start = 0; start < errors.size();) {
      if (errors.compare(start, 9, "fuzz.kvs:") != 0) std::abort();
      const size_t end = errors.find('\n', start);
      start = end == std::string::npos ? errors.size() : end + 1;
    }
    return 0;
  }
  // A source the compiler accepts is always storable, and reads back as it was compiled;
  // parameters spelled as the dollar words read back as the dollar they stand for.
  auto written = korvane::WritePackage(compiled->tables);
  if (!written) std::abort();
  auto read = korvane::ParsePackage(*written);
  if (!read) std::abort();
  korvane::PackageTables expected = compiled->tables;
  for (auto& line : expected.parameters)
    if (korvane::SameText(line, "$DOLLAR$") || korvane::SameText(line, "$WILD_DOLLAR$")) line = "$";
  if (korvane::DumpPackage(*read) != korvane::DumpPackage(expected)) std::abort();
  return 0;
}
