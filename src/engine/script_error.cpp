#include "engine/script_error.h"

#include "support/text.h"

namespace korvane {

SourcePlace SourcePlaceOf(const PackageTables& tables, size_t statement) {
  SourcePlace place;
  if (statement >= tables.sourcePositions.size()) {
    place.line = 1;
    return place;
  }
  std::string_view position = tables.sourcePositions[statement];
  const size_t star = position.rfind('*');
  std::string_view path = position.substr(0, star);
  if (star != std::string_view::npos) {
    const auto zeroBased = ParseInteger(position.substr(star + 1));
    place.line = (zeroBased ? *zeroBased : 0) + 1;
  }
  const size_t folderEnd = path.find_last_of("\\/:");
  if (folderEnd != std::string_view::npos) path = path.substr(folderEnd + 1);
  const size_t dot = path.rfind('.');
  if (dot != std::string_view::npos) path = path.substr(0, dot);
  place.file = std::string(path);
  return place;
}

std::string RuntimeErrorText(std::string_view heading, const SourcePlace& place, std::string_view message) {
  std::string text(heading);
  text += "\r\rSource File: ";
  text += place.file;
  text += "\rLine Number: ";
  text += std::to_string(place.line);
  text += "\r\r";
  text += message;
  return text;
}

}  // namespace korvane
