#pragma once
// The points where the wizard, the setup cache, the components, localization, plug-ins and the
// installer join the engine's run. Each method says what the engine expects from it; the base
// class answers as a build without that subsystem does (no cache, no dialogs, no translation),
// and the subsystems override it as they are added.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/window_handle.h"

namespace korvane {

class ScriptRun;

class EngineExtensions {
 public:
  virtual ~EngineExtensions() = default;

  // Prologue: the cache and maintenance start step (sets the maintenance variables).
  virtual void CacheStart(ScriptRun&) {}
  // Prologue: empties the component tables, then defines the predefined component.
  virtual void ClearComponents(ScriptRun&) {}
  virtual void DefinePredefinedComponent(ScriptRun&) {}
  // Prologue: the patch start step, when a patch package lies in the support directory.
  virtual void PatchStart(ScriptRun&) {}
  // Prologue: removes the engine's own resume entry from the RunOnce keys.
  virtual void RemoveResumeEntry(ScriptRun&) {}
  // Prologue: the language selection; false when the user cancelled it (the engine then
  // cleans up and leaves).
  virtual bool SelectLanguage(ScriptRun&) { return true; }

  // Refresh before every statement: a changed OVERRIDECACHE, a changed LANGUAGE, and the
  // cache location as (UNINSTALLLINK, ENGINECACHE) when one is known.
  virtual void ApplyCacheOverride(ScriptRun&, std::string_view /*value*/) {}
  virtual void LoadTranslation(ScriptRun&, std::string_view /*language*/) {}
  struct CacheLocation {
    std::string uninstallLink, engineCache;
  };
  virtual std::optional<CacheLocation> CurrentCacheLocation(ScriptRun&) { return std::nullopt; }

  // A parameter translated for the active language (statement key, parameter number).
  virtual std::string Translate(ScriptRun&, std::string_view /*key*/, int /*number*/, std::string text) {
    return text;
  }

  // The wizard: whether a modeless dialog is showing, the window that owns message boxes, and
  // the progress display (its refresh and its error state).
  virtual bool ModelessDialogShowing(ScriptRun&) { return false; }
  virtual platform::WindowHandle ActiveDialogWindow(ScriptRun&) { return nullptr; }
  virtual void RefreshProgress(ScriptRun&, std::string_view /*text*/, long long /*position*/) {}
  virtual void SetProgressErrorState(ScriptRun&, bool /*error*/) {}

  // A statement named in the package's plug-in statement list.
  virtual void RunPlugin(ScriptRun&, size_t /*statement*/) {}

  // Engine cleanup: closes the text file Read from Text File keeps open, frees the dialogs and
  // the hidden main form, hides the tray icon.
  virtual void Cleanup(ScriptRun&) {}
};

}  // namespace korvane
