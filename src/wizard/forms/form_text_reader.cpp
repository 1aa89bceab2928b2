// Reader of the text form of form files.
//
//   object Form1: TForm1            (also "inherited" and "inline"; "[n]" gives a child position)
//     Caption = 'Setup'#13#10'line' +
//       ' continued'
//     Font.Style = [fsBold]
//     Items.Strings = ( 'a' 'b' )
//     Panels = < item Width = 50 end >
//     Picture.Data = { 0754426974...}
//     object Button1: TButton ... end
//   end

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "wizard/forms/form_reader.h"
#include "wizard/forms/form_unicode.h"

namespace korvane::forms {
namespace {

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

class TextReader {
 public:
  TextReader(std::string_view text, std::string_view file) : text_(text), file_(file) {}

  Result<ComponentPtr> Read() {
    // A UTF-8 byte-order mark in front of the text is allowed.
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    SkipBlanks();
    if (AtEnd()) return Fail("empty form file");
    auto root = ReadObject(0);
    if (!root) return root;
    SkipBlanks();
    if (!AtEnd()) return Fail("unexpected text after the final 'end'");
    return root;
  }

 private:
  std::string_view text_;
  std::string_view file_;
  size_t pos_ = 0;
  int64_t line_ = 1;

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }

  Error Fail(std::string_view reason) const {
    return Error{std::string(file_) + ": line " + std::to_string(line_) + ": " + std::string(reason)};
  }

  void SkipBlanks() {
    while (!AtEnd()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
        ++pos_;
      } else {
        break;
      }
    }
  }

  // A name: letters, digits and underscores; dots join parts when dotted is set.
  // Names longer than 255 characters cannot be stored in the binary form and are refused.
  Result<std::string> ReadName(bool dotted) {
    size_t start = pos_;
    while (!AtEnd() && (IsIdentChar(text_[pos_]) || (dotted && text_[pos_] == '.' && IsIdentStart(Peek(1)))))
      ++pos_;
    if (pos_ - start > 255) return Fail("name longer than 255 characters");
    return std::string(text_.substr(start, pos_ - start));
  }

  Result<std::string> ExpectName(bool dotted, std::string_view what) {
    SkipBlanks();
    if (AtEnd()) return Fail("file ends where " + std::string(what) + " was expected");
    if (!IsIdentStart(Peek())) return Fail(std::string(what) + " expected, found " + Describe());
    return ReadName(dotted);
  }

  std::string Describe() const {
    if (AtEnd()) return "end of file";
    unsigned char c = static_cast<unsigned char>(Peek());
    if (c >= 0x21 && c < 0x7F) return std::string("'") + static_cast<char>(c) + "'";
    return "character #" + std::to_string(c);
  }

