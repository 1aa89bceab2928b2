#include "engine/truth_words.h"

#include "support/text.h"

namespace korvane {

bool TruthOf(std::string_view text) { return SameText(text, kTrueWord) || text == "-1"; }

std::string_view TruthText(bool truth) { return truth ? kTrueWord : kFalseWord; }

}  // namespace korvane
