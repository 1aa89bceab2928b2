#include "engine/engine_variables.h"

#include "engine/script_run.h"
#include "engine/truth_words.h"

namespace korvane {
namespace {

constexpr std::string_view kContext = "Initialization";

size_t FolderEnd(std::string_view path) {
  const size_t separator = path.find_last_of("\\/:");
  return separator == std::string_view::npos ? 0 : separator + 1;
}

}  // namespace

std::string FolderOf(std::string_view path) { return std::string(path.substr(0, FolderEnd(path))); }

std::string FileNameOf(std::string_view path) { return std::string(path.substr(FolderEnd(path))); }

void SetPreInitializationVariables(ScriptRun& run, const StartValues& start) {
  run.Set("TARGETDIR", "", kContext);
  run.Set("STARTMENU", run.tables.productTitle, kContext);
  run.Set("ALLUSERS", TruthText(start.user.administrator), kContext);
}

void SetInitializationVariables(ScriptRun& run, const StartValues& start) {
  const auto set = [&run](std::string_view name, std::string_view value) { run.Set(name, value, kContext); };
  set("VRAX_COMPRESS_INSTALLER_CACHE", "TRUE");
  set("VRAX_DISABLE_ROLLBACK", "FALSE");
  set("VRAX_DISABLE_VISTA_RESTART_MANAGER", "FALSE");
  set("IISHOST", "localhost");
  if (!run.store.Exists("OVERRIDECACHE")) set("OVERRIDECACHE", "");
  set("VRAXLOGO", "");
  set("SELECTED", "0");
  set("WINDOWHANDLE", "0");
  set("EXEFILE", start.programPath);
  set("EXEDIR", start.programFolder);
  set("PROGRESSTEXT", "");
  set("PROGRESSMODE", "");
  set("PROGRESS", "0");
  set("ABORT", "FALSE");
  set("LASTERROR", "");
  set("LICENSE", "FALSE");
  set("USERNAME", start.user.registeredOwner);
  set("USERCOMPANY", start.user.registeredOrganization);
  set("COPYWEBLOCK", "");
  set("REBOOTCOMPUTER", "FALSE");
  set("RUNAPP", "TRUE");
  set("WIZARD", "NEXT");
  set("VERSION", run.tables.productVersion);
  set("SILENT", TruthText(start.silent));
  set("LOGGED", start.logPath);
  set("CMDLINE", start.commandLineText);
  set("REBOOTNOW", "OK");
  set("SFXPATH", FolderOf(start.launcherPath));
  set("SFXFILE", FileNameOf(start.launcherPath));
  set("GPOPATH", FolderOf(start.policyPath));
  for (const char* name : {"COMPLETE", "MODIFY"}) set(name, "TRUE");
  for (const char* name : {"MINIMUM", "PERSONALIZED", "REPAIR", "REMOVE", "ADVERTISE"}) set(name, "FALSE");
  set("NEWLINE", "\r\n");
  set("ROOTDIR", start.programFolder);
  set("TITLE", run.tables.productTitle);
  set("COMPANY", run.tables.publisher);
  set("DATE", run.services.clock.ShortDate());
  set("TIME", run.services.clock.LongTime());
  set("TEMPDIR", start.tempFolder);
  set("ABORTONERROR", "TRUE");
  set("ABORTEDONERROR", "FALSE");
  set("SAVEDATA", "FALSE");
  set("SUPPORTDIR", start.supportDirectory);
  set("MSIFILE", start.installerDatabase);
  set("LANGUAGE", "");
}

}  // namespace korvane
