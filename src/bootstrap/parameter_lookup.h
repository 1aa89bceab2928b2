#pragma once
// Statement parameters by statement key and number, and command headers by statement index.

#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "bootstrap/package_tables.h"

namespace korvane {

// A fault in the package that only shows when a statement runs (a parameter past the end).
class PackageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Searches an ordered collection of parameter lists. In the first list that holds a line equal
// to the key (letter case ignored), parameter k is the line k places after the last such line;
// parameter 0 is the key line itself. A key no list holds gives empty parameters. The search is
// indexed by a hash of the upper-cased lines, built on first use and rebuilt after Invalidate.
class ParameterLookup {
 public:
  ParameterLookup() = default;
  ParameterLookup(const ParameterLookup&) = delete;
  ParameterLookup& operator=(const ParameterLookup&) = delete;

  // The list must outlive the lookup.
  void AddList(const LineList& list);
  void Clear();
  // Call after a list in the collection has changed.
  void Invalidate();

  // Throws PackageError when the parameter would lie past the end of its list.
  [[nodiscard]] std::string Parameter(std::string_view key, size_t number) const;

 private:
  struct Entry {
    const LineList* list;
    std::unique_ptr<std::unordered_map<std::string, size_t>> lastPosition;  // built on first use
  };
  mutable std::mutex mutex_;
  mutable std::vector<Entry> entries_;
};

// The command header table (pairs of header code and statement index), indexed once.
// The last pair naming an index wins.
class CommandHeaderTable {
 public:
  explicit CommandHeaderTable(const LineList& table);
  // The header code of the statement, or empty when the table has none for it.
  [[nodiscard]] std::string HeaderOf(size_t statementIndex) const;

 private:
  std::unordered_map<std::string, std::string> byIndex_;
};

}  // namespace korvane
