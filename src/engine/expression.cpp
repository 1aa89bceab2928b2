#include "engine/expression.h"

#include <optional>
#include <vector>

namespace korvane {
namespace {

// How the next term joins the value gathered so far inside one pair of parentheses.
enum class Joiner { First, And, Or };

struct Group {
  bool value = false;
  Joiner next = Joiner::First;

  void Take(bool term) {
    switch (next) {
      case Joiner::First: value = term; break;
      case Joiner::And: value = value && term; break;
      case Joiner::Or: value = value || term; break;
    }
  }
};

// One walk over the text. Parentheses are kept on an explicit stack rather than the call
// stack, so deep nesting cannot overflow it.
class ExpressionReader {
 public:
  explicit ExpressionReader(std::string_view text) {
    text_.reserve(text.size() + 2);
    text_.append("(").append(text).append(")");
  }

  ExpressionOutcome Evaluate() {
    bool expectTerm = true;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) return ExpressionOutcome::Error;  // a closing parenthesis is still owed
      const char c = text_[pos_];
      if (expectTerm) {
        if (c == '(') {
          groups_.push_back(Group{});
          ++pos_;
          continue;
        }
        std::optional<bool> term = false;
        if (c == '"') {
          term = ReadComparison();
          if (outOfText_) return ExpressionOutcome::Error;
        } else {
          valid_ = false;  // neither a parenthesis nor a quoted text: nothing is consumed
        }
        groups_.back().Take(term.value_or(false));
        expectTerm = false;
        continue;
      }
      if (c == ')') {
        ++pos_;
        const Group closed = groups_.back();
        groups_.pop_back();
        if (groups_.empty()) {
          if (!AtEnd()) return ExpressionOutcome::Error;  // text left over
          if (!valid_) return ExpressionOutcome::NoValue;
          return closed.value ? ExpressionOutcome::True : ExpressionOutcome::False;
        }
        groups_.back().Take(closed.value);
        continue;
      }
      const std::string_view word = ReadRun();
      if (word == "and") {
        groups_.back().next = Joiner::And;
      } else if (word == "or") {
        groups_.back().next = Joiner::Or;
      } else {
        valid_ = false;
        groups_.back().next = Joiner::And;
      }
      expectTerm = true;
    }
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }

  void SkipBlanks() {
    while (!AtEnd() && text_[pos_] == ' ') ++pos_;
  }

  // The characters up to the next blank or double quote (possibly none).
  std::string_view ReadRun() {
    const size_t start = pos_;
    while (!AtEnd() && text_[pos_] != ' ' && text_[pos_] != '"') ++pos_;
    return std::string_view(text_).substr(start, pos_ - start);
  }

  // At an opening double quote: the text up to the closing one, a doubled quote inside
  // standing for one. Sets outOfText_ when the closing quote is missing.
  std::string ReadQuoted() {
    std::string out;
    ++pos_;
    for (;;) {
      if (AtEnd()) {
        outOfText_ = true;
        return out;
      }
      const char c = text_[pos_++];
      if (c != '"') {
        out.push_back(c);
      } else if (!AtEnd() && text_[pos_] == '"') {
        out.push_back('"');
        ++pos_;
      } else {
        return out;
      }
    }
  }

  // quoted text, comparator, quoted text; nullopt when malformed (and then valid_ is cleared).
  std::optional<bool> ReadComparison() {
    const std::string left = ReadQuoted();
    if (outOfText_) return std::nullopt;
    SkipBlanks();
    const std::string_view comparator = ReadRun();
    SkipBlanks();
    if (AtEnd()) {
      outOfText_ = true;
      return std::nullopt;
    }
    if (text_[pos_] != '"') {
      valid_ = false;
      return std::nullopt;
    }
    const std::string right = ReadQuoted();
    if (outOfText_) return std::nullopt;
    // Byte-wise ordinal comparison: std::string compares characters as unsigned bytes.
    const int order = left.compare(right);
    if (comparator == "=") return order == 0;
    if (comparator == "<>") return order != 0;
    if (comparator == "<") return order < 0;
    if (comparator == "<=") return order <= 0;
    if (comparator == ">") return order > 0;
    if (comparator == ">=") return order >= 0;
    valid_ = false;
    return std::nullopt;
  }

  std::string text_;
  size_t pos_ = 0;
  bool valid_ = true;
  bool outOfText_ = false;
  std::vector<Group> groups_;
};

}  // namespace

ExpressionOutcome EvaluateExpression(std::string_view text) {
  return ExpressionReader(text).Evaluate();
}

std::string OutcomeText(ExpressionOutcome outcome) {
  switch (outcome) {
    case ExpressionOutcome::True: return "TRUE";
    case ExpressionOutcome::False: return "FALSE";
    case ExpressionOutcome::Error: return "ERROR";
    case ExpressionOutcome::NoValue: break;
  }
  return std::string();
}

}  // namespace korvane
