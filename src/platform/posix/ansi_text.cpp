#include "platform/ansi_text.h"

#include <iconv.h>

#include <cerrno>
#include <string>

#include "support/utf8.h"

namespace korvane::platform {

std::string AnsiFromUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code < 0xE000) {
      code = '?';  // a lone surrogate has no UTF-8 form
    }
    AppendUtf8(out, code);
  }
  return out;
}

std::u16string Utf16FromAnsi(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    auto byte = static_cast<unsigned char>(text[i]);
    int extra = byte < 0x80 ? 0 : byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= text.size()) {
      out += u'?';
      ++i;
      continue;
    }
    char32_t code = extra == 0 ? byte : byte & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
      if ((next & 0xC0) != 0x80) valid = false;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
      out += u'?';
      ++i;
      continue;
    }
    i += static_cast<size_t>(extra) + 1;
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

std::u16string Utf16FromCodePage(std::string_view text, uint32_t code_page) {
  // ANSI texts are UTF-8 here; other code pages go through the C library's converters.
  if (code_page == 0 || code_page == 65001) return Utf16FromAnsi(text);
  std::string name = code_page == 28591 ? "ISO-8859-1" : code_page == 20127 ? "ASCII" : "CP" + std::to_string(code_page);
  iconv_t converter = iconv_open("UTF-16LE", name.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return Utf16FromAnsi(text);
  std::u16string out;
  std::string input(text);
  char* in = input.data();
  size_t in_left = input.size();
  char16_t part[256];
  while (in_left > 0) {
    char* next = reinterpret_cast<char*>(part);
    size_t out_left = sizeof part;
    size_t result = iconv(converter, &in, &in_left, &next, &out_left);
    out.append(part, (sizeof part - out_left) / sizeof(char16_t));
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      out += u'?';  // a byte (or a cut-off sequence) the code page does not map
      ++in;
      --in_left;
    }
  }
  iconv_close(converter);
  return out;
}

std::filesystem::path PathFromAnsi(std::string_view text) { return std::filesystem::path(std::string(text)); }

std::filesystem::path PathFromUtf16(std::u16string_view text) {
  return std::filesystem::path(AnsiFromUtf16(text));
}

}  // namespace korvane::platform
