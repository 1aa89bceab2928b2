#include "tools/setup_folder.h"

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "tools/setup_file.h"

namespace korvane::builder {
namespace fs = std::filesystem;
namespace {

Result<std::string> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Error{"cannot open " + path.string()};
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return Error{"cannot read " + path.string()};
  return bytes;
}

Status CopyFile(const fs::path& from, const fs::path& to) {
  auto bytes = ReadBytes(from);
  if (!bytes) return Error{bytes.error()};
  return WriteFileAtomically(to, *bytes);
}

// Runs a program found on PATH with the arguments given and waits for it; output stays quiet.
Status RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child < 0) return Error{"cannot start " + arguments[0]};
  if (child == 0) {
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(child, &status, 0) < 0) return Error{"cannot wait for " + arguments[0]};
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return Error{arguments[0] + " failed with exit code " + std::to_string(code) +
                 (code == 127 ? " (is Debian's 7zip package installed?)" : "")};
  }
  return Ok();
}

}  // namespace

Status MakeSupportArchive(const fs::path& folder, const fs::path& archive) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return Error{"the support folder " + folder.string() + " does not exist"};
  const fs::path partial = archive.string() + ".partial";
  fs::remove(partial, ec);
  // "folder/*" stores every entry relative to the folder, sub-folders included.
  auto made = RunProgram({"7zz", "a", "-t7z", "-bso0", "-bsp0", "-y", fs::absolute(partial).string(),
                          (fs::absolute(folder) / "*").string()});
  if (!made) {
    fs::remove(partial, ec);
    return Error{"making the support archive " + archive.string() + ": " + made.error()};
  }
  fs::rename(partial, archive, ec);
  if (ec) return Error{"cannot move " + partial.string() + " to " + archive.string() + ": " + ec.message()};
  return Ok();
}

Result<std::vector<std::string>> WriteSetupFolder(const SetupFolderInputs& in) {
  std::vector<std::string> written;
  std::error_code ec;
  fs::create_directories(in.output, ec);
  if (ec) return Error{"cannot create the setup folder " + in.output.string() + ": " + ec.message()};

  const std::string program = in.name + ".exe";
  auto layout = WriteSetup(in.stub, in.package, in.output / program);
  if (!layout) return Error{layout.error()};
  written.push_back(program);

  const std::string archive = in.name + ".res";
  if (in.support) {
    if (auto made = MakeSupportArchive(*in.support, in.output / archive); !made) return Error{made.error()};
  } else {
    const fs::path empty = in.output / (in.name + ".empty-support");
    fs::create_directories(empty, ec);
    auto made = MakeSupportArchive(empty, in.output / archive);
    fs::remove_all(empty, ec);
    if (!made) return Error{made.error()};
  }
  written.push_back(archive);

  auto library = ReadBytes(in.archiveLibrary);
  if (!library) return Error{library.error()};
  if (in.languageFile) {
    auto language = ReadBytes(*in.languageFile);
    if (!language) return Error{language.error()};
    *library += *language;
  }
  if (auto ok = WriteFileAtomically(in.output / "vok.lib", *library); !ok) return Error{ok.error()};
  written.push_back("vok.lib");

  if (in.installerDatabase) {
    if (auto ok = CopyFile(*in.installerDatabase, in.output / (in.name + ".msi")); !ok) return Error{ok.error()};
    written.push_back(in.name + ".msi");
  }
  if (in.patchPackage) {
    if (auto ok = CopyFile(*in.patchPackage, in.output / (in.name + ".msp")); !ok) return Error{ok.error()};
    written.push_back(in.name + ".msp");
  }
  if (in.splash) {
    if (auto ok = CopyFile(*in.splash, in.output / "setup.bmp"); !ok) return Error{ok.error()};
    written.push_back("setup.bmp");
  }
  const fs::path media = in.output / "data";
  if (in.data) {
    if (!fs::is_directory(*in.data, ec)) return Error{"the media folder " + in.data->string() + " does not exist"};
    fs::remove_all(media, ec);
    fs::copy(*in.data, media, fs::copy_options::recursive, ec);
    if (ec) return Error{"cannot copy the media folder " + in.data->string() + ": " + ec.message()};
  } else {
    fs::create_directories(media, ec);
    if (ec) return Error{"cannot create " + media.string() + ": " + ec.message()};
  }
  written.push_back("data" + std::string(1, fs::path::preferred_separator));
  return written;
}

}  // namespace korvane::builder
