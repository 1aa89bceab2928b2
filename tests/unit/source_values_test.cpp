#include "tools/source_values.h"

#include <gtest/gtest.h>

namespace korvane::builder {
namespace {

using Values = std::vector<std::string>;

TEST(SourceValues, SplitsTrimsAndUnquotes) {
  const std::pair<const char*, Values> cases[] = {
      {"", {""}},
      {"   ", {""}},
      {"a", {"a"}},
      {"  a b  |\tc\t", {"a b", "c"}},
      {"a||", {"a", "", ""}},
      {"|", {"", ""}},
      {"\"\"", {""}},
      {"\"  kept  \" | x", {"  kept  ", "x"}},
      {"\"a|b\"|c", {"a|b", "c"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"\"\"\"\"", {"\""}},
      {"$", {"$"}},
      {"5 \"inches\" long", {"5 \"inches\" long"}},  // quotes inside an unquoted value are text
      {" \"x\" |\"\"", {"x", ""}},
  };
  for (const auto& [input, expected] : cases) {
    auto values = SplitSourceValues(input);
    ASSERT_TRUE(values.ok()) << input << ": " << values.error();
    EXPECT_EQ(*values, expected) << input;
  }
}

TEST(SourceValues, RefusesBrokenQuotes) {
  const std::pair<const char*, const char*> cases[] = {
      {"\"open", "has no closing quote"},
      {"a | \"open | b", "has no closing quote"},
      {"\"ab\"c", "after a closing quote"},
      {"\"ab\" \"cd\"", "after a closing quote"},
  };
  for (const auto& [input, expected] : cases) {
    auto values = SplitSourceValues(input);
    ASSERT_FALSE(values.ok()) << input;
    EXPECT_NE(values.error().find(expected), std::string::npos) << input << ": " << values.error();
  }
}

TEST(SourceValues, AWholeValueKeepsBarsAndMayBeQuoted) {
  EXPECT_EQ(ParseSourceValue("  a | b  ").value(), "a | b");
  EXPECT_EQ(ParseSourceValue(" \" a \" ").value(), " a ");
  EXPECT_EQ(ParseSourceValue("").value(), "");
  EXPECT_FALSE(ParseSourceValue("\"a\" | b").ok());
  EXPECT_FALSE(ParseSourceValue("\"a").ok());
}

}  // namespace
}  // namespace korvane::builder
