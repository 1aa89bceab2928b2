// Reader of the binary form streaming format: "TPF0", then one component record:
//   [0xF0|flags [child position]] class-name name { property-name value } 0 { child record } 0
// Names are length-prefixed byte strings; values start with a tag (form_binary_format.h).

#include <cmath>
#include <cstring>

#include "wizard/forms/form_binary_format.h"
#include "wizard/forms/form_reader.h"
#include "wizard/forms/form_unicode.h"

namespace korvane::forms {
namespace {

using namespace binary;

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

// A valid name for the text form: letters, digits, underscores, dots between parts.
bool IsDottedName(std::string_view s) {
  if (s.empty() || !IsIdentStart(s[0])) return false;
  for (size_t i = 1; i < s.size(); ++i) {
    if (s[i] == '.') {
      if (i + 1 >= s.size() || !IsIdentStart(s[i + 1])) return false;
    } else if (!IsIdentChar(s[i])) {
      return false;
    }
  }
  return true;
}

// Decodes an 80-bit extended float (little endian: 64-bit mantissa, 15-bit exponent, sign).
double DecodeExtended(const uint8_t* p) {
  uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | p[i];
  int exponent = ((p[9] & 0x7F) << 8) | p[8];
  bool negative = (p[9] & 0x80) != 0;
  double value;
  if (exponent == 0 && mantissa == 0) {
    value = 0;
  } else if (exponent == 0x7FFF) {
    value = mantissa << 1 ? NAN : INFINITY;
  } else {
    value = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
  }
  return negative ? -value : value;
}

class BinaryReader {
 public:
  BinaryReader(std::string_view bytes, std::string_view file) : data_(bytes), file_(file) {}

  Result<ComponentPtr> Read() {
    if (data_.substr(0, 4) != "TPF0") return Fail("signature TPF0 missing");
    pos_ = 4;
    auto root = ReadComponent(0);
    if (!root) return root;
    if (pos_ != data_.size()) return Fail("unexpected bytes after the form record");
    return root;
  }

 private:
  std::string_view data_;
  std::string_view file_;
  size_t pos_ = 0;

  Error Fail(std::string_view reason) const { return FailAt(pos_, reason); }
  Error FailAt(size_t at, std::string_view reason) const {
    return Error{std::string(file_) + ": offset " + std::to_string(at) + ": " + std::string(reason)};
  }

  size_t Left() const { return data_.size() - pos_; }

  Result<uint8_t> Byte(std::string_view what) {
    if (Left() < 1) return Fail("file ends inside " + std::string(what));
    return static_cast<uint8_t>(data_[pos_++]);
  }

  Result<uint64_t> Fixed(size_t width, std::string_view what) {
    if (Left() < width) return Fail("file ends inside " + std::string(what));
    uint64_t v = 0;
    for (size_t i = width; i-- > 0;) v = (v << 8) | static_cast<uint8_t>(data_[pos_ + i]);
    pos_ += width;
    return v;
  }

  Result<std::string> Bytes(size_t count, std::string_view what) {
    if (Left() < count) return Fail("file ends inside " + std::string(what) + " (" + std::to_string(count) + " bytes announced, " + std::to_string(Left()) + " left)");
    std::string s(data_.substr(pos_, count));
    pos_ += count;
    return s;
  }

  Result<std::string> ShortString(std::string_view what) {
    auto length = Byte(what);
    if (!length) return Error{length.error()};
    return Bytes(*length, what);
  }

  Result<std::string> Name(std::string_view what, bool allow_empty) {
    size_t at = pos_;
    auto name = ShortString(what);
    if (!name) return name;
    if (name->empty() && allow_empty) return name;
    if (!IsDottedName(*name)) return FailAt(at, "invalid " + std::string(what));
    return name;
  }

