#pragma once
// What the start-up sequence hands to the script engine: the values computed once at start-up,
// the command line, the package tables, the language table and the timing log.

#include <cstddef>
#include <filesystem>
#include <string>

#include "bootstrap/command_line.h"
#include "bootstrap/package_tables.h"
#include "bootstrap/parameter_lookup.h"
#include "bootstrap/timing_log.h"
#include "wizard/language_table.h"

namespace korvane {

struct StartupContext {
  explicit StartupContext(TimingLog::LineWriter logWriter) : log(std::move(logWriter)) {}
  StartupContext(const StartupContext&) = delete;
  StartupContext& operator=(const StartupContext&) = delete;

  std::filesystem::path programPath;
  std::filesystem::path programFolder;
  std::string programBaseName;  // file name without extension
  std::filesystem::path tempFolder;
  std::filesystem::path supportArchive;     // program folder + base name + ".res"
  std::filesystem::path installerDatabase;  // program folder + base name + ".msi"
  std::filesystem::path patchPackage;       // program folder + base name + ".msp"
  std::filesystem::path mediaFolder;        // program folder + "data", set once the database is copied
  std::filesystem::path supportDirectory;   // temporary folder + "vokN", empty until created

  CommandLine commandLine;
  bool silent = false;       // switch s or qn
  bool updateStart = false;  // switch update or updatesetup

  PackageTables tables;
  ParameterLookup parameters;  // holds tables.parameters once the package is read
  size_t dialogCount = 0;      // enabled Display Dialog statements

  LanguageTable languages;
  // The interpreter copies LOGGED into it before every statement (log.SetPath).
  TimingLog log;

  // The installer database as the engine sees it: support directory + base name + ".msi".
  [[nodiscard]] std::filesystem::path InstallerDatabaseInSupport() const {
    return supportDirectory / std::filesystem::path(programPath.filename()).replace_extension(".msi");
  }
};

// A path as script text (ANSI, as the engine's texts and the archive library's calls are).
std::string PathText(const std::filesystem::path& path);
// A folder as script text, always ending with the path separator (a backslash on Windows).
std::string FolderText(const std::filesystem::path& folder);

}  // namespace korvane
