#pragma once
// Statement keys (GUIDs in braces) and command headers (upper-case hexadecimal) for the
// statements of a script. Codes the source names itself are reserved first; the others are
// derived from the product and the statement, so the same source always gives the same codes,
// and a code is never given twice.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

namespace korvane::builder {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with hexadecimal digits of either case.
bool IsStatementKey(std::string_view text);
// One to eight hexadecimal digits of either case.
bool IsCommandHeader(std::string_view text);

class StatementCodes {
 public:
  // seed ties the generated codes to one product (its product code, say).
  explicit StatementCodes(std::string seed) : seed_(std::move(seed)) {}

  // Marks a code the source gives explicitly as taken; false when it was taken already.
  // Keys compare without regard to letter case, as the parameter lookup does.
  [[nodiscard]] bool ReserveKey(std::string_view key);
  [[nodiscard]] bool ReserveHeader(std::string_view header);

  // A new code for the statement that identity names (its name and occurrence, say).
  [[nodiscard]] std::string NewKey(std::string_view identity);
  // Eight upper-case hexadecimal digits.
  [[nodiscard]] std::string NewHeader(std::string_view identity);

 private:
  [[nodiscard]] uint64_t Hash(std::string_view kind, std::string_view identity, uint64_t attempt) const;

  std::string seed_;
  std::unordered_set<std::string> keys_;     // upper-cased
  std::unordered_set<std::string> headers_;  // upper-cased
};

}  // namespace korvane::builder
