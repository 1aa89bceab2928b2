#pragma once
// The component tree of a form file: the form, its controls and their published properties,
// read and written by name. Independent of windows, so binding logic runs on any host.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/result.h"
#include "wizard/forms/form_value.h"

namespace korvane::forms {

// How an object record was introduced: "object", "inherited" (the component comes from an
// ancestor form and the record only holds changes) or "inline" (a frame placed on the form).
enum class ObjectKind { Object, Inherited, Inline };

class Component {
 public:
  Component(std::string class_name, std::string name);
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::string& ClassName() const { return class_name_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  ObjectKind Kind() const { return kind_; }
  void SetKind(ObjectKind kind) { kind_ = kind; }
  // The designer's explicit child position ("object Button1: TButton [2]"), when written.
  std::optional<int64_t> ChildPosition() const { return child_position_; }
  void SetChildPosition(std::optional<int64_t> position) { child_position_ = position; }

  // Line (text form) or byte offset (binary form) of the record; 0 when built in code.
  int64_t Position() const { return position_; }
  void SetPosition(int64_t position) { position_ = position; }

  // The component this one is nested in (its parent in the file); null for the form.
  Component* Parent() const { return parent_; }
  // The form that owns every component of the file: the root of the tree.
  const Component& Owner() const;

  const std::vector<std::unique_ptr<Component>>& Children() const { return children_; }
  Component& AddChild(std::unique_ptr<Component> child);

  // Published properties, in file order. Names compare without regard to letter case.
  const std::vector<Property>& Properties() const { return properties_; }
  const Value* Find(std::string_view property) const;
  // Replaces the value of an existing property or appends a new one.
  void Set(std::string_view property, Value value, int64_t position = 0);
  bool Remove(std::string_view property);
  // Appends without looking for an existing entry (readers keep what the file says).
  void Append(Property property);

  // Typed reads; nullopt when the property is absent or of another kind.
  std::optional<int64_t> Integer(std::string_view property) const;
  std::optional<std::string> String(std::string_view property) const;
  std::optional<std::string> Ident(std::string_view property) const;
  std::optional<bool> Boolean(std::string_view property) const;
  // Items.Strings / Lines.Strings style lists of strings.
  std::optional<std::vector<std::string>> Strings(std::string_view property) const;

  // Depth-first search by name (letter case ignored) through this component and its children.
  Component* FindComponent(std::string_view name);
  const Component* FindComponent(std::string_view name) const;
  // Every component below this one in creation (file) order, depth first, not this one.
  std::vector<Component*> Descendants();

 private:
  std::string class_name_;
  std::string name_;
  ObjectKind kind_ = ObjectKind::Object;
  std::optional<int64_t> child_position_;
  int64_t position_ = 0;
  Component* parent_ = nullptr;
  std::vector<Property> properties_;
  std::vector<std::unique_ptr<Component>> children_;
};

// Same classes, names, kinds, properties and children; source positions are not compared.
bool SameModel(const Component& a, const Component& b);
// The first difference between two trees as a readable path ("Form1.Button1: property Caption
// differs"); empty when SameModel holds. Tests print it.
std::string DescribeDifference(const Component& a, const Component& b);

}  // namespace korvane::forms
