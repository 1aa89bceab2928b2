#include "engine/standard_caption.h"

namespace korvane {

std::string StandardCaption(std::string_view title, bool brandingOff) {
  constexpr std::string_view kWizard = "Korvane Wizard";
  if (brandingOff) return std::string(title);
  if (title.empty()) return std::string(kWizard);
  return std::string(title) + " - " + std::string(kWizard);
}

}  // namespace korvane
