#pragma once
// The value of one published property in a form file: what the text form writes after "=" and
// the binary form after a property name.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::forms {

enum class ValueKind {
  Integer,     // 42, -7, $FF
  Float,       // 1.5, 2E3
  String,      // 'text'#13#10'more' (held as UTF-8)
  Identifier,  // alClient, True, False, nil, Button1Click
  Set,         // [akLeft, akTop]
  List,        // ( 'a' 'b' 1 )
  Collection,  // < item ... end >
  Binary,      // { 0A1B... }
};

// Name of a kind as error texts use it ("integer", "string", ...).
std::string_view KindName(ValueKind kind);

struct Property;

// One item of a collection: its own properties and, in the binary form, an optional index.
struct CollectionItem {
  std::optional<int64_t> index;
  std::vector<Property> properties;
};

struct Value {
  ValueKind kind = ValueKind::Integer;
  int64_t integer = 0;
  double number = 0;
  std::string text;                   // String and Identifier
  std::vector<std::string> elements;  // Set
  std::vector<Value> items;           // List
  std::vector<CollectionItem> collection;
  std::vector<uint8_t> bytes;         // Binary

  static Value Integer(int64_t v);
  static Value Float(double v);
  static Value String(std::string v);
  static Value Identifier(std::string v);
  static Value Boolean(bool v);  // the identifiers True and False
  static Value Set(std::vector<std::string> v);
  static Value List(std::vector<Value> v);
  static Value Binary(std::vector<uint8_t> v);
  static Value Collection(std::vector<CollectionItem> v);

  // True/False written as identifiers (any letter case).
  [[nodiscard]] std::optional<bool> AsBoolean() const;
};

struct Property {
  std::string name;  // may be dotted: Font.Name, Items.Strings
  Value value;
  // Where the property was read: line (text form) or byte offset (binary form); 0 when made in code.
  int64_t position = 0;
};

// Structural equality; source positions are not compared. Floats compare exactly.
bool operator==(const Value& a, const Value& b);
bool operator==(const CollectionItem& a, const CollectionItem& b);
bool operator==(const Property& a, const Property& b);

}  // namespace korvane::forms
