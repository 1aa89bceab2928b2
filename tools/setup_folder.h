#pragma once
// A whole setup folder on the build machine: the setup program (stub + package), its support
// archive "<name>.res" made with 7zz, the archive library "vok.lib" (with a language file after
// its image when one is given), the product's installer database or patch package, the splash
// picture "setup.bmp" and the media folder "data".

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/result.h"

namespace korvane::builder {

struct SetupFolderInputs {
  std::string name;     // base name of the setup program and its files
  std::string package;  // the package text
  std::filesystem::path stub;
  std::filesystem::path archiveLibrary;                    // the built vok.lib
  std::filesystem::path output;                            // the folder; created when missing
  std::optional<std::filesystem::path> support;            // folder whose contents go into "<name>.res"
  std::optional<std::filesystem::path> installerDatabase;  // copied as "<name>.msi"
  std::optional<std::filesystem::path> patchPackage;       // copied as "<name>.msp"
  std::optional<std::filesystem::path> data;               // copied as "data"
  std::optional<std::filesystem::path> splash;             // copied as "setup.bmp"
  std::optional<std::filesystem::path> languageFile;       // appended to "vok.lib"
};

// Writes the folder; returns the files written, each relative to the folder. Every file is
// written under a temporary name first, so a failed build leaves no half-written file. Without
// a support folder the support archive is empty.
Result<std::vector<std::string>> WriteSetupFolder(const SetupFolderInputs& inputs);

// Makes a 7z archive of the contents of folder with Debian's 7zz (entries relative to folder).
Status MakeSupportArchive(const std::filesystem::path& folder, const std::filesystem::path& archive);

}  // namespace korvane::builder
