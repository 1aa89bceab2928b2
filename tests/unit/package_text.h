#pragma once
// Builds script package texts for tests.

#include <string>
#include <vector>

namespace korvane::testing {

// A complete package: statements (name, key, flag), parameter lines, and defaults for the rest.
struct PackageText {
  std::vector<std::string> names{"Set Variable", "If", "End"};
  std::vector<std::string> keys{"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}", "{FFFFFFFF-AAAA-BBBB-CCCC-DDDDDDDDDDDD}",
                                "{11111111-2222-3333-4444-555555555555}"};
  std::vector<std::string> parameters{"{FFFFFFFF-AAAA-BBBB-CCCC-DDDDDDDDDDDD}", "PREREQ", "0", "TRUE", "FALSE",
                                      "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}", "PREREQ", "TRUE"};
  std::vector<std::string> flags{"", "", ""};
  std::vector<std::string> commandHeaders{"15193751", "333"};
  std::string buildMode = "1";
  std::string codePage = "1252";

  std::string Render() const {
    std::string out;
    auto line = [&](const std::string& l) { out += l + "\r\n"; };
    auto list = [&](const std::vector<std::string>& l) {
      for (const auto& x : l) line(x);
      line("$");
    };
    std::vector<std::string> aligned(names.size());
    std::vector<std::string> positions;
    for (size_t i = 0; i < names.size(); ++i) positions.push_back("C:\\src\\demo.kvs*" + std::to_string(i));
    list(names);
    list(keys);
    list(parameters);
    list(flags);
    line("{PRODUCT0-0000-0000-0000-000000000000}");
    line("Demo Product");
    list({});
    line("Acme");
    line("support@acme.example");
    line("http://acme.example/help");
    line("http://acme.example/update");
    line("No comment");
    line("1.2.3");
    list({"offline", "scrambled"});
    list(aligned);
    line(buildMode);
    list({"Core", "1234"});
    line("{REVISION-0000-0000-0000-000000000000}");
    list({"data1", "bin\\a.dll", "bin\\"});
    line("TRUE");
    line("English");
    list(commandHeaders);
    list({"SINGLEINSTANCE", "TRUE"});
    line(codePage);
    list(positions);
    return out;
  }
};

}  // namespace korvane::testing
