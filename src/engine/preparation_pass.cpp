#include "engine/preparation_pass.h"

#include <array>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "engine/expression.h"
#include "engine/reference_name.h"
#include "engine/truth_words.h"
#include "support/text.h"

namespace korvane {
namespace {

constexpr std::string_view kPersistMarker = "$VRAX$VRAX$";

// What the per-statement walk checks for one statement name.
enum class Check {
  None,
  WebMediaBlock,        // legal block name, and a download URL when named
  RequireParameter,     // the parameter in `checked` is not empty
  DeleteMode,           // parameter 3 or 4 reads as true
  TargetFolder,         // parameter 3 is not empty
  VariableNamed,        // a variable named parameter 1 exists
  VariableReferenced,   // as VariableNamed, parameter 1 may also be written $NAME$
  Expression,           // parameter 1 parses
  LabelDefined,         // parameter 1 names a label
  Condition,            // If and Else If operands
  Dialog,               // Display Dialog name and condition variable
  SetVariable,          // declares its target, without the persist marker
};

struct StatementRule {
  std::array<int, 2> declares{};  // parameter numbers of result variables; 0 for none
  Check check = Check::None;
  int checked = 0;                // parameter number for RequireParameter
  bool deferred = false;
};

const std::unordered_map<std::string_view, StatementRule>& StatementRules() {
  static const auto* rules = [] {
    auto* table = new std::unordered_map<std::string_view, StatementRule>;
    auto add = [&](std::initializer_list<std::string_view> names, StatementRule rule) {
      for (std::string_view name : names) (*table)[name] = rule;
    };
    const StatementRule deferred{{}, Check::None, 0, true};
    add({"Web Media Block"}, {{}, Check::WebMediaBlock});
    add({"Comment"}, {});
    add({"Get Folder Location", "Get INI File Settings", "Check File Version", "Get System Settings",
         "Get OS or SP Level", "Read Registry", "Check Registry", "Does File/Folder Exist",
         "Localization Variable", "Get Temporary File", "Get IIS Property", "Get IIS Site List",
         "Apply Patch", "IIS Anonymous User"},
        {{1}});
    add({"Mathematics", "Run Program"}, {{4}});
    add({"Is MSI Setup Installed"}, {{2}, Check::RequireParameter, 2});
    add({"Extract 7Zip Archive", "Check Service", "Register Library"}, {{3}});
    add({"Run Light Mode Setup", "Get File Version", "Get Environment", "Get IIS Site Index",
         "Check Process", "Apply Changes", "Get Component State", "Get Component Space"},
        {{2}});
    add({"Read from Text File"}, {{2, 3}});
    add({"Parse String"}, {{3, 4}});
    add({"Delete Files"}, {{}, Check::DeleteMode, 0, true});
    add({"Copy/Move Local Files", "Create Folder", "Create Shortcut", "Advertised Shortcut",
         "Edit INI File", "Install Assembly", "Set Environment", "Install Service",
         "Install ODBC Driver", "Create ODBC DSN", "Control Service", "Write Registry",
         "Create File Type", "Advertised File Type"},
        deferred);
    add({"Install Files"}, {{}, Check::TargetFolder, 0, true});
    add({"Convert Path", "Convert Case", "Extract Path"}, {{}, Check::VariableNamed});
    add({"Replace String"}, {{}, Check::VariableReferenced});
    add({"Evaluate Expression"}, {{2}, Check::Expression});
    add({"Run Program As"}, {{8}});
    add({"Set Variable"}, {{}, Check::SetVariable});
    add({"GoTo Label"}, {{}, Check::LabelDefined});
    add({"Find All Files"}, {{4}, Check::RequireParameter, 4});
    add({"Check Disk Space"}, {{1}, Check::RequireParameter, 1});
    add({"If", "Else If"}, {{}, Check::Condition});
    add({"MessageBox"}, {{5}});
    add({"Display Dialog"}, {{2}, Check::Dialog});
    return table;
  }();
  return *rules;
}

const std::string kVariableRequired = "Variable required";
const std::string kVariableNotDefined = "Variable not defined: ";

// The target of Set Variable: the name without the persist marker, $NAME$ read as NAME (the
// statement itself writes NAME then).
std::string SetVariableTarget(std::string_view parameter) {
  const size_t marker = parameter.find(kPersistMarker);
  if (marker != std::string_view::npos) parameter = parameter.substr(0, marker);
  std::string name = ReferenceName(parameter);
  return name.empty() ? std::string(parameter) : name;
}

class PreparationPass {
 public:
  PreparationPass(const PackageTables& tables, const ParameterLookup& parameters,
                  TVariableManager& store)
      : tables_(tables), parameters_(parameters), store_(store) {}

