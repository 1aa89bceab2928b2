#include "archive/entry_path.h"

#include <algorithm>
#include <array>

#include "platform/ansi_text.h"

namespace korvane::archive {
namespace {

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool IsReservedDeviceName(std::u16string_view part) {
  // The device is named by the part before the first dot, trailing blanks ignored.
  std::u16string base(part.substr(0, part.find(u'.')));
  while (!base.empty() && base.back() == u' ') base.pop_back();
  std::transform(base.begin(), base.end(), base.begin(), Upper);
  static const std::array<std::u16string_view, 6> kDevices = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
  if (std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end()) return true;
  if (base.size() == 4 && (base.starts_with(u"COM") || base.starts_with(u"LPT"))) {
    char16_t digit = base[3];
    return (digit >= u'0' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' || digit == u'\u00B3';
  }
  return false;
}

Error Refused(std::u16string_view name, const char* why) {
  return Error{"the entry name \"" + ListedName(name) + "\" is refused: " + why};
}

}  // namespace

Result<std::vector<std::u16string>> SafeRelativePath(std::u16string_view name) {
  if (name.empty()) return Refused(name, "it is empty");
  if (name[0] == u'/' || name[0] == u'\\') return Refused(name, "it is an absolute or network path");
  std::vector<std::u16string> parts;
  std::u16string part;
  auto finish_part = [&]() -> const char* {
    if (part.empty() || part == u".") {
      part.clear();
      return nullptr;
    }
    if (part == u"..") return "it climbs out of the destination folder";
    if (part.back() == u'.' || part.back() == u' ') return "a part ends in a dot or a blank";
    if (IsReservedDeviceName(part)) return "it names a device";
    parts.push_back(std::move(part));
    part.clear();
    return nullptr;
  };
  for (char16_t c : name) {
    if (c == u'/' || c == u'\\') {
      if (const char* why = finish_part()) return Refused(name, why);
      continue;
    }
    if (c == u':') return Refused(name, "it names a drive or an alternate data stream");
    if (c < 0x20 || c == u'<' || c == u'>' || c == u'"' || c == u'|' || c == u'?' || c == u'*')
      return Refused(name, "it holds a character that file names cannot have");
    part += c;
  }
  if (const char* why = finish_part()) return Refused(name, why);
  if (parts.empty()) return Refused(name, "it names no file");
  return parts;
}

std::string ListedName(std::u16string_view name) {
  std::u16string native(name);
#ifdef _WIN32
  std::replace(native.begin(), native.end(), u'/', u'\\');
#else
  std::replace(native.begin(), native.end(), u'\\', u'/');
#endif
  return platform::AnsiFromUtf16(native);
}

}  // namespace korvane::archive
