#pragma once
// Setup files on the build machine: a stub with a script package appended, written whole or
// not at all, and the package read back from a built setup.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "bootstrap/package_tables.h"
#include "support/result.h"

namespace korvane::builder {

// Writes bytes to path through a temporary file in the same folder that is renamed over path
// only once it is complete; on any failure path is left as it was.
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

struct SetupLayout {
  uint64_t stubSize = 0;  // the stub's image end: where the package starts
  uint64_t packageSize = 0;
};

// Copies the stub up to its image end (a package it already carries is dropped), appends the
// package text and writes the result to output atomically.
Result<SetupLayout> WriteSetup(const std::filesystem::path& stub, std::string_view package,
                               const std::filesystem::path& output);

// Reads the package of a built setup the way the stub does: from its image end to the end of
// the file, through a temporary copy in a private temporary folder.
Result<PackageTables> ReadSetupPackage(const std::filesystem::path& setup);

}  // namespace korvane::builder
