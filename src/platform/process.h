#pragma once
// Facts about the running setup process, from the operating system.

#include <cstdint>
#include <filesystem>
#include <string>

#include "support/result.h"

namespace korvane::platform {

// Full path of the running executable.
std::filesystem::path ProgramPath();
// The user's temporary folder (created when missing), with a trailing separator.
std::filesystem::path TempFolder();
// The raw process command line, program part included, as ANSI text.
std::string RawCommandLine();
// The end of the running executable's image, read from its own headers in memory.
Result<uint64_t> RunningImageEnd();

}  // namespace korvane::platform
