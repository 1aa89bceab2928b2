#include "engine/script_run.h"

#include "engine/standard_caption.h"
#include "engine/worker_supervisor.h"

namespace korvane {

ScriptRun::ScriptRun(const PackageTables& tables, const ParameterLookup& parameters, TVariableManager& store,
                     TimingLog& log, const LanguageTable& language, EngineServices services,
                     EngineExtensions& extensions, CommandLineProtection protection, bool silent)
    : tables(tables),
      parameters(parameters),
      store(store),
      log(log),
      language(language),
      services(services),
      extensions(extensions),
      protection_(std::move(protection)),
      silent_(silent) {}

ScriptRun::~ScriptRun() = default;

WorkerSupervisor& ScriptRun::Workers() {
  if (!workers_) workers_ = std::make_unique<WorkerSupervisor>(*this);
  return *workers_;
}

std::string ScriptRun::Parameter(size_t statement, size_t number) const {
  if (statement >= tables.statementKeys.size() || tables.statementKeys[statement].empty()) return {};
  return parameters.Parameter(tables.statementKeys[statement], number);
}

std::string ScriptRun::TranslatedParameter(size_t statement, int number) {
  std::string text = Parameter(statement, static_cast<size_t>(number));
  if (Get("LANGUAGE").empty() || statement >= tables.statementKeys.size()) return text;
  return extensions.Translate(*this, tables.statementKeys[statement], number, std::move(text));
}

void ScriptRun::Set(std::string_view name, std::string_view value, std::string_view context) {
  SetVariable(store, protection_, name, value, context);
}

void ScriptRun::SetCaptionParts(std::string title, bool brandingOff) {
  title_ = std::move(title);
  brandingOff_ = brandingOff;
}

std::string ScriptRun::StandardCaption() const { return korvane::StandardCaption(title_, brandingOff_); }

void ScriptRun::ShowError(std::string_view text) {
  services.errorBoxes.ShowError(StandardCaption(), text, extensions.ActiveDialogWindow(*this));
}

}  // namespace korvane
