#include "engine/line_breaks.h"

#include "support/text.h"

namespace korvane {

std::string NewlinesToBreaks(std::string_view text) { return ReplaceText(text, kNewlineToken, "\r\n"); }

std::string BreaksToNewlines(std::string_view text) { return ReplaceAll(text, "\r\n", kNewlineToken); }

}  // namespace korvane
