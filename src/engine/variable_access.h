#pragma once
// The getter and setter that statements use for their parameters and results. In a silent run
// the variables given on the command line keep their values against every writer except the
// injection of the command line itself.

#include <string>
#include <string_view>

#include "bootstrap/package_tables.h"
#include "engine/variable_manager.h"

namespace korvane {

// The one writer context that may overwrite a command-line variable in a silent run.
inline constexpr std::string_view kInjectOverrideCommandLine = "Inject Override Command Line";

// Which names are protected: in a silent run, every NAME given as NAME=VALUE on the command line.
class CommandLineProtection {
 public:
  CommandLineProtection() = default;  // protects nothing
  // variablePairs: pairs of lines, upper-cased NAME then VALUE (CommandLine::variablePairs).
  CommandLineProtection(bool silent, LineList variablePairs);

  // True when the run is silent and name, ignoring letter case, was given on the command line.
  [[nodiscard]] bool Protects(std::string_view name) const;

 private:
  bool silent_ = false;
  LineList variablePairs_;
};

// The value of the variable, or the empty text when it does not exist.
[[nodiscard]] std::string GetVariable(const TVariableManager& store, std::string_view name);

// Sets a statement's result. An empty name does nothing. A variable that exists and is
// protected keeps its value unless context is kInjectOverrideCommandLine. context names the
// writer ("Set Variable Action", a statement name + " Action", ...).
void SetVariable(TVariableManager& store, const CommandLineProtection& protection, std::string_view name,
                 std::string_view value, std::string_view context);

}  // namespace korvane
