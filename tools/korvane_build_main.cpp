// korvane-build: compiles a script source into a script package and appends it to a setup stub;
// dumps the package tables of a built setup or of a source.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "bootstrap/package_dump.h"
#include "bootstrap/package_reader.h"
#include "bootstrap/package_writer.h"
#include "bootstrap/parameter_lookup.h"
#include "engine/preparation_pass.h"
#include "tools/script_source.h"
#include "tools/setup_file.h"
#include "tools/setup_folder.h"

namespace korvane::builder {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage:\n"
    "  korvane-build build SOURCE --stub STUB -o SETUP [--source-path TEXT]\n"
    "      compile SOURCE and write SETUP: the stub up to its image end, then the package\n"
    "  korvane-build build --raw PACKAGE --stub STUB -o SETUP\n"
    "      append the file PACKAGE verbatim as the package (for damaged-package tests)\n"
    "  korvane-build folder SOURCE --stub STUB --archive-library VOK -o FOLDER [--name NAME]\n"
    "      [--support DIR] [--msi FILE] [--msp FILE] [--data DIR] [--splash BMP] [--language-file FILE]\n"
    "      write a whole setup folder: NAME.exe (default: the source's base name), NAME.res (a 7z\n"
    "      archive of the contents of DIR, made with 7zz; empty without --support), vok.lib (VOK with\n"
    "      the language file after it), NAME.msi / NAME.msp, setup.bmp and the media folder data\\\n"
    "  korvane-build package SOURCE -o PACKAGE [--source-path TEXT]\n"
    "      write only the package text\n"
    "  korvane-build dump SETUP\n"
    "      print the package tables of a built setup\n"
    "  korvane-build dump-source SOURCE [--source-path TEXT]\n"
    "      print the package tables SOURCE compiles to\n"
    "--source-path sets the file part of the source positions (default: SOURCE made absolute).\n"
    "build, folder and package run the engine's preparation pass on the compiled script and refuse a\n"
    "script it rejects; --no-check skips that (for setups that test the engine's own check).\n";

struct Options {
  std::string command;
  std::optional<std::string> source, raw, stub, output, sourcePath;
  bool noCheck = false;
  std::optional<std::string> name, archiveLibrary, support, msi, msp, data, splash, languageFile;
};

std::optional<Options> ParseOptions(int argc, char** argv, std::string& problem) {
  Options o;
  if (argc < 2) {
    problem = "no command given";
    return std::nullopt;
  }
  o.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    auto valueOf = [&](std::optional<std::string>& slot) {
      if (i + 1 >= argc) {
        problem = arg + " needs a value";
        return false;
      }
      if (slot) {
        problem = arg + " is given twice";
        return false;
      }
      slot = argv[++i];
      return true;
    };
    bool ok = true;
    if (arg == "--stub")
      ok = valueOf(o.stub);
    else if (arg == "-o" || arg == "--output")
      ok = valueOf(o.output);
    else if (arg == "--raw")
      ok = valueOf(o.raw);
    else if (arg == "--source-path")
      ok = valueOf(o.sourcePath);
    else if (arg == "--no-check")
      o.noCheck = true;
    else if (arg == "--name")
      ok = valueOf(o.name);
    else if (arg == "--archive-library")
      ok = valueOf(o.archiveLibrary);
    else if (arg == "--support")
      ok = valueOf(o.support);
    else if (arg == "--msi")
      ok = valueOf(o.msi);
    else if (arg == "--msp")
      ok = valueOf(o.msp);
    else if (arg == "--data")
      ok = valueOf(o.data);
    else if (arg == "--splash")
      ok = valueOf(o.splash);
    else if (arg == "--language-file")
      ok = valueOf(o.languageFile);
    else if (!arg.empty() && arg[0] == '-') {
      problem = "unknown option " + arg;
      return std::nullopt;
    } else if (o.source) {
      problem = "more than one source given: " + *o.source + " and " + arg;
      return std::nullopt;
    } else {
      o.source = arg;
    }
    if (!ok) return std::nullopt;
  }
  return o;
}

Result<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Error{"cannot open " + path};
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return Error{"cannot read " + path};
  return bytes;
}

int Fail(const std::string& message) {
  std::cerr << message << "\n";
  return kExitFailed;
}

int UsageFault(const std::string& message) {
  std::cerr << "korvane-build: " << message << "\n" << kUsage;
  return kExitUsage;
}

// Runs the engine's preparation pass on the package as the engine will read it, so that an
// author learns of unpaired blocks, unknown labels or missing variables at build time, with the
// line of the source that is to blame.
Status CheckPreparation(const std::string& packageText) {
  auto tables = ParsePackage(packageText);
  if (!tables) return Error{"the package does not read back: " + tables.error()};
  ParameterLookup lookup;
  lookup.AddList(tables->parameters);
  const PreparationResult result = PrepareScript(*tables, lookup);
  if (result.Passed()) return Ok();
  return Error{DescribePreparationFailure(*tables, result)};
}

// Compiles the source and writes its package text, checked unless --no-check is given.
Result<CompiledScript> Compile(const Options& o, std::string* packageText = nullptr) {
  auto text = ReadFile(*o.source);
  if (!text) return Error{text.error()};
  const std::string positionPath =
      o.sourcePath ? *o.sourcePath : std::filesystem::absolute(*o.source).lexically_normal().string();
  auto compiled = CompileScriptSource(*text, positionPath);
  if (!compiled || !packageText) return compiled;
  auto package = WritePackage(compiled->tables);
  if (!package) return Error{package.error()};
  if (!o.noCheck) {
    if (auto checked = CheckPreparation(*package); !checked) return Error{checked.error()};
  }
  *packageText = std::move(*package);
  return compiled;
}

