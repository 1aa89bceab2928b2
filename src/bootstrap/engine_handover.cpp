#include "bootstrap/engine_handover.h"

#include "engine/engine_run.h"
#include "engine/truth_words.h"

namespace korvane {

StartValues StartValuesFrom(const StartupContext& context, const platform::UserFacts& user) {
  StartValues start;
  start.programPath = PathText(context.programPath);
  start.programFolder = FolderText(context.programFolder);
  start.tempFolder = FolderText(context.tempFolder);
  start.supportDirectory = context.supportDirectory.empty() ? std::string() : FolderText(context.supportDirectory);
  start.installerDatabase = PathText(context.InstallerDatabaseInSupport());
  start.commandLineText = context.commandLine.text;
  start.logPath = context.commandLine.LogPath();
  start.launcherPath = context.commandLine.ValuedSwitch("/m=");
  start.policyPath = context.commandLine.ValuedSwitch("/g=");
  start.silent = context.silent;
  start.user = user;
  return start;
}

void FirstInstallationStart::CacheStart(ScriptRun& run) {
  constexpr std::string_view kContext = "Initialization";
  run.Set("PRODUCTCODE", context_.tables.productCode, kContext);
  run.Set("REVISIONCODE", context_.tables.revisionCode, kContext);
  run.Set("DATADIR", context_.mediaFolder.empty() ? std::string() : FolderText(context_.mediaFolder), kContext);
  for (const char* name : {"NEEDSUPGRADE", "MAINTENANCE", "NEWINSTANCE"}) run.Set(name, TruthText(false), kContext);
}

HandOverResult HandOverToEngine(StartupContext& context, TVariableManager& store, const EngineServices& services,
                                const platform::UserFacts& user) {
  FirstInstallationStart extensions(context);
  EngineStart start{context.tables,
                    context.parameters,
                    store,
                    context.log,
                    context.languages,
                    services,
                    extensions,
                    StartValuesFrom(context, user),
                    context.commandLine.variablePairs,
                    nullptr,
                    {},
                    {}};
  const EngineResult result = RunEngine(start);
  return {result.exitCode, result.endProcessNow};
}

}  // namespace korvane
