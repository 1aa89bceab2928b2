#pragma once
// The engine variables: the variables the engine itself creates, with their start values, set
// in the phases of the engine prologue, and the injection of the command-line pairs.

#include <cstdint>
#include <string>

#include "bootstrap/command_line.h"
#include "bootstrap/startup_context.h"
#include "engine/variable_access.h"
#include "engine/variable_manager.h"
#include "platform/system_facts.h"

namespace korvane {

// The writer context of every engine start value.
inline constexpr std::string_view kInitializationContext = "Initialization";

// Facts about the user and the moment that some start values take; the caller asks the system.
struct EngineVariableFacts {
  uint64_t tickCount = 0;  // milliseconds since the system started
  bool allUsers = false;   // administrator (elevated on Vista and later); true on the 95 family
  std::string registeredOwner;
  std::string registeredOrganization;
  std::string dateText;  // today in the short date format
  std::string timeText;  // now in the long time format
};

// Asks the system for the facts.
EngineVariableFacts CollectEngineVariableFacts(platform::SystemFacts& system);

// The outer launcher and policy paths from "/m=" and "/g=".
struct LauncherPaths {
  std::string sfxPath;  // folder of the "/m=" value with a trailing backslash, empty without one
  std::string sfxFile;  // file name of the "/m=" value
  std::string gpoPath;  // folder of the "/g=" value with a trailing backslash, empty without one
};
LauncherPaths DeriveLauncherPaths(const CommandLine& commandLine);

// After the preparation pass: the worker-thread values, set with the plain Set.
void SetWorkerVariables(TVariableManager& store, uint64_t tickCount);

// After the preparation pass: TARGETDIR (empty), STARTMENU (the product title), ALLUSERS.
void SetPreInitializationVariables(TVariableManager& store, const CommandLineProtection& protection,
                                   const PackageTables& tables, bool allUsers);

// The cache start step's values for a first installation (nothing of the product installed,
// no cache): PRODUCTCODE, REVISIONCODE, DATADIR (the media folder), and NEEDSUPGRADE,
// MAINTENANCE and NEWINSTANCE "FALSE". UNINSTALLLINK and ENGINECACHE need the cache root and
// are left to the cache step.
void SetFirstInstallationVariables(TVariableManager& store, const CommandLineProtection& protection,
                                   const StartupContext& context);

// The initialization step: every other engine variable with its start value.
void SetInitializationVariables(TVariableManager& store, const CommandLineProtection& protection,
                                const StartupContext& context, const EngineVariableFacts& facts);

// The command-line NAME=VALUE pairs, in order, with the writer context that may overwrite
// protected names; a later pair of the same name wins.
void InjectCommandLine(TVariableManager& store, const CommandLineProtection& protection, const LineList& pairs);

}  // namespace korvane
