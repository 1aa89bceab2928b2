#include "tools/script_source.h"

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "bootstrap/package_reader.h"
#include "support/text.h"
#include "tools/source_values.h"
#include "tools/statement_codes.h"

namespace korvane::builder {
namespace {

enum class Section { None, Skipped, Package, Constants, Plugins, Components, WebPasswords, FileMap, Script };

std::optional<Section> SectionNamed(std::string_view name) {
  static const std::map<std::string, Section> sections = {
      {"package", Section::Package},       {"constants", Section::Constants},        {"plugins", Section::Plugins},
      {"components", Section::Components}, {"web passwords", Section::WebPasswords}, {"file map", Section::FileMap},
      {"script", Section::Script}};
  auto it = sections.find(LowerCase(name));
  if (it == sections.end()) return std::nullopt;
  return it->second;
}

struct Statement {
  size_t line = 0;  // counted from 0
  std::string name;
  bool disabled = false;
  std::string key;     // empty: the builder makes one up
  std::string header;  // empty: the builder makes one up
  std::string webBlock;
  bool hasBlock = false;
  std::vector<std::string> parameters;
};

class SourceCompiler {
 public:
  explicit SourceCompiler(std::string_view path) : path_(path) {}

  Result<CompiledScript> Compile(std::string_view text);

 private:
  void Fail(size_t line, const std::string& reason) {
    if (!errors_.empty()) errors_ += '\n';
    errors_ += path_ + ":" + std::to_string(line + 1) + ": " + reason;
  }
  // A value that goes into a list other than the parameter list must not be a lone "$".
  bool Storable(size_t line, std::string_view value, const std::string& what) {
    if (value == kListTerminator) {
      Fail(line, what + " cannot be a lone \"$\": that line would end its list in the package");
      return false;
    }
    if (value.size() > kMaxPackageLineLength) {
      Fail(line, what + " is longer than " + std::to_string(kMaxPackageLineLength) + " bytes");
      return false;
    }
    return true;
  }
  // Splits "name = value"; false (with the fault reported) when there is no "=" or no name.
  bool SplitAssignment(size_t line, std::string_view text, std::string& name, std::string& value);
  // Refuses a second entry of the same name (letter case ignored) in one table.
  bool FirstOfName(std::map<std::string, size_t>& seen, size_t line, const std::string& name, const char* what);

  void PackageLine(size_t line, std::string_view text);
  void ConstantLine(size_t line, std::string_view text);
  void PluginLine(size_t line, std::string_view text);
  void ComponentLine(size_t line, std::string_view text);
  void WebPasswordLine(size_t line, std::string_view text);
  void FileMapLine(size_t line, std::string_view text);
  void StatementLine(size_t line, std::string_view text);
  bool StatementOption(size_t line, std::string_view option, Statement& statement);
  void CheckPackageFacts();
  void AssignCodes();
  void CheckParametersAgainstKeys();
  CompiledScript Assemble() const;

