#include "wizard/forms/form_component.h"

#include "support/text.h"

namespace korvane::forms {

Component::Component(std::string class_name, std::string name)
    : class_name_(std::move(class_name)), name_(std::move(name)) {}

const Component& Component::Owner() const {
  const Component* c = this;
  while (c->parent_) c = c->parent_;
  return *c;
}

Component& Component::AddChild(std::unique_ptr<Component> child) {
  child->parent_ = this;
  children_.push_back(std::move(child));
  return *children_.back();
}

const Value* Component::Find(std::string_view property) const {
  // The last assignment wins, as when a designer streams a property twice.
  for (auto it = properties_.rbegin(); it != properties_.rend(); ++it)
    if (SameText(it->name, property)) return &it->value;
  return nullptr;
}

void Component::Set(std::string_view property, Value value, int64_t position) {
  for (auto it = properties_.rbegin(); it != properties_.rend(); ++it) {
    if (SameText(it->name, property)) {
      it->value = std::move(value);
      return;
    }
  }
  properties_.push_back(Property{std::string(property), std::move(value), position});
}

bool Component::Remove(std::string_view property) {
  size_t before = properties_.size();
  std::erase_if(properties_, [&](const Property& p) { return SameText(p.name, property); });
  return properties_.size() != before;
}

void Component::Append(Property property) { properties_.push_back(std::move(property)); }

std::optional<int64_t> Component::Integer(std::string_view property) const {
  const Value* v = Find(property);
  if (!v || v->kind != ValueKind::Integer) return std::nullopt;
  return v->integer;
}

std::optional<std::string> Component::String(std::string_view property) const {
  const Value* v = Find(property);
  if (!v || v->kind != ValueKind::String) return std::nullopt;
  return v->text;
}

std::optional<std::string> Component::Ident(std::string_view property) const {
  const Value* v = Find(property);
  if (!v || v->kind != ValueKind::Identifier) return std::nullopt;
  return v->text;
}

std::optional<bool> Component::Boolean(std::string_view property) const {
  const Value* v = Find(property);
  if (!v) return std::nullopt;
  return v->AsBoolean();
}

std::optional<std::vector<std::string>> Component::Strings(std::string_view property) const {
  const Value* v = Find(property);
  if (!v || v->kind != ValueKind::List) return std::nullopt;
  std::vector<std::string> out;
  for (const Value& item : v->items) {
    if (item.kind != ValueKind::String) return std::nullopt;
    out.push_back(item.text);
  }
  return out;
}

Component* Component::FindComponent(std::string_view name) {
  if (SameText(name_, name)) return this;
  for (auto& child : children_)
    if (Component* found = child->FindComponent(name)) return found;
  return nullptr;
}

const Component* Component::FindComponent(std::string_view name) const {
  return const_cast<Component*>(this)->FindComponent(name);
}

std::vector<Component*> Component::Descendants() {
  std::vector<Component*> out;
  std::vector<Component*> stack;
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) stack.push_back(it->get());
  while (!stack.empty()) {
    Component* c = stack.back();
    stack.pop_back();
    out.push_back(c);
    for (auto it = c->children_.rbegin(); it != c->children_.rend(); ++it) stack.push_back(it->get());
  }
  return out;
}

namespace {

std::string Differ(const Component& a, const Component& b, const std::string& path) {
  std::string here = path.empty() ? a.Name() : path + "." + a.Name();
  if (!SameText(a.ClassName(), b.ClassName()))
    return here + ": class " + a.ClassName() + " against " + b.ClassName();
  if (!SameText(a.Name(), b.Name())) return here + ": name against " + b.Name();
  if (a.Kind() != b.Kind()) return here + ": object kind differs";
  if (a.ChildPosition() != b.ChildPosition()) return here + ": child position differs";
  const auto& pa = a.Properties();
  const auto& pb = b.Properties();
  for (size_t i = 0; i < pa.size() || i < pb.size(); ++i) {
    if (i >= pa.size()) return here + ": extra property " + pb[i].name;
    if (i >= pb.size()) return here + ": missing property " + pa[i].name;
    if (!(pa[i] == pb[i])) return here + ": property " + pa[i].name + " differs";
  }
  const auto& ca = a.Children();
  const auto& cb = b.Children();
  for (size_t i = 0; i < ca.size() || i < cb.size(); ++i) {
    if (i >= ca.size()) return here + ": extra child " + cb[i]->Name();
    if (i >= cb.size()) return here + ": missing child " + ca[i]->Name();
    std::string d = Differ(*ca[i], *cb[i], here);
    if (!d.empty()) return d;
  }
  return {};
}

}  // namespace

std::string DescribeDifference(const Component& a, const Component& b) { return Differ(a, b, ""); }

bool SameModel(const Component& a, const Component& b) { return DescribeDifference(a, b).empty(); }

}  // namespace korvane::forms
