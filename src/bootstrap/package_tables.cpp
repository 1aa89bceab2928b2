#include "bootstrap/package_tables.h"

namespace korvane {

const std::vector<PackageField>& PackageFields() {
  using T = PackageTables;
  using K = FieldKind;
  static const std::vector<PackageField> fields = {
      {1, K::List, "statement name list", &T::statementNames},
      {2, K::List, "statement key list", &T::statementKeys},
      {3, K::List, "parameter list", &T::parameters},
      {4, K::List, "statement flag list", &T::statementFlags},
      {5, K::Line, "product code", &T::productCode},
      {6, K::Line, "product title", &T::productTitle},
      {7, K::List, "plug-in statement list", &T::pluginStatements},
      {8, K::Line, "publisher", &T::publisher},
      {9, K::Line, "contact", &T::contact},
      {10, K::Line, "help link", &T::helpLink},
      {11, K::Line, "update information link", &T::updateInfoLink},
      {12, K::Line, "comments", &T::comments},
      {13, K::Line, "product version", &T::productVersion},
      {14, K::List, "web block password table", &T::webBlockPasswords},
      {15, K::List, "statement web block list", &T::statementWebBlocks},
      {16, K::Integer, "build mode number", &T::buildMode},
      {17, K::List, "component size table", &T::componentSizes},
      {18, K::Line, "revision code", &T::revisionCode},
      {19, K::List, "file map list", &T::fileMap},
      {20, K::Flag, "language dialog flag", &T::languageDialog},
      {21, K::Line, "default language", &T::defaultLanguage},
      {22, K::List, "command header table", &T::commandHeaders},
      {23, K::List, "compiler constant table", &T::compilerConstants},
      {24, K::Integer, "code page", &T::codePage},
      {25, K::List, "source position list", &T::sourcePositions},
  };
  return fields;
}

}  // namespace korvane
