#include "bootstrap/package_reader.h"

#include <fstream>
#include <system_error>

#include "support/text.h"

namespace korvane {
namespace {

class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}

  // The next line without its line break; false at the end of the text.
  [[nodiscard]] bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    ++lineNumber_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
  }
  [[nodiscard]] size_t LineNumber() const { return lineNumber_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  size_t lineNumber_ = 0;
};

std::string FieldName(const PackageField& field) {
  return "field " + std::to_string(field.number) + " (" + field.name + ")";
}

Error Malformed(const std::string& what) { return Error{"The script package is damaged: " + what}; }

void RestoreLoneDollars(LineList& parameters) {
  for (auto& line : parameters)
    if (SameText(line, "$WILD_DOLLAR$")) line = "$";
  for (auto& line : parameters)
    if (SameText(line, "$DOLLAR$")) line = "$";
}

}  // namespace

Result<PackageTables> ParsePackage(std::string_view text) {
  if (auto nul = text.find('\0'); nul != std::string_view::npos)
    return Malformed("it holds a NUL byte at offset " + std::to_string(nul) + ", so it is not script text");

  PackageTables tables;
  LineCursor cursor(text);
  std::string_view line;

  auto readLine = [&](const PackageField& field) -> Status {
    if (!cursor.Next(line))
      return Malformed("it ends before " + FieldName(field) + " is complete");
    if (line.size() > kMaxPackageLineLength)
      return Malformed("line " + std::to_string(cursor.LineNumber()) + " in " + FieldName(field) + " is " +
                       std::to_string(line.size()) + " bytes long; at most " +
                       std::to_string(kMaxPackageLineLength) + " are allowed");
    return Ok();
  };

  for (const PackageField& field : PackageFields()) {
    switch (field.kind) {
      case FieldKind::List: {
        LineList& list = tables.*std::get<LineList PackageTables::*>(field.member);
        for (;;) {
          if (auto s = readLine(field); !s) return Error{s.error()};
          if (line == kListTerminator) break;
          list.emplace_back(line);
        }
        if (field.number == 3) RestoreLoneDollars(list);
        break;
      }
      case FieldKind::Line: {
        if (auto s = readLine(field); !s) return Error{s.error()};
        tables.*std::get<std::string PackageTables::*>(field.member) = std::string(line);
        break;
      }
      case FieldKind::Integer: {
        if (auto s = readLine(field); !s) return Error{s.error()};
        auto value = ParseInteger(line);
        if (!value || *value < INT32_MIN || *value > INT32_MAX)
          return Malformed(FieldName(field) + " on line " + std::to_string(cursor.LineNumber()) + " holds \"" +
                           std::string(line.substr(0, 40)) + "\", which is not a whole number");
        tables.*std::get<int32_t PackageTables::*>(field.member) = static_cast<int32_t>(*value);
        break;
      }
      case FieldKind::Flag: {
        if (auto s = readLine(field); !s) return Error{s.error()};
        tables.*std::get<bool PackageTables::*>(field.member) = (line == "TRUE");
        break;
      }
    }
  }

  // Every per-statement list has one line per statement; anything else would make later
  // lookups read past their end.
  const size_t count = tables.statementNames.size();
  for (const PackageField& field : PackageFields()) {
    if (field.number != 2 && field.number != 4 && field.number != 15 && field.number != 25) continue;
    const LineList& list = tables.*std::get<LineList PackageTables::*>(field.member);
    if (list.size() != count)
      return Malformed(FieldName(field) + " has " + std::to_string(list.size()) + " lines but there are " +
                       std::to_string(count) + " statements");
  }
  return tables;
}

Result<std::filesystem::path> CopyPackageToTemp(const std::filesystem::path& executable, uint64_t stubSize,
                                                const std::filesystem::path& tempFolder) {
  std::string bytes;
  {
    std::ifstream in(executable, std::ios::binary);
    if (!in) return Error{"Cannot open " + executable.string() + " to read its script package"};
    in.seekg(0, std::ios::end);
    const auto size = static_cast<uint64_t>(in.tellg());
    if (size <= stubSize) return Error{"The setup " + executable.string() + " carries no script package"};
    bytes.resize(static_cast<size_t>(size - stubSize));
    in.seekg(static_cast<std::streamoff>(stubSize));
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
      return Error{"Cannot read the script package of " + executable.string()};
  }
  const auto copy = tempFolder / "vok.tmp";
  std::ofstream out(copy, std::ios::binary | std::ios::trunc);
  if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
    out.close();
    std::error_code ignored;
    std::filesystem::remove(copy, ignored);
    return Error{"Cannot write the temporary package copy " + copy.string()};
  }
  return copy;
}

Result<PackageTables> ReadPackageCopy(const std::filesystem::path& copy) {
  std::string text;
  bool readOk = false;
  {
    std::ifstream in(copy, std::ios::binary | std::ios::ate);
    if (in) {
      text.resize(static_cast<size_t>(in.tellg()));
      in.seekg(0);
      readOk = static_cast<bool>(in.read(text.data(), static_cast<std::streamsize>(text.size())));
    }
  }
  std::error_code ignored;
  std::filesystem::remove(copy, ignored);
  if (!readOk) return Error{"Cannot read the temporary package copy " + copy.string()};
  return ParsePackage(text);
}

Result<PackageTables> ReadPackageFile(const std::filesystem::path& executable, uint64_t stubSize,
                                      const std::filesystem::path& tempFolder) {
  auto copy = CopyPackageToTemp(executable, stubSize, tempFolder);
  if (!copy) return Error{copy.error()};
  return ReadPackageCopy(*copy);
}

}  // namespace korvane
