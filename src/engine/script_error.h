#pragma once
// An error that ends the script: raised by a statement that cannot continue and reported by the
// interpreter with the statement's source position.

#include <stdexcept>
#include <string>
#include <string_view>

#include "bootstrap/package_tables.h"

namespace korvane {

class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where the author wrote a statement: the file name without folder and extension, and the
// one-based line. From the statement's source position "path*line", the line counted from 0
// (0 when it is not a number).
struct SourcePlace {
  std::string file;
  long long line = 1;
};
[[nodiscard]] SourcePlace SourcePlaceOf(const PackageTables& tables, size_t statement);

// The text of the run-time error box: heading, two carriage returns, "Source File: " and the
// file, a carriage return, "Line Number: " and the line, two carriage returns, the message.
[[nodiscard]] std::string RuntimeErrorText(std::string_view heading, const SourcePlace& place,
                                           std::string_view message);

}  // namespace korvane
