#include "engine/path_expansion.h"

#include "support/text.h"

namespace korvane {

std::string ExpandPath(const TVariableManager& store, std::string_view text) {
  const std::string expanded = store.Expand(text);
  std::string path = ReplaceAll(expanded, "\\\\", "\\");
  if (expanded.starts_with("\\\\")) path.insert(path.begin(), '\\');
  return path;
}

}  // namespace korvane
