#include "wizard/forms/form_classes.h"

#include <gtest/gtest.h>

#include <set>

#include "wizard/forms/form_picture.h"
#include "wizard/forms/form_reader.h"

namespace korvane::forms {
namespace {

// A 2x2 24-bit bitmap: headers of 54 bytes and two rows of 8 bytes (6 + padding).
std::vector<uint8_t> SmallBitmap() {
  std::vector<uint8_t> b(54 + 16, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, 70);
  put32(10, 54);
  put32(14, 40);
  put32(18, 2);
  put32(22, 2);
  b[26] = 1;
  b[28] = 24;
  return b;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (uint8_t v : bytes) {
    out += digits[v >> 4];
    out += digits[v & 15];
  }
  return out;
}

TEST(FormClasses, GalleryHoldsEveryControlClass) {
  auto loaded = LoadFormFile(KORVANE_EXAMPLES "/gallery.dfm");
  ASSERT_TRUE(loaded.ok()) << loaded.error();
  EXPECT_TRUE(loaded->warnings.empty()) << loaded->warnings.front();
  std::set<ControlKind> seen;
  for (Component* c : loaded->root->Descendants()) seen.insert(KindOfClass(c->ClassName()));
  for (const ControlClass& c : ControlClasses()) EXPECT_TRUE(seen.count(c.kind)) << c.class_name;
}

TEST(FormClasses, PictureHeadersAreChecked) {
  EXPECT_TRUE(DecodeFormPicture(EncodeBitmapPicture(SmallBitmap())).ok());
  auto lying = SmallBitmap();
  lying[22] = 200;  // height 200 rows, data for 2
  auto r = DecodeFormPicture(EncodeBitmapPicture(lying));
  ASSERT_FALSE(r.ok());
  EXPECT_NE(r.error().find("announces 2x200 pixels"), std::string::npos) << r.error();
  auto data = EncodeBitmapPicture(SmallBitmap());
  data[8] = 0x7F;  // length field larger than what follows
  EXPECT_FALSE(DecodeFormPicture(data).ok());
  // An 8-bit bitmap needs a colour table between header and pixels; none fits here.
  auto paletted = SmallBitmap();
  paletted[28] = 8;
  r = DecodeFormPicture(EncodeBitmapPicture(paletted));
  ASSERT_FALSE(r.ok());
  EXPECT_NE(r.error().find("colour table of 1024 bytes overlaps the pixels"), std::string::npos) << r.error();
  paletted[46] = 0x10;  // 16 colours used (64 bytes): still more than the gap of 0
  EXPECT_FALSE(DecodeFormPicture(EncodeBitmapPicture(paletted)).ok());
  auto rle = SmallBitmap();
  rle[30] = 1;     // RLE8 ...
  rle[28] = 8;
  rle[10] = 54 + 4;  // ... with a 1-colour table
  rle[46] = 1;
  rle[34] = 200;   // announces 200 bytes of pixels, 12 present
  r = DecodeFormPicture(EncodeBitmapPicture(rle));
  ASSERT_FALSE(r.ok());
  EXPECT_NE(r.error().find("compressed bitmap announces 200 bytes"), std::string::npos) << r.error();
}

struct BadForm {
  const char* what;
  std::string text;
  const char* expected;
};

TEST(FormClasses, CheckNamesFileLineAndReason) {
  auto lying = SmallBitmap();
  lying[18] = 90;
  const BadForm cases[] = {
      {"unknown class", "object F: TForm1\n  object X1: TSuperGrid\n  end\nend\n", "f.dfm: line 2: unknown class TSuperGrid of component X1"},
      {"string for integer", "object F: TForm1\n  Left = '12'\nend\n", "f.dfm: line 2: property Left of F holds string, expected integer"},
      {"integer for boolean", "object F: TForm1\n  object B: TButton\n    Visible = 1\n  end\nend\n", "f.dfm: line 3: property Visible of B holds integer, expected True/False"},
      {"identifier for event is fine but string is not", "object F: TForm1\n  OnClick = 'x'\nend\n", "property OnClick of F holds string, expected identifier"},
      {"lying bitmap", "object F: TForm1\n  object I: TImage\n    Picture.Data = {07544269746D6170" + Hex({70, 0, 0, 0}) + Hex(lying) + "}\n  end\nend\n", "f.dfm: line 3: property Picture.Data of I: bitmap header announces 90x2 pixels"},
  };
  for (const BadForm& c : cases) {
    auto r = LoadForm(c.text, "f.dfm");
    ASSERT_FALSE(r.ok()) << c.what;
    EXPECT_NE(r.error().find(c.expected), std::string::npos) << c.what << ": " << r.error();
  }
}

TEST(FormClasses, UnknownPropertyIsReportedAndKept) {
  auto r = LoadForm("object F: TForm1\n  Sparkle = 3\nend\n", "f.dfm");
  ASSERT_TRUE(r.ok()) << r.error();
  ASSERT_EQ(r->warnings.size(), 1u);
  EXPECT_EQ(r->warnings[0], "f.dfm: line 2: unknown property Sparkle of F");
  EXPECT_EQ(r->root->Integer("Sparkle"), 3);
}

TEST(FormClasses, BinaryProblemsNameTheOffset) {
  std::string b = std::string("TPF0\x06TForm1\x01" "F", 13) + std::string("\x04Left\x06\x02" "12", 9) + std::string("\0\0", 2);
  auto r = LoadForm(b, "f.dfm");
  ASSERT_FALSE(r.ok());
  EXPECT_NE(r.error().find("f.dfm: offset 13: property Left of F holds string"), std::string::npos) << r.error();
}

}  // namespace
}  // namespace korvane::forms
