#pragma once
// The setup's command line: switches, valued switches and NAME=VALUE pairs.

#include <string>
#include <string_view>
#include <vector>

#include "bootstrap/package_tables.h"

namespace korvane {

struct CommandLine {
  std::string text;                    // the raw command line without the program part
  std::vector<std::string> parameters;  // split at blanks; double quotes group and are removed
  LineList variablePairs;              // pairs of lines: upper-cased NAME, then VALUE

  // True when a parameter is a slash or hyphen followed by the switch (letter case ignored).
  [[nodiscard]] bool HasSwitch(std::string_view name) const;
  // The first parameter that, lower-cased, contains token anywhere, without its first three
  // characters (lower-cased); empty when none does.
  [[nodiscard]] std::string ValuedSwitch(std::string_view token) const;

  [[nodiscard]] bool Silent() const { return HasSwitch("s") || HasSwitch("qn"); }
  [[nodiscard]] bool UpdateStart() const { return HasSwitch("update") || HasSwitch("updatesetup"); }
  // The timing log path from "/l=" or else "-l=", lower-cased.
  [[nodiscard]] std::string LogPath() const;
};

// The command line text without the program part.
std::string StripProgramPart(std::string_view rawCommandLine);
// Parameters after the program part, split at blanks, quotes grouping and removed.
std::vector<std::string> SplitParameters(std::string_view rawCommandLine);

CommandLine ParseCommandLine(std::string_view rawCommandLine);

}  // namespace korvane
