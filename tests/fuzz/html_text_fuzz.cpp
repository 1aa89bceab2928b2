// Arbitrary bytes as an HTML page for the viewer's plain-text stand-in: it must end, never read
// past the page, and never produce more than a few times the page's size.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "wizard/forms/html_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view page(reinterpret_cast<const char*>(data), size);
  std::string text = korvane::forms::HtmlToText(page);
  if (text.size() > 4 * size + 8) std::abort();
  return 0;
}
