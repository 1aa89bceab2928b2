#include "bootstrap/standard_caption.h"

#include "engine/truth_words.h"

namespace korvane {

std::string StandardCaption(std::string_view vraxLogo, std::string_view title) {
  constexpr std::string_view kWizardName = "Korvane Wizard";
  if (TruthOf(vraxLogo)) return std::string(title);
  if (title.empty()) return std::string(kWizardName);
  return std::string(title) + " - " + std::string(kWizardName);
}

}  // namespace korvane
