#pragma once
// The script source: the hand-written, line-oriented text that the builder compiles into the
// package tables (format described in docs/script-source.md).

#include <cstddef>
#include <string>
#include <string_view>

#include "bootstrap/package_tables.h"
#include "support/result.h"

namespace korvane::builder {

struct CompiledScript {
  PackageTables tables;
  size_t disabledStatements = 0;
  size_t parameterBlocks = 0;
};

// Compiles a script source. sourcePath names the source in error messages and is the file
// part of every line of the source position list ("<sourcePath>*<line counted from 0>").
// A source with faults is refused with one line per fault, "<sourcePath>:<line>: <reason>"
// (lines counted from 1, as editors show them), joined by line feeds.
Result<CompiledScript> CompileScriptSource(std::string_view text, std::string_view sourcePath);

}  // namespace korvane::builder