  PreparationResult Run() {
    store_.Clear();
    for (const std::string& name : PreDeclaredVariables()) Declare(name);
    try {
      if (CheckBlocks() && CollectLabels() && DeclarePersisted() && CheckStatements())
        CheckWizardLoops();
    } catch (const PackageError& error) {
      Fail(current_, error.what());
    }
    return std::move(result_);
  }

 private:
  bool Enabled(size_t i) const { return !tables_.IsDisabled(i); }
  const std::string& Name(size_t i) const { return tables_.statementNames[i]; }

  std::string Parameter(size_t i, int number) {
    current_ = static_cast<int64_t>(i);
    // A statement without a key (a short key list) has no parameters; an empty key must not
    // be matched against the empty lines of the parameter list.
    if (i >= tables_.statementKeys.size() || tables_.statementKeys[i].empty()) return std::string();
    return parameters_.Parameter(tables_.statementKeys[i], static_cast<size_t>(number));
  }

  // Declarations only make names exist for the checks; values do not matter, and the engine
  // clears the store after the pass. An empty name declares nothing.
  void Declare(std::string_view name) {
    if (!name.empty()) store_.Set(UpperCase(name), "");
  }

  bool Fail(int64_t index, std::string message) {
    result_.index = index;
    result_.message = std::move(message);
    return false;
  }

  // If and Wizard Loop against End, and no Label inside a block.
  bool CheckBlocks() {
    int64_t openers = 0, ends = 0, depth = 0;
    for (size_t i = 0; i < tables_.StatementCount(); ++i) {
      if (!Enabled(i)) continue;
      const std::string& name = Name(i);
      if (name == "If" || name == "Wizard Loop") {
        ++openers;
        ++depth;
      } else if (name == "End") {
        ++ends;
        --depth;
      } else if (name == "Label" && depth != 0) {
        return Fail(static_cast<int64_t>(i),
                    "LABEL statements cannot be nested inside loops/conditionals");
      }
    }
    if (openers == ends) return true;
    return Fail(kBlockCountIndex,
                ends < openers ? "Insufficient END statements" : "Too many END statements");
  }

  // Every label, disabled ones included, defined once (letter case ignored).
  bool CollectLabels() {
    for (size_t i = 0; i < tables_.StatementCount(); ++i) {
      if (Name(i) != "Label") continue;
      const std::string label = Parameter(i, 1);
      std::string upper = UpperCase(label);
      if (!labels_.insert(upper).second)
        return Fail(static_cast<int64_t>(i), "LABEL re-defined: " + label);
      result_.compileLabels.push_back(std::move(upper));
    }
    return true;
  }

  // Variables kept for maintenance runs count as declared from the start.
  bool DeclarePersisted() {
    for (size_t i = 0; i < tables_.StatementCount(); ++i) {
      if (Name(i) != "Set Variable") continue;
      const std::string parameter = Parameter(i, 1);
      const size_t marker = parameter.find(kPersistMarker);
      if (marker == std::string::npos) continue;
      if (std::string_view(parameter).substr(marker + kPersistMarker.size()) != "TRUE") continue;
      const std::string name = SetVariableTarget(parameter);
      if (!store_.Exists(name)) Declare(name);
    }
    return true;
  }

