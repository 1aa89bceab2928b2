#pragma once
// A plain text rendering of the package tables, field by field, for comparing packages in
// tests and for the builder's dump command.

#include <string>

#include "bootstrap/package_tables.h"

namespace korvane {

// One line per field header ("field N: name (K lines)") followed by the field's lines, each
// behind "  |" so that empty lines stay visible.
std::string DumpPackage(const PackageTables& tables);

}  // namespace korvane
