#include "engine/statement_refresh.h"

#include "engine/script_run.h"
#include "engine/truth_words.h"

namespace korvane {

void StatementRefresh::Run(ScriptRun& run) {
  run.log.SetPath(run.Get("LOGGED"));
  run.SetSilent(TruthOf(run.Get("SILENT")));
  run.SetCaptionParts(run.Get("TITLE"), run.Get("VRAXLOGO") == "TRUE");

  if (std::string value = run.Get("OVERRIDECACHE"); !value.empty() && value != appliedOverride_) {
    appliedOverride_ = value;
    run.extensions.ApplyCacheOverride(run, value);
  }

  // The texts change at most once a second; formatting them again within the same second
  // would give the same texts.
  const int64_t second = run.services.clock.WallSeconds();
  if (second != formattedSecond_) {
    formattedSecond_ = second;
    date_ = run.services.clock.ShortDate();
    time_ = run.services.clock.LongTime();
  }
  run.Set("DATE", date_, "Initialization");
  run.Set("TIME", time_, "Initialization");

  if (std::string language = run.Get("LANGUAGE"); !language.empty() && language != loadedLanguage_) {
    loadedLanguage_ = language;
    run.extensions.LoadTranslation(run, language);
  }

  if (auto location = run.extensions.CurrentCacheLocation(run)) {
    run.Set("UNINSTALLLINK", location->uninstallLink, "Initialization");
    run.Set("ENGINECACHE", location->engineCache, "Initialization");
  }
}

}  // namespace korvane
