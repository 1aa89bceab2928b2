#include "tools/source_values.h"

namespace korvane::builder {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

class ValueScanner {
 public:
  explicit ValueScanner(std::string_view text) : text_(text) {}

  [[nodiscard]] bool AtEnd() const { return pos_ >= text_.size(); }

  // Reads one value up to the next separator (or the end) and steps over that separator.
  // Sets separated when a separator followed the value.
  Result<std::string> Next(bool& separated) {
    SkipBlanks();
    std::string value;
    if (!AtEnd() && text_[pos_] == '"') {
      const size_t open = pos_++;
      for (;;) {
        if (AtEnd())
          return Error{"the quoted value " + std::string(text_.substr(open, 20)) +
                       (text_.size() - open > 20 ? "..." : "") + " has no closing quote"};
        const char c = text_[pos_++];
        if (c != '"') {
          value += c;
        } else if (!AtEnd() && text_[pos_] == '"') {
          value += '"';
          ++pos_;
        } else {
          break;
        }
      }
      SkipBlanks();
      if (!AtEnd() && text_[pos_] != '|')
        return Error{"unexpected text \"" + std::string(text_.substr(pos_, 20)) +
                     "\" after a closing quote (quote the whole value; \"\" inside quotes is one quote)"};
    } else {
      size_t end = text_.find('|', pos_);
      if (end == std::string_view::npos) end = text_.size();
      std::string_view raw = text_.substr(pos_, end - pos_);
      while (!raw.empty() && IsBlank(raw.back())) raw.remove_suffix(1);
      value = std::string(raw);
      pos_ = end;
    }
    separated = !AtEnd();
    if (separated) ++pos_;  // the "|"
    return value;
  }

 private:
  void SkipBlanks() {
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

Result<std::string> ParseSourceValue(std::string_view text) {
  std::string_view trimmed = text;
  while (!trimmed.empty() && IsBlank(trimmed.front())) trimmed.remove_prefix(1);
  if (trimmed.empty() || trimmed.front() != '"') {
    while (!trimmed.empty() && IsBlank(trimmed.back())) trimmed.remove_suffix(1);
    return std::string(trimmed);
  }
  // A quoted value: the same scanner as for lists, but a "|" after the quotes is not allowed.
  ValueScanner scanner(text);
  bool separated = false;
  auto value = scanner.Next(separated);
  if (!value) return value;
  if (separated) return Error{"unexpected text after the closing quote"};
  return value;
}

Result<std::vector<std::string>> SplitSourceValues(std::string_view text) {
  std::vector<std::string> values;
  ValueScanner scanner(text);
  for (;;) {
    bool separated = false;
    auto value = scanner.Next(separated);
    if (!value) return Error{value.error()};
    values.push_back(std::move(*value));
    if (!separated) break;
  }
  return values;
}

}  // namespace korvane::builder
