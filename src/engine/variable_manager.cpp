#include "engine/variable_manager.h"

namespace korvane {

TVariableManager::TVariableManager(bool lockReads) : lockReads_(lockReads) {}

std::unique_lock<std::recursive_mutex> TVariableManager::Hold() const {
  return std::unique_lock<std::recursive_mutex>(lock_);
}

std::unique_lock<std::recursive_mutex> TVariableManager::ReadLock() const {
  if (lockReads_) return std::unique_lock<std::recursive_mutex>(lock_);
  return std::unique_lock<std::recursive_mutex>(lock_, std::defer_lock);
}

void TVariableManager::Set(std::string_view name, std::string_view value) {
  if (name.empty()) return;
  std::lock_guard hold(lock_);
  table_.Assign(name, value);
}

std::optional<std::string> TVariableManager::Find(std::string_view name) const {
  if (name.empty()) return std::nullopt;
  auto hold = ReadLock();
  const std::string* value = table_.Find(name);
  if (value == nullptr) return std::nullopt;
  return *value;
}

std::string TVariableManager::Get(std::string_view name) const {
  return Find(name).value_or(std::string());
}

bool TVariableManager::Exists(std::string_view name) const {
  if (name.empty()) return false;
  auto hold = ReadLock();
  return table_.Find(name) != nullptr;
}

void TVariableManager::Clear() {
  std::lock_guard hold(lock_);
  table_.Clear();
}

size_t TVariableManager::Count() const {
  auto hold = ReadLock();
  return table_.Count();
}

size_t TVariableManager::BucketCount() const {
  auto hold = ReadLock();
  return table_.BucketCount();
}

size_t TVariableManager::List(LineList& target) const {
  std::lock_guard hold(lock_);
  target.clear();
  target.reserve(table_.Count() * 2);
  table_.ForEach([&](std::string_view name, std::string_view value) {
    target.emplace_back(name);
    target.emplace_back(value);
  });
  return target.size();
}

std::string TVariableManager::Expand(std::string_view text) const {
  return ExpandReferences(text, [this](std::string_view name) { return Find(name); });
}

std::string TVariableManager::ExpandQuoted(std::string_view text) const {
  return ExpandReferences(text, [this](std::string_view name) { return Find(name); }, ExpansionStyle::Quoted);
}

}  // namespace korvane
