#pragma once
// The engine variables the prologue sets: the pre-initialization values after the preparation
// pass and the initialization values before the first statement.

#include <string>

#include "platform/user_facts.h"

namespace korvane {

class ScriptRun;

// Values the start-up sequence computed once, in the texts the engine publishes them as.
struct StartValues {
  std::string programPath;         // EXEFILE
  std::string programFolder;       // EXEDIR and ROOTDIR, with a trailing backslash
  std::string tempFolder;          // TEMPDIR, with a trailing backslash
  std::string supportDirectory;    // SUPPORTDIR, with a trailing backslash
  std::string installerDatabase;   // MSIFILE: the installer database in the support directory
  std::string commandLineText;     // CMDLINE
  std::string logPath;             // LOGGED
  std::string launcherPath;        // the "/m=" value: SFXPATH and SFXFILE
  std::string policyPath;          // the "/g=" value: GPOPATH
  bool silent = false;             // SILENT
  platform::UserFacts user;        // ALLUSERS, USERNAME, USERCOMPANY
};

// TARGETDIR, STARTMENU, ALLUSERS.
void SetPreInitializationVariables(ScriptRun& run, const StartValues& start);
// The initialization values: every engine variable the script starts with.
void SetInitializationVariables(ScriptRun& run, const StartValues& start);

// The folder part of a path with its trailing backslash, and the file name part; both empty
// for an empty path.
[[nodiscard]] std::string FolderOf(std::string_view path);
[[nodiscard]] std::string FileNameOf(std::string_view path);

}  // namespace korvane
