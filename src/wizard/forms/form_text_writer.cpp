#include <cmath>
#include <cstdio>

#include "wizard/forms/form_unicode.h"
#include "wizard/forms/form_writer.h"

namespace korvane::forms {
namespace {

// Strings longer than this are written as several pieces joined by " +" line ends.
constexpr size_t kStringPieceLength = 64;
constexpr size_t kHexBytesPerLine = 32;

std::string FloatText(double d) {
  char buffer[64];
  // The shortest text that reads back to the same double.
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, d);
    if (std::strtod(buffer, nullptr) == d) break;
  }
  std::string text = buffer;
  // The reader tells floats from integers by a point or an exponent.
  if (text.find_first_of(".eE") == std::string::npos) text += ".0";
  else if (text.find('.') == std::string::npos) {
    size_t e = text.find_first_of("eE");
    text.insert(e, ".0");
  }
  return text;
}

void WriteString(std::string& out, const std::string& s, const std::string& indent) {
  if (s.empty()) {
    out += "''";
    return;
  }
  bool quoted = false;
  size_t piece = 0;
  for (size_t i = 0; i < s.size();) {
    if (piece >= kStringPieceLength) {
      if (quoted) out += '\'';
      quoted = false;
      out += " +\n" + indent + "  ";
      piece = 0;
    }
    uint32_t code = NextCodePoint(s, i);
    if (code >= 0x20 && code < 0x7F) {
      if (!quoted) out += '\'';
      quoted = true;
      out += static_cast<char>(code);
      if (code == '\'') out += '\'';
    } else {
      if (quoted) out += '\'';
      quoted = false;
      out += '#' + std::to_string(code);
    }
    ++piece;
  }
  if (quoted) out += '\'';
}

void WriteValue(std::string& out, const Value& v, const std::string& indent);

void WriteProperties(std::string& out, const std::vector<Property>& properties, const std::string& indent) {
  for (const Property& p : properties) {
    out += indent + p.name + " = ";
    WriteValue(out, p.value, indent);
    out += '\n';
  }
}

void WriteValue(std::string& out, const Value& v, const std::string& indent) {
  static const char* kHex = "0123456789ABCDEF";
  switch (v.kind) {
    case ValueKind::Integer: out += std::to_string(v.integer); break;
    case ValueKind::Float: out += FloatText(v.number); break;
    case ValueKind::String: WriteString(out, v.text, indent); break;
    case ValueKind::Identifier: out += v.text; break;
    case ValueKind::Set: {
      out += '[';
      for (size_t i = 0; i < v.elements.size(); ++i) out += (i ? ", " : "") + v.elements[i];
      out += ']';
      break;
    }
    case ValueKind::List: {
      out += '(';
      for (const Value& item : v.items) {
        out += '\n' + indent + "  ";
        WriteValue(out, item, indent + "  ");
      }
      out += ')';
      break;
    }
    case ValueKind::Collection: {
      out += '<';
      for (const CollectionItem& item : v.collection) {
        out += '\n' + indent + "  item";
        if (item.index) out += " [" + std::to_string(*item.index) + "]";
        out += '\n';
        WriteProperties(out, item.properties, indent + "    ");
        out += indent + "  end";
      }
      out += '>';
      break;
    }
    case ValueKind::Binary: {
      out += '{';
      for (size_t i = 0; i < v.bytes.size(); ++i) {
        if (i % kHexBytesPerLine == 0) out += '\n' + indent + "  ";
        out += kHex[v.bytes[i] >> 4];
        out += kHex[v.bytes[i] & 15];
      }
      out += '}';
      break;
    }
  }
}

void WriteObject(std::string& out, const Component& c, const std::string& indent) {
  switch (c.Kind()) {
    case ObjectKind::Object: out += indent + "object "; break;
    case ObjectKind::Inherited: out += indent + "inherited "; break;
    case ObjectKind::Inline: out += indent + "inline "; break;
  }
  if (!c.Name().empty()) out += c.Name() + ": ";
  out += c.ClassName();
  if (c.ChildPosition()) out += " [" + std::to_string(*c.ChildPosition()) + "]";
  out += '\n';
  WriteProperties(out, c.Properties(), indent + "  ");
  for (const auto& child : c.Children()) WriteObject(out, *child, indent + "  ");
  out += indent + "end\n";
}

}  // namespace

std::string WriteFormText(const Component& root) {
  std::string out;
  WriteObject(out, root, "");
  return out;
}

}  // namespace korvane::forms