  bool CheckStatements() {
    const auto& rules = StatementRules();
    result_.statementStates.reserve(tables_.StatementCount());
    for (size_t i = 0; i < tables_.StatementCount(); ++i) {
      result_.statementStates.emplace_back(kStateNotDeferred);
      if (!Enabled(i)) continue;
      auto rule = rules.find(Name(i));
      if (rule == rules.end()) continue;
      if (rule->second.deferred) result_.statementStates.back() = kStateDeferredPending;
      for (int number : rule->second.declares)
        if (number != 0) Declare(Parameter(i, number));
      if (!CheckStatement(i, rule->second)) return false;
    }
    return true;
  }

  bool VariableDefined(size_t i, const std::string& name, const std::string& shown) {
    if (store_.Exists(name)) return true;
    return Fail(static_cast<int64_t>(i), kVariableNotDefined + shown);
  }

  bool CheckStatement(size_t i, const StatementRule& rule) {
    const auto index = static_cast<int64_t>(i);
    switch (rule.check) {
      case Check::None:
        return true;
      case Check::WebMediaBlock: {
        const std::string block = Parameter(i, 1);
        if (!block.empty() && Parameter(i, 2).empty())
          return Fail(index, "Web Media Block must have at least one download URL");
        const size_t separator = block.find_last_of("\\:");
        const std::string_view fileName =
            separator == std::string::npos ? std::string_view(block)
                                           : std::string_view(block).substr(separator + 1);
        if (fileName.find_first_of("/*?\"<>|") != std::string_view::npos)
          return Fail(index, "Web Media Block name must be a legal file name");
        return true;
      }
      case Check::RequireParameter:
        return !Parameter(i, rule.checked).empty() || Fail(index, kVariableRequired);
      case Check::DeleteMode:
        if (TruthOf(Parameter(i, 3)) || TruthOf(Parameter(i, 4))) return true;
        return Fail(index, "At least one delete mode must be selected");
      case Check::TargetFolder:
        if (!Parameter(i, 3).empty()) return true;
        return Fail(index,
                    "A target folder must be specified for files that are being installed.\r"
                    "The value $TARGETDIR$ represents the destination folder chosen by the user.");
      case Check::VariableNamed: {
        const std::string name = Parameter(i, 1);
        return VariableDefined(i, name, name);
      }
      case Check::VariableReferenced: {
        // Replace String accepts $NAME$ as well as NAME when it runs; so does its check.
        const std::string parameter = Parameter(i, 1);
        const std::string reference = ReferenceName(parameter);
        return VariableDefined(i, reference.empty() ? parameter : reference, parameter);
      }
      case Check::Expression: {
        const std::string expression = ReplaceAll(Parameter(i, 1), "$", "\"");
        if (EvaluateExpression(expression) != ExpressionOutcome::Error) return true;
        return Fail(index,
                    "Syntax error in expression. Please review the help topic \"Evaluate "
                    "Expression\" for the correct syntax.");
      }
      case Check::LabelDefined: {
        const std::string label = Parameter(i, 1);
        if (labels_.count(UpperCase(label)) != 0) return true;
        return Fail(index, "LABEL undefined: " + label);
      }
      case Check::Condition: {
        const std::string variable = Parameter(i, 1);
        if (variable.empty()) return Fail(index, kVariableRequired);
        const std::string value = Parameter(i, 3);
        if (!OperandDefined(value, true, store_)) return Fail(index, kVariableNotDefined + value);
        if (!OperandDefined(variable, false, store_))
          return Fail(index, kVariableNotDefined + variable);
        return true;
      }
      case Check::Dialog: {
        if (Parameter(i, 1).empty()) return Fail(index, "Dialog name not specified");
        const std::string condition = Parameter(i, 4);
        if (condition.empty() || OperandDefined(condition, false, store_)) return true;
        return Fail(index, kVariableNotDefined + condition);
      }
      case Check::SetVariable:
        Declare(SetVariableTarget(Parameter(i, 1)));
        return true;
    }
    return true;
  }

