// korvane-package-dump: a test stub. It finds the script package appended to its own file the
// way the setup stub does (running image end, temporary copy, read) and prints the tables.
//   korvane-package-dump.exe                 prints DumpPackage of its package
//   korvane-package-dump.exe KEY N [KEY N]   prints parameter N of each statement KEY instead,
//                                            one "  |value" line each
// Exit codes: 0, 13 no package, 17 damaged package, 1 a parameter past the end of the list.

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bootstrap/exit_codes.h"
#include "bootstrap/package_dump.h"
#include "bootstrap/package_reader.h"
#include "bootstrap/parameter_lookup.h"
#include "platform/process.h"
#include "support/text.h"

namespace korvane {
namespace {

// Binary standard output: the dump's line feeds stay line feeds, as on the build machine.
void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int Run(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  const std::filesystem::path program = platform::ProgramPath();
  auto stubSize = platform::RunningImageEnd();
  if (!stubSize) {
    std::fprintf(stderr, "cannot read the running image: %s\n", stubSize.error().c_str());
    return exit_code::kDamagedPackage;
  }
  std::error_code error;
  const auto fileSize = std::filesystem::file_size(program, error);
  if (error || fileSize <= *stubSize) {
    std::fprintf(stderr, "no script package is appended to %s\n", program.string().c_str());
    return exit_code::kNoPackage;
  }
  auto copy = CopyPackageToTemp(program, *stubSize, platform::TempFolder());
  if (!copy) {
    std::fprintf(stderr, "%s\n", copy.error().c_str());
    return exit_code::kDamagedPackage;
  }
  auto tables = ReadPackageCopy(*copy);
  if (!tables) {
    std::fprintf(stderr, "%s\n", tables.error().c_str());
    return exit_code::kDamagedPackage;
  }
  if (argc < 2) {
    Print(DumpPackage(*tables));
    return exit_code::kSuccess;
  }
  ParameterLookup lookup;
  lookup.AddList(tables->parameters);
  for (int i = 1; i + 1 < argc; i += 2) {
    auto number = ParseInteger(argv[i + 1]);
    if (!number || *number < 0) {
      std::fprintf(stderr, "parameter number expected, not %s\n", argv[i + 1]);
      return 1;
    }
    try {
      Print("  |" + lookup.Parameter(argv[i], static_cast<size_t>(*number)) + "\n");
    } catch (const PackageError& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
  }
  return exit_code::kSuccess;
}

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) { return korvane::Run(argc, argv); }
