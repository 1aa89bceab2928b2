#include "bootstrap/package_writer.h"

#include "bootstrap/package_reader.h"

namespace korvane {
namespace {

constexpr std::string_view kStoredLoneDollar = "$DOLLAR$";

bool IsPerStatementField(int number) { return number == 2 || number == 4 || number == 15 || number == 25; }

std::string Where(const PackageField& field, size_t lineIndex) {
  return "field " + std::to_string(field.number) + " (" + field.name + "), line " + std::to_string(lineIndex + 1);
}

// Why the line cannot be stored in the field, or empty when it can.
std::string Unstorable(const PackageField& field, std::string_view line) {
  if (line.find('\r') != std::string_view::npos || line.find('\n') != std::string_view::npos)
    return "it holds a line break";
  if (line.find('\0') != std::string_view::npos) return "it holds a NUL byte";
  if (line.size() > kMaxPackageLineLength)
    return "it is " + std::to_string(line.size()) + " bytes long; at most " + std::to_string(kMaxPackageLineLength) +
           " are allowed";
  if (field.kind == FieldKind::List && field.number != 3 && line == kListTerminator)
    return "a line \"$\" would end the list";
  return {};
}

}  // namespace

Result<std::string> WritePackage(const PackageTables& tables) {
  std::string out;
  auto put = [&](std::string_view line) { out.append(line).append("\r\n"); };
  auto check = [](const PackageField& field, size_t index, std::string_view line) -> Status {
    if (std::string why = Unstorable(field, line); !why.empty())
      return Error{"Cannot write the script package: " + Where(field, index) + " cannot be stored: " + why};
    return Ok();
  };

  for (const PackageField& field : PackageFields()) {
    switch (field.kind) {
      case FieldKind::List: {
        const LineList& list = tables.*std::get<LineList PackageTables::*>(field.member);
        if (IsPerStatementField(field.number) && list.size() != tables.StatementCount())
          return Error{"Cannot write the script package: field " + std::to_string(field.number) + " (" + field.name +
                       ") has " + std::to_string(list.size()) + " lines but there are " +
                       std::to_string(tables.StatementCount()) + " statements"};
        for (size_t i = 0; i < list.size(); ++i) {
          if (auto s = check(field, i, list[i]); !s) return Error{s.error()};
          put(field.number == 3 && list[i] == kListTerminator ? kStoredLoneDollar : std::string_view(list[i]));
        }
        put(kListTerminator);
        break;
      }
      case FieldKind::Line: {
        const std::string& line = tables.*std::get<std::string PackageTables::*>(field.member);
        if (auto s = check(field, 0, line); !s) return Error{s.error()};
        put(line);
        break;
      }
      case FieldKind::Integer:
        put(std::to_string(tables.*std::get<int32_t PackageTables::*>(field.member)));
        break;
      case FieldKind::Flag:
        put((tables.*std::get<bool PackageTables::*>(field.member)) ? "TRUE" : "FALSE");
        break;
    }
  }
  return out;
}

}  // namespace korvane
