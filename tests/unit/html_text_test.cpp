#include "wizard/forms/html_text.h"

#include <gtest/gtest.h>

namespace korvane::forms {
namespace {

struct HtmlCase {
  const char* html;
  const char* text;
};

TEST(HtmlText, PageTextWithBreaksAndEntities) {
  const HtmlCase cases[] = {
      {"<html><head><title>T</title><style>p{}</style></head><body><h1>Welcome</h1><p>Read &amp; agree.</p></body></html>",
       "Welcome\r\n\r\nRead & agree."},
      {"one<br>two<br/><br>three", "one\r\ntwo\r\n\r\nthree"},
      {"<ul><li>a</li><li>b</li></ul>", "a\r\nb"},
      {"  lots   of\n\t white  space  ", "lots of white space"},
      {"a < b &lt; c &gt; d", "a < b < c > d"},
      {"&#233;t&#xE9; &#128512; &bogus; & alone", "\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80 &bogus; & alone"},
      {"<!-- <p>hidden</p> -->shown<script>var x = '<p>';</script>", "shown"},
      {"<P>Upper</P><BR>case", "Upper\r\n\r\ncase"},
      {"<table><tr><td>x</td><td>y</td></tr></table>", "x y"},
      // Damaged pages: an unclosed tag, comment or script ends the text there.
      {"text <b unclosed", "text"},
      {"before<!-- never closed", "before"},
      {"<script>no end", ""},
      {"&#1114112; &#xD800;", "&#1114112; &#xD800;"},
  };
  for (const HtmlCase& c : cases) EXPECT_EQ(HtmlToText(c.html), c.text) << c.html;
}

}  // namespace
}  // namespace korvane::forms
