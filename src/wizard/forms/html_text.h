#pragma once
// The text of an HTML page, for the HTML viewer's plain-text stand-in.

#include <string>
#include <string_view>

namespace korvane::forms {

// Tags dropped; the contents of head, title, script and style skipped; paragraph, heading and
// list tags as line breaks (at most one empty line in a row); runs of white space as one blank;
// named and numeric entities decoded. Line breaks are written as CR LF.
std::string HtmlToText(std::string_view html);

}  // namespace korvane::forms
