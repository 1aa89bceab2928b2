// The small text forms around variables: truth words, references, paths and line breaks.
#include <gtest/gtest.h>

#include "engine/line_breaks.h"
#include "engine/path_expansion.h"
#include "engine/reference_name.h"
#include "engine/truth_words.h"

namespace korvane {
namespace {

TEST(TruthWords, ReadAndWritten) {
  for (const char* yes : {"true", "TRUE", "True", "-1"}) EXPECT_TRUE(TruthOf(yes)) << yes;
  for (const char* no : {"1", "yes", "", "FALSE", " TRUE", "TRUE ", "-1 ", "-01", "TRUTH"}) EXPECT_FALSE(TruthOf(no)) << no;
  EXPECT_EQ(TruthText(true), "TRUE");
  EXPECT_EQ(TruthText(false), "FALSE");
}

TEST(ReferenceName, OnlyASingleWholeReference) {
  EXPECT_EQ(ReferenceName("$A$"), "A");
  EXPECT_EQ(ReferenceName("$Target Dir$"), "Target Dir");
  for (const char* none : {"$A$B$", "A", "$A", "A$", "$", "$$", "", " $A$", "$A$ "})
    EXPECT_EQ(ReferenceName(none), "") << none;
}

TEST(ExpandPath, CollapsesDoubledBackslashesButKeepsANetworkPrefix) {
  TVariableManager store;
  store.Set("TARGETDIR", "C:\\Program Files\\");
  store.Set("SHARE", "\\\\server\\share\\");
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"$TARGETDIR$\\Acme", "C:\\Program Files\\Acme"},
      {"$SHARE$\\setup", "\\\\server\\share\\setup"},
      {"\\\\server\\\\dir", "\\\\server\\dir"},
      {"$TARGETDIR$", "C:\\Program Files\\"},
      {"C:\\a\\\\\\\\b", "C:\\a\\\\b"},  // four become two: each doubled pair collapses once
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandPath(store, c.text), c.expected) << c.text;
}

TEST(LineBreaks, TokenAndCrLfConvertBothWays) {
  EXPECT_EQ(NewlinesToBreaks("one$NEWLINE$two$newline$three"), "one\r\ntwo\r\nthree");
  EXPECT_EQ(NewlinesToBreaks("no break$NEWLINE"), "no break$NEWLINE");
  EXPECT_EQ(BreaksToNewlines("one\r\ntwo\nthree\r"), "one$NEWLINE$two\nthree\r");
  const std::string text = "a\r\n\r\nb";
  EXPECT_EQ(NewlinesToBreaks(BreaksToNewlines(text)), text);
}

}  // namespace
}  // namespace korvane