  std::string path_;
  std::string errors_;
  PackageTables tables_;
  std::vector<Statement> statements_;
  std::optional<size_t> packageSectionLine_;
  std::map<std::string, size_t> packageKeys_, constants_, plugins_, components_, webBlocks_;
};

bool SourceCompiler::SplitAssignment(size_t line, std::string_view text, std::string& name, std::string& value) {
  const size_t eq = text.find('=');
  if (eq == std::string_view::npos) {
    Fail(line, "expected \"name = value\" but found \"" + std::string(text) + "\"");
    return false;
  }
  name = std::string(TrimBlanks(text.substr(0, eq)));
  if (name.empty()) {
    Fail(line, "the name before \"=\" is empty");
    return false;
  }
  auto parsed = ParseSourceValue(text.substr(eq + 1));
  if (!parsed) {
    Fail(line, parsed.error());
    return false;
  }
  value = std::move(*parsed);
  return true;
}

bool SourceCompiler::FirstOfName(std::map<std::string, size_t>& seen, size_t line, const std::string& name,
                                 const char* what) {
  auto [it, inserted] = seen.emplace(UpperCase(name), line);
  if (!inserted)
    Fail(line, std::string(what) + " \"" + name + "\" is already given on line " + std::to_string(it->second + 1));
  return inserted;
}

void SourceCompiler::PackageLine(size_t line, std::string_view text) {
  std::string key, value;
  if (!SplitAssignment(line, text, key, value)) return;
  auto textSetter = [](std::string PackageTables::*member) {
    return [member](PackageTables& t, const std::string& v) -> std::string {
      t.*member = v;
      return {};
    };
  };
  auto integerSetter = [](int32_t PackageTables::*member) {
    return [member](PackageTables& t, const std::string& v) -> std::string {
      auto n = ParseInteger(v);
      if (!n || *n < INT32_MIN || *n > INT32_MAX) return "\"" + v + "\" is not a whole number";
      t.*member = static_cast<int32_t>(*n);
      return {};
    };
  };
  using Setter = std::function<std::string(PackageTables&, const std::string&)>;
  static const std::map<std::string, Setter> setters = {
      {"TITLE", textSetter(&PackageTables::productTitle)},
      {"PRODUCTCODE", textSetter(&PackageTables::productCode)},
      {"REVISIONCODE", textSetter(&PackageTables::revisionCode)},
      {"VERSION", textSetter(&PackageTables::productVersion)},
      {"PUBLISHER", textSetter(&PackageTables::publisher)},
      {"CONTACT", textSetter(&PackageTables::contact)},
      {"HELPLINK", textSetter(&PackageTables::helpLink)},
      {"UPDATEINFOLINK", textSetter(&PackageTables::updateInfoLink)},
      {"COMMENTS", textSetter(&PackageTables::comments)},
      {"DEFAULTLANGUAGE", textSetter(&PackageTables::defaultLanguage)},
      {"BUILDMODE", integerSetter(&PackageTables::buildMode)},
      {"CODEPAGE", integerSetter(&PackageTables::codePage)},
      {"LANGUAGEDIALOG",
       [](PackageTables& t, const std::string& v) -> std::string {
         if (!SameText(v, "TRUE") && !SameText(v, "FALSE")) return "\"" + v + "\" is neither TRUE nor FALSE";
         t.languageDialog = SameText(v, "TRUE");
         return {};
       }},
  };
  auto setter = setters.find(UpperCase(key));
  if (setter == setters.end()) {
    Fail(line, "unknown [package] setting \"" + key +
                   "\" (known: Title, ProductCode, RevisionCode, Version, Publisher, Contact, HelpLink, "
                   "UpdateInfoLink, Comments, BuildMode, CodePage, LanguageDialog, DefaultLanguage)");
    return;
  }
  if (!FirstOfName(packageKeys_, line, key, "the setting")) return;
  if (value.size() > kMaxPackageLineLength)
    return Fail(line, key + " is longer than " + std::to_string(kMaxPackageLineLength) + " bytes");
  if (std::string why = setter->second(tables_, value); !why.empty()) Fail(line, key + ": " + why);
}

void SourceCompiler::ConstantLine(size_t line, std::string_view text) {
  std::string name, value;
  if (!SplitAssignment(line, text, name, value)) return;
  if (!Storable(line, name, "a constant name") || !Storable(line, value, "the value of " + name)) return;
  if (!FirstOfName(constants_, line, name, "the constant")) return;
  tables_.compilerConstants.push_back(name);
  tables_.compilerConstants.push_back(value);
}

void SourceCompiler::PluginLine(size_t line, std::string_view text) {
  auto name = ParseSourceValue(text);
  if (!name) return Fail(line, name.error());
  if (name->empty()) return Fail(line, "a plug-in statement name is empty");
  if (!Storable(line, *name, "a plug-in statement name")) return;
  if (!FirstOfName(plugins_, line, *name, "the plug-in statement")) return;
  tables_.pluginStatements.push_back(*name);
}

void SourceCompiler::ComponentLine(size_t line, std::string_view text) {
  std::string name, size;
  if (!SplitAssignment(line, text, name, size)) return;
  if (!Storable(line, name, "a component name")) return;
  auto bytes = ParseInteger(size);
  if (!bytes || *bytes < 0)
    return Fail(line, "the size of component " + name + " must be a whole number of bytes, not \"" + size + "\"");
  if (!FirstOfName(components_, line, name, "the component")) return;
  tables_.componentSizes.push_back(name);
  tables_.componentSizes.push_back(std::to_string(*bytes));
}

void SourceCompiler::WebPasswordLine(size_t line, std::string_view text) {
  std::string block, password;
  if (!SplitAssignment(line, text, block, password)) return;
  if (!Storable(line, block, "a web block name") || !Storable(line, password, "the password of " + block)) return;
  if (!FirstOfName(webBlocks_, line, block, "the web block")) return;
  tables_.webBlockPasswords.push_back(block);
  tables_.webBlockPasswords.push_back(password);
}

void SourceCompiler::FileMapLine(size_t line, std::string_view text) {
  auto parts = SplitSourceValues(text);
  if (!parts) return Fail(line, parts.error());
  if (parts->size() != 3)
    return Fail(line, "a file map line is \"archive | path in archive | destination folder\\\", not " +
                          std::to_string(parts->size()) + " value(s)");
  const std::string& folder = (*parts)[2];
  if ((*parts)[0].empty() || (*parts)[1].empty()) return Fail(line, "the archive and the path in it must not be empty");
  if (folder.empty() || folder.back() != '\\')
    return Fail(line, "the destination folder \"" + folder + "\" must end with a backslash");
  if (folder.front() == '\\' || folder.front() == '/' || folder.find(':') != std::string::npos)
    return Fail(line, "the destination folder \"" + folder + "\" must be relative");
  for (const auto& part : *parts)
    if (!Storable(line, part, "a file map value")) return;
  tables_.fileMap.insert(tables_.fileMap.end(), parts->begin(), parts->end());
}

bool SourceCompiler::StatementOption(size_t line, std::string_view option, Statement& statement) {
  const size_t eq = option.find('=');
  const std::string name = LowerCase(TrimBlanks(option.substr(0, eq)));
  const std::string value = eq == std::string_view::npos ? "" : std::string(TrimBlanks(option.substr(eq + 1)));
  std::string* target = nullptr;
  if (name == "key") {
    if (!IsStatementKey(value)) {
      Fail(line, "@key needs a GUID in braces such as {01234567-89AB-CDEF-0123-456789ABCDEF}, not \"" + value + "\"");
      return false;
    }
    target = &statement.key;
  } else if (name == "header") {
    if (!IsCommandHeader(value)) {
      Fail(line, "@header needs one to eight hexadecimal digits, not \"" + value + "\"");
      return false;
    }
    target = &statement.header;
  } else if (name == "web") {
    if (value.empty()) {
      Fail(line, "@web needs the name of a web media block");
      return false;
    }
    if (!Storable(line, value, "a web block name")) return false;
    target = &statement.webBlock;
  } else {
    Fail(line, "unknown statement option \"@" + std::string(TrimBlanks(option)) + "\" (known: @key, @web, @header)");
    return false;
  }
  if (!target->empty()) {
    Fail(line, "@" + name + " is given twice");
    return false;
  }
  *target = name == "header" ? UpperCase(value) : value;
  return true;
}

void SourceCompiler::StatementLine(size_t line, std::string_view text) {
  Statement statement;
  statement.line = line;
  if (text.front() == '!') {
    statement.disabled = true;
    text = TrimBlanks(text.substr(1));
  }
  const size_t colon = text.find(':');
  const std::string_view head = text.substr(0, colon);
  const size_t at = head.find('@');
  statement.name = std::string(TrimBlanks(head.substr(0, at)));
  if (statement.name.empty()) return Fail(line, "a statement needs a name before its options and parameters");
  if (!Storable(line, statement.name, "a statement name")) return;
  if (at != std::string_view::npos) {
    std::string_view options = head.substr(at + 1);
    for (;;) {
      const size_t next = options.find('@');
      if (!StatementOption(line, options.substr(0, next), statement)) return;
      if (next == std::string_view::npos) break;
      options = options.substr(next + 1);
    }
  }
  if (colon != std::string_view::npos) {
    auto parameters = SplitSourceValues(text.substr(colon + 1));
    if (!parameters) return Fail(line, parameters.error());
    for (size_t i = 0; i < parameters->size(); ++i)
      if ((*parameters)[i].size() > kMaxPackageLineLength)
        return Fail(line, "parameter " + std::to_string(i + 1) + " is longer than " +
                              std::to_string(kMaxPackageLineLength) + " bytes");
    statement.hasBlock = true;
    statement.parameters = std::move(*parameters);
  }
  statements_.push_back(std::move(statement));
}

void SourceCompiler::CheckPackageFacts() {
  const size_t line = packageSectionLine_.value_or(0);
  if (!packageSectionLine_) return Fail(line, "the source has no [package] section");
  for (auto [name, value] :
       {std::pair{"ProductCode", &tables_.productCode}, std::pair{"RevisionCode", &tables_.revisionCode}}) {
    if (value->empty())
      Fail(line, std::string("the [package] section needs a ") + name);
    else if (!IsStatementKey(*value))
      Fail(packageKeys_[UpperCase(name)], std::string(name) + " must be a GUID in braces, not \"" + *value + "\"");
  }
}

void SourceCompiler::AssignCodes() {
  StatementCodes codes(UpperCase(tables_.productCode));
  std::map<std::string, size_t> keyLines, headerLines;
  for (const Statement& s : statements_) {
    if (!s.key.empty() && !codes.ReserveKey(s.key))
      Fail(s.line,
           "statement key " + s.key + " is already used on line " + std::to_string(keyLines[UpperCase(s.key)] + 1));
    keyLines.emplace(UpperCase(s.key), s.line);
    if (!s.header.empty() && !codes.ReserveHeader(s.header))
      Fail(s.line,
           "command header " + s.header + " is already used on line " + std::to_string(headerLines[s.header] + 1));
    headerLines.emplace(s.header, s.line);
  }
  // A statement's codes depend on its name and how many statements of that name come before
  // it, so editing one statement leaves the codes of the others alone.
  std::map<std::string, size_t> occurrences;
  for (Statement& s : statements_) {
    const std::string identity = UpperCase(s.name) + "#" + std::to_string(occurrences[UpperCase(s.name)]++);
    if (s.key.empty()) s.key = codes.NewKey(identity);
    if (s.header.empty()) s.header = codes.NewHeader(identity);
  }
}

// The engine finds a statement's block at the last line of the parameter list that equals its
// key (letter case ignored), so a parameter spelled like a key would capture that statement.
void SourceCompiler::CheckParametersAgainstKeys() {
  std::map<std::string, size_t> keyLines;
  for (const Statement& s : statements_) keyLines.emplace(UpperCase(s.key), s.line);
  for (const Statement& s : statements_) {
    for (size_t i = 0; i < s.parameters.size(); ++i) {
      auto clash = keyLines.find(UpperCase(s.parameters[i]));
      if (clash == keyLines.end()) continue;
      Fail(s.line, "parameter " + std::to_string(i + 1) + " is the key of the statement on line " +
                       std::to_string(clash->second + 1) +
                       "; the engine would read that statement's parameters from here");
    }
  }
}

CompiledScript SourceCompiler::Assemble() const {
  CompiledScript out;
  out.tables = tables_;
  PackageTables& t = out.tables;
  for (size_t i = 0; i < statements_.size(); ++i) {
    const Statement& s = statements_[i];
    t.statementNames.push_back(s.name);
    t.statementKeys.push_back(s.key);
    t.statementFlags.push_back(s.disabled ? "C" : "");
    t.statementWebBlocks.push_back(s.webBlock);
    t.sourcePositions.push_back(path_ + "*" + std::to_string(s.line));
    t.commandHeaders.push_back(s.header);
    t.commandHeaders.push_back(std::to_string(i));
    if (s.disabled) ++out.disabledStatements;
    if (s.hasBlock) {
      ++out.parameterBlocks;
      t.parameters.push_back(s.key);
      t.parameters.insert(t.parameters.end(), s.parameters.begin(), s.parameters.end());
    }
  }
  return out;
}

Result<CompiledScript> SourceCompiler::Compile(std::string_view text) {
  tables_.codePage = 1252;
  tables_.defaultLanguage = "English";
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte-order mark some editors write
  Section section = Section::None;
  size_t line = 0;
  for (size_t pos = 0; pos < text.size(); ++line) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(pos, end - pos);
    pos = end + 1;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (raw.find('\r') != std::string_view::npos) {
      Fail(line, "a carriage return inside a line cannot be stored");
      continue;
    }
    if (raw.find('\0') != std::string_view::npos) {
      Fail(line, "a NUL byte cannot be stored");
      continue;
    }
    const std::string_view trimmed = TrimBlanks(raw);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    if (trimmed.front() == '[') {
      auto named =
          trimmed.back() == ']' ? SectionNamed(TrimBlanks(trimmed.substr(1, trimmed.size() - 2))) : std::nullopt;
      if (!named) {
        Fail(line,
             "unknown section " + std::string(trimmed) +
                 " (known: [package], [constants], [plugins], [components], [web passwords], [file map], [script])");
        section = Section::Skipped;  // its lines are not reported once more each
        continue;
      }
      section = *named;
      if (section == Section::Package && !packageSectionLine_) packageSectionLine_ = line;
      continue;
    }
    switch (section) {
      case Section::None:
        Fail(line, "this line stands outside any section; start with [package]");
        break;
      case Section::Skipped:
        break;
      case Section::Package:
        PackageLine(line, trimmed);
        break;
      case Section::Constants:
        ConstantLine(line, trimmed);
        break;
      case Section::Plugins:
        PluginLine(line, trimmed);
        break;
      case Section::Components:
        ComponentLine(line, trimmed);
        break;
      case Section::WebPasswords:
        WebPasswordLine(line, trimmed);
        break;
      case Section::FileMap:
        FileMapLine(line, trimmed);
        break;
      case Section::Script:
        StatementLine(line, trimmed);
        break;
    }
  }
  CheckPackageFacts();
  // The engine splits a source position at its asterisk.
  if (path_.find('*') != std::string::npos)
    Fail(0, "the source path cannot hold \"*\": it separates path and line in the package");
  AssignCodes();
  CheckParametersAgainstKeys();
  if (!errors_.empty()) return Error{errors_};
  return Assemble();
}

}  // namespace

Result<CompiledScript> CompileScriptSource(std::string_view text, std::string_view sourcePath) {
  return SourceCompiler(sourcePath).Compile(text);
}

}  // namespace korvane::builder
