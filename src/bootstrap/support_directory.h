#pragma once
// The per-run support directory in the temporary folder: vok1, vok2, ...

#include <filesystem>

#include "support/result.h"

namespace korvane {

// Creates the first folder temporary folder + "vok" + N (N = 1, 2, ...) that does not exist yet
// and returns it.
Result<std::filesystem::path> CreateSupportDirectory(const std::filesystem::path& tempFolder);

// Empties the folder three times over (each pass clears read-only attributes, deletes every
// file and removes every sub-folder) and removes it. Files that are still in use are left.
void RemoveSupportDirectory(const std::filesystem::path& folder);

}  // namespace korvane
