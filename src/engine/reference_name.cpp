#include "engine/reference_name.h"

namespace korvane {

std::string ReferenceName(std::string_view text) {
  if (text.size() < 2 || text.front() != '$' || text.back() != '$') return {};
  std::string_view inner = text.substr(1, text.size() - 2);
  if (inner.find('$') != std::string_view::npos) return {};
  return std::string(inner);
}

}  // namespace korvane
