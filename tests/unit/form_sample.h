#pragma once
// A small dialog in both form-file forms, written out by hand, for the reader tests.

#include <string>

namespace korvane::forms::sample {

inline const char* kDialogText = R"(object WelcomeDlg: TWelcomeDlg
  Left = 192
  Top = -5
  BorderStyle = bsDialog
  Caption = 'Setup '#8212' '#39'Korvane'#39 +
    ' wizard'
  ClientHeight = 360
  Color = clBtnFace
  Font.Style = [fsBold, fsItalic]
  Scale = 1.5
  Hint = ''
  object Edit1: TEdit
    Text = 'It''s'
    Anchors = []
    Visible = True
    Enabled = False
    OnChange = Edit1Change
  end
  object ListBox1: TListBox [2]
    Items.Strings = (
      'one'
      'two')
    Tag = $FF
  end
  object Panel1: TPanel
    Bands = <
      item
        Width = 50
      end
      item
        Text = 'b'
      end>
    Picture.Data = {
      0A0B
      ff}
    object Label1: TLabel
      Caption = 'x'
    end
  end
end
)";

// The same dialog as the binary streaming form would hold it; built byte by byte.
inline std::string DialogBinary() {
  std::string b = "TPF0";
  auto name = [&](const std::string& s) { b += static_cast<char>(s.size()); b += s; };
  auto i8 = [&](int v) { b += '\x02'; b += static_cast<char>(v); };
  auto i16 = [&](int v) { b += '\x03'; b += static_cast<char>(v & 0xFF); b += static_cast<char>((v >> 8) & 0xFF); };
  auto ident = [&](const std::string& s) { b += '\x07'; name(s); };
  auto str = [&](const std::string& s) { b += '\x06'; name(s); };
  name("TWelcomeDlg"); name("WelcomeDlg");
  name("Left"); i16(192);
  name("Top"); i8(-5);
  name("BorderStyle"); ident("bsDialog");
  // The caption holds an em dash, so it travels as a wide string.
  name("Caption"); b += '\x12';
  std::u16string caption = u"Setup \u2014 'Korvane' wizard";
  for (int i = 0; i < 4; ++i) b += static_cast<char>((caption.size() >> (8 * i)) & 0xFF);
  for (char16_t u : caption) { b += static_cast<char>(u & 0xFF); b += static_cast<char>(u >> 8); }
  name("ClientHeight"); i16(360);
  name("Color"); ident("clBtnFace");
  name("Font.Style"); b += '\x0B'; name("fsBold"); name("fsItalic"); b += '\0';
  // 1.5 as an 80-bit float: mantissa C000000000000000, exponent 3FFF.
  name("Scale"); b += '\x05'; b += std::string("\0\0\0\0\0\0\0\xC0\xFF\x3F", 10);
  name("Hint"); str("");
  b += '\0';  // end of the form's properties
  name("TEdit"); name("Edit1");
  name("Text"); str("It's");
  name("Anchors"); b += '\x0B'; b += '\0';
  name("Visible"); b += '\x09';
  name("Enabled"); b += '\x08';
  name("OnChange"); ident("Edit1Change");
  b += '\0'; b += '\0';
  b += '\xF2'; i8(2); name("TListBox"); name("ListBox1");
  name("Items.Strings"); b += '\x01'; str("one"); str("two"); b += '\0';
  name("Tag"); i16(255);
  b += '\0'; b += '\0';
  name("TPanel"); name("Panel1");
  name("Bands"); b += '\x0E';
  b += '\x01'; name("Width"); i8(50); b += '\0';
  b += '\x01'; name("Text"); str("b"); b += '\0';
  b += '\0';
  name("Picture.Data"); b += '\x0A'; b += std::string("\x03\0\0\0\x0A\x0B\xFF", 7);
  b += '\0';
  name("TLabel"); name("Label1");
  name("Caption"); str("x");
  b += '\0'; b += '\0';
  b += '\0';  // end of Panel1's children
  b += '\0';  // end of the form's children
  return b;
}

}  // namespace korvane::forms::sample
