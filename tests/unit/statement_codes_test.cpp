#include "tools/statement_codes.h"

#include <gtest/gtest.h>

#include <set>

#include "support/text.h"

namespace korvane::builder {
namespace {

TEST(StatementCodes, RecognisesKeysAndHeaders) {
  EXPECT_TRUE(IsStatementKey("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}"));
  EXPECT_TRUE(IsStatementKey("{0123abcd-4567-89ef-ABCD-0123456789ab}"));
  for (const char* bad : {"", "AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE", "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEE}",
                          "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEG}", "{AAAAAAAA_BBBB-CCCC-DDDD-EEEEEEEEEEEE}"})
    EXPECT_FALSE(IsStatementKey(bad)) << bad;
  EXPECT_TRUE(IsCommandHeader("0"));
  EXPECT_TRUE(IsCommandHeader("15193751"));
  EXPECT_TRUE(IsCommandHeader("abcdef12"));
  for (const char* bad : {"", "123456789", "12G4", " 12"}) EXPECT_FALSE(IsCommandHeader(bad)) << bad;
}

TEST(StatementCodes, SameInputGivesSameCodesAndNoCodeTwice) {
  StatementCodes a("{PRODUCT}"), b("{PRODUCT}"), other("{OTHER}");
  const std::string key = a.NewKey("SET VARIABLE#0");
  EXPECT_EQ(key, b.NewKey("SET VARIABLE#0"));
  EXPECT_NE(key, other.NewKey("SET VARIABLE#0"));
  EXPECT_TRUE(IsStatementKey(key));
  const std::string header = a.NewHeader("SET VARIABLE#0");
  EXPECT_EQ(header, b.NewHeader("SET VARIABLE#0"));
  EXPECT_EQ(header.size(), 8u);
  EXPECT_EQ(header.find_first_not_of("0123456789ABCDEF"), std::string::npos) << header;

  // A code already taken, by the source or by an earlier statement, is never handed out again.
  StatementCodes c("{PRODUCT}");
  ASSERT_TRUE(c.ReserveKey(key));
  ASSERT_TRUE(c.ReserveHeader(header));
  EXPECT_NE(c.NewKey("SET VARIABLE#0"), key);
  EXPECT_NE(c.NewHeader("SET VARIABLE#0"), header);
  EXPECT_FALSE(c.ReserveKey(UpperCase(key)));

  std::set<std::string> keys, headers;
  StatementCodes many("{PRODUCT}");
  for (int i = 0; i < 300; ++i) {
    keys.insert(many.NewKey("X"));  // the same identity every time
    headers.insert(many.NewHeader("X"));
  }
  EXPECT_EQ(keys.size(), 300u);
  EXPECT_EQ(headers.size(), 300u);
}

}  // namespace
}  // namespace korvane::builder