  bool NextWordIs(std::string_view word) {
    SkipBlanks();
    if (text_.size() - pos_ < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(text_[pos_ + i])) != word[i]) return false;
    return !IsIdentChar(Peek(word.size())) && Peek(word.size()) != '.';
  }

  // A keyword that starts a clause; a property that happens to carry the same name is followed
  // by '=' instead.
  bool KeywordAhead(std::string_view word) {
    if (!NextWordIs(word)) return false;
    size_t after = pos_ + word.size();
    while (after < text_.size() && std::isspace(static_cast<unsigned char>(text_[after]))) ++after;
    return after >= text_.size() || text_[after] != '=';
  }

  Result<ComponentPtr> ReadObject(int depth) {
    if (depth > kMaxFormNesting) return Fail("objects nested deeper than " + std::to_string(kMaxFormNesting) + " levels");
    ObjectKind kind;
    if (NextWordIs("object")) {
      kind = ObjectKind::Object;
    } else if (NextWordIs("inherited")) {
      kind = ObjectKind::Inherited;
    } else if (NextWordIs("inline")) {
      kind = ObjectKind::Inline;
    } else {
      return Fail("'object', 'inherited' or 'inline' expected, found " + Describe());
    }
    int64_t start_line = line_;
    (void)ReadName(false);  // the keyword itself
    auto first = ExpectName(true, "component name");
    if (!first) return Error{first.error()};
    std::string name, class_name;
    SkipBlanks();
    if (Peek() == ':') {
      ++pos_;
      auto cls = ExpectName(true, "class name");
      if (!cls) return Error{cls.error()};
      name = *first;
      class_name = *cls;
    } else {
      class_name = *first;
    }
    auto component = std::make_unique<Component>(class_name, name);
    component->SetKind(kind);
    component->SetPosition(start_line);
    SkipBlanks();
    if (Peek() == '[') {
      ++pos_;
      SkipBlanks();
      auto index = ReadNumber();
      if (!index) return Error{index.error()};
      if (index->kind != ValueKind::Integer) return Fail("child position must be an integer");
      component->SetChildPosition(index->integer);
      SkipBlanks();
      if (Peek() != ']') return Fail("']' expected after the child position, found " + Describe());
      ++pos_;
    }
    for (;;) {
      SkipBlanks();
      if (AtEnd()) return Fail("file ends inside object " + (name.empty() ? class_name : name) + " (missing 'end')");
      if (KeywordAhead("end")) {
        pos_ += 3;
        return component;
      }
      if (KeywordAhead("object") || KeywordAhead("inherited") || KeywordAhead("inline")) {
        auto child = ReadObject(depth + 1);
        if (!child) return child;
        component->AddChild(std::move(child.value()));
        continue;
      }
      auto property = ReadProperty(depth);
      if (!property) return Error{property.error()};
      component->Append(std::move(property.value()));
    }
  }

  Result<Property> ReadProperty(int depth) {
    int64_t line = line_;
    auto name = ExpectName(true, "property name");
    if (!name) return Error{name.error()};
    SkipBlanks();
    if (Peek() != '=') return Fail("'=' expected after property " + *name + ", found " + Describe());
    ++pos_;
    auto value = ReadValue(depth + 1);
    if (!value) return Error{value.error()};
    return Property{std::move(*name), std::move(value.value()), line};
  }

  Result<Value> ReadValue(int depth) {
    if (depth > kMaxFormNesting) return Fail("values nested deeper than " + std::to_string(kMaxFormNesting) + " levels");
    SkipBlanks();
    if (AtEnd()) return Fail("file ends where a value was expected");
    char c = Peek();
    if (c == '\'' || c == '#') return ReadString();
    if (c == '-' || c == '+' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) return ReadNumber();
    if (c == '[') return ReadSet();
    if (c == '(') return ReadList(depth);
    if (c == '<') return ReadCollection(depth);
    if (c == '{') return ReadBinary();
    if (IsIdentStart(c)) {
      auto name = ReadName(true);
      if (!name) return Error{name.error()};
      return Value::Identifier(std::move(*name));
    }
    return Fail("value expected, found " + Describe());
  }

  Result<Value> ReadNumber() {
    size_t start = pos_;
    bool negative = false;
    if (Peek() == '-' || Peek() == '+') {
      negative = Peek() == '-';
      ++pos_;
    }
    if (Peek() == '$') {
      ++pos_;
      uint64_t v = 0;
      size_t digits = 0;
      while (std::isxdigit(static_cast<unsigned char>(Peek()))) {
        if (++digits > 16) return Fail("hexadecimal number too long");
        char h = Peek();
        v = v * 16 + static_cast<uint64_t>(std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (std::tolower(h) - 'a' + 10));
        ++pos_;
      }
      if (digits == 0) return Fail("hexadecimal digits expected after '$'");
      auto signed_value = static_cast<int64_t>(v);
      return Value::Integer(negative ? -signed_value : signed_value);
    }
    if (!std::isdigit(static_cast<unsigned char>(Peek()))) return Fail("digit expected, found " + Describe());
    while (std::isdigit(static_cast<unsigned char>(Peek()))) ++pos_;
    bool is_float = false;
    if (Peek() == '.' && std::isdigit(static_cast<unsigned char>(Peek(1)))) {
      is_float = true;
      ++pos_;
      while (std::isdigit(static_cast<unsigned char>(Peek()))) ++pos_;
    }
    if (Peek() == 'e' || Peek() == 'E') {
      size_t save = pos_;
      ++pos_;
      if (Peek() == '-' || Peek() == '+') ++pos_;
      if (!std::isdigit(static_cast<unsigned char>(Peek()))) {
        pos_ = save;
      } else {
        is_float = true;
        while (std::isdigit(static_cast<unsigned char>(Peek()))) ++pos_;
      }
    }
    std::string literal(text_.substr(start, pos_ - start));
    if (IsIdentChar(Peek())) return Fail("malformed number " + literal + Peek());
    if (is_float) {
      char* end = nullptr;
      double d = std::strtod(literal.c_str(), &end);
      if (!std::isfinite(d)) return Fail("number out of range: " + literal);
      return Value::Float(d);
    }
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(literal.c_str(), &end, 10);
    if (errno == ERANGE) return Fail("integer out of range: " + literal);
    return Value::Integer(v);
  }

  // 'quoted' parts and #code parts run together; " + " joins pieces across lines.
  Result<Value> ReadString() {
    std::string out;
    for (;;) {
      bool any = false;
      for (;;) {
        if (Peek() == '\'') {
          any = true;
          ++pos_;
          for (;;) {
            if (AtEnd() || Peek() == '\n' || Peek() == '\r') return Fail("unterminated string");
            if (Peek() == '\'') {
              if (Peek(1) == '\'') {
                out += '\'';
                pos_ += 2;
                continue;
              }
              ++pos_;
              break;
            }
            AppendUtf8(out, NextCodePoint(text_, pos_));
          }
        } else if (Peek() == '#') {
          any = true;
          ++pos_;
          uint32_t code = 0;
          size_t digits = 0;
          if (Peek() == '$') {
            ++pos_;
            while (std::isxdigit(static_cast<unsigned char>(Peek()))) {
              char h = Peek();
              code = code * 16 + static_cast<uint32_t>(std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (std::tolower(h) - 'a' + 10));
              ++pos_;
              if (++digits > 6) return Fail("character code too long");
            }
          } else {
            while (std::isdigit(static_cast<unsigned char>(Peek()))) {
              code = code * 10 + static_cast<uint32_t>(Peek() - '0');
              ++pos_;
              if (++digits > 7) return Fail("character code too long");
            }
          }
          if (digits == 0) return Fail("digits expected after '#'");
          if (code > 0x10FFFF) return Fail("character code out of range: #" + std::to_string(code));
          // A UTF-16 pair written as two codes becomes one character.
          if (code >= 0xD800 && code <= 0xDBFF && Peek() == '#') {
            size_t save = pos_;
            ++pos_;
            uint32_t low = 0;
            size_t d2 = 0;
            while (std::isdigit(static_cast<unsigned char>(Peek())) && d2 < 7) {
              low = low * 10 + static_cast<uint32_t>(Peek() - '0');
              ++pos_;
              ++d2;
            }
            if (d2 > 0 && low >= 0xDC00 && low <= 0xDFFF) {
              code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            } else {
              pos_ = save;
            }
          }
          AppendUtf8(out, code);
        } else {
          break;
        }
      }
      if (!any) return Fail("string expected, found " + Describe());
      // A '+' after the string continues it with the next piece (usually on the next line).
      size_t save_pos = pos_;
      int64_t save_line = line_;
      SkipBlanks();
      if (Peek() == '+') {
        ++pos_;
        SkipBlanks();
        if (Peek() != '\'' && Peek() != '#') return Fail("string expected after '+', found " + Describe());
        continue;
      }
      pos_ = save_pos;
      line_ = save_line;
      return Value::String(std::move(out));
    }
  }

  Result<Value> ReadSet() {
    ++pos_;  // [
    std::vector<std::string> elements;
    SkipBlanks();
    if (Peek() == ']') {
      ++pos_;
      return Value::Set({});
    }
    for (;;) {
      auto name = ExpectName(true, "set element");
      if (!name) return Error{name.error()};
      elements.push_back(std::move(*name));
      SkipBlanks();
      if (Peek() == ',') {
        ++pos_;
        continue;
      }
      if (Peek() == ']') {
        ++pos_;
        return Value::Set(std::move(elements));
      }
      return Fail("',' or ']' expected in a set, found " + Describe());
    }
  }

  Result<Value> ReadList(int depth) {
    ++pos_;  // (
    std::vector<Value> items;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) return Fail("file ends inside a list (missing ')')");
      if (Peek() == ')') {
        ++pos_;
        return Value::List(std::move(items));
      }
      auto item = ReadValue(depth + 1);
      if (!item) return item;
      items.push_back(std::move(item.value()));
    }
  }

  Result<Value> ReadCollection(int depth) {
    ++pos_;  // <
    std::vector<CollectionItem> items;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) return Fail("file ends inside a collection (missing '>')");
      if (Peek() == '>') {
        ++pos_;
        return Value::Collection(std::move(items));
      }
      if (!NextWordIs("item")) return Fail("'item' or '>' expected in a collection, found " + Describe());
      pos_ += 4;
      CollectionItem item;
      SkipBlanks();
      if (Peek() == '[') {
        ++pos_;
        SkipBlanks();
        auto index = ReadNumber();
        if (!index) return index;
        if (index->kind != ValueKind::Integer) return Fail("collection item index must be an integer");
        item.index = index->integer;
        SkipBlanks();
        if (Peek() != ']') return Fail("']' expected after the item index, found " + Describe());
        ++pos_;
      }
      for (;;) {
        SkipBlanks();
        if (AtEnd()) return Fail("file ends inside a collection item (missing 'end')");
        if (KeywordAhead("end")) {
          pos_ += 3;
          break;
        }
        auto property = ReadProperty(depth + 1);
        if (!property) return Error{property.error()};
        item.properties.push_back(std::move(property.value()));
      }
      items.push_back(std::move(item));
    }
  }

  Result<Value> ReadBinary() {
    ++pos_;  // {
    std::vector<uint8_t> bytes;
    int high = -1;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) return Fail("file ends inside binary data (missing '}')");
      char c = Peek();
      if (c == '}') {
        ++pos_;
        if (high >= 0) return Fail("binary data has an odd number of hex digits");
        return Value::Binary(std::move(bytes));
      }
      if (!std::isxdigit(static_cast<unsigned char>(c))) return Fail("hex digit expected in binary data, found " + Describe());
      int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
      ++pos_;
      if (high < 0) {
        high = digit;
      } else {
        bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
        high = -1;
      }
    }
  }
};

}  // namespace

Result<ComponentPtr> ReadFormText(std::string_view text, std::string_view file_name) {
  if (text.size() > kMaxFormFileSize) return Error{std::string(file_name) + ": form file too large"};
  return TextReader(text, file_name).Read();
}

}  // namespace korvane::forms
