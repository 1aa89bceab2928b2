#pragma once
// The failure inside the archive reader: a library error code and a text that names what failed.
// Thrown inside the reader only; the exports and the host API turn it into a code or a Result.

#include <cstdint>
#include <stdexcept>
#include <string>

#include "archive/vok_abi.h"

namespace korvane::archive {

class ArchiveError : public std::runtime_error {
 public:
  ArchiveError(vok::ErrorCode code, const std::string& what) : std::runtime_error(what), code_(code) {}
  [[nodiscard]] vok::ErrorCode code() const { return code_; }

 private:
  vok::ErrorCode code_;
};

[[noreturn]] inline void ThrowDataError(const std::string& what) { throw ArchiveError(vok::kDataError, what); }

}  // namespace korvane::archive
