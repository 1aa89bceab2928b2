#include "engine/variable_list_text.h"

namespace korvane {

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

bool NeedsQuotes(std::string_view item) {
  for (char c : item)
    if (IsBlankOrControl(c) || c == '"' || c == ',') return true;
  return false;
}

void AppendQuoted(std::string& out, std::string_view item) {
  out.push_back('"');
  for (char c : item) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

// Reads a quoted item starting at the opening quote; returns the position after it.
size_t ReadQuoted(std::string_view text, size_t pos, std::string& item) {
  ++pos;
  while (pos < text.size()) {
    char c = text[pos++];
    if (c != '"') {
      item.push_back(c);
    } else if (pos < text.size() && text[pos] == '"') {
      item.push_back('"');
      ++pos;
    } else {
      break;
    }
  }
  return pos;
}

size_t SkipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && IsBlankOrControl(text[pos])) ++pos;
  return pos;
}

}  // namespace

std::string WriteListText(const LineList& items) {
  if (items.size() == 1 && items[0].empty()) return "\"\"";
  std::string out;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out.push_back(',');
    if (NeedsQuotes(items[i])) AppendQuoted(out, items[i]);
    else out.append(items[i]);
  }
  return out;
}

LineList ReadListText(std::string_view text) {
  LineList items;
  size_t pos = SkipBlanks(text, 0);
  while (pos < text.size()) {
    std::string item;
    if (text[pos] == '"') {
      pos = ReadQuoted(text, pos, item);
    } else {
      const size_t start = pos;
      while (pos < text.size() && text[pos] != ',' && !IsBlankOrControl(text[pos])) ++pos;
      item.assign(text.substr(start, pos - start));
    }
    items.push_back(std::move(item));
    pos = SkipBlanks(text, pos);
    if (pos < text.size() && text[pos] == ',') {
      ++pos;
      if (pos == text.size()) items.emplace_back();
      pos = SkipBlanks(text, pos);
    }
  }
  return items;
}

std::string SaveAll(const TVariableManager& store) {
  LineList items;
  store.List(items);
  return WriteListText(items);
}

void LoadAll(TVariableManager& store, std::string_view text) {
  const LineList items = ReadListText(text);
  auto hold = store.Hold();
  store.Clear();
  for (size_t i = 0; i < items.size(); i += 2)
    store.Set(items[i], i + 1 < items.size() ? std::string_view(items[i + 1]) : std::string_view());
}

}  // namespace korvane
