#include "wizard/forms/form_reader.h"

#include <fstream>
#include <sstream>

#include "wizard/forms/form_classes.h"

namespace korvane::forms {

bool IsBinaryForm(std::string_view bytes) { return bytes.substr(0, 4) == "TPF0"; }

Result<ComponentPtr> ReadForm(std::string_view bytes, std::string_view file_name) {
  if (IsBinaryForm(bytes)) return ReadFormBinary(bytes, file_name);
  return ReadFormText(bytes, file_name);
}

namespace {

// The bytes of a form file, refused when it is larger than any form file can sensibly be.
Result<std::string> ReadFormBytes(const std::filesystem::path& path) {
  const std::string name = path.string();
  std::error_code ec;
  auto size = std::filesystem::file_size(path, ec);
  if (ec) return Error{name + ": cannot read the form file: " + ec.message()};
  if (size > kMaxFormFileSize) return Error{name + ": form file too large (" + std::to_string(size) + " bytes)"};
  std::ifstream in(path, std::ios::binary);
  if (!in) return Error{name + ": cannot open the form file"};
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return Error{name + ": read error"};
  return buffer.str();
}

}  // namespace

Result<ComponentPtr> ReadFormFile(const std::filesystem::path& path) {
  auto bytes = ReadFormBytes(path);
  if (!bytes) return Error{bytes.error()};
  return ReadForm(*bytes, path.string());
}


Result<LoadedForm> LoadForm(std::string_view bytes, std::string_view file_name) {
  bool binary = IsBinaryForm(bytes);
  auto root = ReadForm(bytes, file_name);
  if (!root) return Error{root.error()};
  FormCheck check = CheckForm(**root, file_name, binary ? "offset" : "line");
  if (!check.errors.empty()) {
    std::string message = check.errors.front().message;
    if (check.errors.size() > 1) message += " (and " + std::to_string(check.errors.size() - 1) + " more problems)";
    return Error{message};
  }
  LoadedForm loaded;
  loaded.root = std::move(root.value());
  loaded.position_unit = binary ? "offset" : "line";
  for (FormProblem& w : check.warnings) loaded.warnings.push_back(std::move(w.message));
  return loaded;
}

Result<LoadedForm> LoadFormFile(const std::filesystem::path& path) {
  auto bytes = ReadFormBytes(path);
  if (!bytes) return Error{bytes.error()};
  return LoadForm(*bytes, path.string());
}

}  // namespace korvane::forms
