#pragma once
// The script package: the compiled script appended to the setup executable, read once into
// these tables and kept read-only for the whole run.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace korvane {

using LineList = std::vector<std::string>;

struct PackageTables {
  LineList statementNames;      // one statement name per statement
  LineList statementKeys;       // aligned: a GUID in braces per statement
  LineList parameters;          // parameter blocks: a key line, then the parameter lines
  LineList statementFlags;      // aligned: "C" disables the statement
  std::string productCode;
  std::string productTitle;
  LineList pluginStatements;    // statement names that plug-ins implement
  std::string publisher;
  std::string contact;
  std::string helpLink;
  std::string updateInfoLink;
  std::string comments;
  std::string productVersion;
  LineList webBlockPasswords;   // pairs: block name, scrambled password
  LineList statementWebBlocks;  // aligned: web media block of the statement, or empty
  int32_t buildMode = 0;
  LineList componentSizes;      // pairs: component name, size in bytes
  std::string revisionCode;
  LineList fileMap;             // triples: archive base name, path inside, destination sub-folder
  bool languageDialog = false;
  std::string defaultLanguage;
  LineList commandHeaders;      // pairs: header code, statement index
  LineList compilerConstants;   // pairs: constant name, value
  int32_t codePage = 0;
  LineList sourcePositions;     // aligned: source path + "*" + line number counted from 0

  [[nodiscard]] size_t StatementCount() const { return statementNames.size(); }
  // Only an exact "C" disables a statement; "c" does not.
  [[nodiscard]] bool IsDisabled(size_t index) const {
    return index < statementFlags.size() && statementFlags[index] == "C";
  }
};

enum class FieldKind { List, Line, Integer, Flag };

// One of the 25 fields, in package order. Reader, writer and dumps all walk this table.
struct PackageField {
  int number;
  FieldKind kind;
  const char* name;
  std::variant<LineList PackageTables::*, std::string PackageTables::*, int32_t PackageTables::*,
               bool PackageTables::*>
      member;
};

// The 25 fields in the order they stand in the package.
const std::vector<PackageField>& PackageFields();

// The line that ends a list field.
inline constexpr std::string_view kListTerminator = "$";

}  // namespace korvane
