#include "wizard/forms/html_text.h"

#include <cstdlib>

#include "support/text.h"
#include "wizard/forms/form_unicode.h"

namespace korvane::forms {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::string HtmlToText(std::string_view html) {
  std::string out;
  // Ends the line so that it is followed by `wanted` breaks in all (1: a new line, 2: an empty
  // line between); `extra` adds one more break whatever is there (a <br> always breaks).
  auto line_break = [&](int wanted, bool extra = false) {
    if (out.empty()) return;
    while (out.back() == ' ') out.pop_back();
    int have = 0;
    for (size_t i = out.size(); i >= 2 && out.compare(i - 2, 2, "\r\n") == 0 && have < 2; i -= 2) ++have;
    if (extra) wanted = have + 1;
    for (; have < wanted && have < 2; ++have) out += "\r\n";
  };
  auto blank = [&] {
    if (!out.empty() && out.back() != ' ' && out.back() != '\n') out += ' ';
  };
  for (size_t i = 0; i < html.size(); ++i) {
    char c = html[i];
    if (c == '<' && html.substr(i, 4) == "<!--") {
      size_t end = html.find("-->", i + 4);
      if (end == std::string_view::npos) break;
      i = end + 2;
      continue;
    }
    bool markup = i + 1 < html.size() && (IsAsciiLetter(html[i + 1]) || html[i + 1] == '/' || html[i + 1] == '!' || html[i + 1] == '?');
    if (c == '<' && markup) {
      size_t end = html.find('>', i);
      if (end == std::string_view::npos) break;
      std::string tag = LowerCase(html.substr(i + 1, end - i - 1));
      std::string name = tag.substr(0, tag.find_first_of(" \t\r\n/", tag[0] == '/' ? 1 : 0));
      i = end;
      if (name == "head" || name == "script" || name == "style" || name == "title") {
        size_t close = FindText(html, "</" + name, i);
        if (close == std::string_view::npos) break;
        i = html.find('>', close);
        if (i == std::string_view::npos) break;
        continue;
      }
      if (name == "br")
        line_break(1, true);
      else if (name == "li" || name == "tr" || name == "/li" || name == "/tr" || name == "div" || name == "/div")
        line_break(1);
      else if (name == "p" || name == "/p" || name == "ul" || name == "/ul" || name == "ol" || name == "/ol" ||
               (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') ||
               (name.size() == 3 && name[0] == '/' && name[1] == 'h' && name[2] >= '1' && name[2] <= '6'))
        line_break(2);
      else if (name == "td" || name == "th")
        blank();
      continue;
    }
    if (c == '&') {
      size_t semicolon = html.substr(0, i + 10).find(';', i);
      if (semicolon != std::string_view::npos) {
        std::string entity(html.substr(i + 1, semicolon - i - 1));
        static const std::pair<const char*, const char*> named[] = {
            {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}, {"copy", "\xC2\xA9"}, {"reg", "\xC2\xAE"}};
        std::string decoded;
        for (auto [from, to] : named)
          if (entity == from) decoded = to;
        if (decoded.empty() && entity.size() > 1 && entity[0] == '#') {
          unsigned long code = entity[1] == 'x' || entity[1] == 'X' ? std::strtoul(entity.c_str() + 2, nullptr, 16)
                                                                    : std::strtoul(entity.c_str() + 1, nullptr, 10);
          if (code > 0 && code < 0x110000 && (code < 0xD800 || code > 0xDFFF)) {
            AppendUtf8(decoded, static_cast<uint32_t>(code));
          }
        }
        if (!decoded.empty()) {
          out += decoded;
          i = semicolon;
          continue;
        }
      }
      out += '&';
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      blank();
      continue;
    }
    out += c;
  }
  while (!out.empty() && (out.back() == ' ' || out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

}  // namespace korvane::forms
