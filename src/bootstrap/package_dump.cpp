#include "bootstrap/package_dump.h"

namespace korvane {

std::string DumpPackage(const PackageTables& tables) {
  std::string out;
  auto line = [&](const std::string& text) { out.append("  |").append(text).append("\n"); };
  for (const PackageField& field : PackageFields()) {
    out.append("field ").append(std::to_string(field.number)).append(": ").append(field.name);
    switch (field.kind) {
      case FieldKind::List: {
        const LineList& list = tables.*std::get<LineList PackageTables::*>(field.member);
        out.append(" (").append(std::to_string(list.size())).append(" lines)\n");
        for (const auto& l : list) line(l);
        break;
      }
      case FieldKind::Line:
        out.append("\n");
        line(tables.*std::get<std::string PackageTables::*>(field.member));
        break;
      case FieldKind::Integer:
        out.append("\n");
        line(std::to_string(tables.*std::get<int32_t PackageTables::*>(field.member)));
        break;
      case FieldKind::Flag:
        out.append("\n");
        line((tables.*std::get<bool PackageTables::*>(field.member)) ? "TRUE" : "FALSE");
        break;
    }
  }
  return out;
}

}  // namespace korvane
