#pragma once
// The refresh before every statement: the values a script may change that the engine reads back
// (log path, silent flag, caption parts, cache override, language) and the date and time it
// publishes.

#include <cstdint>
#include <string>

namespace korvane {

class ScriptRun;

class StatementRefresh {
 public:
  void Run(ScriptRun& run);

 private:
  std::string appliedOverride_;
  std::string loadedLanguage_;
  int64_t formattedSecond_ = INT64_MIN;
  std::string date_, time_;
};

}  // namespace korvane
