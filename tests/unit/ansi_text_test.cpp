// Texts in a script package's code page turned into wide names, as files from a web block are
// named when their ANSI names fail.

#include "platform/ansi_text.h"

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

TEST(CodePageText, BytesOfTheNamedCodePageBecomeTheirCharacters) {
  struct Case {
    std::string bytes;
    uint32_t code_page;
    std::u16string wide;
  } cases[] = {
      {"plain.txt", 1252, u"plain.txt"},
      {"caf\xE9.txt", 1252, u"caf\u00e9.txt"},
      {"\x80 price", 1252, u"\u20ac price"},
      {"\xCF\xF0\xE8\xEC\xE5\xF0", 1251, u"\u041f\u0440\u0438\u043c\u0435\u0440"},
      {"\x83\x66\x81\x5B\x83\x5E.txt", 932, u"\u30c7\u30fc\u30bf.txt"},
      {"caf\xC3\xA9", 65001, u"caf\u00e9"},
      {"", 932, u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Utf16FromCodePage(c.bytes, c.code_page), c.wide) << c.bytes << " in code page " << c.code_page;
}

TEST(CodePageText, UnknownCodePagesFallBackAndBadBytesDoNotStop) {
  // A code page no system has reads as ANSI text.
  EXPECT_EQ(Utf16FromCodePage("name.txt", 4242), u"name.txt");
  EXPECT_EQ(Utf16FromCodePage("name.txt", 0), Utf16FromAnsi("name.txt"));
  // A lead byte cut off at the end, and a byte the code page leaves unmapped, keep the rest.
  std::u16string cut = Utf16FromCodePage("ab\x83", 932);
  EXPECT_EQ(cut.substr(0, 2), u"ab");
  EXPECT_EQ(cut.size(), 3u);
}

}  // namespace
}  // namespace korvane::platform