int Build(const Options& o) {
  if (!o.stub || !o.output || (o.source.has_value() == o.raw.has_value()))
    return UsageFault("build needs a SOURCE or --raw PACKAGE (not both), --stub STUB and -o SETUP");
  std::string package;
  std::optional<CompiledScript> compiled;
  if (o.raw) {
    auto raw = ReadFile(*o.raw);
    if (!raw) return Fail(raw.error());
    package = std::move(*raw);
    if (auto parsed = ParsePackage(package); !parsed)
      std::cerr << "korvane-build: note: " << *o.raw << " is not a sound package: " << parsed.error() << "\n";
  } else {
    auto c = Compile(o, &package);
    if (!c) return Fail(c.error());
    compiled = std::move(*c);
  }
  auto layout = WriteSetup(*o.stub, package, *o.output);
  if (!layout) return Fail("korvane-build: " + layout.error());

  std::cout << "korvane-build: wrote " << *o.output << "\n";
  if (compiled) {
    const PackageTables& t = compiled->tables;
    std::cout << "  source:     " << *o.source << "\n"
              << "  product:    " << t.productTitle << " " << t.productVersion << " " << t.productCode << "\n"
              << "  statements: " << t.StatementCount() << " (" << compiled->disabledStatements << " disabled), "
              << compiled->parameterBlocks << " parameter blocks, " << t.pluginStatements.size()
              << " plug-in statements, " << t.compilerConstants.size() / 2 << " constants\n";
  } else {
    std::cout << "  package:    " << *o.raw << " (verbatim)\n";
  }
  std::cout << "  stub:       " << *o.stub << " (image end at " << layout->stubSize << " bytes)\n"
            << "  package:    " << layout->packageSize << " bytes appended\n";
  return kExitOk;
}

std::optional<std::filesystem::path> PathOf(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return std::filesystem::path(*text);
}

int BuildFolder(const Options& o) {
  if (!o.source || !o.stub || !o.output || !o.archiveLibrary)
    return UsageFault("folder needs SOURCE, --stub STUB, --archive-library VOK and -o FOLDER");
  std::string text;
  auto c = Compile(o, &text);
  if (!c) return Fail(c.error());
  SetupFolderInputs in;
  in.name = o.name ? *o.name : std::filesystem::path(*o.source).stem().string();
  if (in.name.empty() || in.name.find_first_of("/\\") != std::string::npos)
    return UsageFault("--name must be a plain file name without extension");
  in.package = std::move(text);
  in.stub = *o.stub;
  in.archiveLibrary = *o.archiveLibrary;
  in.output = *o.output;
  in.support = PathOf(o.support);
  in.installerDatabase = PathOf(o.msi);
  in.patchPackage = PathOf(o.msp);
  in.data = PathOf(o.data);
  in.splash = PathOf(o.splash);
  in.languageFile = PathOf(o.languageFile);
  auto written = WriteSetupFolder(in);
  if (!written) return Fail("korvane-build: " + written.error());
  std::cout << "korvane-build: wrote the setup folder " << *o.output << "\n";
  for (const auto& file : *written) std::cout << "  " << file << "\n";
  if (!o.msi && !o.msp) std::cout << "  note: no .msi or .msp given; the setup will end with exit code 16\n";
  return kExitOk;
}

int WritePackageFile(const Options& o) {
  if (!o.source || !o.output) return UsageFault("package needs SOURCE and -o PACKAGE");
  std::string text;
  auto c = Compile(o, &text);
  if (!c) return Fail(c.error());
  if (auto written = WriteFileAtomically(*o.output, text); !written) return Fail("korvane-build: " + written.error());
  return kExitOk;
}

int DumpSetup(const Options& o) {
  if (!o.source) return UsageFault("dump needs the setup to read");
  auto tables = ReadSetupPackage(*o.source);
  if (!tables) return Fail("korvane-build: " + tables.error());
  std::cout << DumpPackage(*tables);
  return kExitOk;
}

// Shows the tables as the engine will see them: written, then read back.
int DumpSource(const Options& o) {
  if (!o.source) return UsageFault("dump-source needs a SOURCE");
  auto c = Compile(o);
  if (!c) return Fail(c.error());
  auto text = WritePackage(c->tables);
  if (!text) return Fail(text.error());
  auto tables = ParsePackage(*text);
  if (!tables) return Fail("korvane-build: the package does not read back: " + tables.error());
  std::cout << DumpPackage(*tables);
  return kExitOk;
}

int Run(int argc, char** argv) {
  std::string problem;
  auto options = ParseOptions(argc, argv, problem);
  if (!options) {
    return UsageFault(problem);
  }
  const std::string& command = options->command;
  if (command == "build") return Build(*options);
  if (command == "package") return WritePackageFile(*options);
  if (command == "folder") return BuildFolder(*options);
  if (command == "dump") return DumpSetup(*options);
  if (command == "dump-source") return DumpSource(*options);
  if (command == "help" || command == "--help" || command == "-h") {
    std::cout << kUsage;
    return kExitOk;
  }
  return UsageFault("unknown command " + command);
}

}  // namespace
}  // namespace korvane::builder

int main(int argc, char** argv) { return korvane::builder::Run(argc, argv); }
