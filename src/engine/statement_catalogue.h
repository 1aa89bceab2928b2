#pragma once
// The statement catalogue: statement name to the operation that carries it out. Every statement
// family registers its names here; the interpreter dispatches by name.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace korvane {

class ScriptRun;

// Carries out the statement with the given index. Throws (ScriptError, PackageError or any
// std::exception) when the statement cannot continue; the interpreter reports it.
using StatementHandler = std::function<void(ScriptRun& run, size_t statement)>;

class StatementCatalogue {
 public:
  // A later registration of the same name replaces the earlier one.
  void Register(std::string_view name, StatementHandler handler);
  // The handler of the name (compared exactly, as the package writes it), or null.
  [[nodiscard]] const StatementHandler* Find(std::string_view name) const;
  [[nodiscard]] size_t Size() const { return handlers_.size(); }

 private:
  std::unordered_map<std::string, StatementHandler> handlers_;
};

}  // namespace korvane
