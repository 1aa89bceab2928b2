#include "wizard/forms/form_reader.h"

#include <gtest/gtest.h>

#include "form_sample.h"

namespace korvane::forms {
namespace {

ComponentPtr MustRead(Result<ComponentPtr> r) {
  EXPECT_TRUE(r.ok()) << (r.ok() ? "" : r.error());
  return r.ok() ? std::move(r.value()) : nullptr;
}

TEST(FormTextReader, ReadsEveryValueKind) {
  auto form = MustRead(ReadFormText(sample::kDialogText, "welcome.dfm"));
  ASSERT_TRUE(form);
  EXPECT_EQ(form->ClassName(), "TWelcomeDlg");
  EXPECT_EQ(form->Name(), "WelcomeDlg");
  EXPECT_EQ(form->Integer("Left"), 192);
  EXPECT_EQ(form->Integer("top"), -5);  // names ignore letter case
  EXPECT_EQ(form->Ident("BorderStyle"), "bsDialog");
  // #nnn codes, doubled quotes inside #39, and a '+' continuation line.
  EXPECT_EQ(form->String("Caption"), "Setup \xE2\x80\x94 'Korvane' wizard");
  EXPECT_EQ(form->Find("Font.Style")->elements, (std::vector<std::string>{"fsBold", "fsItalic"}));
  EXPECT_EQ(form->Find("Scale")->kind, ValueKind::Float);
  EXPECT_DOUBLE_EQ(form->Find("Scale")->number, 1.5);
  EXPECT_EQ(form->String("Hint"), "");
  EXPECT_EQ(form->Properties().front().position, 2);  // line numbers of properties

  ASSERT_EQ(form->Children().size(), 3u);
  const Component& edit = *form->Children()[0];
  EXPECT_EQ(edit.String("Text"), "It's");
  EXPECT_EQ(edit.Boolean("Visible"), true);
  EXPECT_EQ(edit.Boolean("Enabled"), false);
  EXPECT_TRUE(edit.Find("Anchors")->elements.empty());
  EXPECT_EQ(edit.Ident("OnChange"), "Edit1Change");
  EXPECT_EQ(edit.Position(), 12);

  const Component& list = *form->Children()[1];
  EXPECT_EQ(list.ChildPosition(), 2);
  EXPECT_EQ(list.Strings("Items.Strings"), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(list.Integer("Tag"), 255);

  const Component& panel = *form->Children()[2];
  const Value* bands = panel.Find("Bands");
  ASSERT_EQ(bands->collection.size(), 2u);
  EXPECT_EQ(bands->collection[0].properties[0].value, Value::Integer(50));
  EXPECT_EQ(panel.Find("Picture.Data")->bytes, (std::vector<uint8_t>{0x0A, 0x0B, 0xFF}));
  const Component& label = *panel.Children()[0];
  EXPECT_EQ(label.Parent(), &panel);
  EXPECT_EQ(&label.Owner(), form.get());
}

TEST(FormTextReader, InheritedAndInlineObjects) {
  auto form = MustRead(ReadFormText("inherited Dlg2: TDlg2\n  inline Frame1: TFrame1\n  end\n  object TLabel\n  end\nend\n", "d.dfm"));
  ASSERT_TRUE(form);
  EXPECT_EQ(form->Kind(), ObjectKind::Inherited);
  EXPECT_EQ(form->Children()[0]->Kind(), ObjectKind::Inline);
  EXPECT_EQ(form->Children()[1]->Name(), "");
  EXPECT_EQ(form->Children()[1]->ClassName(), "TLabel");
}

TEST(FormReaders, TextAndBinaryGiveTheSameModel) {
  auto text = MustRead(ReadFormText(sample::kDialogText, "welcome.dfm"));
  auto binary = MustRead(ReadForm(sample::DialogBinary(), "welcome.dfm"));
  ASSERT_TRUE(text && binary);
  EXPECT_TRUE(SameModel(*text, *binary)) << DescribeDifference(*text, *binary);
  // Positions are offsets in the binary form: the first property follows the two names.
  EXPECT_EQ(binary->Properties().front().position, 4 + 12 + 11);
}

struct BadInput {
  const char* what;
  std::string data;
  const char* expected;  // part of the error text, file and place included
};

TEST(FormReaders, BadInputNamesFileLineOrOffsetAndReason) {
  std::string deep_text;
  for (int i = 0; i < 10000; ++i) deep_text += "object A: TPanel\n";
  std::string deep_value = "object F: TForm\n  X = ";
  for (int i = 0; i < 10000; ++i) deep_value += "(";
  std::string deep_binary = "TPF0";
  for (int i = 0; i < 10000; ++i) deep_binary += std::string("\x06TPanel\x01" "A\0", 10);
  std::string binary = sample::DialogBinary();

  const BadInput cases[] = {
      {"empty text", "", "bad.dfm: line 1: empty form file"},
      {"no object", "Caption = 'x'", "bad.dfm: line 1: 'object', 'inherited' or 'inline' expected"},
      {"missing end", "object F: TForm\n  Left = 1\n", "bad.dfm: line 3: file ends inside object F"},
      {"unterminated string", "object F: TForm\n  Caption = 'abc\nend", "bad.dfm: line 2: unterminated string"},
      {"missing equals", "object F: TForm\n  Caption 'x'\nend", "bad.dfm: line 2: '=' expected after property Caption"},
      {"bad set", "object F: TForm\n  S = [a b]\nend", "bad.dfm: line 2: ',' or ']' expected"},
      {"odd hex", "object F: TForm\n  D = {\n  ABC}\nend", "bad.dfm: line 3: binary data has an odd number"},
      {"bad hex", "object F: TForm\n  D = {AZ}\nend", "bad.dfm: line 2: hex digit expected"},
      {"huge integer", "object F: TForm\n  Left = 99999999999999999999\nend", "integer out of range"},
      {"code too big", "object F: TForm\n  C = #1114112\nend", "character code out of range"},
      {"dangling plus", "object F: TForm\n  C = 'a' +\n  X = 1\nend", "bad.dfm: line 3: string expected after '+'"},
      {"trailing text", "object F: TForm\nend\nend", "bad.dfm: line 3: unexpected text"},
      {"10000 nested objects", deep_text, "nested deeper than 200 levels"},
      {"10000 nested lists", deep_value, "nested deeper than 200 levels"},
      {"binary truncated", binary.substr(0, binary.size() / 2), "bad.dfm: offset"},
      {"binary lost its end", binary.substr(0, binary.size() - 1), "file ends inside the children of WelcomeDlg"},
      {"binary unknown tag", std::string("TPF0\x05TForm\x01" "F\x04Left\x63"), "bad.dfm: offset 17: unknown value tag 99"},
      {"binary string past end", std::string("TPF0\x05TForm\x01" "F\x01" "C\x06\x50" "abc"), "bad.dfm: offset 16: file ends inside a string (80 bytes announced, 3 left)"},
      {"binary bad name", std::string("TPF0\x05T Frm\x01" "F\0\0", 14), "bad.dfm: offset 4: invalid class name"},
      {"binary wide string lies", std::string("TPF0\x05TForm\x01" "F\x01" "C\x12\xFF\xFF\xFF\x7F"), "file ends inside a wide string"},
      {"binary 10000 nested", deep_binary, "nested deeper than 200 levels"},
      {"binary trailing bytes", binary + "x", "unexpected bytes after the form record"},
  };
  for (const BadInput& c : cases) {
    auto r = ReadForm(c.data, "bad.dfm");
    ASSERT_FALSE(r.ok()) << c.what;
    EXPECT_NE(r.error().find(c.expected), std::string::npos) << c.what << ": " << r.error();
  }
}

}  // namespace
}  // namespace korvane::forms
