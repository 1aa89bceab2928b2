#pragma once
// Process exit codes of the setup.

namespace korvane::exit_code {

inline constexpr int kSuccess = 0;
inline constexpr int kNoPackage = 13;            // the executable carries no script package
inline constexpr int kNoSupportArchive = 14;     // the support archive does not exist
inline constexpr int kSupportArchiveFailed = 15; // extracting the support archive failed
inline constexpr int kNoInstallerDatabase = 16;  // neither .msi nor .msp beside the program
inline constexpr int kDamagedPackage = 17;       // the script package is malformed (see docs/exit-codes.md)
inline constexpr int kTempFolderUnusable = 18;   // the temporary folder takes no package copy or support directory
inline constexpr int kScriptRejected = 314;      // the preparation pass rejected the script

}  // namespace korvane::exit_code
