#pragma once
// Readers for form files: the text form ("object Form1: TForm1 ... end") and the binary
// streaming form (signature "TPF0"). Both give the same component tree.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/result.h"
#include "wizard/forms/form_component.h"

namespace korvane::forms {

// Objects and values nest at most this deep; a deeper file is refused as damaged rather than
// read with unbounded recursion.
inline constexpr int kMaxFormNesting = 200;
// A form file larger than this is refused before it is read.
inline constexpr size_t kMaxFormFileSize = 64 * 1024 * 1024;

using ComponentPtr = std::unique_ptr<Component>;

// Errors read "<file>: line <n>: <reason>" (text form) or "<file>: offset <n>: <reason>" (binary).
Result<ComponentPtr> ReadFormText(std::string_view text, std::string_view file_name);
Result<ComponentPtr> ReadFormBinary(std::string_view bytes, std::string_view file_name);

// Either form, told apart by the "TPF0" signature.
Result<ComponentPtr> ReadForm(std::string_view bytes, std::string_view file_name);
bool IsBinaryForm(std::string_view bytes);
Result<ComponentPtr> ReadFormFile(const std::filesystem::path& path);

}  // namespace korvane::forms

namespace korvane::forms {

// A form read and checked against the known control classes and properties.
struct LoadedForm {
  ComponentPtr root;
  std::vector<std::string> warnings;  // unknown properties, by name and place
  // How places in this file are named in messages: "line" (text form) or "offset" (binary).
  std::string position_unit = "line";
};

// Reads either form and checks it: an unknown class, a property value of the wrong kind or a
// damaged picture is an error naming the file, the line or offset and the reason.
Result<LoadedForm> LoadForm(std::string_view bytes, std::string_view file_name);
Result<LoadedForm> LoadFormFile(const std::filesystem::path& path);

}  // namespace korvane::forms
