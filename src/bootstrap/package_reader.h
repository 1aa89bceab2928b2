#pragma once
// Reads the script package text into its tables.

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "bootstrap/package_tables.h"
#include "support/result.h"

namespace korvane {

// A package line longer than this is taken for damage, not for data: no statement parameter
// or table line comes near it, and refusing it keeps a garbled file from filling memory.
inline constexpr size_t kMaxPackageLineLength = 1024 * 1024;

// Parses the package text (the bytes after the stub image). Lines end with CR LF; a lone LF
// is accepted too. Right after the parameter list, a parameter line that is exactly
// "$WILD_DOLLAR$" or "$DOLLAR$" (any letter case) becomes "$". A package that ends before
// its 25th field, holds a non-number in an integer field, a NUL byte, a line longer than
// kMaxPackageLineLength, or aligned lists of different lengths is refused with an error that
// names the field and the line.
Result<PackageTables> ParsePackage(std::string_view text);

// Copies the package of a setup executable (the bytes from stubSize to the end of the file) to
// tempFolder/"vok.tmp" and returns that path.
Result<std::filesystem::path> CopyPackageToTemp(const std::filesystem::path& executable, uint64_t stubSize,
                                                const std::filesystem::path& tempFolder);

// Reads the temporary package copy into the tables and deletes the copy, whatever the outcome.
Result<PackageTables> ReadPackageCopy(const std::filesystem::path& copy);

// Both steps in one.
Result<PackageTables> ReadPackageFile(const std::filesystem::path& executable, uint64_t stubSize,
                                      const std::filesystem::path& tempFolder);

}  // namespace korvane