  Result<ComponentPtr> ReadComponent(int depth) {
    if (depth > kMaxFormNesting) return Fail("components nested deeper than " + std::to_string(kMaxFormNesting) + " levels");
    size_t start = pos_;
    if (Left() < 1) return Fail("file ends where a component was expected");
    uint8_t flags = 0;
    std::optional<int64_t> child_position;
    auto first = static_cast<uint8_t>(data_[pos_]);
    if ((first & kPrefixMask) == kPrefixMask) {
      ++pos_;
      flags = first & 0x0F;
      if (flags & ~(kFlagInherited | kFlagChildPosition | kFlagInline)) return FailAt(start, "unknown record flags");
      if (flags & kFlagChildPosition) {
        auto index = ReadValue(depth + 1);
        if (!index) return Error{index.error()};
        if (index->kind != ValueKind::Integer) return FailAt(start + 1, "child position must be an integer");
        child_position = index->integer;
      }
    }
    auto class_name = Name("class name", false);
    if (!class_name) return Error{class_name.error()};
    auto name = Name("component name", true);
    if (!name) return Error{name.error()};
    auto component = std::make_unique<Component>(*class_name, *name);
    component->SetPosition(static_cast<int64_t>(start));
    component->SetChildPosition(child_position);
    if (flags & kFlagInline) {
      component->SetKind(ObjectKind::Inline);
    } else if (flags & kFlagInherited) {
      component->SetKind(ObjectKind::Inherited);
    }
    for (;;) {
      if (Left() < 1) return Fail("file ends inside the properties of " + Label(*component));
      if (data_[pos_] == 0) {
        ++pos_;
        break;
      }
      auto property = ReadProperty(depth);
      if (!property) return Error{property.error()};
      component->Append(std::move(property.value()));
    }
    for (;;) {
      if (Left() < 1) return Fail("file ends inside the children of " + Label(*component));
      if (data_[pos_] == 0) {
        ++pos_;
        break;
      }
      auto child = ReadComponent(depth + 1);
      if (!child) return child;
      component->AddChild(std::move(child.value()));
    }
    return component;
  }

  static std::string Label(const Component& c) { return c.Name().empty() ? c.ClassName() : c.Name(); }

  Result<Property> ReadProperty(int depth) {
    size_t at = pos_;
    auto name = Name("property name", false);
    if (!name) return Error{name.error()};
    auto value = ReadValue(depth + 1);
    if (!value) return Error{value.error()};
    return Property{std::move(*name), std::move(value.value()), static_cast<int64_t>(at)};
  }

