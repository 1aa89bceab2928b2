#pragma once
// Writes package tables as script package text, the exact inverse of ParsePackage.

#include <string>

#include "bootstrap/package_tables.h"
#include "support/result.h"

namespace korvane {

// The 25 fields in package order, every line ended by CR LF and every list by a line "$".
// A parameter line that is exactly "$" is written as "$DOLLAR$", which the reader turns back
// into "$". Tables that could not be read back as they are written are refused, with the field
// and line named: a line holding CR, LF or NUL, a line "$" in any list but the parameter list,
// a line longer than kMaxPackageLineLength, or per-statement lists (keys, flags, web blocks,
// source positions) whose length differs from the number of statements.
Result<std::string> WritePackage(const PackageTables& tables);

}  // namespace korvane
