#include "wizard/forms/form_value.h"

#include "support/text.h"

namespace korvane::forms {

std::string_view KindName(ValueKind kind) {
  switch (kind) {
    case ValueKind::Integer: return "integer";
    case ValueKind::Float: return "float";
    case ValueKind::String: return "string";
    case ValueKind::Identifier: return "identifier";
    case ValueKind::Set: return "set";
    case ValueKind::List: return "list";
    case ValueKind::Collection: return "collection";
    case ValueKind::Binary: return "binary data";
  }
  return "value";
}

Value Value::Integer(int64_t v) {
  Value r;
  r.kind = ValueKind::Integer;
  r.integer = v;
  return r;
}
Value Value::Float(double v) {
  Value r;
  r.kind = ValueKind::Float;
  r.number = v;
  return r;
}
Value Value::String(std::string v) {
  Value r;
  r.kind = ValueKind::String;
  r.text = std::move(v);
  return r;
}
Value Value::Identifier(std::string v) {
  Value r;
  r.kind = ValueKind::Identifier;
  r.text = std::move(v);
  return r;
}
Value Value::Boolean(bool v) { return Identifier(v ? "True" : "False"); }
Value Value::Set(std::vector<std::string> v) {
  Value r;
  r.kind = ValueKind::Set;
  r.elements = std::move(v);
  return r;
}
Value Value::List(std::vector<Value> v) {
  Value r;
  r.kind = ValueKind::List;
  r.items = std::move(v);
  return r;
}
Value Value::Binary(std::vector<uint8_t> v) {
  Value r;
  r.kind = ValueKind::Binary;
  r.bytes = std::move(v);
  return r;
}
Value Value::Collection(std::vector<CollectionItem> v) {
  Value r;
  r.kind = ValueKind::Collection;
  r.collection = std::move(v);
  return r;
}

std::optional<bool> Value::AsBoolean() const {
  if (kind != ValueKind::Identifier) return std::nullopt;
  if (SameText(text, "True")) return true;
  if (SameText(text, "False")) return false;
  return std::nullopt;
}

bool operator==(const Value& a, const Value& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case ValueKind::Integer: return a.integer == b.integer;
    case ValueKind::Float: return a.number == b.number;
    case ValueKind::String: return a.text == b.text;
    // Identifiers are names in the designer's language, which ignores letter case.
    case ValueKind::Identifier: return SameText(a.text, b.text);
    case ValueKind::Set: {
      if (a.elements.size() != b.elements.size()) return false;
      for (size_t i = 0; i < a.elements.size(); ++i)
        if (!SameText(a.elements[i], b.elements[i])) return false;
      return true;
    }
    case ValueKind::List: return a.items == b.items;
    case ValueKind::Collection: return a.collection == b.collection;
    case ValueKind::Binary: return a.bytes == b.bytes;
  }
  return false;
}

bool operator==(const CollectionItem& a, const CollectionItem& b) {
  return a.index == b.index && a.properties == b.properties;
}

bool operator==(const Property& a, const Property& b) {
  return SameText(a.name, b.name) && a.value == b.value;
}

}  // namespace korvane::forms