  // Inside a Wizard Loop only Display Dialog and Comment may stand (disabled statements and
  // Ignore aside). Disabled statements neither open nor close a loop, as when the loop runs.
  bool CheckWizardLoops() {
    bool inside = false;
    for (size_t i = 0; i < tables_.StatementCount(); ++i) {
      if (!Enabled(i)) continue;
      const std::string& name = Name(i);
      if (name == "Wizard Loop") {
        inside = true;
      } else if (name == "End" && inside) {
        inside = false;
      } else if (inside && name != "Display Dialog" && name != "Comment" && name != "Ignore") {
        return Fail(static_cast<int64_t>(i),
                    "Statements other than DISPLAY DIALOG not allowed inside WIZARD LOOP");
      }
    }
    return true;
  }

  const PackageTables& tables_;
  const ParameterLookup& parameters_;
  TVariableManager& store_;
  PreparationResult result_;
  std::unordered_set<std::string> labels_;
  int64_t current_ = 0;  // the statement whose parameters were fetched last
};

}  // namespace

const LineList& PreDeclaredVariables() {
  static const LineList names = {
      "VRAX_COMPRESSCACHE", "VRAX_DISABLEROLLBACK", "VRAX_DISABLEVISTARESTARTMANAGER", "IISHOST",
      "OVERRIDECACHE", "VRAXLOGO", "TIME", "DATE", "NEWINSTANCE", "SELECTED", "WINDOWHANDLE",
      "EXEDIR", "EXEFILE", "UNINSTALLLINK", "ENGINECACHE", "COPYWEBLOCK", "ABORT", "SILENT",
      "LOGGED", "CMDLINE", "REBOOTNOW", "SFXPATH", "SFXFILE", "LASTERROR", "PROGRESSMODE",
      "PROGRESSTEXT", "PROGRESS", "LICENSE", "USERNAME", "USERCOMPANY", "REBOOTCOMPUTER", "RUNAPP",
      "WIZARD", "VERSION", "TARGETDIR", "STARTMENU", "ADVERTISE", "ALLUSERS", "COMPLETE",
      "MINIMUM", "PERSONALIZED", "MODIFY", "REPAIR", "REMOVE", "DATADIR", "PRODUCTCODE",
      "REVISIONCODE", "ROOTDIR", "MAINTENANCE", "NEWLINE", "NEEDSUPGRADE", "TITLE", "COMPANY",
      "TEMPDIR", "SUPPORTDIR", "MSIFILE", "LANGUAGE", "ABORTONERROR", "ABORTEDONERROR",
      "SAVEDATA",
      // Set by the engine at start-up under these names as well; a script may test them.
      "VRAX_COMPRESS_INSTALLER_CACHE", "VRAX_DISABLE_ROLLBACK",
      "VRAX_DISABLE_VISTA_RESTART_MANAGER", "GPOPATH"};
  return names;
}

std::string DescribePreparationFailure(const PackageTables& tables,
                                      const PreparationResult& result) {
  const auto& positions = tables.sourcePositions;
  if (result.index == kBlockCountIndex) {
    if (positions.empty()) return result.message;
    const std::string_view first = positions.front();
    return std::string(first.substr(0, first.rfind('*'))) + ": " + result.message;
  }
  const auto index = static_cast<size_t>(result.index);
  if (result.index >= 0 && index < positions.size()) {
    const std::string_view position = positions[index];
    const size_t star = position.rfind('*');
    const std::optional<int64_t> line =
        star == std::string_view::npos ? std::nullopt : ParseInteger(position.substr(star + 1));
    if (line && *line >= 0)
      return std::string(position.substr(0, star)) + ":" + std::to_string(*line + 1) + ": " +
             result.message;
  }
  return "statement " + std::to_string(result.index) + ": " + result.message;
}

bool OperandDefined(std::string_view text, bool literalAllowed, const TVariableManager& store) {
  const std::string name = ReferenceName(text);
  if (!name.empty()) return store.Exists(name);
  return literalAllowed || store.Exists(text);
}

PreparationResult PrepareScript(const PackageTables& tables, const ParameterLookup& parameters,
                                TVariableManager& store) {
  return PreparationPass(tables, parameters, store).Run();
}

PreparationResult PrepareScript(const PackageTables& tables, const ParameterLookup& parameters) {
  TVariableManager store(false);
  return PrepareScript(tables, parameters, store);
}

}  // namespace korvane