  Result<Value> ReadValue(int depth) {
    if (depth > kMaxFormNesting) return Fail("values nested deeper than " + std::to_string(kMaxFormNesting) + " levels");
    size_t at = pos_;
    auto tag = Byte("a value");
    if (!tag) return Error{tag.error()};
    switch (*tag) {
      case kInt8: {
        auto v = Fixed(1, "an integer");
        if (!v) return Error{v.error()};
        return Value::Integer(static_cast<int8_t>(*v));
      }
      case kInt16: {
        auto v = Fixed(2, "an integer");
        if (!v) return Error{v.error()};
        return Value::Integer(static_cast<int16_t>(*v));
      }
      case kInt32: {
        auto v = Fixed(4, "an integer");
        if (!v) return Error{v.error()};
        return Value::Integer(static_cast<int32_t>(*v));
      }
      case kInt64: {
        auto v = Fixed(8, "an integer");
        if (!v) return Error{v.error()};
        return Value::Integer(static_cast<int64_t>(*v));
      }
      case kExtended: {
        if (Left() < 10) return Fail("file ends inside a float");
        double d = DecodeExtended(reinterpret_cast<const uint8_t*>(data_.data() + pos_));
        pos_ += 10;
        if (!std::isfinite(d)) return FailAt(at, "float out of range");
        return Value::Float(d);
      }
      case kSingle: {
        auto v = Fixed(4, "a float");
        if (!v) return Error{v.error()};
        auto bits = static_cast<uint32_t>(*v);
        float f;
        std::memcpy(&f, &bits, 4);
        if (!std::isfinite(f)) return FailAt(at, "float out of range");
        return Value::Float(f);
      }
      case kDouble:
      case kDate: {
        auto v = Fixed(8, "a float");
        if (!v) return Error{v.error()};
        uint64_t bits = *v;
        double d;
        std::memcpy(&d, &bits, 8);
        if (!std::isfinite(d)) return FailAt(at, "float out of range");
        return Value::Float(d);
      }
      case kCurrency: {
        auto v = Fixed(8, "a currency value");
        if (!v) return Error{v.error()};
        return Value::Float(static_cast<double>(static_cast<int64_t>(*v)) / 10000.0);
      }
      case kString: {
        auto s = ShortString("a string");
        if (!s) return Error{s.error()};
        return Value::String(Latin1(*s));
      }
      case kLString:
      case kUtf8String: {
        auto length = Fixed(4, "a string length");
        if (!length) return Error{length.error()};
        auto s = Bytes(*length, "a string");
        if (!s) return Error{s.error()};
        return Value::String(*tag == kLString ? Latin1(*s) : CleanUtf8(*s));
      }
      case kWString: {
        auto units = Fixed(4, "a string length");
        if (!units) return Error{units.error()};
        if (*units > Left() / 2) return Fail("file ends inside a wide string (" + std::to_string(*units) + " characters announced)");
        std::string out;
        for (uint64_t i = 0; i < *units; ++i) {
          auto u = static_cast<uint32_t>(static_cast<uint8_t>(data_[pos_]) | (static_cast<uint8_t>(data_[pos_ + 1]) << 8));
          pos_ += 2;
          if (u >= 0xD800 && u <= 0xDBFF && i + 1 < *units) {
            auto low = static_cast<uint32_t>(static_cast<uint8_t>(data_[pos_]) | (static_cast<uint8_t>(data_[pos_ + 1]) << 8));
            if (low >= 0xDC00 && low <= 0xDFFF) {
              pos_ += 2;
              ++i;
              u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
            }
          }
          AppendUtf8(out, u);
        }
        return Value::String(std::move(out));
      }
      case kIdent: {
        auto name = Name("identifier", false);
        if (!name) return Error{name.error()};
        return Value::Identifier(*name);
      }
      case kFalse: return Value::Boolean(false);
      case kTrue: return Value::Boolean(true);
      case kNil: return Value::Identifier("nil");
      case kNull: return Value::Identifier("Null");
      case kBinary: {
        auto length = Fixed(4, "a binary length");
        if (!length) return Error{length.error()};
        auto s = Bytes(*length, "binary data");
        if (!s) return Error{s.error()};
        return Value::Binary(std::vector<uint8_t>(s->begin(), s->end()));
      }
      case kSet: {
        std::vector<std::string> elements;
        for (;;) {
          auto name = Name("set element", true);
          if (!name) return Error{name.error()};
          if (name->empty()) return Value::Set(std::move(elements));
          elements.push_back(std::move(*name));
        }
      }
      case kList: {
        std::vector<Value> items;
        for (;;) {
          if (Left() < 1) return Fail("file ends inside a list");
          if (data_[pos_] == 0) {
            ++pos_;
            return Value::List(std::move(items));
          }
          auto item = ReadValue(depth + 1);
          if (!item) return item;
          items.push_back(std::move(item.value()));
        }
      }
      case kCollection: {
        std::vector<CollectionItem> items;
        for (;;) {
          if (Left() < 1) return Fail("file ends inside a collection");
          auto next = static_cast<uint8_t>(data_[pos_]);
          if (next == 0) {
            ++pos_;
            return Value::Collection(std::move(items));
          }
          CollectionItem item;
          if (next == kInt8 || next == kInt16 || next == kInt32 || next == kInt64) {
            auto index = ReadValue(depth + 1);
            if (!index) return index;
            item.index = index->integer;
          }
          auto list_tag = Byte("a collection item");
          if (!list_tag) return Error{list_tag.error()};
          if (*list_tag != kList) return FailAt(pos_ - 1, "collection item expected (tag " + std::to_string(*list_tag) + ")");
          for (;;) {
            if (Left() < 1) return Fail("file ends inside a collection item");
            if (data_[pos_] == 0) {
              ++pos_;
              break;
            }
            auto property = ReadProperty(depth + 1);
            if (!property) return Error{property.error()};
            item.properties.push_back(std::move(property.value()));
          }
          items.push_back(std::move(item));
        }
      }
      default:
        return FailAt(at, "unknown value tag " + std::to_string(*tag));
    }
  }

  static std::string Latin1(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
  }

  static std::string CleanUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) AppendUtf8(out, NextCodePoint(s, i));
    return out;
  }
};

}  // namespace

Result<ComponentPtr> ReadFormBinary(std::string_view bytes, std::string_view file_name) {
  if (bytes.size() > kMaxFormFileSize) return Error{std::string(file_name) + ": form file too large"};
  return BinaryReader(bytes, file_name).Read();
}

}  // namespace korvane::forms
