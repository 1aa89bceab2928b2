#include "bootstrap/engine_variables.h"

#include "engine/truth_words.h"

namespace korvane {
namespace {

// Splits a path text at its last slash or backslash.
size_t LastSeparator(std::string_view path) { return path.find_last_of("\\/"); }

std::string FolderPart(std::string_view path) {
  if (path.empty()) return {};
  const size_t cut = LastSeparator(path);
  if (cut == std::string_view::npos) return {};
  return std::string(path.substr(0, cut + 1));
}

std::string FilePart(std::string_view path) {
  const size_t cut = LastSeparator(path);
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace

EngineVariableFacts CollectEngineVariableFacts(platform::SystemFacts& system) {
  return {system.TickCount(),     system.PerMachineAllowed(), system.RegisteredOwner(), system.RegisteredOrganization(),
          system.ShortDateText(), system.LongTimeText()};
}

LauncherPaths DeriveLauncherPaths(const CommandLine& commandLine) {
  const std::string launcher = commandLine.ValuedSwitch("/m=");
  const std::string policy = commandLine.ValuedSwitch("/g=");
  return {FolderPart(launcher), FilePart(launcher), FolderPart(policy)};
}

void SetWorkerVariables(TVariableManager& store, uint64_t tickCount) {
  const std::string tick = std::to_string(tickCount);
  store.Set("VRAX_thProgress", "0");
  store.Set("VRAX_thMin", "0");
  store.Set("VRAX_thMax", "100");
  store.Set("VRAX_thProgressText", "");
  store.Set("VRAX_thFinished", kFalseWord);
  store.Set("VRAX_thCancelled", kFalseWord);
  store.Set("VRAX_IsCancelled", kFalseWord);
  store.Set("VRAX_LastDelegateTick", tick);
  store.Set("VRAX_LastActiveTick", tick);
}

void SetPreInitializationVariables(TVariableManager& store, const CommandLineProtection& protection,
                                   const PackageTables& tables, bool allUsers) {
  SetVariable(store, protection, "TARGETDIR", "", kInitializationContext);
  SetVariable(store, protection, "STARTMENU", tables.productTitle, kInitializationContext);
  SetVariable(store, protection, "ALLUSERS", TruthText(allUsers), kInitializationContext);
}

void SetFirstInstallationVariables(TVariableManager& store, const CommandLineProtection& protection,
                                   const StartupContext& context) {
  auto set = [&](std::string_view name, std::string_view value) {
    SetVariable(store, protection, name, value, kInitializationContext);
  };
  set("PRODUCTCODE", context.tables.productCode);
  set("REVISIONCODE", context.tables.revisionCode);
  set("DATADIR", context.mediaFolder.empty() ? std::string() : FolderText(context.mediaFolder));
  set("NEEDSUPGRADE", kFalseWord);
  set("MAINTENANCE", kFalseWord);
  set("NEWINSTANCE", kFalseWord);
}

void SetInitializationVariables(TVariableManager& store, const CommandLineProtection& protection,
                                const StartupContext& context, const EngineVariableFacts& facts) {
  auto set = [&](std::string_view name, std::string_view value) {
    SetVariable(store, protection, name, value, kInitializationContext);
  };
  const LauncherPaths launcher = DeriveLauncherPaths(context.commandLine);
  const std::string programFolder = FolderText(context.programFolder);

  set("VRAX_COMPRESS_INSTALLER_CACHE", kTrueWord);
  set("VRAX_DISABLE_ROLLBACK", kFalseWord);
  set("VRAX_DISABLE_VISTA_RESTART_MANAGER", kFalseWord);
  set("IISHOST", "localhost");
  if (!store.Exists("OVERRIDECACHE")) set("OVERRIDECACHE", "");
  set("VRAXLOGO", "");
  set("SELECTED", "0");
  set("WINDOWHANDLE", "0");
  set("EXEFILE", PathText(context.programPath));
  set("EXEDIR", programFolder);
  set("PROGRESSTEXT", "");
  set("PROGRESSMODE", "");
  set("PROGRESS", "0");
  set("ABORT", kFalseWord);
  set("LASTERROR", "");
  set("LICENSE", kFalseWord);
  set("USERNAME", facts.registeredOwner);
  set("USERCOMPANY", facts.registeredOrganization);
  set("COPYWEBLOCK", "");
  set("REBOOTCOMPUTER", kFalseWord);
  set("RUNAPP", kTrueWord);
  set("WIZARD", "NEXT");
  set("VERSION", context.tables.productVersion);
  set("SILENT", TruthText(context.silent));
  set("LOGGED", context.log.Path());
  set("CMDLINE", context.commandLine.text);
  set("REBOOTNOW", "OK");
  set("SFXPATH", launcher.sfxPath);
  set("SFXFILE", launcher.sfxFile);
  set("GPOPATH", launcher.gpoPath);
  set("COMPLETE", kTrueWord);
  set("MODIFY", kTrueWord);
  for (const char* name : {"MINIMUM", "PERSONALIZED", "REPAIR", "REMOVE", "ADVERTISE"}) set(name, kFalseWord);
  set("NEWLINE", "\r\n");
  set("ROOTDIR", programFolder);
  set("TITLE", context.tables.productTitle);
  set("COMPANY", context.tables.publisher);
  set("DATE", facts.dateText);
  set("TIME", facts.timeText);
  set("TEMPDIR", FolderText(context.tempFolder));
  set("ABORTONERROR", kTrueWord);
  set("ABORTEDONERROR", kFalseWord);
  set("SAVEDATA", kFalseWord);
  set("SUPPORTDIR", context.supportDirectory.empty() ? std::string() : FolderText(context.supportDirectory));
  set("MSIFILE", context.supportDirectory.empty() ? std::string() : PathText(context.InstallerDatabaseInSupport()));
  set("LANGUAGE", "");
}

void InjectCommandLine(TVariableManager& store, const CommandLineProtection& protection, const LineList& pairs) {
  for (size_t i = 0; i + 1 < pairs.size(); i += 2)
    SetVariable(store, protection, pairs[i], pairs[i + 1], kInjectOverrideCommandLine);
}

}  // namespace korvane
