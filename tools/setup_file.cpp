#include "tools/setup_file.h"

#include <fstream>
#include <random>
#include <string>

#include "bootstrap/package_reader.h"
#include "bootstrap/pe_image.h"

namespace korvane::builder {
namespace {

std::string RandomSuffix() {
  std::random_device device;
  std::mt19937_64 generator(device());
  return std::to_string(generator());
}

// A fresh folder under the system temporary folder, removed again when the object goes.
class PrivateTempFolder {
 public:
  PrivateTempFolder() {
    std::error_code error;
    const auto base = std::filesystem::temp_directory_path(error);
    if (error) return;
    for (int attempt = 0; attempt < 16 && path_.empty(); ++attempt) {
      auto candidate = base / ("korvane-build-" + RandomSuffix());
      if (std::filesystem::create_directory(candidate, error)) path_ = candidate;
    }
  }
  ~PrivateTempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  PrivateTempFolder(const PrivateTempFolder&) = delete;
  PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

Result<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Error{"cannot open " + path.string()};
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return Error{"cannot read " + path.string()};
  return bytes;
}

}  // namespace

Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  auto folder = path.parent_path();
  if (folder.empty()) folder = ".";
  const auto temporary = folder / ("." + path.filename().string() + ".part-" + RandomSuffix());
  auto discard = [&](const std::string& why) -> Status {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return Error{"cannot write " + path.string() + ": " + why};
  };
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return discard("cannot create " + temporary.string());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) return discard("writing " + temporary.string() + " failed");
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) return discard(error.message());
  return Ok();
}

Result<SetupLayout> WriteSetup(const std::filesystem::path& stub, std::string_view package,
                               const std::filesystem::path& output) {
  auto imageEnd = ImageEndOfFile(stub);
  if (!imageEnd) return Error{"the stub is not usable: " + imageEnd.error()};
  auto bytes = ReadWholeFile(stub);
  if (!bytes) return Error{"the stub is not usable: " + bytes.error()};
  if (bytes->size() < *imageEnd)
    return Error{"the stub " + stub.string() + " is " + std::to_string(bytes->size()) +
                 " bytes long but its sections end at " + std::to_string(*imageEnd) + ": the file is cut short"};
  bytes->resize(static_cast<size_t>(*imageEnd));
  bytes->append(package);
  if (auto written = WriteFileAtomically(output, *bytes); !written) return Error{written.error()};
  std::error_code ignored;
  std::filesystem::permissions(output, std::filesystem::status(stub, ignored).permissions(), ignored);
  return SetupLayout{*imageEnd, package.size()};
}

Result<PackageTables> ReadSetupPackage(const std::filesystem::path& setup) {
  auto stubSize = ImageEndOfFile(setup);
  if (!stubSize) return Error{stubSize.error()};
  std::error_code error;
  const auto size = std::filesystem::file_size(setup, error);
  if (error) return Error{"cannot read " + setup.string() + ": " + error.message()};
  if (size <= *stubSize) return Error{setup.string() + " carries no script package"};
  PrivateTempFolder temp;
  if (temp.path().empty()) return Error{"cannot create a temporary folder to read " + setup.string()};
  auto tables = ReadPackageFile(setup, *stubSize, temp.path());
  if (!tables) return Error{setup.string() + ": " + tables.error()};
  return tables;
}

}  // namespace korvane::builder
