#pragma once
// The preparation pass: checks a whole script before it runs (block structure, labels,
// required parameters, variables referred to before they exist, Wizard Loop content) and
// records which statements are deferred. The builder runs it too, so authors learn of a
// broken script at build time.

#include <cstdint>
#include <string>
#include <string_view>

#include "bootstrap/package_tables.h"
#include "bootstrap/parameter_lookup.h"
#include "engine/variable_manager.h"

namespace korvane {

// Index of a script that passed.
inline constexpr int64_t kPreparedIndex = -1;
// Index reported when openers and End statements do not pair up (no single statement is to blame).
inline constexpr int64_t kBlockCountIndex = 2147483644;  // 0x7FFFFFFC

inline constexpr std::string_view kPreparedMessage = "Script compiled successfully";

// Lines of the statement state list.
inline constexpr std::string_view kStateNotDeferred = "SKIP";
inline constexpr std::string_view kStateDeferredPending = "FALSE";

struct PreparationResult {
  int64_t index = kPreparedIndex;                 // kPreparedIndex, a statement index or kBlockCountIndex
  std::string message{kPreparedMessage};
  LineList compileLabels;    // upper-cased label names, in statement order
  LineList statementStates;  // aligned with the statements once the per-statement checks ran

  [[nodiscard]] bool Passed() const { return index == kPreparedIndex; }
};

// Runs the pass. The store is cleared and then holds every declared variable with an empty
// value; the engine clears it again afterwards.
[[nodiscard]] PreparationResult PrepareScript(const PackageTables& tables,
                                              const ParameterLookup& parameters,
                                              TVariableManager& store);

// The same on a private store (for the builder, which has no engine store).
[[nodiscard]] PreparationResult PrepareScript(const PackageTables& tables,
                                              const ParameterLookup& parameters);

// A failed pass as an author reads it: "file:line: message", with the file and the one-based
// line taken from the statement's source position (package field 25, "path*line from 0").
// A block count failure blames no statement: "file: message" (the file of the first statement,
// if any). A statement without a readable position gives "statement N: message".
[[nodiscard]] std::string DescribePreparationFailure(const PackageTables& tables,
                                                     const PreparationResult& result);

// The operand test of If, Else If and Display Dialog: a reference $NAME$ is defined when NAME
// exists; any other text is defined when literals are allowed, else when a variable of that
// whole name exists.
[[nodiscard]] bool OperandDefined(std::string_view text, bool literalAllowed,
                                  const TVariableManager& store);

// The engine variables the pass declares before the first statement, in declaration order.
[[nodiscard]] const LineList& PreDeclaredVariables();

}  // namespace korvane
