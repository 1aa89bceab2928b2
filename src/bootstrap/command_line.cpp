#include "bootstrap/command_line.h"

#include "support/text.h"

namespace korvane {

std::string StripProgramPart(std::string_view raw) {
  if (!raw.empty() && raw.front() == '"') {
    raw.remove_prefix(1);
    size_t close = raw.find('"');
    if (close == std::string_view::npos) return {};
    raw.remove_prefix(close + 1);
    if (!raw.empty()) raw.remove_prefix(1);  // the separating blank
    return std::string(raw);
  }
  size_t blank = raw.find(' ');
  if (blank == std::string_view::npos) return {};
  return std::string(raw.substr(blank + 1));
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::vector<std::string> SplitAll(std::string_view raw) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < raw.size()) {
    while (i < raw.size() && IsBlank(raw[i])) ++i;
    if (i >= raw.size()) break;
    std::string param;
    bool quoted = false;
    for (; i < raw.size(); ++i) {
      char c = raw[i];
      if (c == '"') {
        quoted = !quoted;
        continue;
      }
      if (!quoted && IsBlank(c)) break;
      param.push_back(c);
    }
    out.push_back(std::move(param));
  }
  return out;
}

}  // namespace

std::vector<std::string> SplitParameters(std::string_view raw) {
  std::vector<std::string> all = SplitAll(raw);
  if (!all.empty()) all.erase(all.begin());  // the program itself
  return all;
}

bool CommandLine::HasSwitch(std::string_view name) const {
  for (const auto& p : parameters)
    if (p.size() == name.size() + 1 && (p[0] == '/' || p[0] == '-') && SameText(std::string_view(p).substr(1), name))
      return true;
  return false;
}

std::string CommandLine::ValuedSwitch(std::string_view token) const {
  const std::string lowerToken = LowerCase(token);
  for (const auto& p : parameters) {
    std::string lower = LowerCase(p);
    if (lower.find(lowerToken) != std::string::npos) return lower.size() > 3 ? lower.substr(3) : std::string();
  }
  return {};
}

std::string CommandLine::LogPath() const {
  std::string path = ValuedSwitch("/l=");
  return path.empty() ? ValuedSwitch("-l=") : path;
}

CommandLine ParseCommandLine(std::string_view raw) {
  CommandLine cl;
  cl.text = StripProgramPart(raw);
  cl.parameters = SplitParameters(raw);
  for (const auto& p : cl.parameters) {
    if (p.empty() || p[0] == '/' || p[0] == '-') continue;
    size_t eq = p.find('=');
    if (eq == std::string::npos) continue;
    cl.variablePairs.push_back(UpperCase(p.substr(0, eq)));
    cl.variablePairs.push_back(p.substr(eq + 1));
  }
  return cl;
}

}  // namespace korvane
