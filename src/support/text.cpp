#include "support/text.h"

#include <charconv>

namespace korvane {

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

size_t FindText(std::string_view haystack, std::string_view needle, size_t from) {
  if (needle.empty()) return from <= haystack.size() ? from : std::string_view::npos;
  if (haystack.size() < needle.size()) return std::string_view::npos;
  const char first = AsciiUpper(needle[0]);
  for (size_t i = from; i + needle.size() <= haystack.size(); ++i) {
    if (AsciiUpper(haystack[i]) != first) continue;
    if (SameText(haystack.substr(i, needle.size()), needle)) return i;
  }
  return std::string_view::npos;
}

std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  size_t pos = 0;
  for (;;) {
    size_t hit = FindText(text, from, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos)).append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  size_t pos = 0;
  for (;;) {
    size_t hit = text.find(from, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos)).append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  return text.substr(b, e - b);
}

std::optional<int64_t> ParseInteger(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace korvane
