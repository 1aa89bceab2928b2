#include <cmath>
#include <cstring>

#include "support/text.h"
#include "wizard/forms/form_binary_format.h"
#include "wizard/forms/form_unicode.h"
#include "wizard/forms/form_writer.h"

namespace korvane::forms {
namespace {

using namespace binary;

void PutFixed(std::string& out, uint64_t v, size_t width) {
  for (size_t i = 0; i < width; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Names longer than 255 bytes cannot be stored; they are cut, which only a model built in code
// can need (every reader limits names to what the format holds).
void PutShortString(std::string& out, std::string_view s) {
  size_t n = s.size() > 255 ? 255 : s.size();
  out += static_cast<char>(n);
  out.append(s.substr(0, n));
}

void PutExtended(std::string& out, double d) {
  uint8_t bytes[10] = {};
  bool negative = std::signbit(d);
  d = std::fabs(d);
  if (d != 0) {
    int exponent = 0;
    double fraction = std::frexp(d, &exponent);  // d = fraction * 2^exponent, fraction in [0.5, 1)
    auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
    int biased = exponent - 1 + 16383;
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(mantissa >> (8 * i));
    bytes[8] = static_cast<uint8_t>(biased & 0xFF);
    bytes[9] = static_cast<uint8_t>((biased >> 8) & 0x7F);
  }
  if (negative) bytes[9] |= 0x80;
  out.append(reinterpret_cast<const char*>(bytes), 10);
}

void PutInteger(std::string& out, int64_t v) {
  if (v >= INT8_MIN && v <= INT8_MAX) {
    out += static_cast<char>(kInt8);
    PutFixed(out, static_cast<uint64_t>(v), 1);
  } else if (v >= INT16_MIN && v <= INT16_MAX) {
    out += static_cast<char>(kInt16);
    PutFixed(out, static_cast<uint64_t>(v), 2);
  } else if (v >= INT32_MIN && v <= INT32_MAX) {
    out += static_cast<char>(kInt32);
    PutFixed(out, static_cast<uint64_t>(v), 4);
  } else {
    out += static_cast<char>(kInt64);
    PutFixed(out, static_cast<uint64_t>(v), 8);
  }
}

void PutString(std::string& out, const std::string& s) {
  bool ascii = true;
  for (char c : s) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii && s.size() <= 255) {
    out += static_cast<char>(kString);
    PutShortString(out, s);
  } else if (ascii) {
    out += static_cast<char>(kLString);
    PutFixed(out, s.size(), 4);
    out += s;
  } else {
    std::u16string wide;
    for (size_t i = 0; i < s.size();) {
      uint32_t code = NextCodePoint(s, i);
      if (code >= 0x10000) {
        code -= 0x10000;
        wide += static_cast<char16_t>(0xD800 + (code >> 10));
        wide += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
      } else {
        wide += static_cast<char16_t>(code);
      }
    }
    out += static_cast<char>(kWString);
    PutFixed(out, wide.size(), 4);
    for (char16_t u : wide) PutFixed(out, u, 2);
  }
}

void PutProperty(std::string& out, const Property& p);

void PutValue(std::string& out, const Value& v) {
  switch (v.kind) {
    case ValueKind::Integer: PutInteger(out, v.integer); break;
    case ValueKind::Float:
      out += static_cast<char>(kExtended);
      PutExtended(out, v.number);
      break;
    case ValueKind::String: PutString(out, v.text); break;
    case ValueKind::Identifier:
      if (SameText(v.text, "True")) {
        out += static_cast<char>(kTrue);
      } else if (SameText(v.text, "False")) {
        out += static_cast<char>(kFalse);
      } else if (SameText(v.text, "nil")) {
        out += static_cast<char>(kNil);
      } else {
        out += static_cast<char>(kIdent);
        PutShortString(out, v.text);
      }
      break;
    case ValueKind::Set:
      out += static_cast<char>(kSet);
      for (const std::string& e : v.elements) PutShortString(out, e);
      out += '\0';
      break;
    case ValueKind::List:
      out += static_cast<char>(kList);
      for (const Value& item : v.items) PutValue(out, item);
      out += '\0';
      break;
    case ValueKind::Collection:
      out += static_cast<char>(kCollection);
      for (const CollectionItem& item : v.collection) {
        if (item.index) PutInteger(out, *item.index);
        out += static_cast<char>(kList);
        for (const Property& p : item.properties) PutProperty(out, p);
        out += '\0';
      }
      out += '\0';
      break;
    case ValueKind::Binary:
      out += static_cast<char>(kBinary);
      PutFixed(out, v.bytes.size(), 4);
      out.append(reinterpret_cast<const char*>(v.bytes.data()), v.bytes.size());
      break;
  }
}

void PutProperty(std::string& out, const Property& p) {
  PutShortString(out, p.name);
  PutValue(out, p.value);
}

void PutComponent(std::string& out, const Component& c) {
  uint8_t flags = 0;
  if (c.Kind() == ObjectKind::Inherited) flags |= kFlagInherited;
  if (c.Kind() == ObjectKind::Inline) flags |= kFlagInline;
  if (c.ChildPosition()) flags |= kFlagChildPosition;
  if (flags) {
    out += static_cast<char>(kPrefixMask | flags);
    if (c.ChildPosition()) PutInteger(out, *c.ChildPosition());
  }
  PutShortString(out, c.ClassName());
  PutShortString(out, c.Name());
  for (const Property& p : c.Properties()) PutProperty(out, p);
  out += '\0';
  for (const auto& child : c.Children()) PutComponent(out, *child);
  out += '\0';
}

}  // namespace

std::string WriteFormBinary(const Component& root) {
  std::string out = "TPF0";
  PutComponent(out, root);
  return out;
}

}  // namespace korvane::forms
